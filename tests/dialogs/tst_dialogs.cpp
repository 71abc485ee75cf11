// The dialogs over a stand-in browser window: adding, deleting, renaming and
// re-addressing favourites with list, table and store checked together, a
// full list and a store that cannot be written, the options dialog, the about
// box finding the System Information tool, and every way of closing each
// dialog, opened in a larger font.
#include "DataTable.h"
#include "FakePageView.h"
#include "ScriptedPrompts.h"
#include "TestSandbox.h"
#include "UserInput.h"
#include "app/BrowserShell.h"
#include "dialogs/DialogLauncher.h"
#include "platform/SystemRegistry.h"
#include "store/FavEdits.h"
#include "store/Module1.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QWindow>
#include <QtTest>

// The browser window as the dialogs see it, without a web engine.
class FakeShell : public QWidget, public BrowserShell
{
public:
    PageView *selectedView() const override { return view; }
    QString addressText() const override { return QString(); }
    void favouritesChanged() override { ++favChanges; }
    void addressListCleared() override { ++listClears; }
    QWidget *shellWindow() override { return this; }
    FakePageView *view = new FakePageView(this);
    int favChanges = 0, listClears = 0;
};

class TestDialogs : public QObject, protected DataTable
{
    Q_OBJECT
    // Each replaced by the next test's start(), the old one going first.
    std::optional<TestSandbox> sandbox;
    std::optional<ScriptedPrompts> prompts;
    std::optional<FakeShell> shell;
    DialogLauncher *launcher = nullptr;
    const QFont appFont = QApplication::font();

    // A run that starts with favourites "Site 1".."Site n" in the store.
    void start(int favourites)
    {
        sandbox.emplace();
        sandbox->writeFile("Hpage.dat", "\"home.test\"\r\n");
        prompts.emplace();
        Module1::reset();
        for (int k = 1; k <= favourites; ++k)
            Module1::SaveFav(QString("Site %1").arg(k), QString("http://site%1.test/").arg(k), k);
        Module1::LoadFavMenu();
        shell.emplace();
        launcher = new DialogLauncher(&*shell);
        QVERIFY(UserInput::bringUp(&*shell));
    }
    static QStringList table()
    {
        QStringList all;
        for (int p = 0; p < Module1::FavCount(); ++p)
            all << Module1::GetFavName(p) + " " + Module1::GetFavUrl(p);
        return all;
    }
    static QStringList lines(QDialog *organise)
    {
        QStringList all;
        auto *list = organise->findChild<QListWidget *>("List1");
        for (int i = 0; i < list->count(); ++i)
            all << list->item(i)->text();
        return all;
    }
    // The list shows the table, and the next run reads the same table from the store.
    static void inStep(QDialog *organise, const QStringList &names)
    {
        QCOMPARE(lines(organise), names);
        const QStringList before = table();
        Module1::LoadFavMenu();
        QCOMPARE(table(), before);
    }
    static QDialog *shown(const QString &name)
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == name && w->isVisible())
                return qobject_cast<QDialog *>(w);
        return nullptr;
    }
    // The menu items that call the launcher belong to the main window, which
    // these tests leave out; the change dialog opens from the organise dialog.
    QDialog *open(const QString &name)
    {
        const QHash<QString, const char *> opener{{"frmFav", "AddToFav_Click"},
                                                  {"frmProperties", "prop_Click"},
                                                  {"frmAbout", "mnuAbout_Click"}};
        QMetaObject::invokeMethod(launcher, opener.value(name, "DelFav_Click"));
        if (name == "frmFavDelCh" && UserInput::bringUp(shown("frmFavDel"))) {
            select(shown("frmFavDel"), 1);
            click(shown("frmFavDel"), "cmdChURL");
        }
        QDialog *dialog = shown(name);
        return dialog && UserInput::bringUp(dialog) ? dialog : nullptr;
    }
    static void click(QWidget *d, const char *n) { UserInput::click(d->findChild<QWidget *>(n)); }
    static QLineEdit *box(QWidget *d, const char *n) { return d->findChild<QLineEdit *>(n); }
    static bool on(QWidget *d, const char *n) { return d->findChild<QWidget *>(n)->isEnabled(); }
    static void select(QDialog *organise, int row)
    {
        auto *list = organise->findChild<QListWidget *>("List1");
        UserInput::click(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                         list->visualItemRect(list->item(row)).center());
    }

private slots:
    void cleanup()
    {
        SystemRegistry::reset();
        QApplication::setFont(appFont);
    }

    void closingEveryWayStoresNothing_data()
    {
        columns<QString, QString>(); // the dialog; a button's name, "close box", "Esc" or "Enter"
        for (const char *dialog : {"frmFav", "frmFavDel", "frmFavDelCh", "frmProperties"}) {
            const char *button = QByteArray(dialog) == "frmFavDel" ? "cmdClose" : "cmdCancel";
            for (const char *how : {button, "close box", "Esc"})
                row(QByteArray(dialog) + ' ' + how, dialog, how);
        }
        for (const char *how : {"cmdOK", "close box", "Esc", "Enter"})
            row(QByteArray("frmAbout ") + how, "frmAbout", how);
    }
    void closingEveryWayStoresNothing()
    {
        const auto [dialog, how] = fetch<QString, QString>();
        QApplication::setFont(QFont(appFont.family(), appFont.pointSize() * 2));
        start(2);
        QPointer<QDialog> d = open(dialog);
        QVERIFY(d);
        // In a larger font every caption still has the room it needs.
        for (QLabel *label : d->findChildren<QLabel *>()) {
            const int width = label->width();
            const QSize need =
                label->wordWrap() ? QSize(width, label->heightForWidth(width)) : label->sizeHint();
            QVERIFY2(QRect(QPoint(), label->size()).contains(QRect(QPoint(), need)) &&
                         label->parentWidget()->rect().contains(label->geometry()),
                     qPrintable(label->text()));
        }
        const QStringList favourites = table();
        UserInput::type(d, "typed");
        if (how == "close box")
            d->windowHandle()->close(); // what the window system does for it
        else if (how == "Esc" || how == "Enter")
            UserInput::key(d, how == "Esc" ? Qt::Key_Escape : Qt::Key_Return);
        else
            click(d, how.toLatin1());
        QTRY_VERIFY(!d);
        Module1::LoadFavMenu();
        QCOMPARE(table(), favourites);
        QCOMPARE(Module1::GetHomePage(), QString("home.test"));
        QVERIFY(prompts->asked.isEmpty());
        // The organise dialog takes input again, and holds the window still.
        QCOMPARE(shell->isEnabled(), dialog != "frmFavDelCh");
        QVERIFY(dialog != "frmFavDelCh" || shown("frmFavDel")->isEnabled());
    }

    void addAndOrganiseKeepListTableAndStoreInStep()
    {
        start(4);
        shell->view->url = "http://page.test/a?b=c";
        QDialog *d = open("frmFav");
        QVERIFY(d && !shell->isEnabled());
        // Reset takes what the tab shows now, for a page that was still loading.
        shell->view->title = "Page";
        UserInput::retype(box(d, "txtName"), "edited");
        click(d, "cmdReset");
        QCOMPARE(box(d, "txtName")->text(), QString("Page"));
        UserInput::retype(box(d, "txtName"), "Tom & Jerry");
        click(d, "cmdAdd");
        QTRY_VERIFY(shell->isEnabled());
        QCOMPARE(shell->favChanges, 1);

        d = open("frmFavDel");
        QVERIFY(d);
        inStep(d, {"Google", "Site 1", "Site 2", "Site 3", "Site 4", "Tom & Jerry"});
        select(d, 0); // the built-in entry can be looked at only
        QVERIFY(!on(d, "cmdDel") && !on(d, "cmdRename") && !on(d, "cmdChURL"));
        select(d, 2); // the last favourite takes the deleted one's place
        click(d, "cmdDel");
        inStep(d, {"Google", "Site 1", "Tom & Jerry", "Site 3", "Site 4"});
        select(d, 1);
        prompts->inputAnswers << QString("A & B");
        click(d, "cmdRename");
        inStep(d, {"Google", "A & B", "Tom & Jerry", "Site 3", "Site 4"});

        select(d, 3);
        click(d, "cmdChURL");
        QDialog *change = shown("frmFavDelCh");
        QVERIFY(change && UserInput::bringUp(change));
        QVERIFY(!d->isEnabled()); // the organise dialog takes no input meanwhile
        // Change is offered only while the new address is not empty.
        UserInput::retype(box(change, "txtNew"), "x");
        QVERIFY(on(change, "cmdChange"));
        UserInput::key(change, Qt::Key_Backspace);
        QVERIFY(!on(change, "cmdChange"));
        UserInput::type(change, "http://new.test/");
        click(change, "cmdChange");
        QTRY_VERIFY(d->isEnabled());
        inStep(d, {"Google", "A & B", "Tom & Jerry", "Site 3", "Site 4"});
        QCOMPARE(table().at(2), QString("Tom & Jerry http://page.test/a?b=c"));
        QCOMPARE(table().at(3), QString("Site 3 http://new.test/"));
        QCOMPARE(shell->favChanges, 4);
    }

    void aFailedEditShowsWhyAndChangesNothing_data()
    {
        columns<QString>(); // the button that makes it
        row("add to a full list", "cmdAdd");
        for (const char *edit : {"cmdAdd", "cmdDel", "cmdRename", "cmdChange"})
            row(edit, edit);
    }
    void aFailedEditShowsWhyAndChangesNothing()
    {
        const auto [edit] = fetch<QString>();
        const QString dialog = edit == "cmdAdd"      ? "frmFav"
                               : edit == "cmdChange" ? "frmFavDelCh"
                                                     : "frmFavDel";
        const bool full = QTest::currentDataTag() == QLatin1String("add to a full list");
        start(full ? Module1::FavCapacity : 3);
        QPointer<QDialog> d = open(dialog);
        QVERIFY(d);
        const QStringList before = table();
        // A folder in the place of the store's file: running as root, taking
        // away permissions would not stop a write.
        QVERIFY(full ||
                (QFile::remove(sandbox->settingsPath()) && QDir().mkpath(sandbox->settingsPath())));
        prompts->messageAnswers << Prompts::Ok;
        prompts->inputAnswers << QString("New name");
        if (dialog == "frmFavDel") // deleting the last removes its key, and nothing more
            select(d, edit == "cmdDel" ? 3 : 1);
        if (dialog == "frmFavDelCh")
            UserInput::retype(box(d, "txtNew"), "http://new.test/");
        click(d, edit.toLatin1());
        // The rename question comes before the message.
        QCOMPARE(prompts->asked.value(edit == "cmdRename").text,
                 FavEdits::message(full ? FavEdits::Full : FavEdits::StoreFailed));
        QCOMPARE(table(), before);
        QCOMPARE(shell->favChanges, 0);
        QVERIFY(d && d->isVisible());
        if (QDialog *organise = shown("frmFavDel"))
            QCOMPARE(lines(organise), QStringList({"Google", "Site 1", "Site 2", "Site 3"}));
    }

    void optionsStoreTheHomePageAndClearHistory()
    {
        const QByteArray history = "\"one.test\"\r\n\"two.test\"\r\n";
        start(0);
        sandbox->writeFile("WebHis.dat", history);
        shell->view->url = "http://page.test/now";
        QDialog *d = open("frmProperties");
        QVERIFY(d && shell->isEnabled() && d->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(box(d, "txtAddress")->text(), QString("home.test"));
        click(d, "command3");
        QCOMPARE(box(d, "txtAddress")->text(), QString("http://page.test/now"));
        click(d, "cmdApply");
        QCOMPARE(Module1::GetHomePage(), QString("http://page.test/now"));

        prompts->messageAnswers << Prompts::No << Prompts::Yes;
        click(d, "Command1");
        QCOMPARE(shell->listClears, 0);
        QCOMPARE(sandbox->readFile("WebHis.dat"), history);
        click(d, "Command1");
        QCOMPARE(shell->listClears, 1);
        QCOMPARE(sandbox->readFile("WebHis.dat"), QByteArray());

        UserInput::retype(box(d, "txtAddress"), "typed.test");
        click(d, "cmdOk");
        QTRY_VERIFY(!shown("frmProperties"));
        QCOMPARE(Module1::GetHomePage(), QString("typed.test"));
    }

    void systemInformation_data()
    {
        // PATH under Shared Tools\MSINFO (null: none), MSINFO under Shared Tools
        // Location, what is asked (DIR/MSINFO32.EXE exists where it is started).
        using B = QByteArray;
        columns<B, B, QString>();
        row("no registry", B(), B(), "message");
        row("first starts", B("C:\\i.exe\0", 9), B("DIR"), "start C:\\i.exe");
        row("first fails", B("C:\\i.exe"), B(), "start C:\\i.exe|message");
        row("second, no exe", B(), B("DIR"), "message");
        row("second starts", B(), B("DIR"), "start DIR/MSINFO32.EXE");
        row("empty first", B(""), B("DIR"), "start DIR/MSINFO32.EXE");
    }
    void systemInformation()
    {
        auto [first, second, asked] = fetch<QByteArray, QByteArray, QString>();
        start(0);
        asked.replace("DIR", sandbox->root());
        if (asked.contains("MSINFO32.EXE"))
            QVERIFY(QFile(sandbox->root() + "/MSINFO32.EXE").open(QIODevice::WriteOnly));
        const QString k = "SOFTWARE\\Microsoft\\Shared Tools";
        if (!first.isNull())
            SystemRegistry::setValue(SystemRegistry::LocalMachine, k + "\\MSINFO", "PATH", 1,
                                     first);
        if (!second.isNull())
            SystemRegistry::setValue(SystemRegistry::LocalMachine, k + " Location", "MSINFO", 1,
                                     second.replace("DIR", sandbox->root().toLocal8Bit()));
        prompts->startAnswers << !asked.contains("message");
        QDialog *d = open("frmAbout");
        QVERIFY(d);
        click(d, "cmdSysInfo");
        QStringList seen;
        for (const ScriptedPrompts::Asked &a : prompts->asked)
            seen << (a.kind == "start" ? "start " + a.text : a.kind);
        QCOMPARE(seen.join('|'), asked);
        QCOMPARE(SystemRegistry::openKeyCount(), 0);
        QVERIFY(d->isVisible());
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
