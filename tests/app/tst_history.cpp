// The history of visited pages in the window, on the real engine: pages
// visited by links are suggested while typing in the address box, chosen
// with the keys and opened as GO! opens typed text; the history window
// (Ctrl+H) finds, opens and removes them; the options dialog's Clear empties
// both histories; a damaged database does not stop the program.
#include "TestWindow.h"
#include "app/AddressSuggestions.h"
#include "dialogs/HistoryWindow.h"
#include "store/AddressRules.h"
#include "store/VisitedHistory.h"

#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTreeWidget>

class TestHistory : public QObject, protected TestWindow
{
    Q_OBJECT

    QListWidget *suggestionList() const { return window->suggestions()->list(); }
    QStringList suggested() const
    {
        QStringList all;
        for (int i = 0; suggestionList()->isVisible() && i < suggestionList()->count(); ++i)
            all << suggestionList()->item(i)->text();
        return all;
    }
    // Ctrl+L, then typed text; waits for the suggestions to answer it. The
    // visits of the last second are written first.
    void typeInAddressBox(const QString &text)
    {
        window->visitedHistory()->waitUntilDone();
        keys("Ctrl+L");
        QSignalSpy answered(window->suggestions(), &AddressSuggestions::answered);
        UserInput::type(window.get(), text);
        QCOMPARE(window->addressBox()->currentText(), text);
        window->visitedHistory()->waitUntilDone(); // the last question answered
        QTRY_VERIFY(!answered.isEmpty());
        QTest::qWait(20);
    }
    // Clicks the link of the page in tab 0 and waits for its page.
    bool followLink(const QString &id, const QString &title)
    {
        const QVariantList rect =
            js(QString("(r => [r.x + r.width / 2, r.y + r.height / 2])"
                       "(document.getElementById('%1').getBoundingClientRect())")
                   .arg(id))
                .toList();
        if (rect.size() != 2)
            return false;
        UserInput::click(pageWidget(0), Qt::LeftButton, {},
                         QPoint(rect.at(0).toInt(), rect.at(1).toInt()));
        return waitForTitle(title);
    }
    QString entry(const QString &title, const QString &path) const
    {
        return title + '\n' + server.address(path);
    }
    // Ctrl+H; waits until the window lists every page.
    HistoryWindow *openHistoryWindow()
    {
        window->visitedHistory()->waitUntilDone();
        keys("Ctrl+H");
        HistoryWindow *history = window->historyWindow();
        if (!history || !QTest::qWaitForWindowActive(history))
            return nullptr;
        auto *note = history->findChild<QLabel *>("historyNote");
        return QTest::qWaitFor([&] { return !note->text().isEmpty(); }) ? history : nullptr;
    }
    QStringList historyListed(HistoryWindow *history) const
    {
        QStringList all;
        for (QTreeWidgetItemIterator it(history->pageList()); *it; ++it)
            if ((*it)->parent())
                all << (*it)->text(0);
        return all;
    }
    void search(HistoryWindow *history, const QString &text)
    {
        QSignalSpy shown(history, &HistoryWindow::listed);
        UserInput::retype(history->searchField(), text);
        window->visitedHistory()->waitUntilDone();
        QTRY_VERIFY(!shown.isEmpty());
        QTest::qWait(20);
    }

private slots:
    void init()
    {
        openSandbox();
        const QByteArray link = "<a id='%1' href='%2' style='display:block;height:60px'>go</a>";
        server.setPage(
            "/start.html",
            page("Start page", QByteArray(link).replace("%1", "b").replace("%2", "/b.html")));
        server.setPage("/b.html",
                       page("Quokka Marmalade recipes",
                            QByteArray(link).replace("%1", "c").replace("%2", "/c.html")));
        server.setPage("/c.html", page("Quokka facts"));
    }
    void cleanup() { closeAll(); }

    void visitedPagesAreSuggestedAndOpenedByGo()
    {
        startAt("/start.html");
        QVERIFY(followLink("b", "Quokka Marmalade recipes"));
        QVERIFY(followLink("c", "Quokka facts"));

        // Every word matched; the focus stays in the box while the list shows.
        typeInAddressBox("quokka marm");
        QCOMPARE(suggested(), QStringList{entry("Quokka Marmalade recipes", "/b.html")});
        QCOMPARE(UserInput::focused(), window->addressBox());
        typeInAddressBox("QUOKKA");
        QCOMPARE(suggested().size(), 2);
        key(Qt::Key_Escape);
        QVERIFY(!suggestionList()->isVisible());
        QCOMPARE(window->addressBox()->currentText(), QString("QUOKKA"));

        // Down chooses, Enter opens it as GO! opens a typed address.
        typeInAddressBox("recipes quok");
        const QString address = server.address("/b.html");
        key(Qt::Key_Down);
        key(Qt::Key_Return);
        QVERIFY(waitForTitle("Quokka Marmalade recipes"));
        QVERIFY(!suggestionList()->isVisible());
        QCOMPARE(listed(), QStringList{AddressRules::completeAddress(address)});
        QVERIFY(sandbox->readFile("WebHis.dat")
                    .contains(AddressRules::historyEntry(AddressRules::boxText(address)).toUtf8()));

        // Enter with nothing chosen is the box's own Enter.
        typeInAddressBox(server.address("/c.html"));
        key(Qt::Key_Return);
        QVERIFY(waitForTitle("Quokka facts"));
        QCOMPARE(listed().size(), 2);

        // The error page and about: are no visits; favourites come first.
        seedFavourites(1);
        Module1::LoadFavMenu();
        typeInAddressBox("127.0.0.1:1/");
        key(Qt::Key_Return);
        QTRY_VERIFY(!window->selectedView()->isLoading());
        typeInAddressBox("site1 quokka");
        QVERIFY(suggested().isEmpty());
        typeInAddressBox("s");
        QCOMPARE(suggested().value(0), "Site 1\n" + favAddress(1));
        QVERIFY(!suggested().join(' ').contains("127.0.0.1:1/"));
    }

    void historyWindowFindsOpensAndRemoves()
    {
        startAt("/start.html");
        QVERIFY(followLink("b", "Quokka Marmalade recipes"));
        QVERIFY(followLink("c", "Quokka facts"));
        QVERIFY(go("/start.html", "Start page"));
        HistoryWindow *history = openHistoryWindow();
        QVERIFY(history);
        QCOMPARE(historyListed(history),
                 (QStringList{"Start page", "Quokka facts", "Quokka Marmalade recipes"}));
        QCOMPARE(history->pageList()->topLevelItem(0)->text(0), QString("Today"));

        search(history, "marmalade");
        QCOMPARE(historyListed(history), QStringList{"Quokka Marmalade recipes"});
        QTest::keyClick(history->windowHandle(), Qt::Key_Return); // the first page listed
        QVERIFY(waitForTitle("Quokka Marmalade recipes"));

        // Down into the list, Delete: gone from the window and the suggestions.
        QVERIFY(QTest::qWaitForWindowActive(history));
        search(history, "quokka");
        QCOMPARE(historyListed(history).size(), 2);
        QTest::keyClick(history->windowHandle(), Qt::Key_Down);
        QCOMPARE(UserInput::focused(), history->pageList());
        QSignalSpy shown(history, &HistoryWindow::listed);
        QTest::keyClick(history->windowHandle(), Qt::Key_Delete);
        QTRY_VERIFY(!shown.isEmpty());
        QCOMPARE(historyListed(history).size(), 1);
        const QString kept = historyListed(history).value(0);

        // A double click opens a page too.
        const QTreeWidgetItem *item = history->pageList()->topLevelItem(0)->child(0);
        UserInput::doubleClick(history->pageList()->viewport(),
                               history->pageList()->visualItemRect(item).center());
        QVERIFY(waitForTitle(kept));
        QVERIFY(QTest::qWaitForWindowActive(history));
        QTest::keyClick(history->windowHandle(), Qt::Key_Escape);
        QVERIFY(!history->isVisible());
        QVERIFY(UserInput::bringUp(window.get()));
        typeInAddressBox("quokka");
        QCOMPARE(suggested().size(), 1);
        QVERIFY(suggested().value(0).startsWith(kept));
    }

    void clearEmptiesBothHistories()
    {
        startAt("/start.html");
        QVERIFY(go("/b.html", "Quokka Marmalade recipes"));
        QCOMPARE(listed().size(), 1);
        QVERIFY(chooseMenuItem("prop"));
        QWidget *options = nullptr;
        QVERIFY(QTest::qWaitFor([&] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->objectName() == "frmProperties" && w->isVisible())
                    options = w;
            return options != nullptr;
        }));
        QVERIFY(UserInput::bringUp(options));
        prompts->messageAnswers << Prompts::Yes;
        UserInput::click(options->findChild<QWidget *>("Command1"));
        QCOMPARE(asked(), QString("message"));
        QVERIFY(listed().isEmpty());
        options->close();
        QVERIFY(UserInput::bringUp(window.get()));
        window->visitedHistory()->waitUntilDone();
        typeInAddressBox("quokka");
        QVERIFY(suggested().isEmpty());
        HistoryWindow *history = openHistoryWindow();
        QVERIFY(history);
        QVERIFY(historyListed(history).isEmpty());
        // Nothing of the pages is left in the files either.
        const QString db = AppPaths::dataFilePath("history.db");
        for (const QString &file : {db, db + "-wal"}) {
            QFile f(file);
            QVERIFY(!f.open(QIODevice::ReadOnly) || !f.readAll().contains("Marmalade"));
        }
    }

    void damagedDatabaseStartsTheProgram()
    {
        const QString db = AppPaths::dataFilePath("history.db");
        QFile junk(db);
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(8192, '\x5a'));
        junk.close();
        startAt("/start.html");
        QTRY_VERIFY(window->statusBar()->currentMessage().contains("history.db.damaged"));
        QVERIFY(QFile::exists(db + ".damaged"));
        QVERIFY(followLink("b", "Quokka Marmalade recipes"));
        typeInAddressBox("marmalade");
        QCOMPARE(suggested(), QStringList{entry("Quokka Marmalade recipes", "/b.html")});
    }
};

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
