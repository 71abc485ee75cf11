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
// Every mode starts like the executable (Form_Load) and waits for the home
// page first.
#include "app/CorvaneApp.h"
#include "app/frmWeb.h"
#include "store/AppPaths.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTabBar>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace {

constexpr int LoadTimeoutMs = 30000;
// Between new-tab runs, as in the bare program: the closed tab's renderer
// goes before the next tab opens.
constexpr int NewTabPauseMs = 100;

void say(const char *format, double value = 0)
{
    std::printf(format, value);
    std::printf("\n");
    std::fflush(stdout);
}

// Runs the event loop until the view reports its document complete.
bool waitForDocument(PageView *view)
{
    QEventLoop loop;
    bool done = false;
    QObject::connect(view, &PageView::DocumentComplete, &loop, [&] {
        done = true;
        loop.quit();
    });
    QTimer::singleShot(LoadTimeoutMs, &loop, &QEventLoop::quit);
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

void runMemory(frmWeb &window, const QString &pageBase)
{
    say("READY tabs1");
    waitForLine();
    for (int tab = 1; tab < 10; ++tab) {
        window.action(QStringLiteral("new_b"))->trigger();
        waitForDocument(window.views().last());
        window.addressBox()->setEditText(pageBase + QString::number(tab));
        window.cmdgo_Click();
        waitForDocument(window.selectedView());
    }
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

int usage()
{
    std::fprintf(stderr, "usage: corvane-probe --app-folder DIR memory PAGE-BASE\n"
                         "       corvane-probe --app-folder DIR newtab RUNS\n"
                         "       corvane-probe --app-folder DIR go RUNS ADDRESS-BASE\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    CorvaneApp::setIdentity();
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 4 || args.at(0) != QLatin1String("--app-folder"))
        return usage();
    AppPaths::setAppFolder(args.at(1));
    const QString mode = args.at(2);

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
    else
        return usage();
    return 0;
}
