// The menu commands on fake page views, chosen with the mouse: the Edit menu
// on the address box, the File menu's page commands for the selected tab
// only, Always on Top, a help message and the favourites.
#include "TestWindow.h"

#include <QClipboard>
#include <QComboBox>
#include <QPushButton>
#include <QtTest>

class TestMenuCommands : public QObject, protected TestWindow
{
    Q_OBJECT

    void key(int k, int modifiers = 0)
    {
        UserInput::key(window.get(), Qt::Key(k), Qt::KeyboardModifiers(modifiers));
    }

private slots:
    void init()
    {
        openSandbox();
        seedFavourites(1);
        start();
        UserInput::click(window->findChild<QPushButton *>("newww")); // tab 1 is selected
        views[0]->calls.clear();
        views[1]->calls.clear();
    }
    void cleanup() { closeAll(); }

    void editMenuWorksOnTheAddressBox_data()
    {
        // The command on "abcdef" with "cd" selected, the clipboard before; the
        // text, clipboard and selection after.
        columns<QString, QString, QString, QString, QString>();
        row("Copy", "Copy", "old", "abcdef", "cd", "cd");
        row("Cut", "Cut", "old", "abef", "cd", "");
        row("Paste", "paste", "XY", "abXYef", "XY", "XY");
        row("Paste, no text on the clipboard", "paste", "", "abef", "", "");
        row("Select All", "selall", "old", "abcdef", "old", "abcdef");
    }
    void editMenuWorksOnTheAddressBox()
    {
        const auto [command, before, text, clipboard, selected] =
            fetch<QString, QString, QString, QString, QString>();
        QGuiApplication::clipboard()->setText(before);
        UserInput::click(window->addressBox());
        key(Qt::Key_A, Qt::ControlModifier);
        UserInput::type(window.get(), "abcdef");
        key(Qt::Key_Home);
        key(Qt::Key_Right);
        key(Qt::Key_Right);
        key(Qt::Key_Right, Qt::ShiftModifier);
        key(Qt::Key_Right, Qt::ShiftModifier);
        QVERIFY(chooseMenuItem(command));
        QCOMPARE(window->addressBox()->currentText(), text);
        QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
        QCOMPARE(window->addressBox()->lineEdit()->selectedText(), selected);
        QVERIFY(views[1]->calls.isEmpty());
    }

    void fileCommandsGoToTheSelectedTab_data()
    {
        columns<QString, int>(); // the item, the command the selected view runs
        row("Save as...", "save_as", int(PageView::SaveAs));
        row("Properties", "PrP", int(PageView::Properties));
        row("Print...", "print", int(PageView::Print));
        row("Page Setup...", "Page_Setup", int(PageView::PageSetup));
        row("Print Preview...", "PrPr", int(PageView::PrintPreview));
    }
    void fileCommandsGoToTheSelectedTab()
    {
        const auto [item, command] = fetch<QString, int>();
        QVERIFY(chooseMenuItem(item));
        QCOMPARE(views[1]->calls.size(), 1);
        QVERIFY(views[1]->calls[0].startsWith(QString("ExecWB %1 ").arg(command)));
        QVERIFY(views[0]->calls.isEmpty());
    }

    void pagesOwnPrintPrintsItsTabOnlyWhenSelected()
    {
        emit views[0]->PrintRequested(); // the page's window.print(), scripted
        QVERIFY(views[0]->calls.isEmpty());
        emit views[1]->PrintRequested();
        QCOMPARE(views[1]->calls,
                 QStringList{QString("ExecWB %1 %2").arg(PageView::Print).arg(PageView::ShowHelp)});
    }

    void alwaysOnTopFollowsItsMark()
    {
        const QRect place = window->geometry();
        for (bool on : {true, false}) {
            QVERIFY(chooseMenuItem("mnuTop"));
            QCOMPARE(window->action("mnuTop")->isChecked(), on);
            QCOMPARE(bool(window->windowHandle()->flags() & Qt::WindowStaysOnTopHint), on);
            QVERIFY(window->isVisible());
            QCOMPARE(window->geometry(), place);
        }
    }

    void tabHelpIsAMessage()
    {
        QVERIFY(chooseMenuItem("mnuTabHlp"));
        QCOMPARE(prompts->asked.size(), 1);
        QCOMPARE(prompts->asked[0].kind, QString("message"));
    }

    void favouritesOpenInTheSelectedTab_data()
    {
        columns<int, QString>(); // the item of the Favorites menu, its address
        row("Google", 0, Module1::SearchServiceUrl);
        row("a favourite", 1, favAddress(1));
    }
    void favouritesOpenInTheSelectedTab()
    {
        const auto [index, address] = fetch<int, QString>();
        QList<QAction *> items = window->favoritesMenu()->actions();
        items.erase(std::remove_if(items.begin(), items.end(),
                                   [](QAction *a) { return a->objectName() != "mnuItemSite"; }),
                    items.end());
        QVERIFY(chooseMenuItem(items.value(index)));
        QCOMPARE(views[1]->calls, QStringList{"Navigate2 " + address});
        QVERIFY(views[0]->calls.isEmpty());
    }
};

QTEST_MAIN(TestMenuCommands)
#include "tst_menucommands.moc"
