// Visited pages: the database thread, its queue of work and the gathering of visits.
#include "store/VisitedHistory.h"

#include <QDateTime>
#include <QFileInfo>
#include <QThread>
#include <QUrl>

#include <utility>

namespace {

constexpr int WriteDelayMs = 1000;

} // namespace

VisitedHistory::VisitedHistory(const QString &path, QObject *parent) : QObject(parent), m_path(path)
{
    m_writeTimer.setSingleShot(true);
    m_writeTimer.setInterval(WriteDelayMs);
    connect(&m_writeTimer, &QTimer::timeout, this, &VisitedHistory::writeGathered);
    m_thread = QThread::create([this] { work(); });
    m_thread->setObjectName(QStringLiteral("VisitedHistory"));
    m_thread->start(QThread::LowPriority);
    post([this](HistoryDatabase &db) { report(db, db.open()); });
}

void VisitedHistory::warmUp()
{
    if (std::exchange(m_warmUpAsked, true))
        return;
    post([this, gen = m_generation](HistoryDatabase &db) {
        db.warmUp(); // on this thread, before the first keystrokes need it
        publishTop(db, gen);
    });
}

VisitedHistory::~VisitedHistory()
{
    writeGathered();
    {
        QMutexLocker lock(&m_mutex);
        m_stopping = true;
        m_wake.wakeAll();
    }
    m_thread->wait();
    delete m_thread;
}

bool VisitedHistory::isRecorded(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
                             scheme == QLatin1String("file"));
}

QString VisitedHistory::addressOf(const QUrl &url)
{
    return url.toString(QUrl::RemovePassword);
}

void VisitedHistory::record(const QUrl &url, const QString &title)
{
    if (!isRecorded(url))
        return;
    m_gathered.append({addressOf(url), title, QDateTime::currentMSecsSinceEpoch()});
    if (!m_writeTimer.isActive())
        m_writeTimer.start();
}

void VisitedHistory::writeGathered()
{
    m_writeTimer.stop();
    if (m_gathered.isEmpty())
        return;
    forget();
    post([this, visits = std::exchange(m_gathered, {}), gen = m_generation](HistoryDatabase &db) {
        report(db, db.add(visits));
        db.warmUp();
        publishTop(db, gen);
        QMetaObject::invokeMethod(this, &VisitedHistory::changed, Qt::QueuedConnection);
    });
}

void VisitedHistory::forget()
{
    ++m_generation;
    m_memory.clear();
}

void VisitedHistory::publishTop(HistoryDatabase &db, int generation)
{
    QVector<RankedPage> top;
    if (!db.topPages(top))
        return;
    QMetaObject::invokeMethod(
        this,
        [this, generation, top] {
            if (generation == m_generation)
                m_memory.setTop(top, top.size() < HistoryDatabase::TopRows);
        },
        Qt::QueuedConnection);
}

bool VisitedHistory::suggestFromMemory(const QString &typed, int limit, QVector<VisitedPage> &pages)
{
    if (!m_memory.answer(typed, limit, pages))
        return false;
    ++m_latestSuggestion;
    if (m_memory.thin())
        lookAhead(typed);
    return true;
}

void VisitedHistory::lookAhead(const QString &typed)
{
    post([this, id = int(m_latestSuggestion), typed, gen = m_generation](HistoryDatabase &db) {
        if (id != m_latestSuggestion) // the next key asks on its own
            return;
        QVector<RankedPage> found;
        bool complete = false;
        const bool answered = db.rankedAhead(typed, found, complete);
        report(db, true, false);
        if (!answered)
            return;
        QMetaObject::invokeMethod(
            this,
            [this, typed, gen, found, complete] {
                if (gen == m_generation)
                    m_memory.remember(typed, found, complete);
            },
            Qt::QueuedConnection);
    });
}

int VisitedHistory::suggest(const QString &typed, int limit)
{
    const int id = ++m_latestSuggestion;
    post([this, id, typed, limit, gen = m_generation](HistoryDatabase &db) {
        if (id != m_latestSuggestion) // a newer keystroke asks already
            return;
        QVector<RankedPage> found;
        bool complete = false;
        const bool answered = db.ranked(typed, limit, found, complete);
        report(db, true, false);
        // What came along beyond the limit answers the next keystrokes.
        QMetaObject::invokeMethod(
            this,
            [this, id, typed, limit, gen, found, complete, answered] {
                if (answered && gen == m_generation)
                    m_memory.remember(typed, found, complete);
                if (id != m_latestSuggestion)
                    return;
                QVector<VisitedPage> pages;
                for (int i = 0; i < found.size() && i < limit; ++i)
                    pages.append(found.at(i).page);
                emit suggested(id, pages);
            },
            Qt::QueuedConnection);
    });
    return id;
}

int VisitedHistory::find(const QString &typed, int limit)
{
    const int id = ++m_latestFind;
    post([this, id, typed, limit](HistoryDatabase &db) {
        if (id != m_latestFind)
            return;
        const QVector<VisitedPage> pages = db.find(typed, limit);
        report(db, true, false);
        QMetaObject::invokeMethod(
            this,
            [this, id, pages] {
                if (id == m_latestFind)
                    emit found(id, pages);
            },
            Qt::QueuedConnection);
    });
    return id;
}

void VisitedHistory::remove(const QStringList &urls)
{
    writeGathered(); // a visit gathered before must not bring a page back
    forget();
    post([this, urls, gen = m_generation](HistoryDatabase &db) {
        report(db, db.remove(urls));
        publishTop(db, gen);
        QMetaObject::invokeMethod(this, &VisitedHistory::changed, Qt::QueuedConnection);
    });
}

void VisitedHistory::clear()
{
    m_writeTimer.stop();
    m_gathered.clear();
    forget();
    post([this, gen = m_generation](HistoryDatabase &db) {
        report(db, db.clear());
        publishTop(db, gen);
        QMetaObject::invokeMethod(this, &VisitedHistory::changed, Qt::QueuedConnection);
    });
}

void VisitedHistory::waitUntilDone()
{
    writeGathered();
    QMutexLocker lock(&m_mutex);
    while (m_busy || !m_jobs.empty())
        m_idle.wait(&m_mutex);
}

void VisitedHistory::post(Job job)
{
    QMutexLocker lock(&m_mutex);
    m_jobs.push_back(std::move(job));
    m_wake.wakeOne();
}

void VisitedHistory::work()
{
    HistoryDatabase db(m_path);
    for (;;) {
        Job job;
        {
            QMutexLocker lock(&m_mutex);
            m_busy = false;
            if (m_jobs.empty())
                m_idle.wakeAll();
            while (m_jobs.empty() && !m_stopping)
                m_wake.wait(&m_mutex);
            if (m_jobs.empty())
                return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
            m_busy = true;
        }
        job(db);
    }
}

// Runs on the database thread after each piece of work.
void VisitedHistory::report(HistoryDatabase &db, bool done, bool write)
{
    QString message;
    if (db.takeSetAside()) {
        // What memory knew came from the file set aside.
        QMetaObject::invokeMethod(this, &VisitedHistory::forget, Qt::QueuedConnection);
        message = tr("The history of visited pages was damaged: it is kept as %1, and a new one "
                     "is started.")
                      .arg(QFileInfo(db.path()).fileName() + QStringLiteral(".damaged"));
    } else if (write && !done && !m_writeFailed) {
        m_writeFailed = true;
        message = tr("Visited pages cannot be kept in %1: %2").arg(db.path(), db.error());
    } else if (write && done) {
        m_writeFailed = false;
    }
    if (!message.isEmpty())
        QMetaObject::invokeMethod(
            this, [this, message] { emit problem(message); }, Qt::QueuedConnection);
}
