// The engine's parts of one main window: its notifications, downloads and
// sleeping tabs.
#pragma once

#include "web/WindowEngine.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>

class TabSleeper;
class QWidget;

class WebEngineWindow : public QObject, public WindowEngine
{
    Q_OBJECT
public:
    WebEngineWindow(QWidget *window, QWidget *viewArea,
                    std::function<void(const QUrl &origin)> showSite,
                    std::function<void(const QString &text)> status);

    DownloadManager *downloads() const override { return m_downloads; }
    void showDownloads() override;
    void cancelDownloads() override;
    void tabSelected(PageView *view) override;

private:
    DownloadManager *m_downloads;
    TabSleeper *m_sleeper;
};
