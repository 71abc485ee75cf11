// The visited-pages database (history.db, SQLite in WAL mode): one row per
// address with its title, visit count and last visit, a trigram index over
// title and address, and the questions the address box and the history
// window ask of it. One connection, used by one thread only: VisitedHistory
// runs it on a thread of its own, the benchmark and the tests directly.
#pragma once

#include <QSqlError>
#include <QString>
#include <QStringList>
#include <QVector>

class QSqlQuery;

struct VisitedPage
{
    QString url;
    QString title;
    int visits = 0;
    qint64 lastVisit = 0; // milliseconds since the epoch, UTC
};

// A page with the text its words are looked for in (see searchText).
struct RankedPage
{
    VisitedPage page;
    QString search;
};

struct PageVisit
{
    QString url;
    QString title; // empty: the title stored before stays
    qint64 time = 0;
};

class HistoryDatabase
{
public:
    // How many of the most visited pages are kept in memory for the first
    // look; a question they answer costs no disk read at all.
    static constexpr int TopRows = 2000;
    static constexpr int KeptRows = 1000;
    static constexpr int ScanRows = 20000;

    explicit HistoryDatabase(const QString &path);
    ~HistoryDatabase();
    HistoryDatabase(const HistoryDatabase &) = delete;
    HistoryDatabase &operator=(const HistoryDatabase &) = delete;

    // Reads the most visited pages into memory again when a write made them
    // stale, and the index's first pages once, so the next suggestion need not.
    void warmUp();
    // The most visited pages in rank order (up to TopRows; fewer are all
    // the pages there are); false when they could not be read.
    bool topPages(QVector<RankedPage> &pages);

    // Opens the file, creating it and its tables when missing. A file that
    // is not a whole database (here or at any later step) is moved aside to
    // path + ".damaged", replacing an older one, and a fresh one started;
    // takeSetAside() then tells once. False when no database could be
    // opened at all (a missing driver, a folder that cannot be written).
    bool open();
    bool isOpen() const { return m_open; }
    QString error() const { return m_error; }
    bool takeSetAside();
    QString path() const { return m_path; }

    // Counts one visit per entry, in one transaction; false when nothing
    // could be written (error() says why).
    bool add(const QVector<PageVisit> &visits);
    // Up to limit pages whose title or address holds every word of typed
    // (case ignored), most visited first, the latest visit first among equals.
    QVector<VisitedPage> suggest(const QString &typed, int limit);
    // The first pages in rank order that match typed, with their search
    // text: limit of them (fewer are all there are) and more when they cost
    // little (those among the most visited, or up to KeptRows the index
    // finds). complete: they are all that match. False when the database
    // failed to answer.
    bool ranked(const QString &typed, int limit, QVector<RankedPage> &pages, bool &complete);
    // More of them, for the keystrokes still to come: up to KeptRows, found
    // by the index when a word is long enough for it, else among the first
    // ScanRows pages in rank order (a bounded look).
    bool rankedAhead(const QString &typed, QVector<RankedPage> &pages, bool &complete);
    // Up to limit pages holding every word (all pages for none), the latest
    // visit first.
    QVector<VisitedPage> find(const QString &typed, int limit);
    bool remove(const QStringList &urls);
    // Empties the database and leaves no trace of its pages in the file,
    // its write-ahead log or a damaged copy kept aside.
    bool clear();
    int count();

    // The words of a typed text as they are matched: lower case, split at spaces.
    static QStringList words(const QString &typed);
    // What the words are looked for in: title and address, in lower case.
    static QString searchText(const QString &title, const QString &url);

private:
    bool openFile();
    void close();
    bool createTables();
    void setAsideAndRestart();
    // Runs a prepared query; a damaged file found on the way is set aside.
    bool prepare(QSqlQuery &query, const QString &sql);
    bool run(QSqlQuery &query);
    bool exec(const QString &sql);
    // Notes the error; a damaged file is set aside and a fresh one opened.
    void failed(const QSqlError &error);
    template <typename T> T recovered(T result);
    bool addNow(const QVector<PageVisit> &visits);
    QVector<RankedPage> rankedNow(const QString &typed, int limit, bool &complete);
    QVector<VisitedPage> findNow(const QString &typed, int limit);
    bool removeNow(const QStringList &urls);
    bool clearNow();
    int countNow();
    QVector<RankedPage> select(const QString &order, const QStringList &words, int limit,
                               const QString &from = QStringLiteral("pages"));
    void loadTop();

    QString m_path;
    QString m_connection;
    bool m_open = false;
    bool m_setAside = false;
    bool m_damaged = false; // found damaged; set aside when the query is done
    QString m_error;
    // The most visited pages in rank order: most questions are answered
    // from them alone, as a word typed is usually found among them.
    QVector<RankedPage> m_top;
    bool m_topStale = true;
    bool m_indexRead = false;
    bool m_queryFailed = false; // the last select did not run to its end
};
