// corvane-probe: Corvane's own main window, built from the same library as
// the executable, driven from inside the process so the benchmark can time
// single commands and hold the browser in a given state while it measures.
//   corvane-probe --app-folder DIR memory PAGE-BASE
//       READY tabs1, then nine more tabs (New Tab, then GO! to PAGE-BASE<n>),
//       READY tabs10, then closes tabs 2..10, READY closed9; after each
//       READY it waits for a line on standard input before going on.
//   corvane-probe --app-folder DIR newtab RUNS
//       RUNS times: New Tab, "NEWTAB <ms>" at the blank page's
//       document-complete, then closes that tab again.
//   corvane-probe --app-folder DIR go RUNS ADDRESS-BASE
//       RUNS times: types ADDRESS-BASE<n> into the address box and prints
//       "GO <ms>" for the GO! handler, then waits for the page.
//   corvane-probe --app-folder DIR asleep PAGE-BASE RUNS
//       nine more tabs as in memory mode; when the pages of all tabs but the
//       selected one are discarded, READY asleep10 and a line awaited; then
//       RUNS times: once every tab behind is discarded again, selects the
//       next of them and prints "WAKE <ms>" at its page's document-complete.
//   corvane-probe --app-folder DIR frozen PAGE-BASE
//       READY tabs1 and a line awaited; then nine more tabs as in memory
//       mode; when the pages of all tabs but the selected one are frozen,
//       READY frozen and a line awaited.
//   corvane-probe --app-folder DIR session FILE PAGE-BASE TABS RUNS
//       GO! to PAGE-BASE1, 2 and 3 in the first tab, then writes FILE: a
//       session of TABS tabs, each with that tab's history, cleanly ended;
//       then restores those tabs behind its own and RUNS times prints
//       "SAVE <ms>", the main thread's share of saving the whole session.
//   corvane-probe --app-folder DIR makehistory COUNT
//       writes a history.db of COUNT visited pages into the data folder
//       (before any window) and prints "MADE <s>".
//   corvane-probe --app-folder DIR suggest RUNS COUNT
//       RUNS times: types two title words of one of the COUNT pages into the
//       address box, a key every 50 ms, and prints "SUGGEST <ms>" for each
//       key, from the key press to the suggestions shown; "MISSED" when the
//       page was not the first suggestion.
// The sleep modes take their delays from the settings store as the program
// does; the driver sets them low.
// Every mode starts like the executable (Form_Load) and waits for the home
// page first.
#include "app/AddressSuggestions.h"
#include "app/CorvaneApp.h"
#include "app/SessionKeeper.h"
#include "app/frmWeb.h"
#include "store/AppPaths.h"
#include "store/HistoryDatabase.h"
#include "store/SessionWriter.h"
#include "web/Engine.h"
#include "web/WebEnginePageView.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QListWidget>
#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QTabBar>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <cstdio>
#include <functional>
#include <unistd.h>

namespace {

constexpr int LoadTimeoutMs = 30000;
// Longest wait for the tabs behind to fall asleep.
constexpr int SleepTimeoutMs = 120000;
// Between new-tab runs, as in the bare program: the closed tab's renderer
// goes before the next tab opens.
constexpr int NewTabPauseMs = 100;
// Between keys typed into the address box: 20 keys a second, faster than
// people type, with the event loop running in between as it does then
// (the window paints each key; the program may prepare the next answer).
constexpr int KeyIntervalMs = 50;

void say(const char *format, double value = 0)
{
    std::printf(format, value);
    std::printf("\n");
    std::fflush(stdout);
}

// Runs the event loop until the view reports its document complete; start,
// when given, runs once the wait is set up (what makes the view load).
bool waitForDocument(PageView *view, const std::function<void()> &start = {})
{
    QEventLoop loop;
    bool done = false;
    QObject::connect(view, &PageView::DocumentComplete, &loop, [&] {
        done = true;
        loop.quit();
    });
    QTimer::singleShot(LoadTimeoutMs, &loop, &QEventLoop::quit);
    if (start)
        start();
    if (!done)
        loop.exec();
    if (!done)
        std::fprintf(stderr, "corvane-probe: a page did not load in time\n");
    return done;
}

// Runs the event loop until the driver writes a line (or closes the pipe).
void waitForLine()
{
    QEventLoop loop;
    QSocketNotifier notifier(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &loop, [&] {
        char c = 0;
        while (::read(STDIN_FILENO, &c, 1) == 1) {
            if (c == '\n')
                break;
        }
        loop.quit();
    });
    loop.exec();
}

void pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Nine more tabs: New Tab, then GO! to PAGE-BASE<n>.
void openNineTabs(frmWeb &window, const QString &pageBase)
{
    for (int tab = 1; tab < 10; ++tab) {
        window.action(QStringLiteral("new_b"))->trigger();
        waitForDocument(window.views().last());
        window.addressBox()->setEditText(pageBase + QString::number(tab));
        window.cmdgo_Click();
        waitForDocument(window.selectedView());
    }
}

// Runs the event loop until every tab but the selected one has its page in
// the given state; false when that takes too long.
bool waitForSleep(frmWeb &window, QWebEnginePage::LifecycleState state)
{
    auto asleep = [&] {
        for (PageView *view : window.views()) {
            auto *engine = qobject_cast<WebEnginePageView *>(view);
            if (view != window.selectedView() && engine &&
                engine->engineView()->page()->lifecycleState() != state)
                return false;
        }
        return true;
    };
    QElapsedTimer waited;
    waited.start();
    while (!asleep()) {
        if (waited.elapsed() > SleepTimeoutMs) {
            std::fprintf(stderr, "corvane-probe: the tabs behind did not fall asleep\n");
            return false;
        }
        pause(50);
    }
    return true;
}

void runMemory(frmWeb &window, const QString &pageBase)
{
    say("READY tabs1");
    waitForLine();
    openNineTabs(window, pageBase);
    say("READY tabs10");
    waitForLine();
    for (int tab = 9; tab >= 1; --tab) {
        window.tabStrip()->setCurrentIndex(tab);
        window.cmdClose_Click();
    }
    say("READY closed9");
    waitForLine();
}

void runNewTab(frmWeb &window, int runs)
{
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        window.action(QStringLiteral("new_b"))->trigger();
        if (!waitForDocument(window.views().last()))
            return;
        say("NEWTAB %.3f", timer.nsecsElapsed() / 1e6);
        window.cmdClose_Click();
        pause(NewTabPauseMs);
    }
}

void runGo(frmWeb &window, int runs, const QString &addressBase)
{
    for (int run = 0; run < runs; ++run) {
        window.addressBox()->setEditText(addressBase + QString::number(run));
        QElapsedTimer timer;
        timer.start();
        window.cmdgo_Click();
        const double ms = timer.nsecsElapsed() / 1e6;
        say("GO %.3f", ms);
        if (!waitForDocument(window.selectedView()))
            return;
    }
}

void runAsleep(frmWeb &window, const QString &pageBase, int runs)
{
    openNineTabs(window, pageBase);
    if (!waitForSleep(window, QWebEnginePage::LifecycleState::Discarded))
        return;
    say("READY asleep10");
    waitForLine();
    for (int run = 0; run < runs; ++run) {
        // The same state for every run: all nine tabs behind discarded.
        if (!waitForSleep(window, QWebEnginePage::LifecycleState::Discarded))
            return;
        const int tab = (window.selectedIndex() + 1) % int(window.views().size());
        PageView *view = window.views().at(tab);
        QElapsedTimer timer;
        // What a click on the tab does: the strip's selection changes.
        if (!waitForDocument(view, [&] {
                timer.start();
                window.tabStrip()->setCurrentIndex(tab);
            }))
            return;
        say("WAKE %.3f", timer.nsecsElapsed() / 1e6);
    }
}

void runFrozen(frmWeb &window, const QString &pageBase)
{
    say("READY tabs1");
    waitForLine();
    openNineTabs(window, pageBase);
    if (!waitForSleep(window, QWebEnginePage::LifecycleState::Frozen))
        return;
    say("READY frozen");
    waitForLine();
}

void runSession(frmWeb &window, const QString &file, const QString &pageBase, int tabs, int runs)
{
    for (int page = 1; page <= 3; ++page) {
        window.addressBox()->setEditText(pageBase + QString::number(page));
        window.cmdgo_Click();
        if (!waitForDocument(window.selectedView()))
            return;
    }
    PageView *view = window.selectedView();
    Session session;
    session.cleanEnd = true;
    for (int tab = 0; tab < tabs; ++tab)
        session.tabs.append(
            SessionTab{view->LocationURL(), view->LocationName(), 100, view->saveHistory()});
    const QString error = SessionWriter::writeFile(file, SessionFile::encode(session));
    if (!error.isEmpty()) {
        std::fprintf(stderr, "corvane-probe: %s\n", qPrintable(error));
        return;
    }
    window.restoreSession(session);
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const QByteArray bytes = window.session()->encodeNow();
        say("SAVE %.3f", timer.nsecsElapsed() / 1e6);
        if (bytes.isEmpty())
            return;
        pause(20);
    }
}

// Page i of the made history: a title of four words and an address of two.
QStringList pageWords(int i)
{
    QRandomGenerator random(quint32(i) * 2654435761u + 1);
    QStringList words;
    for (int w = 0; w < 6; ++w) {
        QString word;
        for (int n = 4 + int(random.bounded(6)); n > 0; --n)
            word += QLatin1Char(char('a' + random.bounded(26)));
        words << word;
    }
    return words;
}

int makeHistory(int count)
{
    QElapsedTimer timer;
    timer.start();
    HistoryDatabase db(AppPaths::dataFilePath(QStringLiteral("history.db")));
    if (!db.open())
        return 1;
    QVector<PageVisit> visits;
    for (int i = 0; i < count; ++i) {
        const QStringList w = pageWords(i);
        const QString url = QStringLiteral("https://www.%1.example/%2/%3").arg(w[4], w[5]).arg(i);
        const QString title = QStringList(w.mid(0, 4)).join(QLatin1Char(' '));
        // Some pages visited often, most once; visits spread over a year.
        for (int v = i % 97 == 0 ? 20 : 1; v > 0; --v)
            visits.append({url, title, 1700000000000LL + qint64(i) * 150000});
        if (visits.size() >= 20000 || i == count - 1) {
            if (!db.add(visits))
                return 1;
            visits.clear();
        }
    }
    say("MADE %.1f", timer.elapsed() / 1000.0);
    return 0;
}

void runSuggest(frmWeb &window, int runs, int count)
{
    window.activateWindow();
    pause(200);
    AddressSuggestions *suggestions = window.suggestions();
    for (int run = 0; run < runs; ++run) {
        const int page = int((quint64(run) * 7919u * 104729u) % quint64(count));
        const QStringList w = pageWords(page);
        const QString typed = w[1] + QLatin1Char(' ') + w[2];
        window.focusAddressBox();
        for (const QChar c : typed) {
            // The time is taken when the list shows the answer, which may
            // come while the key is handled, before any event loop runs.
            QEventLoop loop;
            QElapsedTimer timer;
            double ms = -1;
            const QMetaObject::Connection answered =
                QObject::connect(suggestions, &AddressSuggestions::answered, &loop, [&] {
                    if (ms < 0)
                        ms = timer.nsecsElapsed() / 1e6;
                    loop.quit();
                });
            QTimer::singleShot(LoadTimeoutMs, &loop, &QEventLoop::quit);
            timer.start();
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(window.addressBox(), &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(window.addressBox(), &release);
            if (ms < 0)
                loop.exec();
            QObject::disconnect(answered);
            say("SUGGEST %.3f", ms < 0 ? timer.nsecsElapsed() / 1e6 : ms);
            pause(KeyIntervalMs);
        }
        QListWidget *list = suggestions->list();
        if (list->count() == 0 || !list->item(0)->text().endsWith(QStringLiteral("/%1").arg(page)))
            say("MISSED");
    }
}

int usage()
{
    std::fprintf(stderr, "usage: corvane-probe --app-folder DIR memory PAGE-BASE\n"
                         "       corvane-probe --app-folder DIR newtab RUNS\n"
                         "       corvane-probe --app-folder DIR go RUNS ADDRESS-BASE\n"
                         "       corvane-probe --app-folder DIR asleep PAGE-BASE RUNS\n"
                         "       corvane-probe --app-folder DIR frozen PAGE-BASE\n"
                         "       corvane-probe --app-folder DIR session FILE PAGE-BASE TABS RUNS\n"
                         "       corvane-probe --app-folder DIR makehistory COUNT\n"
                         "       corvane-probe --app-folder DIR suggest RUNS COUNT\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    CorvaneApp::setIdentity();
    QApplication app(argc, argv);
    Engine::prepareOpenGL();
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 4 || args.at(0) != QLatin1String("--app-folder"))
        return usage();
    AppPaths::setAppFolder(args.at(1));
    const QString mode = args.at(2);
    if (mode == QLatin1String("makehistory"))
        return makeHistory(args.at(3).toInt());

    frmWeb window;
    window.Form_Load();
    if (!waitForDocument(window.views().first()))
        return 1;

    if (mode == QLatin1String("memory"))
        runMemory(window, args.at(3));
    else if (mode == QLatin1String("newtab"))
        runNewTab(window, args.at(3).toInt());
    else if (mode == QLatin1String("go") && args.size() >= 5)
        runGo(window, args.at(3).toInt(), args.at(4));
    else if (mode == QLatin1String("asleep") && args.size() >= 5)
        runAsleep(window, args.at(3), args.at(4).toInt());
    else if (mode == QLatin1String("suggest") && args.size() >= 5)
        runSuggest(window, args.at(3).toInt(), args.at(4).toInt());
    else if (mode == QLatin1String("frozen"))
        runFrozen(window, args.at(3));
    else if (mode == QLatin1String("session") && args.size() >= 7)
        runSession(window, args.at(3), args.at(4), args.at(5).toInt(), args.at(6).toInt());
    else
        return usage();
    return 0;
}
