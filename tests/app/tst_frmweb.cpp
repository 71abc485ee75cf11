// The main window on fake page views: start-up; opening, switching and
// closing tabs (the tab menu with its keys); GO!, the address list and its
// drop-down; what the page events of the selected tab, and of the others,
// show; the menu commands, chosen with the mouse; File > Close. The page
// events are scripted on the fake views: the engine's side has no user path.
#include "TestWindow.h"
#include "app/AddressListIndex.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QLabel>
#include <QProgressBar>
#include <QtTest>

class TestFrmWeb : public QObject, protected TestWindow
{
    Q_OBJECT

    QComboBox *address() const { return window->addressBox(); }
    QTabBar *strip() const { return window->tabStrip(); }
    void typeAddress(const QString &text) { UserInput::retype(address(), text); }

private slots:
    void init()
    {
        openSandbox();
        start();
    }
    void cleanup() { closeAll(); }

    void firstRun()
    {
        QFile::remove(sandbox->filePath("Hpage.dat")); // and no history, no settings
        start();
        QCOMPARE(sandbox->readFile("Hpage.dat"), QByteArray("\"www.google.com\"\r\n"));
        QVERIFY(QFile::exists(sandbox->filePath("WebHis.dat")));
        QCOMPARE(listed().size() + captions().size() + strip()->count() + views.size(), 3);
        QCOMPARE(strip()->tabText(0) + ' ' + address()->currentText(),
                 "www.google.com www.google.com");
        QCOMPARE(views[0]->calls, QStringList{"Navigate2 www.google.com"});
        QVERIFY(!window->action("mnuTop")->isChecked() && !window->progressBar()->isVisible());
    }

    void closingTabs_data()
    {
        // Tabs open, the selected one and its address, how it is closed ("X" or
        // keys in the tab menu of the next tab), whether it closes.
        columns<int, int, QString, QString, bool>();
        row("first of three", 3, 0, "http://x.test/", "X", true);
        row("middle of three", 3, 1, "http://x.test/", "X", true);
        row("last of three", 3, 2, "http://x.test/", "X", true);
        row("tab menu, Close", 3, 1, "http://x.test/", "Down Return", true);
        row("tab menu dismissed", 3, 1, "http://x.test/", "Escape", false);
        row("only tab, away from home", 1, 0, "http://x.test/", "X", false);
        row("only tab, at home", 1, 0, "home.test", "X", false);
    }
    void closingTabs()
    {
        const auto [tabs, selected, url, how, closes] = fetch<int, int, QString, QString, bool>();
        for (int i = 0; i < tabs; ++i) {
            if (i > 0)
                press("newww");
            views[i]->complete(i == selected ? url : QString("http://%1.test/").arg(i), "T");
        }
        UserInput::clickTab(strip(), selected);
        typeAddress("typed");
        views[selected]->calls.clear();
        if (how == "X") {
            press("cmdClose");
        } else { // the tab menu runs while the right button is down; its keys come meanwhile
            QTimer::singleShot(0, [this, keys = how.split(' ')] {
                QTRY_VERIFY(UserInput::openMenu());
                for (const QString &name : keys)
                    key(QKeySequence(name)[0].key());
            });
            UserInput::clickTab(strip(), (selected + 1) % tabs, Qt::RightButton);
        }
        const int now = window->selectedIndex();
        QCOMPARE(strip()->isTabVisible(selected) || views[selected]->isVisible(), !closes);
        QVERIFY(strip()->isTabVisible(now));
        QCOMPARE(address()->currentText(), views[now]->url);
        QCOMPARE(window->windowTitle(), "Corvane - " + views[now]->title);
        const bool home = tabs == 1 && url != "home.test"; // the last tab goes home instead
        QCOMPARE(views[selected]->calls, home ? QStringList{"Navigate2 home.test"} : QStringList());
        press("newww"); // takes the next index, never a closed one
        QCOMPARE(window->selectedIndex(), tabs);
    }

    void goListsAndStoresEachAddressOnce_data()
    {
        // Typed text, then Enter, keypad Enter or GO! (no key), twice; the entry
        // listed (none: the list held it already), the address opened, the one stored.
        columns<QString, int, QString, QString, QString>();
        const QString site = "http://www.site.tld", stored = site + "/";
        const int enter = Qt::Key_Return;
        row("Enter", "site.tld", enter, site, "site.tld", stored);
        row("keypad Enter", "site.tld", int(Qt::Key_Enter), site, "site.tld", stored);
        row("GO!", "https://site.tld", 0, "https://site.tld", "https://site.tld",
            "https://site.tld");
        row("in a listed entry", "site", enter, "", "site", stored);
    }
    void goListsAndStoresEachAddressOnce()
    {
        const auto [typed, enter, entry, opened, stored] =
            fetch<QString, int, QString, QString, QString>();
        const QByteArray file = "\"" + stored.toLatin1() + "\"\r\n";
        if (entry.isEmpty()) { // a run before left an entry that holds the text
            sandbox->writeFile("WebHis.dat", file);
            start();
        }
        views[0]->calls.clear();
        for (int i = 0; i < 2; ++i) {
            typeAddress(typed);
            enter ? key(enter, enter == Qt::Key_Enter ? int(Qt::KeypadModifier) : 0)
                  : press("cmdgo");
        }
        QCOMPARE(listed(), QStringList{entry.isEmpty() ? stored : entry});
        QCOMPARE(sandbox->readFile("WebHis.dat"), file);
        QCOMPARE(address()->currentText(), opened);
        const QStringList go{"Stop", "Navigate2 " + opened};
        QCOMPARE(views[0]->calls, go + go);
        QCOMPARE(UserInput::focused(), views[0]);
    }

    // The index behind GO!'s question whether an entry holds the text
    // answers as a search of every entry would.
    void addressListIndexAnswersAsEveryEntry()
    {
        QComboBox box;
        AddressListIndex index(box.model());
        box.addItems({"http://www.site.com/", "127.0.0.1:8080/x", "\u4F8B\u3048.jp"});
        QVERIFY(index.anyEntryContains("site.com") && !index.anyEntryContains("SITE.com"));
        QVERIFY(!index.anyEntryContains("com/127") && !index.anyEntryContains("com/\n127"));
        QVERIFY(index.anyEntryContains("\u4F8B") && index.anyEntryContains("8080/x"));
        box.addItem("<new>"); // appended after a question
        QVERIFY(index.anyEntryContains("new>"));
        box.clear();
        QVERIFY(!index.anyEntryContains(""));
    }

    void addressDropDown_data()
    {
        columns<int, int>(); // the key that opens the list, its modifiers
        row("Alt+Down", int(Qt::Key_Down), int(Qt::AltModifier));
        row("F4", int(Qt::Key_F4), 0);
    }
    void addressDropDown()
    {
        const auto [opens, modifiers] = fetch<int, int>();
        const QByteArray history = "\"http://www.a.tld/\"\r\n\"http://www.b.tld/\"\r\n";
        sandbox->writeFile("WebHis.dat", history);
        start();
        UserInput::click(address());
        views[0]->calls.clear();
        key(opens, modifiers);
        QTRY_VERIFY(address()->view()->isVisible());
        key(Qt::Key_Down);
        const QString entry = address()->itemText(address()->view()->currentIndex().row());
        key(Qt::Key_Return);
        QTRY_VERIFY(!address()->view()->isVisible());
        QCOMPARE(views[0]->calls, QStringList{"Navigate2 " + entry});
        QCOMPARE(address()->lineEdit()->selectedText(), entry);
        UserInput::click(views[0]); // leaving the box opens nothing, though its text is an entry
        QTRY_COMPARE(UserInput::focused(), views[0]);
        typeAddress("www.a.tld"); // and Enter is GO! again
        key(Qt::Key_Return);
        QCOMPARE(views[0]->calls,
                 (QStringList{"Navigate2 " + entry, "Stop", "Navigate2 www.a.tld"}));
        QCOMPARE(sandbox->readFile("WebHis.dat"), history);
    }

    void titlesNameTheirTabAndTheWindow_data()
    {
        columns<QString, QString>(); // the page's title, its tab's caption
        row("20 characters", "12345678901234567890", "12345678901234567890");
        row("21 characters", "123456789012345678901", "12345678901234567890...");
        row("ampersand", "Fish & Chips", "Fish & Chips");
    }
    void titlesNameTheirTabAndTheWindow()
    {
        const auto [title, caption] = fetch<QString, QString>();
        press("newww");
        emit views[0]->TitleChange(title); // the tab behind the selected one
        QCOMPARE(strip()->tabText(0).replace("&&", "&"), caption);
        QCOMPARE(window->windowTitle(), "Corvane - " + title);
        press("cmdClose");
        emit views[1]->TitleChange("closed"); // a closed tab renames nothing
        QCOMPARE(window->windowTitle(), "Corvane - " + views[0]->title);
    }

    void statusAndProgressFollowTheSelectedTabOnly()
    {
        press("newww");
        QProgressBar *bar = window->progressBar();
        for (FakePageView *view : views) { // behind, then in front
            const bool front = view == views[1];
            emit view->BeforeNavigate2();
            emit view->StatusTextChange("text");
            emit view->ProgressChange(30, 200);
            emit view->ProgressChange(500, 200); // beyond the end: skipped
            QVERIFY(bar->isVisible());
            QCOMPARE(window->statusPanel()->text(), QString(front ? "text" : "Status"));
            QCOMPARE(bar->value(), front ? 30 : 0);
            view->complete("http://front.test/", "Front");
            QCOMPARE(address()->currentText(), QString(front ? "http://front.test/" : ""));
            QVERIFY(!bar->isVisible());
        }
    }

    void newWindowRequests_data()
    {
        // The kind of request; the link pointed at before it, and whether the
        // menu's new-window item was then; the tab selected after it (-1: no new tab).
        columns<int, QString, bool, int>();
        const int item = int(NewWindowInfo::Kind::ContextMenuNewWindow);
        row("menu item", item, "https://link.test/b", true, 1);
        row("menu item, ftp link", item, "ftp://link.test/c", true, -1);
        row("menu item not pointed at", item, "http://link.test/d", false, -1);
        row("page's own window", int(NewWindowInfo::Kind::PageRequest), "http://link.test/e", true,
            -1);
        row("Ctrl+click", int(NewWindowInfo::Kind::BackgroundTab), "http://link.test/f", false, 0);
    }
    void newWindowRequests()
    {
        const auto [kind, link, itemPointed, tab] = fetch<int, QString, bool, int>();
        emit views[0]->StatusTextChange(link);
        if (itemPointed)
            emit views[0]->StatusTextChange("Opens selected link in a new window.");
        bool cancel = false;
        emit views[0]->NewWindow2(&cancel, {NewWindowInfo::Kind(kind), QUrl(link)});
        QCOMPARE(cancel, tab >= 0);
        QCOMPARE(strip()->count(), tab >= 0 ? 2 : 1);
        QCOMPARE(window->selectedIndex(), qMax(tab, 0));
        QCOMPARE(views.last()->calls.last(), "Navigate2 " + (tab >= 0 ? link : "home.test"));
        cancel = false; // the item counts once: the next request takes its own course
        emit views[0]->NewWindow2(&cancel, {NewWindowInfo::Kind::ContextMenuNewWindow, QUrl(link)});
        QVERIFY(!cancel);
    }

    void editMenuWorksOnTheAddressBox()
    {
        const auto selectCd = [this] { // in "abcdef"
            typeAddress("abcdef");
            keys("Home, Right, Right");
            keys("Shift+Right, Shift+Right");
        };
        selectCd();
        QVERIFY(chooseMenuItem("Cut"));
        QCOMPARE(address()->currentText() + '|' + QGuiApplication::clipboard()->text(), "abef|cd");
        selectCd();
        QVERIFY(chooseMenuItem("paste")); // the pasted text stays selected
        QCOMPARE(address()->currentText() + '|' + address()->lineEdit()->selectedText(),
                 "abcdef|cd");
        QGuiApplication::clipboard()->clear();
        QVERIFY(chooseMenuItem("paste")); // with no text on the clipboard, the selection goes
        QVERIFY(chooseMenuItem("selall") && chooseMenuItem("Copy"));
        QCOMPARE(address()->currentText() + '|' + QGuiApplication::clipboard()->text(),
                 "abef|abef");
    }

    void pageCommandsGoToTheSelectedTab_data()
    {
        columns<QString, int>(); // the item (or a page's own window.print()), the view's command
        row("Save as...", "save_as", int(PageView::SaveAs));
        row("Print Preview...", "PrPr", int(PageView::PrintPreview));
        row("window.print()", "", int(PageView::Print));
    }
    void pageCommandsGoToTheSelectedTab()
    {
        const auto [item, command] = fetch<QString, int>();
        press("newww");
        views[0]->calls.clear();
        views[1]->calls.clear();
        for (FakePageView *view : views) // a print request of the tab behind is not heard
            if (item.isEmpty())
                emit view->PrintRequested();
        QVERIFY(item.isEmpty() || chooseMenuItem(item));
        QCOMPARE(views[1]->calls.size(), 1);
        QVERIFY(views[1]->calls[0].startsWith(QString("ExecWB %1 ").arg(command)));
        QVERIFY(views[0]->calls.isEmpty());
    }

    void favouritesOpenInTheSelectedTab_data()
    {
        columns<int, QString>(); // the item of the Favorites menu, its address
        row("Google", 0, Module1::SearchServiceUrl);
        row("a favourite", 1, favAddress(1));
    }
    void favouritesOpenInTheSelectedTab()
    {
        const auto [index, site] = fetch<int, QString>();
        seedFavourites(1);
        start();
        press("newww");
        QList<QAction *> items = window->favoritesMenu()->actions();
        QVERIFY(chooseMenuItem(items.at(items.size() - int(captions().size()) + index)));
        QCOMPARE(views[1]->calls, (QStringList{"Navigate2 about:blank", "Navigate2 " + site}));
        QCOMPARE(views[0]->calls.size(), 1);
    }

    void alwaysOnTopAndHelp()
    {
        const QRect place = window->geometry();
        for (bool on : {true, false}) {
            QVERIFY(chooseMenuItem("mnuTop"));
            QCOMPARE(window->action("mnuTop")->isChecked(), on);
            QCOMPARE(bool(window->windowHandle()->flags() & Qt::WindowStaysOnTopHint), on);
            QVERIFY(window->isVisible() && window->geometry() == place);
        }
        QVERIFY(chooseMenuItem("mnuTabHlp"));
        QCOMPARE(prompts->asked.value(0).kind, QString("message"));
    }

    void fileCloseEndsTheProgramWhileLoading()
    {
        emit views[0]->BeforeNavigate2();
        QObject guard; // ends with the test, with any call still queued
        QTimer::singleShot(0, &guard, [this] {
            if (!chooseMenuItem("Close") || window->isVisible())
                QCoreApplication::exit(1);
        });
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!window->isVisible());
    }
};

QTEST_MAIN(TestFrmWeb)
#include "tst_frmweb.moc"
