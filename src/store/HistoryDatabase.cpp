// The visited-pages database: schema, damage handling and the queries.
#include "store/HistoryDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <utility>

namespace {

// The trigram index finds words of three characters or more.
constexpr int IndexedWordLength = 3;
constexpr int SchemaVersion = 1;

// SQLite's primary result codes for a file that is not a whole database.
bool isDamage(const QSqlError &error)
{
    const int code = error.nativeErrorCode().toInt() & 0xff;
    return code == 11 /* SQLITE_CORRUPT */ || code == 26 /* SQLITE_NOTADB */;
}

QString ftsPhrase(const QString &word)
{
    QString quoted = word;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

HistoryDatabase::HistoryDatabase(const QString &path)
    : m_path(path), m_connection(QStringLiteral("history-%1").arg(quintptr(this)))
{
}

HistoryDatabase::~HistoryDatabase()
{
    close();
}

QStringList HistoryDatabase::words(const QString &typed)
{
    return typed.toLower().split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QString HistoryDatabase::searchText(const QString &title, const QString &url)
{
    // A line end between them: no word (which holds no space) spans both.
    return title.toLower() + QLatin1Char('\n') + url.toLower();
}

bool HistoryDatabase::takeSetAside()
{
    return std::exchange(m_setAside, false);
}

bool HistoryDatabase::open()
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        m_error = QStringLiteral("the SQLite driver of Qt is missing (libqt6sql6-sqlite)");
        return false;
    }
    if (openFile())
        return true;
    if (!m_damaged)
        return false;
    // The file was damaged: it is kept aside, and a fresh one started.
    recovered(false);
    return m_open;
}

bool HistoryDatabase::openFile()
{
    close();
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(m_path);
        if (!db.open()) {
            m_error = db.lastError().text();
            return false;
        }
    }
    m_open = true;
    m_topStale = true;
    m_indexRead = false;
    // WAL: a write killed half-way leaves the last committed state; NORMAL
    // syncs at checkpoints, which loses at most the last batch on a power
    // cut, never the file. Deleted pages are overwritten, not left behind.
    if (!exec(QStringLiteral("PRAGMA journal_mode=WAL")) ||
        !exec(QStringLiteral("PRAGMA synchronous=NORMAL")) ||
        !exec(QStringLiteral("PRAGMA secure_delete=ON")) || !createTables()) {
        close();
        return false;
    }
    return true;
}

void HistoryDatabase::close()
{
    m_top.clear();
    if (!QSqlDatabase::contains(m_connection))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
    m_open = false;
}

bool HistoryDatabase::createTables()
{
    QSqlQuery version(QSqlDatabase::database(m_connection));
    prepare(version, QStringLiteral("PRAGMA user_version"));
    if (!run(version) || !version.next())
        return false;
    if (version.value(0).toInt() == SchemaVersion)
        return true;
    const char *const statements[] = {
        "CREATE TABLE IF NOT EXISTS pages(id INTEGER PRIMARY KEY, url TEXT NOT NULL UNIQUE, "
        "title TEXT NOT NULL DEFAULT '', visits INTEGER NOT NULL DEFAULT 0, "
        "last_visit INTEGER NOT NULL DEFAULT 0, search TEXT NOT NULL DEFAULT '')",
        "CREATE INDEX IF NOT EXISTS pages_rank ON pages(visits DESC, last_visit DESC)",
        "CREATE INDEX IF NOT EXISTS pages_last ON pages(last_visit DESC)",
        "CREATE VIRTUAL TABLE IF NOT EXISTS pages_words USING fts5(search, content='pages', "
        "content_rowid='id', tokenize='trigram')",
        "CREATE TRIGGER IF NOT EXISTS pages_added AFTER INSERT ON pages BEGIN "
        "INSERT INTO pages_words(rowid, search) VALUES (new.id, new.search); END",
        "CREATE TRIGGER IF NOT EXISTS pages_removed AFTER DELETE ON pages BEGIN "
        "INSERT INTO pages_words(pages_words, rowid, search) VALUES ('delete', old.id, "
        "old.search); END",
        "CREATE TRIGGER IF NOT EXISTS pages_renamed AFTER UPDATE OF search ON pages "
        "WHEN old.search <> new.search BEGIN "
        "INSERT INTO pages_words(pages_words, rowid, search) VALUES ('delete', old.id, "
        "old.search); INSERT INTO pages_words(rowid, search) VALUES (new.id, new.search); END",
    };
    for (const char *sql : statements)
        if (!exec(QLatin1String(sql)))
            return false;
    return exec(QStringLiteral("PRAGMA user_version=%1").arg(SchemaVersion));
}

bool HistoryDatabase::exec(const QString &sql)
{
    QSqlQuery query(QSqlDatabase::database(m_connection));
    return prepare(query, sql) && run(query);
}

bool HistoryDatabase::run(QSqlQuery &query)
{
    if (query.exec())
        return true;
    failed(query.lastError());
    return false;
}

bool HistoryDatabase::prepare(QSqlQuery &query, const QString &sql)
{
    // A file that is not a database fails here already, not when run.
    if (query.prepare(sql))
        return true;
    failed(query.lastError());
    return false;
}

void HistoryDatabase::failed(const QSqlError &error)
{
    if (!m_damaged)
        m_error = error.text();
    if (isDamage(error))
        m_damaged = true;
}

// Called once no query is left on the connection.
template <typename T> T HistoryDatabase::recovered(T result)
{
    if (m_damaged) {
        m_damaged = false;
        setAsideAndRestart();
    }
    return result;
}

void HistoryDatabase::setAsideAndRestart()
{
    close();
    const QString aside = m_path + QStringLiteral(".damaged");
    QFile::remove(aside);
    if (!QFile::rename(m_path, aside))
        QFile::remove(m_path);
    // The log and index belong to the file set aside; against a fresh file
    // SQLite would replay them.
    for (const char *suffix : {"-wal", "-shm", "-journal"})
        QFile::remove(m_path + QLatin1String(suffix));
    m_setAside = true;
    if (openFile())
        return;
    m_damaged = false; // a fresh file can hold no damage; there is none then
}

bool HistoryDatabase::addNow(const QVector<PageVisit> &visits)
{
    if (!m_open || visits.isEmpty())
        return m_open;
    QSqlDatabase db = QSqlDatabase::database(m_connection);
    if (!db.transaction()) {
        failed(db.lastError());
        return false;
    }
    QSqlQuery query(db);
    prepare(query,
            QStringLiteral(
                "INSERT INTO pages(url, title, visits, last_visit, search) VALUES (?, ?, 1, ?, ?) "
                "ON CONFLICT(url) DO UPDATE SET visits = visits + 1, "
                "last_visit = max(last_visit, excluded.last_visit), "
                "title = CASE WHEN excluded.title <> '' THEN excluded.title ELSE title END, "
                "search = CASE WHEN excluded.title <> '' THEN excluded.search ELSE search END"));
    for (const PageVisit &visit : visits) {
        query.addBindValue(visit.url);
        query.addBindValue(visit.title);
        query.addBindValue(visit.time);
        query.addBindValue(searchText(visit.title, visit.url));
        if (!run(query)) {
            if (m_open)
                db.rollback();
            return false;
        }
    }
    if (!db.commit()) {
        failed(db.lastError());
        if (m_open)
            db.rollback();
        return false;
    }
    m_topStale = true;
    return true;
}

void HistoryDatabase::warmUp()
{
    if (!m_open)
        return;
    if (m_topStale)
        loadTop();
    if (!m_indexRead && m_open) {
        // The first look into the index reads its structure and upper pages;
        // a word found nowhere costs that and little more.
        m_indexRead = true;
        select(QStringLiteral("visits DESC, last_visit DESC"), {QStringLiteral("\x01\x01\x01")}, 1);
    }
    recovered(true);
}

bool HistoryDatabase::topPages(QVector<RankedPage> &pages)
{
    if (m_open && m_topStale) {
        loadTop();
        recovered(true);
    }
    pages = m_top;
    return m_open && !m_topStale;
}

void HistoryDatabase::loadTop()
{
    m_top.clear();
    QSqlQuery query(QSqlDatabase::database(m_connection));
    query.setForwardOnly(true);
    prepare(query, QStringLiteral("SELECT url, title, visits, last_visit, search FROM pages "
                                  "ORDER BY visits DESC, last_visit DESC LIMIT %1")
                       .arg(TopRows));
    if (!run(query))
        return; // stale still: the next question tries again
    m_topStale = false;
    m_top.reserve(TopRows);
    while (query.next())
        m_top.append({{query.value(0).toString(), query.value(1).toString(), query.value(2).toInt(),
                       query.value(3).toLongLong()},
                      query.value(4).toString()});
}

QVector<RankedPage> HistoryDatabase::rankedNow(const QString &typed, int limit, bool &complete)
{
    complete = true;
    const QStringList all = words(typed);
    if (!m_open || all.isEmpty() || limit <= 0)
        return {};
    const QString rank = QStringLiteral("visits DESC, last_visit DESC");
    if (m_topStale)
        loadTop();
    if (!m_topStale) {
        // The first pages in rank order that match are the answer; when the
        // most visited hold enough of them, nothing else can come first.
        QVector<RankedPage> found;
        for (const RankedPage &row : std::as_const(m_top)) {
            if (std::all_of(all.cbegin(), all.cend(),
                            [&](const QString &word) { return row.search.contains(word); })) {
                found.append(row);
                if (found.size() == std::max(limit, KeptRows))
                    break;
            }
        }
        complete = m_top.size() < TopRows && found.size() < std::max(limit, KeptRows);
        if (m_top.size() < TopRows || found.size() >= limit)
            return found; // all the pages there are, or enough of them
    }
    // Only a word the index finds makes more rows cheap; short words alone
    // are looked for row by row, and no further than needed.
    const bool indexed = std::any_of(all.cbegin(), all.cend(), [](const QString &word) {
        return word.size() >= IndexedWordLength;
    });
    const int rows = indexed ? std::max(limit, KeptRows) : limit;
    QVector<RankedPage> found = select(rank, all, rows);
    complete = found.size() < rows;
    return found;
}

QVector<VisitedPage> HistoryDatabase::findNow(const QString &typed, int limit)
{
    QVector<VisitedPage> pages;
    if (!m_open || limit <= 0)
        return pages;
    for (const RankedPage &row : select(QStringLiteral("last_visit DESC"), words(typed), limit))
        pages.append(row.page);
    return pages;
}

QVector<RankedPage> HistoryDatabase::select(const QString &order, const QStringList &all, int limit,
                                            const QString &from)
{
    QStringList indexed;
    QStringList conditions;
    for (const QString &word : all) {
        conditions << QStringLiteral("instr(search, ?) > 0");
        if (word.size() >= IndexedWordLength)
            indexed << ftsPhrase(word);
    }
    // The index narrows the pages down; every word is still checked on the
    // row, which also covers the short ones the index cannot find.
    if (!indexed.isEmpty())
        conditions.prepend(
            QStringLiteral("id IN (SELECT rowid FROM pages_words WHERE pages_words MATCH ?)"));
    QString sql = QStringLiteral("SELECT url, title, visits, last_visit, search FROM ") + from;
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY %1 LIMIT %2").arg(order).arg(limit);

    QSqlQuery query(QSqlDatabase::database(m_connection));
    query.setForwardOnly(true);
    prepare(query, sql);
    if (!indexed.isEmpty())
        query.addBindValue(indexed.join(QStringLiteral(" AND ")));
    for (const QString &word : all)
        query.addBindValue(word);
    QVector<RankedPage> found;
    m_queryFailed = !run(query);
    if (m_queryFailed)
        return found;
    while (query.next())
        found.append({{query.value(0).toString(), query.value(1).toString(), query.value(2).toInt(),
                       query.value(3).toLongLong()},
                      query.value(4).toString()});
    return found;
}

bool HistoryDatabase::removeNow(const QStringList &urls)
{
    if (!m_open)
        return false;
    QSqlDatabase db = QSqlDatabase::database(m_connection);
    if (!db.transaction()) {
        failed(db.lastError());
        return false;
    }
    QSqlQuery query(db);
    prepare(query, QStringLiteral("DELETE FROM pages WHERE url = ?"));
    for (const QString &url : urls) {
        query.addBindValue(url);
        if (!run(query)) {
            if (m_open)
                db.rollback();
            return false;
        }
    }
    m_topStale = true;
    if (db.commit())
        return true;
    failed(db.lastError());
    return false;
}

bool HistoryDatabase::clearNow()
{
    QFile::remove(m_path + QStringLiteral(".damaged"));
    if (!m_open && !open())
        return false;
    // Dropping the tables is quicker than deleting each row from the index;
    // VACUUM then rebuilds the file without their pages, and the checkpoint
    // empties the log that still held them.
    const bool done = exec(QStringLiteral("DROP TABLE IF EXISTS pages_words")) &&
                      exec(QStringLiteral("DROP TABLE IF EXISTS pages")) &&
                      exec(QStringLiteral("PRAGMA user_version=0")) && createTables() &&
                      exec(QStringLiteral("VACUUM")) &&
                      exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    m_topStale = true;
    return done;
}

int HistoryDatabase::countNow()
{
    QSqlQuery query(QSqlDatabase::database(m_connection));
    prepare(query, QStringLiteral("SELECT count(*) FROM pages"));
    return m_open && run(query) && query.next() ? query.value(0).toInt() : 0;
}

bool HistoryDatabase::add(const QVector<PageVisit> &visits)
{
    return recovered(addNow(visits));
}

QVector<VisitedPage> HistoryDatabase::suggest(const QString &typed, int limit)
{
    QVector<RankedPage> found;
    bool complete = false;
    ranked(typed, limit, found, complete);
    QVector<VisitedPage> pages;
    for (int i = 0; i < found.size() && i < limit; ++i)
        pages.append(found.at(i).page);
    return pages;
}

bool HistoryDatabase::ranked(const QString &typed, int limit, QVector<RankedPage> &pages,
                             bool &complete)
{
    m_queryFailed = false;
    pages = rankedNow(typed, limit, complete);
    return recovered(m_open && !m_queryFailed);
}

QVector<VisitedPage> HistoryDatabase::find(const QString &typed, int limit)
{
    return recovered(findNow(typed, limit));
}

bool HistoryDatabase::rankedAhead(const QString &typed, QVector<RankedPage> &pages, bool &complete)
{
    m_queryFailed = false;
    complete = false;
    pages.clear();
    const QStringList all = words(typed);
    if (m_open && !all.isEmpty()) {
        const QString rank = QStringLiteral("visits DESC, last_visit DESC");
        const bool indexed = std::any_of(all.cbegin(), all.cend(), [](const QString &word) {
            return word.size() >= IndexedWordLength;
        });
        if (indexed) {
            pages = select(rank, all, KeptRows);
            complete = pages.size() < KeptRows;
        } else {
            // The matches among the first pages are the first matches.
            pages = select(rank, all, KeptRows,
                           QStringLiteral("(SELECT * FROM pages ORDER BY %1 LIMIT %2)")
                               .arg(rank)
                               .arg(ScanRows));
        }
    }
    return recovered(m_open && !m_queryFailed);
}

bool HistoryDatabase::remove(const QStringList &urls)
{
    return recovered(removeNow(urls));
}

bool HistoryDatabase::clear()
{
    return recovered(clearNow());
}

int HistoryDatabase::count()
{
    return recovered(countNow());
}
