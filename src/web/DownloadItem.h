// One download of this run as the downloads list shows it: the engine's
// request, its state, amounts, speed and time left, and the partial file the
// engine writes beside the target (removed when the download is cancelled or
// fails for good).
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QVector>

class QWebEngineDownloadRequest;

class DownloadItem : public QObject
{
    Q_OBJECT
public:
    enum class State { Running, Paused, Completed, Cancelled, Failed };

    // Watches an accepted request; the profile keeps owning it.
    DownloadItem(QWebEngineDownloadRequest *request, QObject *parent);
    ~DownloadItem() override;

    State state() const { return m_state; }
    // Running or paused: the program may not end without asking.
    bool isActive() const { return m_state == State::Running || m_state == State::Paused; }
    // Nothing more can happen to it (a failed one Retry can still resume is not).
    bool isFinished() const { return !isActive() && !canRetry(); }
    // Failed, with its partial file there for the engine to resume.
    bool canRetry() const;

    QString name() const { return m_name; }
    QString folder() const { return m_folder; }
    QString path() const;
    // Where the engine keeps what it received until the download completes.
    QString partialPath() const;
    qint64 receivedBytes() const;
    qint64 totalBytes() const;

    QString stateText() const;
    // "1.5 MB of 6 MB, 1 MB/s, 5 s left" while running.
    QString detailText() const;
    static QString timeText(qint64 seconds);

    // The engine asks again for a target when it resumes a download, in a
    // request of its own with the same id: that one carries on this item at
    // the same place, without a question. False for another download.
    bool adopt(QWebEngineDownloadRequest *request);

    void pause();
    void resume(); // a paused download, or Retry of a failed one
    // Cancels it (running, paused or failed) and removes its partial file.
    void cancel();

signals:
    void changed();
    void completed();

private:
    void watch(QWebEngineDownloadRequest *request);
    void update();
    void removePartial();

    QPointer<QWebEngineDownloadRequest> m_request;
    QString m_name;
    QString m_folder;
    State m_state = State::Running;
    QString m_failure; // why it failed, in the engine's words
    qint64 m_received = 0;
    qint64 m_total = -1;
    // Bytes received at moments of the last few seconds, for the speed.
    QElapsedTimer m_clock;
    QVector<QPair<qint64, qint64>> m_samples;
};
