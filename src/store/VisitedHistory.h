// The visited pages as the window uses them: finished loads are recorded and
// questions answered without the user interface ever waiting on the
// database, which lives on a thread of its own. Visits are gathered and
// written in one transaction at most once a second; of the questions asked
// one after another, only the latest is answered.
#pragma once

#include "store/HistoryDatabase.h"
#include "store/SuggestionMemory.h"

#include <QMutex>
#include <QObject>
#include <QTimer>
#include <QWaitCondition>
#include <atomic>
#include <deque>
#include <functional>

class QThread;
class QUrl;

class VisitedHistory : public QObject
{
    Q_OBJECT
public:
    // Opens the database at path on its thread.
    explicit VisitedHistory(const QString &path, QObject *parent = nullptr);
    // Writes the visits gathered so far and waits for the thread to end.
    ~VisitedHistory() override;

    // Whether a load of url is a visit worth keeping: a web or local page,
    // not about:, data:, the engine's or the program's own pages.
    static bool isRecorded(const QUrl &url);
    // The text an address is kept and shown as (no password in it).
    static QString addressOf(const QUrl &url);

    // Reads what the suggestions need first (the most visited pages, the
    // index's upper pages) on the database's thread; once, later calls do
    // nothing. A start asks for it once its first page is there, so that it
    // does not take the processor from the engine's start.
    void warmUp();

    // Counts a visit of url (when isRecorded) with the page's title.
    void record(const QUrl &url, const QString &title);
    // Asks for up to limit suggestions for the typed text; answered by
    // suggested(id, ...) with the id returned, unless a newer one came first.
    int suggest(const QString &typed, int limit);
    // The same answer at once, when memory holds it for sure (the most
    // visited pages, or the last answer narrowed down); an answer still on
    // its way is then dropped. False when only the database can tell.
    bool suggestFromMemory(const QString &typed, int limit, QVector<VisitedPage> &pages);
    // Asks for up to limit pages holding the words, newest first; answered
    // by found(id, ...) unless a newer one came first.
    int find(const QString &typed, int limit);
    void remove(const QStringList &urls);
    // Forgets every visited page, those not yet written too.
    void clear();
    // Waits until everything asked so far is done (the gathered visits
    // written); for the benchmark and the tests.
    void waitUntilDone();

signals:
    void suggested(int id, const QVector<VisitedPage> &pages);
    void found(int id, const QVector<VisitedPage> &pages);
    // Pages were written, removed or cleared.
    void changed();
    // Something the user should know: the database was damaged, or visits
    // cannot be kept. Said once for each kind of trouble.
    void problem(const QString &message);

private:
    using Job = std::function<void(HistoryDatabase &)>;
    void post(Job job);
    void writeGathered();
    void work();
    // Tells the window of a damaged file, or of the first write that failed.
    void report(HistoryDatabase &db, bool done, bool write = true);
    // What memory knew may be out of date from now on.
    void forget();
    // Asks the database, behind the answer memory gave, for the pages the
    // next keystrokes of typed will need; dropped when a key comes first.
    void lookAhead(const QString &typed);
    // Hands the most visited pages to memory, on the window's thread.
    void publishTop(HistoryDatabase &db, int generation);
    bool m_warmUpAsked = false;

    QString m_path;
    QThread *m_thread = nullptr;
    QMutex m_mutex;
    QWaitCondition m_wake;
    QWaitCondition m_idle;
    std::deque<Job> m_jobs;
    bool m_busy = false;
    bool m_stopping = false;

    QVector<PageVisit> m_gathered;
    QTimer m_writeTimer;
    std::atomic<int> m_latestSuggestion{0};
    std::atomic<int> m_latestFind{0};
    bool m_writeFailed = false; // touched on the database thread only
    SuggestionMemory m_memory;  // the window's thread only, as is:
    int m_generation = 0;       // counts the changes posted to the database
};
