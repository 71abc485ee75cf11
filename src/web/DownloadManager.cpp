// Downloads: where to save each file, and its progress in the status panel.
#include "web/DownloadManager.h"

#include "platform/Prompts.h"
#include "web/BrowserProfile.h"

#include <QDir>
#include <QFileInfo>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWidget>

DownloadManager::DownloadManager(QWidget *window) : QObject(window), m_window(window)
{
    connect(BrowserProfile::profile(), &QWebEngineProfile::downloadRequested, this,
            &DownloadManager::handle);
}

QString DownloadManager::progressText(const QString &fileName, qint64 received, qint64 total)
{
    if (total > 0)
        return tr("Downloading %1: %2%").arg(fileName).arg(received * 100 / total);
    return tr("Downloading %1: %2 KB").arg(fileName).arg(received / 1024);
}

void DownloadManager::handle(QWebEngineDownloadRequest *download)
{
    // "Save as" of a whole page arrives here already accepted.
    if (download->isSavePageDownload() ||
        download->state() != QWebEngineDownloadRequest::DownloadRequested)
        return;
    const QString suggested =
        QDir(download->downloadDirectory()).filePath(download->downloadFileName());
    const QString path = Prompts::SaveFileName(m_window, tr("Save File"), suggested, {});
    if (path.isEmpty()) {
        download->cancel();
        emit statusText(tr("Download cancelled: %1").arg(download->downloadFileName()));
        return;
    }
    const QFileInfo target(path);
    download->setDownloadDirectory(target.absolutePath());
    download->setDownloadFileName(target.fileName());
    track(download);
    download->accept();
}

void DownloadManager::track(QWebEngineDownloadRequest *download)
{
    const QString name = download->downloadFileName();
    connect(
        download, &QWebEngineDownloadRequest::receivedBytesChanged, this, [this, download, name] {
            emit statusText(progressText(name, download->receivedBytes(), download->totalBytes()));
        });
    connect(download, &QWebEngineDownloadRequest::stateChanged, this,
            [this, name](QWebEngineDownloadRequest::DownloadState state) {
                if (state == QWebEngineDownloadRequest::DownloadCompleted)
                    emit statusText(tr("Download complete: %1").arg(name));
                else if (state == QWebEngineDownloadRequest::DownloadInterrupted)
                    emit statusText(tr("Download failed: %1").arg(name));
            });
}
