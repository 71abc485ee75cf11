// The main window on the real engine with loopback pages: every key the
// window handles, with the focus in the address box, on the page or in a text
// field of the page; link hover and the page's new-window item; a crashed
// page; downloads; a window on screen before the engine runs.
#include "TestWindow.h"
#include "web/Engine.h"

#include <QLabel>
#include <QWebEnginePage>
#include <QtTest>
#include <signal.h>

class TestBrowsing : public QObject, protected TestWindow
{
    Q_OBJECT

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
    // What a key can change, in words: where the focus is (and whether all the
    // address box holds is selected), the tab selected and the tabs open, the
    // page shown and whether it is loading, how often page B was asked for,
    // the questions asked, whether the about box is shown.
    QString state()
    {
        const QWidgetList tops = QApplication::topLevelWidgets();
        const bool about = std::any_of(tops.begin(), tops.end(), [](QWidget *w) {
            return w->inherits("frmAbout") && w->isVisible();
        });
        const bool box =
            UserInput::focused() == window->addressBox() &&
            window->addressBox()->lineEdit()->selectedText() == window->addressBox()->currentText();
        int open = 0;
        for (int i = 0; i < window->tabStrip()->count(); ++i)
            open += window->tabStrip()->isTabVisible(i);
        return QString("focus=%1 tabs=%2/%3 title=%4 loading=%5 B=%6 asked=%7 about=%8")
            .arg(box ? "box" : "other")
            .arg(window->selectedIndex())
            .arg(open)
            .arg(window->windowTitle().mid(10))
            .arg(window->selectedView()->isLoading())
            .arg(server.requested.count("/B.html"))
            .arg(asked())
            .arg(about);
    }

private slots:
    void initTestCase()
    {
        const QByteArray field =
            "<input id=f style='position:absolute;left:0;top:0'><p style='height:2000px'>";
        for (const char *name : {"A", "B", "C", "D"})
            server.setPage(QString("/%1.html").arg(name), page(name, field));
        server.setReply("/stall", {{}, {}, 0, {}}); // never answered
        const QByteArray a = "<a href='%1' style='display:block;height:100px'>link</a>";
        server.setPage("/links.html",
                       page("Links", QByteArray(a).replace("%1", "https://127.0.0.1:1/s")));
        const QByteArray attachment = "Content-Disposition: attachment; filename=\"data.bin\"\r\n";
        server.setReply("/data.bin",
                        {"file contents", "application/octet-stream", 200, attachment});
        server.setPage("/download.html",
                       page("Download", QByteArray(a).replace("%1", "/data.bin")));
    }
    void init()
    {
        openSandbox();
        server.requested.clear();
    }
    void cleanup()
    {
        Engine::start(); // when a test held it and failed
        closeAll();
    }

    void keys_data()
    {
        // The key, its modifiers, where the focus is (the address box, the page
        // or a text field in it), what the window's state then shows.
        columns<int, int, QString, QString>();
        row("Enter, box", int(Qt::Key_Return), 0, "box", "title=D loading=0");
        row("keypad Enter, box", int(Qt::Key_Enter), int(Qt::KeypadModifier), "box",
            "title=D loading=0");
        const int ctrl = Qt::ControlModifier, alt = Qt::AltModifier, shift = Qt::ShiftModifier;
        for (const char *focus : {"box", "page", "field"}) {
            const auto name = [focus](const char *key) { return QByteArray(key) + ", " + focus; };
            row(name("Ctrl+L"), int(Qt::Key_L), ctrl, focus, "focus=box");
            row(name("Alt+D"), int(Qt::Key_D), alt, focus, "focus=box");
            row(name("F6"), int(Qt::Key_F6), 0, focus, "focus=box");
            row(name("Esc"), int(Qt::Key_Escape), 0, focus, "title=B loading=0 B=1");
            row(name("F5"), int(Qt::Key_F5), 0, focus, "title=B loading=0 B=2");
            row(name("Alt+Left"), int(Qt::Key_Left), alt, focus, "title=A loading=0");
            row(name("Alt+Right"), int(Qt::Key_Right), alt, focus, "title=C loading=0");
            row(name("Ctrl+S"), int(Qt::Key_S), ctrl, focus, "asked=save");
            row(name("Ctrl+Tab"), int(Qt::Key_Tab), ctrl, focus, "tabs=1/2");
            row(name("Ctrl+Shift+Tab"), int(Qt::Key_Backtab), ctrl + shift, focus, "tabs=1/2");
            row(name("Ctrl+T"), int(Qt::Key_T), ctrl, focus, "tabs=1/2");
            row(name("Ctrl+W"), int(Qt::Key_W), ctrl, focus, "tabs=1/1");
            row(name("F12"), int(Qt::Key_F12), 0, focus, "about=1");
            row(name("F1, its item hidden"), int(Qt::Key_F1), 0, focus, "asked= about=0");
        }
    }
    void keys()
    {
        const auto [k, modifiers, focus, effect] = fetch<int, int, QString, QString>();
        // Tab 0 shows B, after A or before C, loading or beside a second tab, as the key needs.
        const QString scene = effect.contains("title=A")   ? "AB"
                              : effect.contains("title=C") ? "BC"
                                                           : "B";
        startAt(QString("/%1.html").arg(scene[0]));
        if (scene.size() > 1) { // the scene, not the action under test
            window->selectedView()->Navigate2(server.address(QString("/%1.html").arg(scene[1])));
            QVERIFY(waitForTitle(scene.mid(1)));
        }
        if (scene == "BC" && window->selectedView()->GoBack())
            QVERIFY(waitForTitle("B"));
        if (effect.startsWith("tabs=1/") && k != Qt::Key_T) {
            press("newww");
            UserInput::clickTab(window->tabStrip(), 0);
        }
        QWidget *target =
            focus == "box" ? static_cast<QWidget *>(window->addressBox()) : pageWidget(0);
        const QPoint at = focus == "page" ? QPoint(300, 300) : QPoint(9, 9);
        UserInput::click(target, Qt::LeftButton, {}, focus == "box" ? QPoint() : at);
        QTRY_COMPARE(UserInput::focused(), target);
        // A page just shown may miss a click: click into the field till it has the focus.
        QTRY_VERIFY(focus != "field" || (UserInput::click(target, Qt::LeftButton, {}, at),
                                         js("document.activeElement.id") == "f"));
        if (effect.startsWith("title=D")) {
            key(Qt::Key_A, Qt::ControlModifier);
            UserInput::type(window.get(), server.address("/D.html").mid(7));
        }
        if (k == Qt::Key_Escape)
            js("location.href = '/stall'");
        QTRY_VERIFY(k != Qt::Key_Escape || window->selectedView()->isLoading());
        prompts->saveAnswers << QString(); // Save as... is cancelled
        key(k, modifiers);
        QTRY_VERIFY2_WITH_TIMEOUT(state().contains(effect), qPrintable(state()), 20000);
        if (effect.startsWith("title=D")) // listed and stored once, as typed
            QCOMPARE(listed() << sandbox->readFile("WebHis.dat"),
                     QStringList(
                         {server.address("/D.html"), "\"" + server.address("/D.html") + "\"\r\n"}));
    }

    void newWindowItemOpensTheLinkInATab()
    {
        const QPoint where(60, 60); // an https link
        const QString link = "https://127.0.0.1:1/s";
        startAt("/links.html");
        QCOMPARE(window->tabStrip()->tabText(0), QString("Links"));
        QCOMPARE(window->addressBox()->currentText(), server.address("/links.html"));
        QVERIFY(pointAt(where, link));
        QVERIFY(newWindowItemOfMenuAt(where));
        QCOMPARE(window->statusPanel()->text(), WebEnginePageView::NewWindowPrompt);
        key(Qt::Key_Return);
        QTRY_COMPARE(window->tabStrip()->count(), 2);
        QCOMPARE(window->selectedIndex(), 1);
        QTRY_COMPARE(QUrl(window->selectedView()->LocationURL()), QUrl(link));
    }

    // The program's own start: the window first, the engine once it is on
    // screen; what the user types meanwhile survives the home page's arrival.
    void windowBeforeTheEngineKeepsWhatIsTyped()
    {
        sandbox->writeFile("Hpage.dat", "\"" + server.address("/A.html").toUtf8() + "\"\r\n");
        Engine::hold();
        window = std::make_unique<frmWeb>();
        window->Form_Load();
        QVERIFY(!engineView(0)->hasEngine());
        QCOMPARE(window->selectedView()->LocationURL(), server.address("/A.html"));
        UserInput::retype(window->addressBox(), server.address("/B.html"));
        QVERIFY(UserInput::bringUp(window.get()));
        QTRY_VERIFY(engineView(0)->hasEngine());
        QVERIFY(waitForTitle("A"));
        QCOMPARE(window->addressBox()->currentText(), server.address("/B.html"));
        QCOMPARE(UserInput::focused(), window->addressBox());
        key(Qt::Key_Return);
        QVERIFY(waitForTitle("B"));
    }

    void crashedPageShowsANoticeAndF5BringsItBack()
    {
        startAt("/A.html");
        QTRY_VERIFY(engineView(0)->enginePage()->renderProcessPid() > 0);
        ::kill(pid_t(engineView(0)->enginePage()->renderProcessPid()), SIGKILL);
        QTRY_VERIFY(engineView(0)->showsCrashNotice());
        key(Qt::Key_F5);
        QTRY_VERIFY(!engineView(0)->showsCrashNotice());
        QVERIFY(waitForTitle("A"));
    }

    void downloadAsksWhereAndSaves()
    {
        prompts->saveAnswers << sandbox->root() + "/saved.bin";
        startAt("/download.html");
        QVERIFY(clickPageUntil([&] { return !prompts->asked.isEmpty(); }, QPoint(30, 30)));
        QTRY_COMPARE(sandbox->readFile("../saved.bin"), QByteArray("file contents"));
        QTRY_VERIFY(window->statusPanel()->text().contains("saved.bin"));
        QVERIFY(prompts->asked[0].text.endsWith("data.bin"));
    }
};

QTEST_MAIN(TestBrowsing)
#include "tst_browsing.moc"
