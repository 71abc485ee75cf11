// Writes the session file off the main thread: each save replaces the whole
// file through QSaveFile, in the order asked, so a kill at any moment leaves
// the last complete session on disk. Saves that pile up while one is being
// written collapse into the newest.
#pragma once

#include <QByteArray>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <optional>

class SessionWriter : public QObject
{
    Q_OBJECT
public:
    explicit SessionWriter(QString path, QObject *parent = nullptr);
    ~SessionWriter() override; // waits for the save in progress

    QString path() const { return m_path; }
    // Queues bytes to be written as the whole file.
    void save(QByteArray bytes);
    // Writes bytes at once, after any queued save; the error text, or empty.
    QString saveNow(const QByteArray &bytes);
    // Replaces path with bytes through QSaveFile; the error text, or empty.
    static QString writeFile(const QString &path, const QByteArray &bytes);

signals:
    // A save failed (reported once until a save succeeds again).
    void failed(const QString &message);

private:
    void drain();
    void report(const QString &error);

    const QString m_path;
    QThreadPool m_pool; // one thread: saves never overtake each other
    QMutex m_mutex;
    std::optional<QByteArray> m_next; // guarded by m_mutex
    bool m_reported = false;
};
