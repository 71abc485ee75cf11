// The add-favourite dialog driven from Favorites > Add to Favorites...: the
// boxes filled from the selected tab, Reset, Add, the ways of closing, the
// capacity of the menu, and menu, address table and store checked together.
#include "TestWindow.h"
#include "app/frmWeb.h"
#include "controls/xpcmdbutton.h"
#include "dialogs/DialogLauncher.h"
#include "dialogs/FavEdits.h"
#include "dialogs/frmFav.h"
#include "store/FavMenuItems.h"
#include "store/Module1.h"

#include <QAction>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

class TestFrmFav : public QObject, protected TestWindow
{
    Q_OBJECT

    frmFav *open()
    {
        QAction *add = window->action("AddToFav");
        if (!add || !add->isEnabled() || !window->isEnabled())
            return nullptr;
        add->trigger();
        frmFav *dialog = launcher()->favDialog();
        if (dialog && !QTest::qWaitForWindowExposed(dialog))
            return nullptr;
        return dialog;
    }
    // Adds through the dialog with the given texts typed into the boxes.
    void addTyped(const QString &name, const QString &address)
    {
        frmFav *dialog = open();
        QVERIFY(dialog);
        QPointer<frmFav> guard(dialog);
        box(dialog, "txtName")->clear();
        QTest::keyClicks(box(dialog, "txtName"), name);
        box(dialog, "txtUrl")->clear();
        QTest::keyClicks(box(dialog, "txtUrl"), address);
        click(dialog, "cmdAdd");
        QTRY_VERIFY(!guard);
    }

private slots:
    void init() { openSandbox(); }
    void cleanup() { closeAll(); }

    void controlsAsDesigned()
    {
        start();
        frmFav *dialog = open();
        QVERIFY(dialog);
        QCOMPARE(dialog->objectName(), QString("frmFav"));
        QCOMPARE(dialog->windowTitle(), QString("Favorites"));
        QCOMPARE(dialog->size(), QSize(7485 / 15, 2325 / 15));
        auto *frame1 = dialog->findChild<QGroupBox *>("Frame1");
        auto *frame2 = dialog->findChild<QGroupBox *>("Frame2");
        QCOMPARE(frame1->title(), QString("Name IT!"));
        QCOMPARE(frame2->title(), QString("Website Address"));
        QCOMPARE(frame1->findChild<QLabel *>("Label2")->text(), QString("Name:"));
        QCOMPARE(frame2->findChild<QLabel *>("Label1")->text(), QString("URL:"));
        QVERIFY(frame1->isAncestorOf(box(dialog, "txtName")));
        QVERIFY(frame2->isAncestorOf(box(dialog, "txtUrl")));
        const QStringList buttons{"cmdAdd", "cmdCancel", "cmdReset"};
        const QStringList texts{"Add", "Cancel", "Reset"};
        for (int i = 0; i < buttons.size(); ++i) {
            auto *button = dialog->findChild<xpcmdbutton *>(buttons.at(i));
            QVERIFY(button);
            QCOMPARE(button->caption(), texts.at(i));
            QCOMPARE(button->size(), QSize(1275 / 15, 330 / 15));
            QCOMPARE(button->font().family(), QString("MS Sans Serif"));
        }
    }

    void opensWithTheSelectedTabAndHoldsTheWindow()
    {
        start();
        views.at(0)->complete("http://first.test/", "First");
        window->new_b_Click();
        views.at(1)->complete("http://second.test/a?b=c", "Second page");
        frmFav *dialog = open();
        QVERIFY(dialog);
        QCOMPARE(box(dialog, "txtName")->text(), QString("Second page"));
        QCOMPARE(box(dialog, "txtUrl")->text(), QString("http://second.test/a?b=c"));
        QVERIFY(!window->isEnabled());
        QVERIFY(dialog->isEnabled());
        QVERIFY(!dialog->isModal());
        // The main window's close box does nothing meanwhile.
        QVERIFY(!window->close());
        QVERIFY(window->isVisible());
    }

    void resetTakesWhatTheTabShowsNow()
    {
        start();
        views.at(0)->complete("http://loading.test/", "Loading...");
        frmFav *dialog = open();
        QVERIFY(dialog);
        QTest::keyClicks(box(dialog, "txtName"), " edited");
        box(dialog, "txtUrl")->setText("typed.test");
        views.at(0)->complete("http://loaded.test/", "Loaded");
        click(dialog, "cmdReset");
        QCOMPARE(box(dialog, "txtName")->text(), QString("Loaded"));
        QCOMPARE(box(dialog, "txtUrl")->text(), QString("http://loaded.test/"));
        QVERIFY(captions() == QStringList{"Google"});
    }

    void addingTwiceGivesConsecutiveKeys()
    {
        seedFavourites(2);
        start();
        views.at(0)->complete("http://same.test/", "Same");
        for (int round = 0; round < 2; ++round) {
            frmFav *dialog = open();
            QVERIFY(dialog);
            QPointer<frmFav> guard(dialog);
            click(dialog, "cmdAdd");
            QTRY_VERIFY(!guard);
            QVERIFY(window->isEnabled());
        }
        QCOMPARE(captions(), QStringList({"Google", "Site 1", "Site 2", "Same", "Same"}));
        QCOMPARE(Module1::GetFavUrl(3), QString("http://same.test/"));
        QCOMPARE(Module1::GetFavUrl(4), QString("http://same.test/"));
        QCOMPARE(storeKeys(), QStringList({"1", "2", "3", "4"}));
        QCOMPARE(stored(3), QString("Same&http://same.test/"));
        QCOMPARE(stored(4), QString("Same&http://same.test/"));
        QVERIFY(window->favMenu()->item(4)->isVisible());
        QVERIFY(prompts->asked.isEmpty());

        // The new item opens its address at once, and after a restart too.
        window->favMenu()->item(4)->trigger();
        QCOMPARE(views.at(0)->calls.last(), QString("Navigate2 http://same.test/"));
        restart();
        QCOMPARE(captions(), QStringList({"Google", "Site 1", "Site 2", "Same", "Same"}));
        QCOMPARE(Module1::GetFavUrl(4), QString("http://same.test/"));
    }

    void addStoresWhatWasTyped_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("address");
        QTest::newRow("plain") << "My site"
                               << "http://my.test/";
        QTest::newRow("ampersand in name") << "Tom & Jerry"
                                           << "http://tj.test/?a=1&b=2";
        QTest::newRow("percent") << "100% sure %26"
                                 << "http://p.test/%20x";
        QTest::newRow("quotes") << "\"Quoted\" 'name'"
                                << "http://q.test/\"x\"";
        QTest::newRow("empty both") << ""
                                    << "";
        QTest::newRow("commas and at") << "@first, second"
                                       << "http://c.test/a,b";
    }
    void addStoresWhatWasTyped()
    {
        QFETCH(QString, name);
        QFETCH(QString, address);
        start();
        addTyped(name, address);
        QCOMPARE(captions(), QStringList({"Google", name}));
        QCOMPARE(Module1::GetFavUrl(1), address);
        QCOMPARE(storeKeys(), QStringList({"1"}));
        restart();
        QCOMPARE(captions(), QStringList({"Google", name}));
        QCOMPARE(Module1::GetFavUrl(1), address);
    }

    void addKeepsNonLatinText()
    {
        start();
        const QString name = QString::fromUtf8("Ünïcödé 日本語 Ελληνικά");
        const QString address = QString::fromUtf8("http://пример.test/путь?q=日本");
        frmFav *dialog = open();
        QVERIFY(dialog);
        QPointer<frmFav> guard(dialog);
        box(dialog, "txtName")->setText(name);
        box(dialog, "txtUrl")->setText(address);
        click(dialog, "cmdAdd");
        QTRY_VERIFY(!guard);
        restart();
        QCOMPARE(captions(), QStringList({"Google", name}));
        QCOMPARE(Module1::GetFavUrl(1), address);
    }

    void closingWithoutAddingStoresNothing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel") << "Cancel";
        QTest::newRow("close box") << "close box";
        QTest::newRow("Esc") << "Esc";
    }
    void closingWithoutAddingStoresNothing()
    {
        QFETCH(QString, how);
        seedFavourites(1);
        start();
        views.at(0)->complete("http://page.test/", "Page");
        frmFav *dialog = open();
        QVERIFY(dialog);
        QPointer<frmFav> guard(dialog);
        closeBy(how, dialog, "cmdCancel", box(dialog, "txtName"));
        QTRY_VERIFY(!guard);
        QVERIFY(window->isEnabled());
        QCOMPARE(captions(), QStringList({"Google", "Site 1"}));
        QCOMPARE(Module1::GetFavUrl(2), QString());
        QCOMPARE(storeKeys(), QStringList({"1"}));
        // Unloaded: the next one is filled afresh.
        views.at(0)->complete("http://other.test/", "Other");
        frmFav *next = open();
        QVERIFY(next);
        QCOMPARE(box(next, "txtName")->text(), QString("Other"));
    }

    void the201stIsRefusedBeforeAnythingIsCreated()
    {
        seedFavourites(Module1::FavCapacity);
        start();
        QCOMPARE(window->favMenu()->count(), Module1::FavCapacity + 1);
        const QByteArray before = [this] {
            QFile f(sandbox->settingsPath());
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        views.at(0)->complete("http://one-more.test/", "One more");
        frmFav *dialog = open();
        QVERIFY(dialog);
        click(dialog, "cmdAdd");

        QCOMPARE(prompts->asked.size(), 1);
        QCOMPARE(prompts->asked.at(0).kind, QString("message"));
        QCOMPARE(prompts->asked.at(0).text, FavEdits::message(FavEdits::Full));
        QVERIFY(prompts->asked.at(0).text.contains("full"));
        QVERIFY(prompts->asked.at(0).text.contains("200"));
        QCOMPARE(prompts->asked.at(0).title, QString("Favorites"));
        QCOMPARE(window->favMenu()->count(), Module1::FavCapacity + 1);
        QCOMPARE(Module1::GetFavUrl(Module1::FavCapacity), QString("http://site200.test/"));
        QFile f(sandbox->settingsPath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);

        // The dialog stays for the user to cancel; the window comes back.
        QVERIFY(dialog->isVisible());
        QPointer<frmFav> guard(dialog);
        click(dialog, "cmdCancel");
        QTRY_VERIFY(!guard);
        QVERIFY(window->isEnabled());
    }

    void aStoreThatCannotBeWrittenChangesNothing()
    {
        seedFavourites(1);
        start();
        // A folder where the settings file was: every write fails.
        QVERIFY(QFile::remove(sandbox->settingsPath()));
        QVERIFY(QDir().mkpath(sandbox->settingsPath()));
        frmFav *dialog = open();
        QVERIFY(dialog);
        click(dialog, "cmdAdd");
        QCOMPARE(prompts->asked.size(), 1);
        QCOMPARE(prompts->asked.at(0).text, FavEdits::message(FavEdits::StoreFailed));
        QCOMPARE(captions(), QStringList({"Google", "Site 1"}));
        QCOMPARE(Module1::GetFavUrl(2), QString());
        QVERIFY(dialog->isVisible());
    }
};

QTEST_MAIN(TestFrmFav)
#include "tst_frmfav.moc"
