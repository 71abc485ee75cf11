// Saving and reading the window's session.
#include "app/SessionKeeper.h"

#include "app/TabSet.h"
#include "store/AppPaths.h"
#include "store/SessionWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace {
// A session file is a few hundred bytes a tab; anything this size is not one.
constexpr qint64 MaxFileBytes = 256 * 1024 * 1024;
} // namespace

QString SessionKeeper::filePath()
{
    return AppPaths::dataFilePath(QStringLiteral("session.dat"));
}

bool SessionKeeper::restoreAtStart()
{
    const QString value = AppPaths::openSettings()
                              ->value(QStringLiteral("Session/RestoreAtStart"))
                              .toString()
                              .trimmed();
    return value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
           value == QLatin1String("1");
}

SessionKeeper::SessionKeeper(TabSet *tabs, QObject *parent) : QObject(parent), m_tabs(tabs)
{
    const QString path = filePath();
    m_lock = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
    // The lock is ours for the whole run, however long: only a holder that
    // no longer runs leaves it stale.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0))
        return;
    m_writer = new SessionWriter(path, this);
    connect(m_writer, &SessionWriter::failed, this, &SessionKeeper::statusText);
    readPrevious();

    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &SessionKeeper::save);
}

SessionKeeper::~SessionKeeper()
{
    delete m_writer; // waits for a save in progress, before the lock goes
    m_writer = nullptr;
}

void SessionKeeper::readPrevious()
{
    const QString path = m_writer->path();
    QFile file(path);
    if (!file.exists())
        return;
    SessionFile::Status status = SessionFile::Status::Damaged;
    std::optional<Session> read;
    if (file.size() <= MaxFileBytes && file.open(QIODevice::ReadOnly))
        read = SessionFile::decode(file.readAll(), &status);
    file.close();
    if (read) {
        if (!read->tabs.isEmpty())
            m_previous = std::move(read);
        return;
    }
    // Kept aside, never overwritten unread: it may be from a later version.
    const QString aside = path + QStringLiteral(".damaged");
    QFile::remove(aside);
    const bool kept = QFile::rename(path, aside);
    const QString where = kept ? tr("it is kept as %1").arg(QFileInfo(aside).fileName())
                               : tr("it could not be kept aside");
    m_readProblem = status == SessionFile::Status::UnknownVersion
                        ? tr("The saved tabs are from another version of Corvane; %1.").arg(where)
                        : tr("The saved tabs could not be read; %1.").arg(where);
}

void SessionKeeper::start()
{
    if (!owner() || m_started)
        return;
    m_started = true;
    connect(m_tabs, &TabSet::tabOpened, this, [this](int index) {
        watchTab(index);
        changed();
    });
    connect(m_tabs, &TabSet::tabClosed, this, &SessionKeeper::changed);
    connect(m_tabs, &TabSet::tabShown, this, &SessionKeeper::changed);
    for (int i = 0; i < m_tabs->count(); ++i)
        watchTab(i);
    changed();
}

void SessionKeeper::watchTab(int index)
{
    PageView *view = m_tabs->view(index);
    if (!view)
        return;
    connect(view, &PageView::DocumentComplete, this, &SessionKeeper::changed);
    connect(view, &PageView::LocationChange, this, &SessionKeeper::changed);
    connect(view, &PageView::TitleChange, this, &SessionKeeper::changed);
}

void SessionKeeper::setHoldPrevious(bool hold)
{
    m_hold = hold;
    if (!hold)
        changed();
}

bool SessionKeeper::untouched() const
{
    PageView *first = m_tabs->view(0);
    return m_tabs->count() == 1 && first && !first->canGoBack();
}

void SessionKeeper::changed()
{
    if (!m_started || m_finished || m_timer.isActive())
        return;
    const qint64 since = m_sinceSave.isValid() ? m_sinceSave.elapsed() : SaveIntervalMs;
    m_timer.start(int(std::max<qint64>(0, SaveIntervalMs - since)));
}

Session SessionKeeper::capture(bool cleanEnd) const
{
    Session session;
    session.cleanEnd = cleanEnd;
    for (int i = 0; i < m_tabs->count(); ++i) {
        if (!m_tabs->isOpen(i))
            continue; // closed by its X: not part of the session
        if (i == m_tabs->selectedIndex())
            session.selected = int(session.tabs.size());
        const PageView *view = m_tabs->view(i);
        session.tabs.append(SessionTab{view->LocationURL(), view->LocationName(),
                                       view->zoomPercent(), view->saveHistory()});
    }
    return session;
}

void SessionKeeper::save()
{
    if (m_finished || !m_writer)
        return;
    if (m_hold && untouched())
        return; // the last session stays on disk until this one is worth more
    m_sinceSave.start();
    m_writer->save(SessionFile::encode(capture(false)));
}

void SessionKeeper::markCleanEnd()
{
    if (!m_started || m_finished || !m_writer)
        return;
    m_timer.stop();
    // Still undecided, the last session is what the next start should offer.
    if (m_hold && untouched() && m_previous) {
        Session kept = *m_previous;
        kept.cleanEnd = false;
        m_writer->saveNow(SessionFile::encode(kept));
        return;
    }
    m_writer->saveNow(SessionFile::encode(capture(true)));
}

void SessionKeeper::finish()
{
    markCleanEnd();
    m_finished = true;
}
