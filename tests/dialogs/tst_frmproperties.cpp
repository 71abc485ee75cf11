// The options dialog driven from Tools > Options: the home page shown and
// stored, the three address buttons, Apply, OK and Cancel, clearing the
// history, and how it is opened and closed beside the main window.
#include "TestWindow.h"
#include "app/frmWeb.h"
#include "controls/xpcmdbutton.h"
#include "dialogs/DialogLauncher.h"
#include "dialogs/frmFavDel.h"
#include "dialogs/frmProperties.h"
#include "store/Module1.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

class TestFrmProperties : public QObject, protected TestWindow
{
    Q_OBJECT

    frmProperties *open()
    {
        window->action("prop")->trigger();
        frmProperties *dialog = launcher()->optionsDialog();
        if (dialog && !QTest::qWaitForWindowExposed(dialog))
            return nullptr;
        return dialog;
    }
    // Only enabled buttons are clicked here.
    static void click(QWidget *dialog, const char *name)
    {
        auto *button = child<xpcmdbutton>(dialog, name);
        QVERIFY2(button, name);
        QVERIFY2(button->isEnabled(), name);
        TestWindow::click(dialog, name);
    }
    QByteArray homeFile() const { return sandbox->readFile("Hpage.dat"); }

private slots:
    void init()
    {
        openSandbox();
        sandbox->writeFile("WebHis.dat", "\"one.test\"\r\n\"two.test\"\r\n");
        start();
    }
    void cleanup() { closeAll(); }

    void controlsAsDesigned_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Label4") << "Label4"
                                << "Clear History";
        QTest::newRow("Label1") << "Label1"
                                << "All websites that you have visited will be gone without a "
                                   "trace. Just click CLEAR.";
        QTest::newRow("Command1") << "Command1"
                                  << "Clear";
        QTest::newRow("Label5") << "Label5"
                                << "Set Homepage";
        QTest::newRow("Label2") << "Label2"
                                << "You can change your start page.";
        QTest::newRow("Label3") << "Label3"
                                << "Address:";
        QTest::newRow("command4") << "command4"
                                  << "Default";
        QTest::newRow("command3") << "command3"
                                  << "Current Webpage";
        QTest::newRow("command2") << "command2"
                                  << "Blank Url";
        QTest::newRow("cmdOk") << "cmdOk"
                               << "OK";
        QTest::newRow("cmdApply") << "cmdApply"
                                  << "Apply";
        QTest::newRow("cmdCancel") << "cmdCancel"
                                   << "Cancel";
    }
    void controlsAsDesigned()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        frmProperties *dialog = open();
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QString("Properties"));
        QCOMPARE(dialog->size(), QSize(5415 / 15, 6105 / 15));
        QWidget *control = dialog->findChild<QWidget *>(name);
        QVERIFY(control);
        if (auto *button = qobject_cast<xpcmdbutton *>(control)) {
            QCOMPARE(button->caption(), caption);
            QCOMPARE(button->font().family(), QString("MS Sans Serif"));
        } else {
            QCOMPARE(qobject_cast<QLabel *>(control)->text(), caption);
        }
        // Everything but the bottom row sits in the one frame.
        const bool bottomRow = name == "cmdOk" || name == "cmdApply" || name == "cmdCancel";
        QCOMPARE(child<QWidget>(dialog, "xpgroupbox1")->isAncestorOf(control), !bottomRow);
        QVERIFY(
            child<QGroupBox>(dialog, "Frame3")->isAncestorOf(child<QWidget>(dialog, "Command1")));
        QVERIFY(
            child<QGroupBox>(dialog, "Frame2")->isAncestorOf(child<QWidget>(dialog, "txtAddress")));
    }

    void opensOnTopOnceAndLeavesTheWindowUsable()
    {
        frmProperties *dialog = open();
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QVERIFY(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!dialog->isModal());
        QVERIFY(window->isEnabled());
        QCOMPARE(child<QLineEdit>(dialog, "txtAddress")->text(), QString("home.test"));

        // A second request brings the same dialog forward, as it was.
        child<QLineEdit>(dialog, "txtAddress")->setText("edited.test");
        QCOMPARE(open(), dialog);
        QCOMPARE(child<QLineEdit>(dialog, "txtAddress")->text(), QString("edited.test"));

        // Closed, it is unloaded; the next request loads it afresh.
        QPointer<frmProperties> first(dialog);
        click(dialog, "cmdCancel");
        QTRY_VERIFY(!first);
        frmProperties *second = open();
        QVERIFY(second);
        QCOMPARE(child<QLineEdit>(second, "txtAddress")->text(), QString("home.test"));
    }

    void firstRunShowsAndStoresTheDefault()
    {
        // The main window read its home page already; the file is gone now.
        QFile::remove(sandbox->filePath("Hpage.dat"));
        frmProperties *dialog = open();
        QVERIFY(dialog);
        QCOMPARE(child<QLineEdit>(dialog, "txtAddress")->text(), Module1::DefaultHomePage);
        QCOMPARE(homeFile(), QByteArray("\"www.google.com\"\r\n"));
    }

    void addressButtonsThenCancelStoreNothing_data()
    {
        QTest::addColumn<QString>("buttonName");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Default") << "command4"
                                 << "www.google.com";
        QTest::newRow("Current Webpage") << "command3"
                                         << "http://page.test/now";
        QTest::newRow("Blank Url") << "command2"
                                   << "about:blank";
    }
    void addressButtonsThenCancelStoreNothing()
    {
        QFETCH(QString, buttonName);
        QFETCH(QString, shown);
        views.at(0)->complete("http://page.test/now", "Now");
        frmProperties *dialog = open();
        QVERIFY(dialog);
        click(dialog, buttonName.toLatin1().constData());
        QCOMPARE(child<QLineEdit>(dialog, "txtAddress")->text(), shown);
        QCOMPARE(homeFile(), QByteArray("\"home.test\"\r\n"));

        QPointer<frmProperties> guard(dialog);
        click(dialog, "cmdCancel");
        QTRY_VERIFY(!guard);
        QCOMPARE(homeFile(), QByteArray("\"home.test\"\r\n"));
        QCOMPARE(Module1::GetHomePage(), QString("home.test"));
    }

    void currentWebpageFollowsTheSelectedTab()
    {
        views.at(0)->complete("http://first.test/", "First");
        window->new_b_Click();
        views.at(1)->complete("http://second.test/", "Second");
        frmProperties *dialog = open();
        QVERIFY(dialog);
        click(dialog, "command3");
        QCOMPARE(child<QLineEdit>(dialog, "txtAddress")->text(), QString("http://second.test/"));
        window->tabStrip()->setCurrentIndex(0);
        click(dialog, "command3");
        QCOMPARE(child<QLineEdit>(dialog, "txtAddress")->text(), QString("http://first.test/"));
    }

    void applyStoresAndStaysOpenOkStoresAndCloses()
    {
        frmProperties *dialog = open();
        QVERIFY(dialog);
        auto *box = child<QLineEdit>(dialog, "txtAddress");
        box->clear();
        QTest::keyClicks(box, "applied.test");
        click(dialog, "cmdApply");
        QCOMPARE(homeFile(), QByteArray("\"applied.test\"\r\n"));
        QVERIFY(dialog->isVisible());

        // Nothing is checked: an empty address is stored as it is.
        box->clear();
        QPointer<frmProperties> guard(dialog);
        click(dialog, "cmdOk");
        QTRY_VERIFY(!guard);
        QCOMPARE(homeFile(), QByteArray("\"\"\r\n"));
        QVERIFY(window->isEnabled());
    }

    void clearHistoryAsks_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("cleared");
        QTest::newRow("Yes") << int(Prompts::Yes) << true;
        QTest::newRow("No") << int(Prompts::No) << false;
    }
    void clearHistoryAsks()
    {
        QFETCH(int, answer);
        QFETCH(bool, cleared);
        QCOMPARE(window->addressBox()->count(), 2);
        frmProperties *dialog = open();
        QVERIFY(dialog);
        prompts->messageAnswers.enqueue(answer);
        click(dialog, "Command1");

        QCOMPARE(prompts->asked.size(), 1);
        QCOMPARE(prompts->asked.at(0).kind, QString("message"));
        QCOMPARE(prompts->asked.at(0).text, QString("Delete All History?"));
        QCOMPARE(prompts->asked.at(0).title, QString("Corvane History"));
        QCOMPARE(prompts->asked.at(0).style & 0x0f, int(Prompts::YesNo));

        QCOMPARE(window->addressBox()->count(), cleared ? 0 : 2);
        QCOMPARE(sandbox->readFile("WebHis.dat"),
                 cleared ? QByteArray() : QByteArray("\"one.test\"\r\n\"two.test\"\r\n"));
        QVERIFY(dialog->isVisible());
    }

    void everyWayOfClosing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK") << "OK";
        QTest::newRow("Cancel") << "Cancel";
        QTest::newRow("close box") << "close box";
        QTest::newRow("Esc") << "Esc";
    }
    void everyWayOfClosing()
    {
        QFETCH(QString, how);
        frmProperties *dialog = open();
        QVERIFY(dialog);
        QPointer<frmProperties> guard(dialog);
        if (how == "OK")
            click(dialog, "cmdOk");
        else if (how == "Cancel")
            click(dialog, "cmdCancel");
        else if (how == "close box")
            QVERIFY(dialog->close());
        else
            QTest::keyClick(child<QLineEdit>(dialog, "txtAddress"), Qt::Key_Escape);
        QTRY_VERIFY(!guard);
        QVERIFY(!launcher()->optionsDialog());
        QVERIFY(window->isEnabled());
    }

    void closingItKeepsAFavouritesDialogInCharge()
    {
        frmProperties *dialog = open();
        QVERIFY(dialog);
        window->action("DelFav")->trigger();
        QVERIFY(!window->isEnabled());
        // The options dialog is a window of its own and stays usable.
        QVERIFY(dialog->isEnabled());
        QPointer<frmProperties> guard(dialog);
        click(dialog, "cmdCancel");
        QTRY_VERIFY(!guard);
        QVERIFY(!window->isEnabled());
        QVERIFY(launcher()->organiseDialog()->close());
        QTRY_VERIFY(window->isEnabled());
    }
};

QTEST_MAIN(TestFrmProperties)
#include "tst_frmproperties.moc"
