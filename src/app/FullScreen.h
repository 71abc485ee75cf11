// Full screen for the main window. F11 hides the menu bar, toolbars, tab row
// and status bar and lets the page fill the screen; F11 again brings them
// back with the window where and as large as it was. A page's own request
// (requestFullscreen()) does the same until the page leaves full screen or
// the user presses Esc.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>

class PageView;
class QAction;
class QMainWindow;
class QWidget;

class FullScreen : public QObject
{
    Q_OBJECT
public:
    // pages is the widget the page views lie in; everything of the window
    // around it is hidden in full screen.
    FullScreen(QMainWindow *window, QWidget *pages);

    // Lets the view's page ask for full screen.
    void watch(PageView *view);

    bool isActive() const { return m_windowMode || m_page; }
    bool pageIsFullScreen() const { return !m_page.isNull(); }

public slots:
    // F11: full screen on or off; ends a page's full screen first.
    void toggle();
    // Esc: ends a page's full screen; false (nothing done) when no page is.
    bool leavePage();

private:
    bool pageRequest(PageView *view, bool on);
    void enter();
    void restoreIfDone();

    QMainWindow *m_window;
    QWidget *m_pages;
    bool m_windowMode = false;
    QPointer<PageView> m_page;
    bool m_entered = false;
    Qt::WindowStates m_state;
    QByteArray m_geometry;
    QList<QPointer<QWidget>> m_hidden;
    QList<QAction *> m_borrowed;
};
