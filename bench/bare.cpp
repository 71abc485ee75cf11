// The bare engine program the benchmark measures Corvane against: the
// thinnest QtWebEngine browser that shows the addresses it is given.
//   bare URL                  one QWebEngineView showing URL
//   bare URL1 URL2 ...        one tab per address, opened one after another
//                              the way a user opens them: the first shows
//                              URL1; each further one opens selected on
//                              about:blank, then goes to its address, and
//                              the next opens when it has loaded
//   bare --new-tab-runs N URL  after URL has loaded, N times: add a view in a
//                              new tab, load about:blank, print "NEWTAB <ms>"
//                              at loadFinished, close the tab again
//   bare --load-runs N BASE URL  the same, but each new tab loads BASE<n>
//                              (n = 0..N-1) and prints "LOAD <ms>": a fresh
//                              load of a page, in a view of its own
// With CORVANE_REPORT_PAINT set, the one-view program prints "PAINTED" once
// its window is first on screen.
#include "app/FirstPaint.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QTimer>
#include <QWebEngineView>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

// The size of Corvane's main window, so both draw the same area.
constexpr int WindowWidth = 784;
constexpr int WindowHeight = 542;

void openTabs(QTabWidget *tabs, const QStringList &addresses, bool first)
{
    if (addresses.isEmpty())
        return;
    auto *view = new QWebEngineView;
    tabs->setCurrentIndex(tabs->addTab(view, addresses.first()));
    const QUrl url(addresses.first());
    auto next = [tabs, rest = addresses.mid(1)] { openTabs(tabs, rest, false); };
    if (first) {
        QObject::connect(view, &QWebEngineView::loadFinished, tabs, next, Qt::SingleShotConnection);
        view->load(url);
        return;
    }
    QObject::connect(
        view, &QWebEngineView::loadFinished, tabs,
        [view, url, tabs, next] {
            QObject::connect(view, &QWebEngineView::loadFinished, tabs, next,
                             Qt::SingleShotConnection);
            view->load(url);
        },
        Qt::SingleShotConnection);
    view->load(QUrl(QStringLiteral("about:blank")));
}

// Each run opens a tab on address(run) and prints "<label> <ms>" when it has loaded.
void runNewTabs(QTabWidget *tabs, int runs, const char *label,
                const std::function<QUrl(int)> &address)
{
    auto next = std::make_shared<std::function<void(int)>>();
    *next = [tabs, runs, label, address, next](int run) {
        if (run >= runs) {
            std::fflush(stdout);
            QCoreApplication::quit();
            return;
        }
        auto *timer = new QElapsedTimer;
        timer->start();
        auto *view = new QWebEngineView;
        tabs->setCurrentIndex(tabs->addTab(view, QStringLiteral("New Tab")));
        QObject::connect(view, &QWebEngineView::loadFinished, tabs, [=] {
            std::printf("%s %.3f\n", label, timer->nsecsElapsed() / 1e6);
            std::fflush(stdout);
            delete timer;
            // Give the closed tab's renderer back before the next one, as
            // Corvane does when a tab is closed.
            tabs->removeTab(tabs->indexOf(view));
            view->deleteLater();
            QTimer::singleShot(100, tabs, [next, run] { (*next)(run + 1); });
        });
        view->load(address(run));
    };
    (*next)(0);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);

    QStringList args = app.arguments().mid(1);
    int newTabRuns = 0;
    QString loadBase; // with --load-runs
    if (args.size() >= 2 && args.first() == QLatin1String("--new-tab-runs")) {
        newTabRuns = args.at(1).toInt();
        args = args.mid(2);
    } else if (args.size() >= 3 && args.first() == QLatin1String("--load-runs")) {
        newTabRuns = args.at(1).toInt();
        loadBase = args.at(2);
        args = args.mid(3);
    }
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: bare [--new-tab-runs N | --load-runs N BASE] URL...\n");
        return 2;
    }

    if (args.size() == 1 && newTabRuns == 0) {
        QWebEngineView view;
        view.resize(WindowWidth, WindowHeight);
        view.load(QUrl(args.first()));
        view.show();
        new FirstPaint(&view, {});
        return app.exec();
    }

    QTabWidget tabs;
    tabs.resize(WindowWidth, WindowHeight);
    tabs.show();
    openTabs(&tabs, args, true);
    if (newTabRuns > 0) {
        auto *first = static_cast<QWebEngineView *>(tabs.widget(0));
        QObject::connect(
            first, &QWebEngineView::loadFinished, &tabs,
            [&tabs, newTabRuns, loadBase] {
                if (loadBase.isEmpty())
                    runNewTabs(&tabs, newTabRuns, "NEWTAB",
                               [](int) { return QUrl(QStringLiteral("about:blank")); });
                else
                    runNewTabs(&tabs, newTabRuns, "LOAD", [loadBase](int run) {
                        return QUrl(loadBase + QString::number(run));
                    });
            },
            Qt::SingleShotConnection);
    }
    return app.exec();
}
