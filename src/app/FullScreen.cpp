// Full screen for the main window, by F11 or at a page's request.
#include "app/FullScreen.h"

#include "app/PageView.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

FullScreen::FullScreen(QMainWindow *window, QWidget *pages)
    : QObject(window), m_window(window), m_pages(pages)
{
}

void FullScreen::watch(PageView *view)
{
    connect(view, &PageView::FullScreenRequest, this,
            [this, view](bool on, bool *accept) { *accept = pageRequest(view, on); });
}

void FullScreen::toggle()
{
    if (leavePage())
        return;
    m_windowMode = !m_windowMode;
    if (m_windowMode)
        enter();
    else
        restoreIfDone();
}

bool FullScreen::leavePage()
{
    if (!m_page)
        return false;
    PageView *page = m_page;
    m_page = nullptr;
    // The page is told; its answer finds nothing left to do.
    page->exitFullScreen();
    restoreIfDone();
    return true;
}

bool FullScreen::pageRequest(PageView *view, bool on)
{
    if (on) {
        m_page = view;
        enter();
    } else if (view == m_page) {
        m_page = nullptr;
        restoreIfDone();
    }
    return true;
}

void FullScreen::enter()
{
    if (m_entered)
        return;
    m_entered = true;
    m_state = m_window->windowState();
    m_geometry = m_window->saveGeometry();

    auto hide = [this](QWidget *widget) {
        if (widget && !widget->isHidden()) {
            widget->hide();
            m_hidden << widget;
        }
    };
    // The menu bar goes out of sight, but its keys keep working: a hidden
    // bar's shortcuts do not fire, the window's own actions do.
    QMenuBar *menus = m_window->menuBar();
    for (QAction *action : menus->findChildren<QAction *>()) {
        if (!action->shortcut().isEmpty() && !m_window->actions().contains(action)) {
            m_window->addAction(action);
            m_borrowed << action;
        }
    }
    hide(menus);
    hide(m_window->statusBar());
    for (QToolBar *bar : m_window->findChildren<QToolBar *>(QString(), Qt::FindDirectChildrenOnly))
        hide(bar);
    // Everything that shares the central area with the pages: the tab row.
    for (QWidget *inner = m_pages; inner && inner != m_window->centralWidget();
         inner = inner->parentWidget()) {
        QWidget *outer = inner->parentWidget();
        if (!outer)
            break;
        for (QWidget *sibling :
             outer->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
            if (sibling != inner && !sibling->isWindow())
                hide(sibling);
        }
    }
    m_window->showFullScreen();
}

void FullScreen::restoreIfDone()
{
    if (m_windowMode || m_page || !m_entered)
        return;
    m_entered = false;
    for (QAction *action : std::as_const(m_borrowed))
        m_window->removeAction(action);
    m_borrowed.clear();
    for (const QPointer<QWidget> &widget : std::as_const(m_hidden)) {
        if (widget)
            widget->show();
    }
    m_hidden.clear();
    // Back to the state and the place the window had, maximised or not.
    m_window->setWindowState(m_state);
    m_window->restoreGeometry(m_geometry);
}
