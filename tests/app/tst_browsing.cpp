// The main window with the real engine on loopback pages: start-up, typed
// addresses, link hover, the new-window item, closing tabs, crashes and
// downloads.
#include "LoopbackServer.h"
#include "ScriptedPrompts.h"
#include "TestSandbox.h"
#include "app/frmWeb.h"
#include "store/Module1.h"
#include "web/WebEnginePageView.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QTabBar>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>
#include <signal.h>

namespace {
QByteArray page(const QByteArray &title, const QByteArray &body = QByteArray())
{
    return "<html><head><title>" + title + "</title></head><body>" + body + "</body></html>";
}
} // namespace

class TestBrowsing : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSandbox> sandbox;
    LoopbackServer server;
    std::unique_ptr<frmWeb> window;

    WebEnginePageView *engineView(int i) const
    {
        return qobject_cast<WebEnginePageView *>(window->views().at(i));
    }
    void startAt(const QString &path)
    {
        sandbox->writeFile("Hpage.dat", "\"" + server.address(path).toUtf8() + "\"\r\n");
        window = std::make_unique<frmWeb>();
        window->Form_Load();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    // Waits until the selected page finished loading the given title.
    bool waitForTitle(const QString &title)
    {
        return QTest::qWaitFor([&] { return window->windowTitle() == "Corvane - " + title; },
                               10000);
    }
    QWidget *renderWidget(int i) const { return engineView(i)->engineView()->focusProxy(); }
    // Moves the pointer over the page until it reports the link; the first
    // moves after a window appears may go unseen.
    bool hoverUntil(const QString &link)
    {
        int step = 0;
        return QTest::qWaitFor(
            [&] {
                QTest::mouseMove(renderWidget(0), QPoint(50 + (step++ % 2) * 10, 50));
                return window->lastLinkAddress() == link;
            },
            10000);
    }

private slots:
    void initTestCase()
    {
        sandbox = std::make_unique<TestSandbox>();
        server.setPage("/home.html", page("Home Page", "<p>home</p>"));
        server.setPage("/a.html", page("Page A"));
        server.setPage("/t20.html", page("12345678901234567890"));
        server.setPage("/t21.html", page("123456789012345678901"));
        const QByteArray bigLink =
            "<a id=l href='%1' style='display:block;width:100%;height:600px'>link</a>";
        server.setPage("/links.html", page("Links", QByteArray(bigLink).replace(
                                                        "%1", server.address("/a.html").toUtf8())));
        server.setPage(
            "/slinks.html",
            page("Secure links", QByteArray(bigLink).replace("%1", "https://127.0.0.1:1/secure")));
        server.setPage("/popup.html",
                       page("Popup", "<script>function go(){window.open('" +
                                         server.address("/a.html").toUtf8() +
                                         "')}</script><button id=b onclick='go()' "
                                         "style='width:100%;height:600px'>open</button>"));
        LoopbackServer::Reply file;
        file.body = "file contents";
        file.contentType = "application/octet-stream";
        file.extraHeaders = "Content-Disposition: attachment; filename=\"data.bin\"\r\n";
        server.setReply("/data.bin", file);
        server.setPage(
            "/download.html",
            page("Download", "<a href='/data.bin' style='display:block;height:600px'>get</a>"));
    }
    void init() { Module1::reset(); }
    void cleanup()
    {
        window.reset();
        QFile::remove(sandbox->filePath("WebHis.dat"));
        QFile::remove(sandbox->filePath("Hpage.dat"));
    }
    void cleanupTestCase() { sandbox.reset(); }

    void startupOpensTheHomePage()
    {
        startAt("/home.html");
        QVERIFY(waitForTitle("Home Page"));
        QCOMPARE(window->addressBox()->currentText(), server.address("/home.html"));
        QTRY_VERIFY(!window->progressBar()->isVisible());
        QCOMPARE(window->tabStrip()->tabText(0), QString("Home Page"));
        QVERIFY(server.requested.contains("/home.html"));
    }

    void typedAddressIsListedStoredAndOpened()
    {
        startAt("/home.html");
        QVERIFY(waitForTitle("Home Page"));
        const QString typed = QString("127.0.0.1:%1/a.html").arg(server.port());
        window->addressBox()->setEditText(typed);
        QTest::keyClick(window->addressBox()->lineEdit(), Qt::Key_Return);
        QVERIFY(waitForTitle("Page A"));
        QCOMPARE(window->addressBox()->itemText(0), "http://" + typed);
        QCOMPARE(sandbox->readFile("WebHis.dat"), "\"http://" + typed.toUtf8() + "\"\r\n");
        QTRY_COMPARE(window->addressBox()->currentText(), server.address("/a.html"));
    }

    void progressBarShowsWhileLoading()
    {
        startAt("/home.html");
        QVERIFY(waitForTitle("Home Page"));
        bool seenVisible = false;
        QTRY_VERIFY(!window->views().at(0)->isLoading());
        connect(window->views().at(0), &PageView::BeforeNavigate2, this,
                [&] { seenVisible = window->progressBar()->isVisible(); });
        window->views().at(0)->Navigate2(server.address("/a.html"));
        QVERIFY(waitForTitle("Page A"));
        QVERIFY(seenVisible);
        QTRY_VERIFY(!window->progressBar()->isVisible());
    }

    void longTitlesAreCutOnTheTab()
    {
        startAt("/t20.html");
        QVERIFY(waitForTitle("12345678901234567890"));
        QCOMPARE(window->tabStrip()->tabText(0), QString("12345678901234567890"));
        window->views().at(0)->Navigate2(server.address("/t21.html"));
        QVERIFY(waitForTitle("123456789012345678901"));
        QCOMPARE(window->tabStrip()->tabText(0), QString("12345678901234567890..."));
    }

    void hoveringALinkShowsItsAddress()
    {
        startAt("/links.html");
        QVERIFY(waitForTitle("Links"));
        const QString link = server.address("/a.html");
        QVERIFY(hoverUntil(link));
        QCOMPARE(window->statusPanel()->text(), link);
    }

    void newWindowItemOpensTheLinkInATab_data()
    {
        QTest::addColumn<QString>("pagePath");
        QTest::addColumn<QString>("link");
        QTest::newRow("http") << "/links.html" << server.address("/a.html");
        QTest::newRow("https") << "/slinks.html"
                               << "https://127.0.0.1:1/secure";
    }
    void newWindowItemOpensTheLinkInATab()
    {
        QFETCH(QString, pagePath);
        QFETCH(QString, link);
        startAt(pagePath);
        QVERIFY(waitForTitle(pagePath == "/links.html" ? "Links" : "Secure links"));
        QVERIFY(hoverUntil(link));
        QMenu *menu = nullptr;
        QVERIFY(QTest::qWaitFor(
            [&] {
                QTest::mouseClick(renderWidget(0), Qt::RightButton, {}, QPoint(60, 60));
                QTest::qWait(100);
                menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
                return menu != nullptr;
            },
            10000));
        QWebEnginePage *p = engineView(0)->engineView()->page();
        QAction *newWindow = menu->findChild<QAction *>("openLinkInNewWindow");
        QVERIFY(newWindow && menu->actions().contains(newWindow));
        QVERIFY(!menu->actions().contains(p->action(QWebEnginePage::OpenLinkInNewTab)));
        QVERIFY(!menu->actions().contains(p->action(QWebEnginePage::OpenLinkInNewWindow)));
        newWindow->hover();
        QCOMPARE(window->statusPanel()->text(), QString("Opens selected link in a new window."));
        QVERIFY(window->newWindowLinkPending());
        menu->setActiveAction(newWindow);
        QTest::keyClick(menu, Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(window->tabStrip()->count(), 2, 10000);
        QCOMPARE(window->selectedIndex(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(QUrl(window->views().at(1)->LocationURL()), QUrl(link), 10000);
        QVERIFY(!window->newWindowLinkPending());
        const QWidgetList tops = QApplication::topLevelWidgets();
        QVERIFY(std::none_of(tops.begin(), tops.end(), [](QWidget *w) {
            return w->objectName() == "PopupWindow" && w->isVisible();
        }));
    }

    void scriptPopupIsNotReplacedByTheRememberedLink()
    {
        startAt("/popup.html");
        QVERIFY(waitForTitle("Popup"));
        // A dismissed menu leaves the flag set...
        window->tabs()->Web_StatusTextChange(0, "http://remembered.invalid/");
        window->tabs()->Web_StatusTextChange(0, "Opens selected link in a new window.");
        QTest::mouseClick(renderWidget(0), Qt::LeftButton, {}, QPoint(40, 40));
        // ...and the page's own window opens where it asked to.
        QWidget *popup = nullptr;
        QVERIFY(QTest::qWaitFor(
            [&] {
                for (QWidget *w : QApplication::topLevelWidgets())
                    if (w->objectName() == "PopupWindow" && w->isVisible())
                        popup = w;
                return popup != nullptr;
            },
            10000));
        QCOMPARE(window->tabStrip()->count(), 1);
        QVERIFY(!window->newWindowLinkPending());
        QTRY_COMPARE_WITH_TIMEOUT(popup->windowTitle(), QString("Corvane - Page A"), 10000);
        delete popup;
    }

    void closedTabGivesBackItsPage()
    {
        startAt("/home.html");
        QVERIFY(waitForTitle("Home Page"));
        window->newww_Click();
        window->views().at(1)->Navigate2(server.address("/a.html"));
        QVERIFY(waitForTitle("Page A"));
        window->cmdClose_Click();
        QWebEnginePage *closed = engineView(1)->engineView()->page();
        QTRY_COMPARE_WITH_TIMEOUT(closed->lifecycleState(),
                                  QWebEnginePage::LifecycleState::Discarded, 5000);
        QTRY_COMPARE(closed->renderProcessPid(), qint64(0));
        QCOMPARE(window->selectedIndex(), 0);
        QCOMPARE(window->views().at(1)->LocationURL(), server.address("/a.html"));
    }

    void killedPageProcessShowsANoticeAndRefreshBringsItBack()
    {
        startAt("/home.html");
        QVERIFY(waitForTitle("Home Page"));
        window->newww_Click();
        QTRY_VERIFY(engineView(1)->engineView()->page()->renderProcessPid() > 0);
        engineView(1)->engineView()->page()->triggerAction(QWebEnginePage::Reload);
        const qint64 pid = engineView(0)->engineView()->page()->renderProcessPid();
        QVERIFY(pid > 0);
        window->tabStrip()->setCurrentIndex(0);
        ::kill(pid_t(pid), SIGKILL);
        QTRY_VERIFY_WITH_TIMEOUT(engineView(0)->showsCrashNotice(), 10000);
        QVERIFY(window->isVisible());
        window->cmdRefresh_Click();
        QTRY_VERIFY_WITH_TIMEOUT(!engineView(0)->showsCrashNotice(), 10000);
        QVERIFY(waitForTitle("Home Page"));
    }

    void signInPromptAnswersTheSite()
    {
        ScriptedPrompts prompts;
        prompts.credentialAnswers.enqueue(Prompts::Credentials{"ann", "secret"});
        server.setAuthenticatedPage("/private.html", "ann:secret", page("Private"));
        startAt("/private.html");
        QVERIFY(waitForTitle("Private"));
        QCOMPARE(prompts.asked.first().kind, QString("credentials"));
        QVERIFY(prompts.asked.first().text.contains("127.0.0.1"));
    }

    void downloadAsksWhereAndSaves()
    {
        ScriptedPrompts prompts;
        const QString target = sandbox->root() + "/saved.bin";
        prompts.saveAnswers.enqueue(target);
        startAt("/download.html");
        QVERIFY(waitForTitle("Download"));
        QTest::mouseClick(renderWidget(0), Qt::LeftButton, {}, QPoint(30, 30));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(target), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(window->statusPanel()->text(),
                                  QString("Download complete: saved.bin"), 10000);
        QFile f(target);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("file contents"));
        QCOMPARE(prompts.asked.first().kind, QString("save"));
        QVERIFY(prompts.asked.first().text.endsWith("data.bin"));
    }
};

QTEST_MAIN(TestBrowsing)
#include "tst_browsing.moc"
