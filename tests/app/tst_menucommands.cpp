// The menu commands with scripted page views: editing the address box while
// the page has the focus, the file commands handed to the selected view,
// Always on Top, dialogs opened on top, the help messages and favourites.
#include "TestWindow.h"
#include "app/MenuCommands.h"
#include "app/frmWeb.h"
#include "app/FavMenuItems.h"
#include "store/FavEdits.h"
#include "store/Module1.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QTabBar>
#include <QtTest>

class TestMenuCommands : public QObject, protected TestWindow
{
    Q_OBJECT

    QLineEdit *edit() const { return window->addressBox()->lineEdit(); }
    MenuCommands *commands() const { return window->findChild<MenuCommands *>(); }
    void trigger(const char *name)
    {
        QAction *a = window->action(QString::fromLatin1(name));
        QVERIFY2(a, name);
        QVERIFY2(a->isEnabled(), name);
        a->trigger();
    }
    // The page holds the keyboard focus; the address box shows text with the
    // given selection (length 0: the caret at start).
    void focusPageWithBoxText(const QString &text, int start, int length)
    {
        views.at(0)->setFocus(Qt::OtherFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(views.at(0)));
        window->addressBox()->setEditText(text);
        if (length > 0)
            edit()->setSelection(start, length);
        else
            edit()->setCursorPosition(start);
        views.at(0)->calls.clear();
    }
    void checkOnlyTheBoxChanged()
    {
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(views.at(0)));
        QVERIFY(views.at(0)->calls.isEmpty());
    }

private slots:
    void init()
    {
        openSandbox();
        start();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    void cleanup() { closeAll(); }

    // ------------------------------------------------------------ Edit menu

    void copyPutsTheSelectionOnTheClipboard_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("cd of abcdef") << 2 << 2 << "cd";
        QTest::newRow("empty selection") << 3 << 0 << "";
    }
    void copyPutsTheSelectionOnTheClipboard()
    {
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QString, clipboard);
        QGuiApplication::clipboard()->setText("old");
        focusPageWithBoxText("abcdef", start, length);
        trigger("Copy");
        QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
        QCOMPARE(edit()->text(), QString("abcdef"));
        QCOMPARE(edit()->selectedText(), clipboard);
        checkOnlyTheBoxChanged();
    }

    void cutMovesTheSelectionToTheClipboard_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("cd of abcdef") << "abcdef" << 2 << 2 << "abef"
                                      << "cd";
        QTest::newRow("empty selection") << "abcdef" << 3 << 0 << "abcdef"
                                         << "";
        QTest::newRow("whole text") << "abcdef" << 0 << 6 << ""
                                    << "abcdef";
        QTest::newRow("to the end") << "abcdef" << 4 << 2 << "abcd"
                                    << "ef";
    }
    void cutMovesTheSelectionToTheClipboard()
    {
        QFETCH(QString, text);
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QString, left);
        QFETCH(QString, clipboard);
        QGuiApplication::clipboard()->setText("old");
        focusPageWithBoxText(text, start, length);
        trigger("Cut");
        QCOMPARE(edit()->text(), left);
        QCOMPARE(window->addressBox()->currentText(), left);
        QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
        checkOnlyTheBoxChanged();
    }

    void pasteLeavesThePastedTextSelected_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("clipboard"); // null: the clipboard holds no text
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<QString>("selected");
        QTest::newRow("XY over cd") << "abcdef" << 2 << 2 << "XY"
                                    << "abXYef" << 2 << "XY";
        QTest::newRow("caret at the end") << "abcdef" << 6 << 0 << "XY"
                                          << "abcdefXY" << 6 << "XY";
        QTest::newRow("caret inside") << "abcdef" << 1 << 0 << "XY"
                                      << "aXYbcdef" << 1 << "XY";
        QTest::newRow("empty clipboard") << "abcdef" << 2 << 2 << QString() << "abef" << 2 << "";
        QTest::newRow("whole text replaced") << "abcdef" << 0 << 6 << "xyz"
                                             << "xyz" << 0 << "xyz";
        QTest::newRow("into an empty box") << "" << 0 << 0 << "www.x.test"
                                           << "www.x.test" << 0 << "www.x.test";
    }
    void pasteLeavesThePastedTextSelected()
    {
        QFETCH(QString, text);
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QString, clipboard);
        QFETCH(QString, result);
        QFETCH(int, selStart);
        QFETCH(QString, selected);
        if (clipboard.isNull())
            QGuiApplication::clipboard()->clear();
        else
            QGuiApplication::clipboard()->setText(clipboard);
        focusPageWithBoxText(text, start, length);
        trigger("paste");
        QCOMPARE(edit()->text(), result);
        QCOMPARE(edit()->selectedText(), selected);
        if (selected.isEmpty()) {
            QVERIFY(!edit()->hasSelectedText());
            QCOMPARE(edit()->cursorPosition(), selStart);
        } else {
            QCOMPARE(edit()->selectionStart(), selStart);
        }
        checkOnlyTheBoxChanged();
    }

    void pasteTakesPlainTextOnly()
    {
        auto *data = new QMimeData;
        data->setHtml("<b>bold</b>");
        QGuiApplication::clipboard()->setMimeData(data);
        focusPageWithBoxText("abcdef", 2, 2);
        trigger("paste");
        QCOMPARE(edit()->text(), QString("abef"));
        QVERIFY(!edit()->hasSelectedText());
    }

    void selectAllThenPasteReplacesTheWholeText()
    {
        QGuiApplication::clipboard()->setText("http://new.test/");
        focusPageWithBoxText("http://old.test/page", 3, 0);
        trigger("selall");
        QCOMPARE(edit()->selectionStart(), 0);
        QCOMPARE(edit()->selectedText(), QString("http://old.test/page"));
        trigger("paste");
        QCOMPARE(edit()->text(), QString("http://new.test/"));
        QCOMPARE(edit()->selectedText(), QString("http://new.test/"));
        checkOnlyTheBoxChanged();
    }

    // ------------------------------------------------------------ File menu

    void fileCommandsGoToTheSelectedView_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("call");
        QTest::newRow("save_as") << "save_as"
                                 << "ExecWB 4 0";
        QTest::newRow("PrP") << "PrP"
                             << "ExecWB 10 3";
        QTest::newRow("print") << "print"
                               << "ExecWB 6 3";
        QTest::newRow("Page_Setup") << "Page_Setup"
                                    << "ExecWB 8 3";
        QTest::newRow("PrPr") << "PrPr"
                              << "ExecWB 7 3";
    }
    void fileCommandsGoToTheSelectedView()
    {
        QFETCH(QString, item);
        QFETCH(QString, call);
        window->newww_Click();
        QCOMPARE(window->selectedIndex(), 1);
        views.at(0)->calls.clear();
        views.at(1)->calls.clear();
        trigger(qPrintable(item));
        QCOMPARE(views.at(1)->calls, QStringList{call});
        QVERIFY(views.at(0)->calls.isEmpty());
    }

    void pagePrintRequestPrintsItsOwnTab()
    {
        window->newww_Click();
        views.at(0)->calls.clear();
        views.at(1)->calls.clear();
        emit views.at(0)->PrintRequested(); // a tab in the background
        QVERIFY(views.at(0)->calls.isEmpty());
        emit views.at(1)->PrintRequested();
        QCOMPARE(views.at(1)->calls, QStringList{"ExecWB 6 3"});
    }

    // ------------------------------------------------------------ Always on Top

    void alwaysOnTopFollowsTheCheckMark()
    {
        QAction *top = window->action("mnuTop");
        QVERIFY(!top->isChecked());
        QVERIFY(!(window->windowFlags() & Qt::WindowStaysOnTopHint));
        const QRect place = window->geometry();

        trigger("mnuTop");
        QVERIFY(top->isChecked());
        QVERIFY(window->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(window->windowHandle()->flags() & Qt::WindowStaysOnTopHint);
        QVERIFY(window->isVisible());
        QCOMPARE(window->geometry(), place);

        trigger("mnuTop");
        QVERIFY(!top->isChecked());
        QVERIFY(!(window->windowFlags() & Qt::WindowStaysOnTopHint));
        QVERIFY(!(window->windowHandle()->flags() & Qt::WindowStaysOnTopHint));
        QVERIFY(window->isVisible());
        QCOMPARE(window->geometry(), place);
        QCOMPARE(window->addressBox()->currentText(), QString("home.test"));
    }

    void alwaysOnTopCalledDirectlyTurnsTheMarkItself()
    {
        commands()->mnuTop_Click();
        QVERIFY(window->action("mnuTop")->isChecked());
        QVERIFY(window->windowFlags() & Qt::WindowStaysOnTopHint);
        commands()->mnuTop_Click();
        QVERIFY(!window->action("mnuTop")->isChecked());
        QVERIFY(!(window->windowFlags() & Qt::WindowStaysOnTopHint));
    }

    void tabHelpMessage()
    {
        trigger("mnuTabHlp");
        QCOMPARE(prompts->asked.size(), 1);
        QCOMPARE(prompts->asked[0].kind, QString("message"));
        QCOMPARE(prompts->asked[0].text,
                 QString("Easy. Just right-click on any link and then lcik 'Open In New Window'. "
                         "The link will be opened in a new tab in Corvane!"));
        QCOMPARE(prompts->asked[0].style, 64);
        QCOMPARE(prompts->asked[0].title, QString("Corvane"));
    }

    void helpMessageIsUnreachableWhileTheItemIsHidden()
    {
        QAction *help = window->action("mnuHelp");
        // Not in the menu, and its F1 key does nothing while it is hidden.
        QVERIFY(!help->isVisible());
        QTest::keyClick(window.get(), Qt::Key_F1);
        QVERIFY(prompts->asked.isEmpty());

        commands()->mnuHelp_Click();
        QCOMPARE(prompts->asked.size(), 1);
        QCOMPARE(prompts->asked[0].text,
                 QString("What for?!\rWhat is'nt clear?!\rIt's a simple Web-Browser!!!"));
        QCOMPARE(prompts->asked[0].style, 16);
        QCOMPARE(prompts->asked[0].title, QString("Lamer's Window"));
    }

    // ------------------------------------------------------------ Favorites

    void favouriteItemOpensItsAddressInTheSelectedTab_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("address");
        QTest::newRow("Google") << 0 << "http://www.google.com/";
        QTest::newRow("user favourite") << 1 << "http://fav.test/page?a=1&b=2";
    }
    void favouriteItemOpensItsAddressInTheSelectedTab()
    {
        QFETCH(int, index);
        QFETCH(QString, address);
        if (index > 0) {
            QCOMPARE(FavEdits::Add("Fav", address), FavEdits::Done);
            window->favouritesChanged();
        }
        window->newww_Click();
        views.at(0)->calls.clear();
        views.at(1)->calls.clear();
        window->favMenu()->item(index)->trigger();
        QCOMPARE(views.at(1)->calls, QStringList{"Navigate2 " + address});
        QVERIFY(views.at(0)->calls.isEmpty());
        QCOMPARE(window->selectedIndex(), 1);
    }
};

QTEST_MAIN(TestMenuCommands)
#include "tst_menucommands.moc"
