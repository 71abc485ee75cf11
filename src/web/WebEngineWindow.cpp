// A main window's notifications, downloads and sleeping tabs.
#include "web/WebEngineWindow.h"

#include "web/DownloadManager.h"
#include "web/DownloadsWindow.h"
#include "web/NotificationPresenter.h"
#include "web/TabSleeper.h"

#include <QWidget>

WebEngineWindow::WebEngineWindow(QWidget *window, QWidget *viewArea,
                                 std::function<void(const QUrl &origin)> showSite,
                                 std::function<void(const QString &text)> status)
    : QObject(window)
{
    new NotificationPresenter(window, std::move(showSite));
    m_downloads = new DownloadManager(window);
    connect(m_downloads, &DownloadManager::statusText, this, std::move(status));
    // Tabs left unselected sleep; a page wakes before its tab shows.
    m_sleeper = new TabSleeper(viewArea);
}

void WebEngineWindow::showDownloads()
{
    m_downloads->list()->bringUp();
}

void WebEngineWindow::cancelDownloads()
{
    m_downloads->cancelAll();
}

void WebEngineWindow::tabSelected(PageView *view)
{
    m_sleeper->select(view);
}
