// Keys and clicks delivered the way a user's keyboard and mouse deliver them:
// through the top-level window, to whichever widget has focus or lies under
// the pointer (or to the pop-up menu open at the time).
#pragma once

#include <QApplication>
#include <QMenu>
#include <QTabBar>
#include <QTest>
#include <QWindow>

struct UserInput
{
    // Shows the window, waits until it is exposed and active, and returns
    // false when it never is.
    static bool bringUp(QWidget *window)
    {
        window->show();
        window->raise();
        window->activateWindow();
        return QTest::qWaitForWindowExposed(window) && QTest::qWaitForWindowActive(window);
    }
    // The widget that holds the keyboard focus now (or null).
    static QWidget *focused() { return QApplication::focusWidget(); }

    // A key (or typed text) pressed on the keyboard while window is active:
    // it goes through the window's platform path to the focus widget,
    // shortcuts first, as a real key press does.
    static void key(QWidget *window, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(handle(window), key, modifiers);
    }
    static void type(QWidget *window, const QString &text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, handle(window), Qt::Key_unknown, c, {});
    }

    // Clicks into a text field, selects all it holds and types text over it.
    static void retype(QWidget *field, const QString &text)
    {
        click(field);
        key(field, Qt::Key_A, Qt::ControlModifier);
        type(field, text);
    }

    // A click at pos inside widget (its visible centre when pos is null),
    // delivered through the widget's top-level window at that spot, so it
    // lands on whatever is drawn there.
    static void click(QWidget *widget, Qt::MouseButton button = Qt::LeftButton,
                      Qt::KeyboardModifiers modifiers = {}, QPoint pos = QPoint())
    {
        QTest::mouseClick(handle(widget), button, modifiers, spot(widget, pos));
    }
    static void doubleClick(QWidget *widget, QPoint pos = QPoint())
    {
        QTest::mouseDClick(handle(widget), Qt::LeftButton, {}, spot(widget, pos));
    }
    // A click on the centre of tab index of bar.
    static void clickTab(QTabBar *bar, int index, Qt::MouseButton button = Qt::LeftButton)
    {
        click(bar, button, {}, bar->tabRect(index).center());
    }
    // A click on the item of an open pop-up menu that carries action; false
    // when the action is not shown in the menu.
    static bool clickMenuItem(QMenu *menu, QAction *action)
    {
        const QRect where = menu->actionGeometry(action);
        if (!menu->isVisible() || where.isEmpty())
            return false;
        QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, {}, where.center());
        return true;
    }
    // The pop-up menu open now (the innermost), or null.
    static QMenu *openMenu() { return qobject_cast<QMenu *>(QApplication::activePopupWidget()); }

    static QWindow *handle(QWidget *widget) { return widget->window()->windowHandle(); }
    static QPoint spot(QWidget *w, QPoint pos)
    {
        return w->mapTo(w->window(),
                        pos.isNull() ? w->visibleRegion().boundingRect().center() : pos);
    }
};
