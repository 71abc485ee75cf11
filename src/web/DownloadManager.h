// Files a page offers for download: the user picks where to save each one
// (the prompt starts in the folder chosen last), the downloads list shows and
// controls them, their progress shows in the status panel, and finished ones
// are kept in the downloads file for later runs. Without a handler the engine
// would drop every download silently. The program does not end with
// downloads running unless the user says so, and leaves no partial file.
#pragma once

#include "store/DownloadList.h"

#include <QObject>
#include <QPointer>
#include <QVector>

class DownloadItem;
class DownloadsWindow;
class QWebEngineDownloadRequest;
class QWidget;

class DownloadManager : public QObject
{
    Q_OBJECT
public:
    explicit DownloadManager(QWidget *window);
    // Cancels what is still running and removes the partial files.
    ~DownloadManager() override;

    // Asks where to save, then starts (or cancels) the download.
    void handle(QWebEngineDownloadRequest *download);
    static QString progressText(const QString &fileName, qint64 received, qint64 total);

    // Where the save prompt starts: settings group Downloads, key
    // LastFolder, while that folder is there and can be written; else the
    // user's download folder (made when missing), else the home folder.
    static QString startFolder();

    DownloadsWindow *list() const { return m_list; }
    // Downloads running or paused.
    int activeCount() const;
    // Cancels every download not completed and removes its partial file.
    void cancelAll();

signals:
    void statusText(const QString &text);

protected:
    // Closing the main window with downloads running asks first.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The path the user picked, refused or confirmed as needed; empty when
    // the user cancelled.
    QString choosePath(const QString &suggestedName);
    bool isTargetOfActive(const QString &path) const;
    void track(DownloadItem *item);
    void record(const DownloadItem *item);
    void forgetFinished();

    QWidget *m_window;
    DownloadsWindow *m_list;
    QVector<QPointer<DownloadItem>> m_items;
    QVector<DownloadList::Entry> m_finished; // as in the downloads file, newest first
};
