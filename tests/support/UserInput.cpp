// Keys and clicks through the window, as a user gives them.
#include "UserInput.h"

#include <QApplication>
#include <QMenu>
#include <QTabBar>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace {
QWindow *windowOf(QWidget *widget)
{
    QWidget *top = widget->window();
    return top->windowHandle();
}

QPoint spotIn(QWidget *widget, QPoint pos)
{
    if (pos.isNull())
        pos = widget->visibleRegion().boundingRect().center();
    return widget->mapTo(widget->window(), pos);
}
} // namespace

bool UserInput::bringUp(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
    return QTest::qWaitForWindowExposed(window) && QTest::qWaitForWindowActive(window);
}

QWidget *UserInput::focused()
{
    return QApplication::focusWidget();
}

void UserInput::key(QWidget *window, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(windowOf(window), key, modifiers);
}

void UserInput::type(QWidget *window, const QString &text)
{
    QWindow *handle = windowOf(window);
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, handle, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void UserInput::click(QWidget *widget, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                      QPoint pos)
{
    QTest::mouseClick(windowOf(widget), button, modifiers, spotIn(widget, pos));
}

void UserInput::doubleClick(QWidget *widget, QPoint pos)
{
    QTest::mouseDClick(windowOf(widget), Qt::LeftButton, Qt::NoModifier, spotIn(widget, pos));
}

void UserInput::clickTab(QTabBar *bar, int index, Qt::MouseButton button)
{
    click(bar, button, Qt::NoModifier, bar->tabRect(index).center());
}

bool UserInput::clickMenuItem(QMenu *menu, QAction *action)
{
    const QRect where = menu->actionGeometry(action);
    if (!menu->isVisible() || where.isEmpty())
        return false;
    QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, Qt::NoModifier, where.center());
    return true;
}

QMenu *UserInput::openMenu()
{
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}
