// The main window on the real engine with loopback pages: every key the
// window handles, with the focus in the address box, on the page or in a text
// field of the page; link hover and the page's new-window item; a page's own
// window; closed tabs; a crashed page; sign-in and downloads.
#include "TestWindow.h"

#include <QLabel>
#include <QWebEnginePage>
#include <QtTest>
#include <signal.h>

class TestBrowsing : public QObject, protected TestWindow
{
    Q_OBJECT

    // What a script in the page gives back (the page's own doing).
    QVariant js(const QString &script)
    {
        std::optional<QVariant> result;
        engineView(0)->enginePage()->runJavaScript(script, [&](const QVariant &v) { result = v; });
        return QTest::qWaitFor([&] { return result.has_value(); }, 20000) ? *result : QVariant();
    }
    // Points at the page until the status bar names the link there (the
    // first moves over a new page may go unseen).
    bool pointAt(QPoint pos, const QString &link)
    {
        return QTest::qWaitFor(
            [&] {
                for (QPoint at : {pos + QPoint(1, 0), pos})
                    QTest::mouseMove(window->windowHandle(),
                                     pageWidget(0)->mapTo(window.get(), at));
                return window->statusPanel()->text() == link;
            },
            20000);
    }
    // Right-clicks the page at pos and goes down its menu to the new-window item.
    bool newWindowItemOfMenuAt(QPoint pos)
    {
        for (int tries = 0; tries < 10 && !UserInput::openMenu(); ++tries) {
            UserInput::click(pageWidget(0), Qt::RightButton, {}, pos);
            if (QTest::qWaitFor([] { return UserInput::openMenu() != nullptr; }, 2000))
                break;
        }
        QMenu *menu = UserInput::openMenu();
        QAction *item = menu ? menu->findChild<QAction *>("openLinkInNewWindow") : nullptr;
        for (int i = 0; item && menu->activeAction() != item && i < 20; ++i)
            key(Qt::Key_Down);
        return item && menu->activeAction() == item;
    }
    // A window of that class shown on its own (the about box, a page's window).
    static QWidget *shown(const char *className)
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->inherits(className) && w->isVisible())
                return w;
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        const QByteArray field =
            "<input id=f style='position:absolute;left:0;top:0'><p style='height:2000px'>";
        for (const char *name : {"A", "B", "C", "D"})
            server.setPage(QString("/%1.html").arg(name), page(name, field));
        server.setReply("/stall", {{}, {}, 0, {}, {}});
        const QByteArray a = "<a href='%1' style='display:block;height:100px'>link</a>";
        server.setPage(
            "/links.html",
            page("Links", QByteArray(a).replace("%1", "/A.html") +
                              QByteArray(a).replace("%1", "https://127.0.0.1:1/s") +
                              "<button onclick='window.open(\"/B.html\")'>open</button>"));
        server.setReply("/private.html", {page("Private"), "text/html", 200, {}, "ann:secret"});
        server.setReply("/data.bin", {"file contents",
                                      "application/octet-stream",
                                      200,
                                      "Content-Disposition: attachment; filename=\"data.bin\"\r\n",
                                      {}});
        server.setPage("/download.html",
                       page("Download", QByteArray(a).replace("%1", "/data.bin")));
    }
    void init() { openSandbox(); }
    void cleanup() { closeAll(); }

    void keys_data()
    {
        // The key, its modifiers, where the focus is, what must happen: the
        // address box takes the focus, the page loading stops or reloads, the
        // tab goes to page A, C or D, the tab selected, a prompt or dialog.
        columns<int, int, QString, QString>();
        row("Enter, box", int(Qt::Key_Return), 0, "box", "D");
        row("keypad Enter, box", int(Qt::Key_Enter), int(Qt::KeypadModifier), "box", "D");
        const int ctrl = Qt::ControlModifier, alt = Qt::AltModifier, shift = Qt::ShiftModifier;
        for (const char *focus : {"box", "page", "field"}) {
            const auto name = [focus](const char *key) { return QByteArray(key) + ", " + focus; };
            row(name("Ctrl+L"), int(Qt::Key_L), ctrl, focus, "address box");
            row(name("Alt+D"), int(Qt::Key_D), alt, focus, "address box");
            row(name("F6"), int(Qt::Key_F6), 0, focus, "address box");
            row(name("Esc"), int(Qt::Key_Escape), 0, focus, "stop");
            row(name("F5"), int(Qt::Key_F5), 0, focus, "reload");
            row(name("Alt+Left"), int(Qt::Key_Left), alt, focus, "A");
            row(name("Alt+Right"), int(Qt::Key_Right), alt, focus, "C");
            row(name("Ctrl+S"), int(Qt::Key_S), ctrl, focus, "save");
            row(name("Ctrl+Tab"), int(Qt::Key_Tab), ctrl, focus, "tab 1");
            row(name("Ctrl+Shift+Tab"), int(Qt::Key_Backtab), ctrl + shift, focus, "tab 1");
            row(name("Ctrl+T"), int(Qt::Key_T), ctrl, focus, "new tab");
            row(name("Ctrl+W"), int(Qt::Key_W), ctrl, focus, "closed");
            row(name("F12"), int(Qt::Key_F12), 0, focus, "about");
            row(name("F1, its item hidden"), int(Qt::Key_F1), 0, focus, "");
        }
    }
    void keys()
    {
        const auto [k, modifiers, focus, effect] = fetch<int, int, QString, QString>();
        // Tab 0 shows B, with A before it, or C after it, or a tab beside it, as the key needs.
        startAt(effect == "A" ? "/A.html" : "/B.html");
        QVERIFY(waitForTitle(effect == "A" ? "A" : "B"));
        if (effect == "A" || effect == "C") { // the scene, not the action under test
            window->selectedView()->Navigate2(
                server.address(effect == "A" ? "/B.html" : "/C.html"));
            QVERIFY(waitForTitle(effect == "A" ? "B" : "C"));
        }
        if (effect == "C" && window->selectedView()->GoBack())
            QVERIFY(waitForTitle("B"));
        if (effect == "tab 1" || effect == "closed") {
            press("newww");
            UserInput::clickTab(window->tabStrip(), 0);
        }
        QWidget *target =
            focus == "box" ? static_cast<QWidget *>(window->addressBox()) : pageWidget(0);
        UserInput::click(target, Qt::LeftButton, {},
                         focus == "page"    ? QPoint(300, 300)
                         : focus == "field" ? QPoint(9, 9)
                                            : QPoint());
        QTRY_COMPARE(UserInput::focused(), target);
        QTRY_COMPARE(js("document.activeElement.id").toString(),
                     QString(focus == "field" ? "f" : ""));
        if (effect == "D") {
            key(Qt::Key_A, Qt::ControlModifier);
            UserInput::type(window.get(), server.address("/D.html").mid(7));
        }
        if (effect == "stop")
            js("location.href = '/stall'");
        QTRY_VERIFY(effect != "stop" || engineView(0)->isLoading());
        const qsizetype loads = server.requested.count("/B.html");
        prompts->saveAnswers << QString(); // Save as... is cancelled
        key(k, modifiers);
        if (effect == "address box") {
            QTRY_COMPARE(UserInput::focused(), window->addressBox());
            QCOMPARE(window->addressBox()->lineEdit()->selectedText(), server.address("/B.html"));
        } else if (effect == "stop" || effect == "reload") {
            QTRY_VERIFY(!engineView(0)->isLoading() &&
                        server.requested.count("/B.html") == loads + (effect == "reload"));
        } else if (effect.size() == 1) {
            QVERIFY(waitForTitle(effect));
        } else if (effect == "save") {
            QTRY_COMPARE(prompts->asked.value(0).kind, QString("save"));
        } else if (effect == "tab 1" || effect == "new tab") {
            QTRY_COMPARE(window->selectedIndex() + window->tabStrip()->count(), 3);
        } else if (effect == "closed") {
            QTRY_VERIFY(!window->tabStrip()->isTabVisible(0));
        } else {
            QTRY_COMPARE(bool(shown("frmAbout")), effect == "about");
            QCOMPARE(prompts->asked.size(), 0);
        }
        if (effect == "D") // listed and stored once, as typed
            QCOMPARE(listed() << sandbox->readFile("WebHis.dat"),
                     QStringList(
                         {server.address("/D.html"), "\"" + server.address("/D.html") + "\"\r\n"}));
    }

    void newWindowItemOpensTheLinkInATab_data()
    {
        columns<QPoint, QString>(); // where the link is, its address
        row("http", QPoint(60, 60), server.address("/A.html"));
        row("https", QPoint(60, 160), QString("https://127.0.0.1:1/s"));
    }
    void newWindowItemOpensTheLinkInATab()
    {
        const auto [where, link] = fetch<QPoint, QString>();
        startAt("/links.html");
        QVERIFY(waitForTitle("Links"));
        QCOMPARE(window->tabStrip()->tabText(0), QString("Links"));
        QCOMPARE(window->addressBox()->currentText(), server.address("/links.html"));
        QVERIFY(pointAt(where, link));
        QVERIFY(newWindowItemOfMenuAt(where));
        QCOMPARE(window->statusPanel()->text(), WebEnginePageView::NewWindowPrompt);
        key(Qt::Key_Return);
        QTRY_COMPARE(window->tabStrip()->count(), 2);
        QCOMPARE(window->selectedIndex(), 1);
        QTRY_COMPARE(QUrl(window->selectedView()->LocationURL()), QUrl(link));
        QVERIFY(!shown("PopupWindow"));
    }

    void pagesOwnWindowIsNotReplacedByAPointedLink()
    {
        startAt("/links.html");
        QVERIFY(waitForTitle("Links"));
        QVERIFY(pointAt(QPoint(60, 60), server.address("/A.html")));
        QVERIFY(newWindowItemOfMenuAt(QPoint(60, 60))); // pointed at, then dismissed
        key(Qt::Key_Escape);
        QTRY_VERIFY(!UserInput::openMenu());
        UserInput::click(pageWidget(0), Qt::LeftButton, {}, QPoint(20, 220));
        QTRY_VERIFY(shown("PopupWindow"));
        QCOMPARE(window->tabStrip()->count(), 1);
        QTRY_COMPARE(shown("PopupWindow")->windowTitle(), QString("Corvane - B"));
        delete shown("PopupWindow");
    }

    void closedTabGivesBackItsPage()
    {
        startAt("/A.html");
        QVERIFY(waitForTitle("A"));
        press("newww");
        window->selectedView()->Navigate2(server.address("/B.html")); // the scene
        QVERIFY(waitForTitle("B"));
        press("cmdClose");
        QWebEnginePage *closed = engineView(1)->enginePage();
        QTRY_COMPARE(closed->lifecycleState(), QWebEnginePage::LifecycleState::Discarded);
        QTRY_COMPARE(closed->renderProcessPid(), qint64(0));
        QCOMPARE(window->selectedIndex(), 0);
        QCOMPARE(engineView(1)->LocationURL(), server.address("/B.html"));
    }

    void crashedPageShowsANoticeAndF5BringsItBack()
    {
        startAt("/A.html");
        QVERIFY(waitForTitle("A"));
        QTRY_VERIFY(engineView(0)->enginePage()->renderProcessPid() > 0);
        ::kill(pid_t(engineView(0)->enginePage()->renderProcessPid()), SIGKILL);
        QTRY_VERIFY(engineView(0)->showsCrashNotice());
        key(Qt::Key_F5);
        QTRY_VERIFY(!engineView(0)->showsCrashNotice());
        QVERIFY(waitForTitle("A"));
    }

    void signInIsAskedThroughThePrompts()
    {
        prompts->credentialAnswers << Prompts::Credentials{"ann", "secret"};
        startAt("/private.html");
        QVERIFY(waitForTitle("Private"));
        QCOMPARE(prompts->asked.size(), 1);
        QVERIFY(prompts->asked[0].text.contains("127.0.0.1"));
    }

    void downloadAsksWhereAndSaves()
    {
        prompts->saveAnswers << sandbox->root() + "/saved.bin";
        startAt("/download.html");
        QVERIFY(waitForTitle("Download"));
        UserInput::click(pageWidget(0), Qt::LeftButton, {}, QPoint(30, 30));
        QTRY_COMPARE(sandbox->readFile("../saved.bin"), QByteArray("file contents"));
        QTRY_VERIFY(window->statusPanel()->text().contains("saved.bin"));
        QVERIFY(prompts->asked[0].text.endsWith("data.bin"));
    }
};

QTEST_MAIN(TestBrowsing)
#include "tst_browsing.moc"
