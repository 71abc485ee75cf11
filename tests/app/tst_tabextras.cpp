// Reopening closed tabs, full screen (F11 and a page's own) and PDF documents
// in the tab, on the real engine with loopback pages, driven by keys and
// clicks through the window.
#include "LoopbackServer.h"
#include "ScriptedPrompts.h"
#include "TestSandbox.h"
#include "UserInput.h"
#include "app/ClosedTabs.h"
#include "app/frmWeb.h"
#include "store/Module1.h"

#include <QComboBox>
#include <QMenuBar>
#include <QScreen>
#include <QTabBar>
#include <QWebEngineView>
#include <QtTest>

class TestTabExtras : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSandbox> sandbox;
    std::unique_ptr<ScriptedPrompts> prompts;
    LoopbackServer server;
    std::unique_ptr<frmWeb> window;

    // Starts the program with the home page at path and waits for its title.
    void startAt(const QString &path, const QString &title)
    {
        sandbox->writeFile("Hpage.dat", "\"" + server.address(path).toUtf8() + "\"\r\n");
        window = std::make_unique<frmWeb>();
        window->Form_Load();
        QVERIFY(UserInput::bringUp(window.get()));
        QVERIFY(waitForTitle(title));
    }
    // Waits until the selected page has loaded and shows the title. Events
    // run in short turns: the PDF viewer names its page only when the loop
    // comes back round often (qWaitFor's one long turn starves it).
    bool waitForTitle(const QString &title)
    {
        for (QDeadlineTimer limit(20000); !limit.hasExpired(); QTest::qWait(20)) {
            if (window->windowTitle() == "Corvane - " + title &&
                !window->selectedView()->isLoading())
                return true;
        }
        return false;
    }
    void keys(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        UserInput::key(window.get(), key, modifiers);
    }
    // Types an address into the address box, presses Enter and waits for
    // the title, if one is given.
    bool go(const QString &path, const QString &title = {})
    {
        keys(Qt::Key_L, Qt::ControlModifier);
        UserInput::type(window.get(), server.address(path));
        keys(Qt::Key_Return);
        return title.isEmpty() || waitForTitle(title);
    }
    QTabBar *tabs() const { return window->tabStrip(); }

private slots:
    void initTestCase()
    {
        sandbox = std::make_unique<TestSandbox>();
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
    void init()
    {
        Module1::reset();
        prompts = std::make_unique<ScriptedPrompts>();
    }
    void cleanup()
    {
        window.reset();
        prompts.reset();
    }
    void cleanupTestCase() { sandbox.reset(); }

    void reopenedTabsComeBackMostRecentFirstWithTheirHistory()
    {
        startAt("/A.html", "Page A");
        QVERIFY(go("/B.html", "Page B"));
        keys(Qt::Key_W, Qt::ControlModifier); // the last tab goes home: nothing closed
        QVERIFY(waitForTitle("Page A"));
        keys(Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier); // so nothing comes back
        QVERIFY(window->closedTabs()->indexes().isEmpty());
        QCOMPARE(tabs()->count(), 1);

        keys(Qt::Key_T, Qt::ControlModifier);
        QVERIFY(go("/B.html", "Page B"));
        QVERIFY(go("/C.html", "Page C"));
        keys(Qt::Key_T, Qt::ControlModifier);
        UserInput::clickTab(tabs(), 1);
        keys(Qt::Key_W, Qt::ControlModifier); // closes tab 1, then tab 2
        keys(Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(window->closedTabs()->indexes(), QList<int>({2, 1}));
        keys(Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE(tabs()->currentIndex(), 2);
        keys(Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE(tabs()->currentIndex(), 1);
        QVERIFY(tabs()->isTabVisible(2) && tabs()->count() == 3);
        QVERIFY(waitForTitle("Page C"));
        QTRY_COMPARE(server.requested.count("/C.html"), 2); // the page came back
        keys(Qt::Key_Left, Qt::AltModifier);
        QVERIFY(waitForTitle("Page B"));
        QCOMPARE(tabs()->currentIndex(), 1);
    }

    void f11FillsTheScreenAndGivesTheWindowBack()
    {
        startAt("/A.html", "Page A");
        const QRect before = window->geometry();
        keys(Qt::Key_F11);
        QTRY_VERIFY(window->isFullScreen());
        QWidget *view = window->selectedView();
        QTRY_COMPARE(QRect(view->mapToGlobal(QPoint()), view->size()),
                     window->screen()->geometry());
        QVERIFY(!tabs()->isVisible() && !window->menuBar()->isVisible());
        keys(Qt::Key_T, Qt::ControlModifier); // the menus' keys still work
        QTRY_COMPARE(tabs()->count(), 2);
        keys(Qt::Key_F11);
        QTRY_COMPARE(window->geometry(), before);
        QVERIFY(!window->isFullScreen() && tabs()->isVisible() && window->menuBar()->isVisible());
    }

    void pageFullScreenEndsAndTheWindowIsAsItWas_data()
    {
        QTest::addColumn<bool>("byEsc");
        QTest::addColumn<bool>("maximised");
        QTest::newRow("Esc, always on top") << true << false;
        QTest::newRow("page leaves, maximised") << false << true;
    }
    void pageFullScreenEndsAndTheWindowIsAsItWas()
    {
        QFETCH(bool, byEsc);
        QFETCH(bool, maximised);
        startAt("/full.html", "Full");
        const QRect normal = window->geometry();
        if (maximised) { // as the title bar's button does
            window->showMaximized();
            QTRY_VERIFY(window->geometry() != normal);
        } else { // Tools > Always on Top
            QMenuBar *bar = window->menuBar();
            UserInput::click(bar, Qt::LeftButton, {},
                             bar->actionGeometry(window->action("ToolsAction")).center());
            QTRY_VERIFY(UserInput::openMenu());
            QVERIFY(UserInput::clickMenuItem(UserInput::openMenu(), window->action("mnuTop")));
        }
        const QRect before = window->geometry();
        QWidget *view = window->selectedView();
        UserInput::click(view, Qt::LeftButton, {}, view->rect().center());
        QVERIFY(waitForTitle("In"));
        QVERIFY(window->isFullScreen() && !tabs()->isVisible());
        if (byEsc) // else the page's own script, as its exit button would run it
            keys(Qt::Key_Escape);
        else
            view->findChild<QWebEngineView *>()->page()->runJavaScript("document.exitFullscreen()");
        QVERIFY(waitForTitle("Out"));
        QTRY_COMPARE(window->geometry(), before);
        QVERIFY(!window->isFullScreen() && tabs()->isVisible());
        QCOMPARE(window->isMaximized(), maximised);
        QCOMPARE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint), !maximised);
    }

    void pdfIsShownInTheTab()
    {
        startAt("/A.html", "Page A");
        QVERIFY(go("/doc.pdf", "doc.pdf"));
        QCOMPARE(window->addressBox()->currentText(), server.address("/doc.pdf"));
        QCOMPARE(tabs()->tabText(0), QString("doc.pdf"));
        QVERIFY(prompts->asked.isEmpty()); // not offered for download
    }
};

QTEST_MAIN(TestTabExtras)
#include "tst_tabextras.moc"
