// Find in page, per-host zoom, reopening closed tabs, full screen (F11 and a
// page's own) and PDF documents in the tab, on the real engine with loopback
// pages, driven by keys, clicks and the wheel through the window.
#include "TestWindow.h"
#include "app/ClosedTabs.h"

#include <QClipboard>
#include <QLabel>
#include <QScreen>
#include <QtTest>

class TestTabExtras : public QObject, protected TestWindow
{
    Q_OBJECT

    QTabBar *tabs() const { return window->tabStrip(); }
    QString found() const { return window->findChild<QLabel *>("findResult")->text(); }
    // True once the selected page, measured in CSS pixels, is as wide as at percent.
    bool showsAt(int percent)
    {
        const double width = engineView(0)->width() * 100.0 / percent;
        return QTest::qWaitFor([&] { return qAbs(js("innerWidth").toInt() - width) <= 1; }, 10000);
    }

private slots:
    void initTestCase()
    {
        server.setPage("/three", "<title>/three</title><p>apple Apple APPLE");
        for (const char *name : {"A", "B", "C"})
            server.setPage(QString("/%1.html").arg(name),
                           "<title>Page " + QByteArray(name) + "</title>");
        // One button over the whole page; the title follows its full screen.
        server.setPage("/full.html",
                       "<title>Full</title><script>document.onfullscreenchange = () =>"
                       " document.title = document.fullscreenElement ? 'In' : 'Out'"
                       "</script><button onclick='document.body.requestFullscreen()'"
                       " style='width:100%;height:2000px'>go</button>");
        // A page pdfium reads (it mends the missing cross-reference table).
        server.setReply("/doc.pdf",
                        {"%PDF-1.4\n1 0 obj<</Type/Catalog/Pages 2 0 R>>endobj 2 0 obj<</Type"
                         "/Pages/Kids[3 0 R]/Count 1>>endobj 3 0 obj<</Type/Page/Parent 2 0 R"
                         "/MediaBox[0 0 200 200]>>endobj\ntrailer<</Root 1 0 R>>\n%%EOF",
                         "application/pdf",
                         200,
                         {}});
    }
    void init() { openSandbox(); }
    void cleanup() { closeAll(); }

    void findCountsWrapsAndCloses()
    {
        startAt("/three");
        keys("Ctrl+F");
        UserInput::type(window.get(), "apple");
        QTRY_COMPARE(found(), QString("1 of 3"));
        const QStringList steps{"Return",       "2", "F3",       "3", "Return", "1",
                                "Shift+Return", "3", "Shift+F3", "2"};
        for (int i = 0; i < steps.size(); i += 2) {
            keys(steps[i]);
            QTRY_COMPARE(found(), steps[i + 1] + " of 3");
        }
        keys("Ctrl+T"); // the bar searches whichever tab is selected
        QTRY_COMPARE(found(), QString("No matches"));
        keys("Ctrl+W");
        QTRY_VERIFY(found().endsWith(" of 3"));
        QGuiApplication::clipboard()->setText(QString(100000, 'w'));
        keys("Ctrl+A, Ctrl+V");
        QTRY_COMPARE_WITH_TIMEOUT(found(), QString("No matches"), 60000);
        keys("Esc");
        QTRY_VERIFY(!window->findChild<QWidget *>("findBar")->isVisible());
        QCOMPARE(found(), QString());
        QVERIFY(window->selectedView()->isAncestorOf(UserInput::focused()));
    }

    void zoomIsPerHostAndKept()
    {
        startAt("/three");
        QVERIFY(!window->findChild<QLabel *>("zoomLabel")->isVisible());
        keys("Ctrl++, Ctrl+Num++, Ctrl+=, Ctrl+-"); // 110, 125, 150, 125
        QVERIFY(showsAt(125));
        startAt("/three");
        QVERIFY(showsAt(125));
        keys("Ctrl+0"); // 100, then three notches of the wheel: 150
        const QPoint spot = window->selectedView()->mapTo(window.get(), QPoint(50, 50));
        QWheelEvent wheel(spot, window->mapToGlobal(spot), {}, {0, 360}, {}, Qt::ControlModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(window->windowHandle(), &wheel); // to the widget drawn there
        QVERIFY(showsAt(150));
        UserInput::click(window->findChild<QLabel *>("zoomLabel"));
        QVERIFY(showsAt(100));
    }

    void reopenedTabsComeBackMostRecentFirstWithTheirHistory()
    {
        startAt("/A.html");
        QVERIFY(go("/B.html", "Page B"));
        keys("Ctrl+W"); // the last tab goes home: nothing closed
        QVERIFY(waitForTitle("Page A"));
        keys("Ctrl+Shift+T"); // so nothing comes back
        QVERIFY(window->closedTabs()->indexes().isEmpty());
        QCOMPARE(tabs()->count(), 1);

        keys("Ctrl+T");
        QVERIFY(go("/B.html", "Page B"));
        QVERIFY(go("/C.html", "Page C"));
        keys("Ctrl+T");
        UserInput::clickTab(tabs(), 1);
        keys("Ctrl+W"); // closes tab 1, then tab 2
        keys("Ctrl+W");
        QCOMPARE(window->closedTabs()->indexes(), QList<int>({2, 1}));
        QTRY_COMPARE(engineView(2)->enginePage()->renderProcessPid(), 0); // its memory given back
        keys("Ctrl+Shift+T");
        QTRY_COMPARE(tabs()->currentIndex(), 2);
        keys("Ctrl+Shift+T");
        QTRY_COMPARE(tabs()->currentIndex(), 1);
        QVERIFY(tabs()->isTabVisible(2) && tabs()->count() == 3);
        QVERIFY(waitForTitle("Page C"));
        QTRY_COMPARE(server.requested.count("/C.html"), 2); // the page came back
        keys("Alt+Left");
        QVERIFY(waitForTitle("Page B"));
        QCOMPARE(tabs()->currentIndex(), 1);
    }

    void fullScreenEndsAndTheWindowIsAsItWas_data()
    {
        // F11 on and off; or the page's own full screen, left by Esc or by the page.
        columns<QString>();
        row("F11", "F11");
        row("page, Esc, always on top", "Esc");
        row("page leaves, maximised", "page");
    }
    void fullScreenEndsAndTheWindowIsAsItWas()
    {
        const auto [how] = fetch<QString>();
        startAt("/full.html");
        const QRect normal = window->geometry();
        if (how == "page") { // as the title bar's button does
            window->showMaximized();
            QTRY_VERIFY(window->geometry() != normal);
        } else if (how == "Esc") {
            QVERIFY(chooseMenuItem("mnuTop"));
        }
        const QRect before = window->geometry();
        QWidget *view = window->selectedView();
        if (how == "F11")
            keys("F11");
        else
            UserInput::click(view, Qt::LeftButton, {}, view->rect().center());
        QVERIFY(how == "F11" || waitForTitle("In"));
        QTRY_VERIFY(window->isFullScreen());
        QTRY_COMPARE(QRect(view->mapToGlobal(QPoint()), view->size()),
                     window->screen()->geometry());
        QVERIFY(!tabs()->isVisible() && !window->menuBar()->isVisible());
        if (how == "F11")
            keys("Ctrl+T, F11"); // the menus' keys still work meanwhile
        else if (how == "Esc")
            keys("Esc");
        else // the page's own script, as its exit button would run it
            engineView(0)->enginePage()->runJavaScript("document.exitFullscreen()");
        QVERIFY(how == "F11" || waitForTitle("Out"));
        QTRY_COMPARE(window->geometry(), before);
        QVERIFY(!window->isFullScreen() && tabs()->isVisible() && window->menuBar()->isVisible());
        QCOMPARE(tabs()->count(), how == "F11" ? 2 : 1);
        QCOMPARE(window->isMaximized(), how == "page");
        QCOMPARE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint), how == "Esc");
    }

    void pdfIsShownInTheTab()
    {
        startAt("/A.html");
        QVERIFY(go("/doc.pdf", "doc.pdf"));
        QCOMPARE(window->addressBox()->currentText(), server.address("/doc.pdf"));
        QCOMPARE(tabs()->tabText(0), QString("doc.pdf"));
        QVERIFY(prompts->asked.isEmpty()); // not offered for download
    }
};

QTEST_MAIN(TestTabExtras)
#include "tst_tabextras.moc"
