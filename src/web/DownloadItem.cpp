// A download of this run: state, amounts, speed, its partial file.
#include "web/DownloadItem.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QWebEngineDownloadRequest>

namespace {
// The speed is taken over this much of the recent past.
constexpr qint64 kSpeedWindowMs = 3000;

QString size(qint64 bytes)
{
    return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}
} // namespace

DownloadItem::DownloadItem(QWebEngineDownloadRequest *request, QObject *parent)
    : QObject(parent), m_request(request), m_name(request->downloadFileName()),
      m_folder(request->downloadDirectory())
{
    m_clock.start();
    watch(request);
}

void DownloadItem::watch(QWebEngineDownloadRequest *request)
{
    for (auto signal : {&QWebEngineDownloadRequest::receivedBytesChanged,
                        &QWebEngineDownloadRequest::totalBytesChanged,
                        &QWebEngineDownloadRequest::isPausedChanged,
                        &QWebEngineDownloadRequest::isFinishedChanged,
                        &QWebEngineDownloadRequest::interruptReasonChanged})
        connect(request, signal, this, &DownloadItem::update);
    connect(request, &QWebEngineDownloadRequest::stateChanged, this, &DownloadItem::update);
    update();
}

bool DownloadItem::adopt(QWebEngineDownloadRequest *request)
{
    if (!m_request || m_request == request || m_request->id() != request->id())
        return false;
    // The old request hears no more from the engine; the profile keeps it.
    disconnect(m_request, nullptr, this, nullptr);
    m_request = request;
    request->setDownloadDirectory(m_folder);
    request->setDownloadFileName(m_name);
    watch(request);
    request->accept();
    return true;
}

DownloadItem::~DownloadItem()
{
    if (m_request)
        m_request->deleteLater();
}

bool DownloadItem::canRetry() const
{
    return m_state == State::Failed && m_request && !m_request->isFinished() &&
           QFile::exists(partialPath());
}

QString DownloadItem::path() const
{
    return QDir(m_folder).filePath(m_name);
}

QString DownloadItem::partialPath() const
{
    return path() + QStringLiteral(".download");
}

qint64 DownloadItem::receivedBytes() const
{
    return m_received;
}

qint64 DownloadItem::totalBytes() const
{
    return m_total;
}

void DownloadItem::update()
{
    if (!m_request)
        return;
    const State before = m_state;
    switch (m_request->state()) {
    case QWebEngineDownloadRequest::DownloadRequested:
    case QWebEngineDownloadRequest::DownloadInProgress:
        m_state = m_request->isPaused() ? State::Paused : State::Running;
        break;
    case QWebEngineDownloadRequest::DownloadCompleted:
        m_state = State::Completed;
        break;
    case QWebEngineDownloadRequest::DownloadCancelled:
        m_state = State::Cancelled;
        break;
    case QWebEngineDownloadRequest::DownloadInterrupted:
        m_state = State::Failed;
        m_failure = m_request->interruptReasonString();
        break;
    }
    m_received = m_request->receivedBytes();
    m_total = m_request->totalBytes();
    if (m_state == State::Running) {
        m_samples.append({m_clock.elapsed(), m_received});
        while (m_samples.size() > 2 &&
               m_samples.last().first - m_samples.first().first > kSpeedWindowMs)
            m_samples.removeFirst();
    } else {
        m_samples.clear();
    }
    // What the engine cannot resume is of no use: a cancelled download or
    // one that failed for good leaves nothing behind.
    if (m_state == State::Cancelled || (m_state == State::Failed && m_request->isFinished()))
        removePartial();
    emit changed();
    if (m_state == State::Completed && before != State::Completed)
        emit completed();
}

void DownloadItem::removePartial()
{
    QFile::remove(partialPath());
}

void DownloadItem::pause()
{
    if (m_request && m_state == State::Running)
        m_request->pause();
}

void DownloadItem::resume()
{
    if (m_request && (m_state == State::Paused || canRetry()))
        m_request->resume();
}

void DownloadItem::cancel()
{
    if (m_state == State::Completed || m_state == State::Cancelled)
        return;
    if (m_request)
        m_request->cancel();
    // A failed download is cancelled without the engine, which leaves its
    // file; a running one may not have gone yet when the program ends.
    removePartial();
    m_state = State::Cancelled;
    emit changed();
}

QString DownloadItem::stateText() const
{
    switch (m_state) {
    case State::Running:
        return tr("Downloading");
    case State::Paused:
        return tr("Paused");
    case State::Completed:
        return tr("Completed");
    case State::Cancelled:
        return tr("Cancelled");
    case State::Failed:
        break;
    }
    const QString why = m_failure.isEmpty() ? tr("Failed") : tr("Failed: %1").arg(m_failure);
    return canRetry() ? why : tr("%1 (cannot be resumed)").arg(why);
}

QString DownloadItem::detailText() const
{
    const QString amount =
        m_total > 0 ? tr("%1 of %2").arg(size(m_received), size(m_total)) : size(m_received);
    if (m_state == State::Completed)
        return size(m_received);
    if (m_state != State::Running || m_samples.size() < 2)
        return amount;
    const qint64 ms = m_samples.last().first - m_samples.first().first;
    const qint64 bytes = m_samples.last().second - m_samples.first().second;
    if (ms < 200)
        return amount;
    const qint64 perSecond = bytes * 1000 / ms;
    QString text = tr("%1, %2/s").arg(amount, size(perSecond));
    if (m_total > 0 && perSecond > 0)
        text += tr(", %1 left").arg(timeText((m_total - m_received + perSecond - 1) / perSecond));
    return text;
}

QString DownloadItem::timeText(qint64 seconds)
{
    if (seconds < 60)
        return tr("%1 s").arg(seconds);
    if (seconds < 3600)
        return tr("%1 min %2 s").arg(seconds / 60).arg(seconds % 60);
    return tr("%1 h %2 min").arg(seconds / 3600).arg(seconds % 3600 / 60);
}
