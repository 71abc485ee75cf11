// The session file's writer thread.
#include "store/SessionWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>
#include <QSaveFile>

SessionWriter::SessionWriter(QString path, QObject *parent)
    : QObject(parent), m_path(std::move(path))
{
    m_pool.setMaxThreadCount(1);
}

SessionWriter::~SessionWriter()
{
    m_pool.waitForDone();
}

QString SessionWriter::writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(bytes) != bytes.size() || !file.commit())
        return file.errorString();
    return QString();
}

void SessionWriter::save(QByteArray bytes)
{
    QMutexLocker lock(&m_mutex);
    const bool queued = m_next.has_value();
    m_next = std::move(bytes);
    if (!queued)
        m_pool.start([this] { drain(); });
}

void SessionWriter::drain()
{
    std::optional<QByteArray> bytes;
    {
        QMutexLocker lock(&m_mutex);
        bytes.swap(m_next);
    }
    if (!bytes)
        return;
    const QString error = writeFile(m_path, *bytes);
    QMetaObject::invokeMethod(
        this, [this, error] { report(error); }, Qt::QueuedConnection);
}

QString SessionWriter::saveNow(const QByteArray &bytes)
{
    {
        QMutexLocker lock(&m_mutex);
        m_next.reset();
    }
    m_pool.waitForDone();
    const QString error = writeFile(m_path, bytes);
    report(error);
    return error;
}

void SessionWriter::report(const QString &error)
{
    if (error.isEmpty()) {
        m_reported = false;
        return;
    }
    if (!std::exchange(m_reported, true))
        emit failed(tr("The open tabs could not be saved to %1: %2").arg(m_path, error));
}
