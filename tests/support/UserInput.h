// Keys and clicks delivered the way a user's keyboard and mouse deliver them:
// through the top-level window, to whichever widget has focus or lies under
// the pointer.
#pragma once

#include <QPoint>
#include <QString>
#include <Qt>

class QAction;
class QMenu;
class QTabBar;
class QWidget;

namespace UserInput {
// Shows the window, waits until it is exposed and active, and returns false
// when it never is.
bool bringUp(QWidget *window);
// The widget that holds the keyboard focus now (or null).
QWidget *focused();
// A key (or typed text) pressed on the keyboard while window is active: it
// goes through the window's platform path to the focus widget, shortcuts
// first, as a real key press does.
void key(QWidget *window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void type(QWidget *window, const QString &text);
// A click at pos inside widget (its visible centre when pos is null),
// delivered through the widget's top-level window at that spot, so it lands
// on whatever is drawn there.
void click(QWidget *widget, Qt::MouseButton button = Qt::LeftButton,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier, QPoint pos = QPoint());
void doubleClick(QWidget *widget, QPoint pos = QPoint());
// A click on the centre of tab index of bar.
void clickTab(QTabBar *bar, int index, Qt::MouseButton button = Qt::LeftButton);
// A click on the item of an open pop-up menu that carries action; false when
// the action is not shown in the menu.
bool clickMenuItem(QMenu *menu, QAction *action);
// The pop-up menu open now (the innermost), or null.
QMenu *openMenu();
} // namespace UserInput
