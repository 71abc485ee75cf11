// The organise-favourites dialog and its change-URL dialog driven from
// Favorites > Organize Favorite...: the list, selecting, Delete, Rename and
// Change, menu, address table and store checked together and again after a
// restart, the enabling of the windows, and what a program killed in the
// middle of an edit finds on its next start.
#include "TestWindow.h"
#include "app/frmWeb.h"
#include "controls/xpcmdbutton.h"
#include "controls/xpgroupbox.h"
#include "dialogs/DialogLauncher.h"
#include "dialogs/FavEdits.h"
#include "dialogs/frmFavDel.h"
#include "dialogs/frmFavDelCh.h"
#include "store/AppPaths.h"
#include "store/FavMenuItems.h"
#include "store/FavRecord.h"
#include "store/Module1.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

using Entry = QPair<QString, QString>; // name, address

class TestFrmFavDel : public QObject, protected TestWindow
{
    Q_OBJECT

    QList<Entry> entries() const
    {
        QList<Entry> all;
        for (int i = 1; i < window->favMenu()->count(); ++i)
            all << Entry(window->favMenu()->caption(i), Module1::GetFavUrl(i));
        return all;
    }
    QStringList lines(frmFavDel *dialog) const
    {
        QStringList all;
        auto *list = dialog->findChild<QListWidget *>("List1");
        for (int i = 0; i < list->count(); ++i)
            all << list->item(i)->text();
        return all;
    }

    frmFavDel *open()
    {
        QAction *organise = window->action("DelFav");
        if (!organise || !window->isEnabled())
            return nullptr;
        organise->trigger();
        frmFavDel *dialog = launcher()->organiseDialog();
        if (dialog && !QTest::qWaitForWindowExposed(dialog))
            return nullptr;
        return dialog;
    }
    static xpcmdbutton *button(QWidget *dialog, const char *name)
    {
        return dialog->findChild<xpcmdbutton *>(QString::fromLatin1(name));
    }
    static void select(frmFavDel *dialog, int row)
    {
        auto *list = dialog->findChild<QListWidget *>("List1");
        QVERIFY(list->item(row));
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualItemRect(list->item(row)).center());
        QCOMPARE(dialog->ListIndex(), row);
    }
    static bool buttonsEnabled(frmFavDel *dialog)
    {
        const bool del = button(dialog, "cmdDel")->isEnabled();
        const bool rename = button(dialog, "cmdRename")->isEnabled();
        const bool change = button(dialog, "cmdChURL")->isEnabled();
        return del && rename && change;
    }
    static bool buttonsDisabled(frmFavDel *dialog)
    {
        return !button(dialog, "cmdDel")->isEnabled() &&
               !button(dialog, "cmdRename")->isEnabled() &&
               !button(dialog, "cmdChURL")->isEnabled();
    }
    frmFavDelCh *openChange(frmFavDel *dialog, int row)
    {
        select(dialog, row);
        click(dialog, "cmdChURL");
        frmFavDelCh *change = dialog->changeDialog();
        if (change && !QTest::qWaitForWindowExposed(change))
            return nullptr;
        return change;
    }

private slots:
    void init() { openSandbox(); }
    void cleanup()
    {
        FavEdits::setStoreWatcher(nullptr);
        closeAll();
    }

    // ------------------------------------------------------------ organise

    void listsTheMenuAndHoldsTheWindow()
    {
        seedFavourites(3);
        start();
        frmFavDel *dialog = open();
        QVERIFY(dialog);
        QCOMPARE(lines(dialog), QStringList({"Google", "Site 1", "Site 2", "Site 3"}));
        QCOMPARE(dialog->ListIndex(), -1);
        QVERIFY(buttonsDisabled(dialog));
        QVERIFY(!window->isEnabled());
        QVERIFY(dialog->isEnabled());
        QVERIFY(!window->close());
    }

    void selectingShowsTheAddress()
    {
        seedFavourites(2);
        start();
        frmFavDel *dialog = open();
        QVERIFY(dialog);
        select(dialog, 0);
        QCOMPARE(box(dialog, "txtUrl")->text(), Module1::SearchServiceUrl);
        QVERIFY(buttonsDisabled(dialog));
        select(dialog, 2);
        QCOMPARE(box(dialog, "txtUrl")->text(), favAddress(2));
        QVERIFY(buttonsEnabled(dialog));
        // The keys select too.
        QTest::keyClick(dialog->findChild<QListWidget *>("List1"), Qt::Key_Up);
        QCOMPARE(dialog->ListIndex(), 1);
        QCOMPARE(box(dialog, "txtUrl")->text(), favAddress(1));
        QTest::keyClick(dialog->findChild<QListWidget *>("List1"), Qt::Key_Up);
        QCOMPARE(box(dialog, "txtUrl")->text(), Module1::SearchServiceUrl);
        QVERIFY(buttonsDisabled(dialog));
    }

    void deleteTheSecondOfFive()
    {
        seedFavourites(5);
        start();
        frmFavDel *dialog = open();
        QVERIFY(dialog);
        select(dialog, 2);
        click(dialog, "cmdDel");

        const QStringList expected{"Google", "Site 1", "Site 5", "Site 3", "Site 4"};
        QCOMPARE(captions(), expected);
        QCOMPARE(lines(dialog), expected);
        QCOMPARE(Module1::GetFavUrl(2), favAddress(5));
        QCOMPARE(Module1::GetFavUrl(5), QString());
        QCOMPARE(storeKeys(), QStringList({"1", "2", "3", "4"}));
        QCOMPARE(stored(2), FavRecord::join(favName(5), favAddress(5)));
        QVERIFY(box(dialog, "txtUrl")->text().isEmpty());
        QCOMPARE(dialog->ListIndex(), -1);
        QVERIFY(buttonsDisabled(dialog));
        QVERIFY(prompts->asked.isEmpty());

        restart();
        QCOMPARE(captions(), expected);
        QCOMPARE(entries(), QList<Entry>({{favName(1), favAddress(1)},
                                          {favName(5), favAddress(5)},
                                          {favName(3), favAddress(3)},
                                          {favName(4), favAddress(4)}}));
    }

    void deleteTheLast()
    {
        seedFavourites(3);
        start();
        frmFavDel *dialog = open();
        QVERIFY(dialog);
        select(dialog, 3);
        click(dialog, "cmdDel");
        QCOMPARE(captions(), QStringList({"Google", "Site 1", "Site 2"}));
        QCOMPARE(storeKeys(), QStringList({"1", "2"}));
        QCOMPARE(stored(1), FavRecord::join(favName(1), favAddress(1)));
        QCOMPARE(stored(2), FavRecord::join(favName(2), favAddress(2)));
        QCOMPARE(Module1::GetFavUrl(3), QString());

        // And the only one.
        select(dialog, 2);
        click(dialog, "cmdDel");
        select(dialog, 1);
        click(dialog, "cmdDel");
        QCOMPARE(lines(dialog), QStringList({"Google"}));
        QVERIFY(storeKeys().isEmpty());
        restart();
        QCOMPARE(captions(), QStringList({"Google"}));
    }

    void rename()
    {
        seedFavourites(3);
        start();
        frmFavDel *dialog = open();
        QVERIFY(dialog);
        select(dialog, 2);
        prompts->inputAnswers.enqueue(QString("Renamed"));
        click(dialog, "cmdRename");

        QCOMPARE(prompts->asked.size(), 1);
        QCOMPARE(prompts->asked.at(0).kind, QString("input"));
        QCOMPARE(prompts->asked.at(0).text, QString("Enter name:"));
        QCOMPARE(prompts->asked.at(0).title, QString("Favorites"));
        QCOMPARE(captions(), QStringList({"Google", "Site 1", "Renamed", "Site 3"}));
        QCOMPARE(lines(dialog), captions());
        QCOMPARE(Module1::GetFavUrl(2), favAddress(2));
        QCOMPARE(stored(2), FavRecord::join("Renamed", favAddress(2)));
        QCOMPARE(storeKeys(), QStringList({"1", "2", "3"}));
        QCOMPARE(box(dialog, "txtUrl")->text(), favAddress(2));
        QCOMPARE(dialog->ListIndex(), -1);
        QVERIFY(buttonsDisabled(dialog));

        restart();
        QCOMPARE(captions(), QStringList({"Google", "Site 1", "Renamed", "Site 3"}));
        QCOMPARE(Module1::GetFavUrl(2), favAddress(2));
    }

    void renameWithNoAnswerChangesNothing_data()
    {
        QTest::addColumn<bool>("cancelled");
        QTest::newRow("cancelled") << true;
        QTest::newRow("empty") << false;
    }
    void renameWithNoAnswerChangesNothing()
    {
        QFETCH(bool, cancelled);
        seedFavourites(2);
        start();
        frmFavDel *dialog = open();
        QVERIFY(dialog);
        select(dialog, 1);
        prompts->inputAnswers.enqueue(cancelled ? std::optional<QString>() : QString());
        click(dialog, "cmdRename");
        QCOMPARE(prompts->asked.size(), 1);
        QCOMPARE(captions(), QStringList({"Google", "Site 1", "Site 2"}));
        QCOMPARE(stored(1), FavRecord::join(favName(1), favAddress(1)));
        // Refreshed all the same.
        QCOMPARE(dialog->ListIndex(), -1);
        QVERIFY(buttonsDisabled(dialog));
    }

    void closingGivesTheWindowBack_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Close") << "Close";
        QTest::newRow("close box") << "close box";
        QTest::newRow("Esc") << "Esc";
    }
    void closingGivesTheWindowBack()
    {
        QFETCH(QString, how);
        seedFavourites(1);
        start();
        frmFavDel *dialog = open();
        QVERIFY(dialog);
        QPointer<frmFavDel> guard(dialog);
        closeBy(how, dialog, "cmdClose", dialog->findChild<QListWidget *>("List1"));
        QTRY_VERIFY(!guard);
        QVERIFY(window->isEnabled());
        QVERIFY(!launcher()->organiseDialog());
        // Loaded afresh next time.
        QVERIFY(open());
    }

    // ------------------------------------------------------------ change URL

    void changeFollowsTheNewBox()
    {
        seedFavourites(1);
        start();
        frmFavDel *dialog = open();
        QVERIFY(dialog);
        frmFavDelCh *change = openChange(dialog, 1);
        QVERIFY(change);
        xpcmdbutton *cmdChange = button(change, "cmdChange");
        QLineEdit *txtNew = box(change, "txtNew");
        QVERIFY(!cmdChange->isEnabled());
        QTest::keyClicks(txtNew, "ab");
        QVERIFY(cmdChange->isEnabled());
        QTest::keyClick(txtNew, Qt::Key_Backspace);
        QVERIFY(cmdChange->isEnabled());
        QTest::keyClick(txtNew, Qt::Key_Backspace);
        QVERIFY(!cmdChange->isEnabled());
        QTest::keyClicks(txtNew, "c");
        QVERIFY(cmdChange->isEnabled());
    }

    void changeTheAddress()
    {
        seedFavourites(3);
        start();
        frmFavDel *dialog = open();
        QVERIFY(dialog);
        frmFavDelCh *change = openChange(dialog, 2);
        QVERIFY(change);
        QVERIFY(!dialog->isEnabled());
        QVERIFY(change->isEnabled());
        QVERIFY(!window->isEnabled());

        QPointer<frmFavDelCh> guard(change);
        QTest::keyClicks(box(change, "txtNew"), "http://new.test/x?y=1&z=2");
        click(change, "cmdChange");
        QTRY_VERIFY(!guard);

        QCOMPARE(Module1::GetFavUrl(2), QString("http://new.test/x?y=1&z=2"));
        QCOMPARE(stored(2), FavRecord::join(favName(2), "http://new.test/x?y=1&z=2"));
        QCOMPARE(storeKeys(), QStringList({"1", "2", "3"}));
        QCOMPARE(captions(), QStringList({"Google", "Site 1", "Site 2", "Site 3"}));
        // The organise dialog is as it was, old address included.
        QVERIFY(dialog->isEnabled());
        QVERIFY(!window->isEnabled());
        QCOMPARE(dialog->ListIndex(), 2);
        QCOMPARE(box(dialog, "txtUrl")->text(), favAddress(2));
        QCOMPARE(lines(dialog), captions());
        select(dialog, 1);
        select(dialog, 2);
        QCOMPARE(box(dialog, "txtUrl")->text(), QString("http://new.test/x?y=1&z=2"));

        // The menu item opens the new address at once and after a restart.
        window->favMenu()->item(2)->trigger();
        QCOMPARE(views.at(0)->calls.last(), QString("Navigate2 http://new.test/x?y=1&z=2"));
        restart();
        QCOMPARE(captions(), QStringList({"Google", "Site 1", "Site 2", "Site 3"}));
        window->favMenu()->item(2)->trigger();
        QCOMPARE(views.at(0)->calls.last(), QString("Navigate2 http://new.test/x?y=1&z=2"));
    }

    void closingTheChangeDialogStoresNothing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel") << "Cancel";
        QTest::newRow("close box") << "close box";
        QTest::newRow("Esc") << "Esc";
    }
    void closingTheChangeDialogStoresNothing()
    {
        QFETCH(QString, how);
        seedFavourites(2);
        start();
        frmFavDel *dialog = open();
        QVERIFY(dialog);
        frmFavDelCh *change = openChange(dialog, 1);
        QVERIFY(change);
        QPointer<frmFavDelCh> guard(change);
        QTest::keyClicks(box(change, "txtNew"), "http://not.test/");
        closeBy(how, change, "cmdCancel", box(change, "txtNew"));
        QTRY_VERIFY(!guard);
        QVERIFY(dialog->isEnabled());
        QVERIFY(!window->isEnabled());
        QCOMPARE(Module1::GetFavUrl(1), favAddress(1));
        QCOMPARE(stored(1), FavRecord::join(favName(1), favAddress(1)));
        // The organise dialog closes normally again afterwards.
        QPointer<frmFavDel> organise(dialog);
        click(dialog, "cmdClose");
        QTRY_VERIFY(!organise);
        QVERIFY(window->isEnabled());
    }

    void theOrganiseDialogTakesNoInputMeanwhile()
    {
        seedFavourites(2);
        start();
        frmFavDel *dialog = open();
        QVERIFY(dialog);
        frmFavDelCh *change = openChange(dialog, 1);
        QVERIFY(change);
        // Delete was enabled by the selection; the click does not reach it.
        click(dialog, "cmdDel");
        QCOMPARE(captions(), QStringList({"Google", "Site 1", "Site 2"}));
        QTest::keyClick(dialog->findChild<QListWidget *>("List1"), Qt::Key_Escape);
        QVERIFY(!dialog->close());
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->changeDialog(), change);
    }

    // ------------------------------------------------------------ texts

    void namesAndAddressesRoundTrip_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("renamed");
        QTest::addColumn<QString>("address");
        QTest::newRow("ampersands") << "A & B"
                                    << "C && D &"
                                    << "http://x.test/?a=1&b=2";
        QTest::newRow("percent") << "50% %26 %25"
                                 << "%"
                                 << "http://x.test/%41%26";
        QTest::newRow("quotes") << "\"double\""
                                << "'single' \"and\""
                                << "http://x.test/\"q\"";
        QTest::newRow("non-Latin")
            << QString::fromUtf8("Привет мир") << QString::fromUtf8("日本語のページ & ελληνικά")
            << QString::fromUtf8("http://пример.test/ページ");
    }
    void namesAndAddressesRoundTrip()
    {
        QFETCH(QString, first);
        QFETCH(QString, renamed);
        QFETCH(QString, address);
        seedFavourites(1);
        start();
        QCOMPARE(FavEdits::Add(*window->favMenu(), first, "http://old.test/"), FavEdits::Done);
        frmFavDel *dialog = open();
        QVERIFY(dialog);
        QCOMPARE(lines(dialog), QStringList({"Google", favName(1), first}));

        select(dialog, 2);
        prompts->inputAnswers.enqueue(renamed);
        click(dialog, "cmdRename");
        QCOMPARE(lines(dialog), QStringList({"Google", favName(1), renamed}));
        frmFavDelCh *change = openChange(dialog, 2);
        QVERIFY(change);
        QPointer<frmFavDelCh> guard(change);
        box(change, "txtNew")->setText(address);
        click(change, "cmdChange");
        QTRY_VERIFY(!guard);

        restart();
        QCOMPARE(captions(), QStringList({"Google", favName(1), renamed}));
        QCOMPARE(Module1::GetFavUrl(2), address);
        dialog = open();
        QVERIFY(dialog);
        QCOMPARE(lines(dialog), QStringList({"Google", favName(1), renamed}));
        select(dialog, 2);
        QCOMPARE(box(dialog, "txtUrl")->text(), address);
    }

    // ------------------------------------------------------------ killed midway

    void killedMidwayLosesAtMostTheEditedEntry_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<int>("slot");
        QTest::newRow("delete the second") << "delete" << 2;
        QTest::newRow("delete the first") << "delete" << 1;
        QTest::newRow("delete the last") << "delete" << 5;
        QTest::newRow("rename") << "rename" << 3;
        QTest::newRow("change") << "change" << 4;
    }
    void killedMidwayLosesAtMostTheEditedEntry()
    {
        QFETCH(QString, edit);
        QFETCH(int, slot);
        seedFavourites(5);
        start();
        // A copy of the store at every write: what a program killed right
        // after that write would find.
        QStringList snapshots;
        FavEdits::setStoreWatcher([&] {
            const QString copy = sandbox->root() + QString("/killed%1.conf").arg(snapshots.size());
            QVERIFY(QFile::copy(sandbox->settingsPath(), copy));
            snapshots << copy;
        });

        frmFavDel *dialog = open();
        QVERIFY(dialog);
        select(dialog, slot);
        if (edit == "delete") {
            click(dialog, "cmdDel");
        } else if (edit == "rename") {
            prompts->inputAnswers.enqueue(QString("New name"));
            click(dialog, "cmdRename");
        } else {
            frmFavDelCh *change = openChange(dialog, slot);
            QVERIFY(change);
            QPointer<frmFavDelCh> guard(change);
            QTest::keyClicks(box(change, "txtNew"), "http://changed.test/");
            click(change, "cmdChange");
            QTRY_VERIFY(!guard);
        }
        FavEdits::setStoreWatcher(nullptr);
        QVERIFY(!snapshots.isEmpty());
        const QList<Entry> after = entries();

        for (const QString &snapshot : snapshots) {
            AppPaths::setSettingsPath(snapshot);
            restart();
            const QList<Entry> loaded = entries();
            for (int k = 1; k <= 5; ++k) {
                if (k != slot)
                    QVERIFY2(loaded.contains(Entry(favName(k), favAddress(k))),
                             qPrintable(QString("%1 lost in %2").arg(favName(k), snapshot)));
            }
        }
        // The last write leaves exactly what the window showed.
        QCOMPARE(entries(), after);
        AppPaths::setSettingsPath(sandbox->settingsPath());
    }

    void anUnwritableStoreChangesNothing()
    {
        seedFavourites(3);
        start();
        frmFavDel *dialog = open();
        QVERIFY(dialog);
        QVERIFY(QFile::remove(sandbox->settingsPath()));
        QVERIFY(QDir().mkpath(sandbox->settingsPath()));
        select(dialog, 1);
        click(dialog, "cmdDel");
        QCOMPARE(prompts->asked.size(), 1);
        QCOMPARE(prompts->asked.at(0).text, FavEdits::message(FavEdits::StoreFailed));
        QCOMPARE(captions(), QStringList({"Google", "Site 1", "Site 2", "Site 3"}));
        QCOMPARE(Module1::GetFavUrl(1), favAddress(1));
        select(dialog, 2);
        prompts->inputAnswers.enqueue(QString("Other"));
        click(dialog, "cmdRename");
        QCOMPARE(captions(), QStringList({"Google", "Site 1", "Site 2", "Site 3"}));
    }
};

QTEST_MAIN(TestFrmFavDel)
#include "tst_frmfavdel.moc"
