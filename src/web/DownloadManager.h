// Files a page offers for download: the user picks where to save each one
// and its progress shows in the status panel. Without a handler the engine
// would drop every download silently.
#pragma once

#include <QObject>

class QWebEngineDownloadRequest;

class DownloadManager : public QObject
{
    Q_OBJECT
public:
    explicit DownloadManager(QWidget *window);

    // Asks where to save, then starts (or cancels) the download.
    void handle(QWebEngineDownloadRequest *download);
    static QString progressText(const QString &fileName, qint64 received, qint64 total);

signals:
    void statusText(const QString &text);

private:
    void track(QWebEngineDownloadRequest *download);
    QWidget *m_window;
};
