// What sites ask for, on the real engine with loopback pages: the question
// bar of the asking tab only, Allow, Block and the close button reaching the
// page, answers kept across a restart and forgotten from the status bar, a
// page asking a thousand times, a damaged stored answer; notifications on a
// desktop notification service (a child of this test on the session bus
// that dbus-run-session gives the test) or, without one, in the window.
#include "TestWindow.h"
#include "app/PermissionsButton.h"
#include "store/PermissionStore.h"
#include "web/NotificationPresenter.h"
#include "web/SitePermissions.h"

#include <QDBusConnection>
#include <QFrame>
#include <QLabel>
#include <QProcess>
#include <QSocketNotifier>
#include <QtTest>

#include <cstdio>

// The child: the desktop's notification service, as far as Corvane uses it.
// It prints "notify <title>|<body>" for each and, for a line "click" on its
// input, reports the last one's default action as invoked.
class FakeNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public slots:
    uint Notify(const QString &, uint, const QString &, const QString &summary, const QString &body,
                const QStringList &, const QVariantMap &, int)
    {
        std::printf("notify %s|%s\n", qPrintable(summary), qPrintable(body));
        std::fflush(stdout);
        return 7;
    }
    void CloseNotification(uint) {}
signals:
    void ActionInvoked(uint id, const QString &action);
    void NotificationClosed(uint id, uint reason);
};

class TestPermissions : public QObject, protected TestWindow
{
    Q_OBJECT

    const QString site = PermissionStore::originOf(server.address("/"));
    QPushButton *bar(int tab, const char *button) const
    {
        return engineView(tab)->findChild<QPushButton *>(button);
    }
    // The page's own button fills it: a click anywhere asks again.
    bool clickPageUntilBar()
    {
        return clickPageUntil([this] {
            QPushButton *allow = bar(window->selectedIndex(), "permissionAllowButton");
            return allow && allow->isVisible();
        });
    }
    void store(const QString &feature, const QString &value) const
    {
        QSettings(sandbox->settingsPath(), QSettings::IniFormat)
            .setValue(PermissionStore::keyOf(site, feature), value);
    }

private slots:
    void initTestCase()
    {
        const QByteArray fill = " style='width:100%;height:2000px'";
        server.setPage("/ask.html", page("ask", "<button onclick='Notification.requestPermission()"
                                                ".then(p => document.title = p)'" +
                                                    fill + ">ask</button>"));
        server.setPage("/many.html", page("many", "<button onclick='for (let i = 0; i < 1000; ++i)"
                                                  " Notification.requestPermission()'" +
                                                      fill + ">ask</button>"));
        // A click arms it; the notification comes once the tab is behind
        // another, so it is fresh when the test looks for it.
        server.setPage(
            "/note.html",
            page("note",
                 "<button onclick='document.addEventListener("
                 "\"visibilitychange\", () => { let n = new Notification("
                 "\"Hello\", {body: \"World\"}); n.onclick = () =>"
                 " document.title = \"clicked\" }, {once: true}); document.title = \"armed\"'" +
                     fill + ">note</button>"));
        server.setPage("/other.html", page("other"));
        server.setPage("/where.html",
                       page("where", "<button onclick='navigator.geolocation.getCurrentPosition("
                                     "p => document.title = \"found\", e => document.title ="
                                     " \"error \" + e.code)'" +
                                         fill + ">where</button>"));
    }
    void init() { openSandbox(); }
    void cleanup() { closeAll(); }

    void answersReachThePageAndAreKept_data()
    {
        columns<QByteArray, QString, PermissionStore::Answer>();
        row("Allow", QByteArray("permissionAllowButton"), QString("granted"),
            PermissionStore::Answer::Allow);
        row("Block", QByteArray("permissionBlockButton"), QString("denied"),
            PermissionStore::Answer::Block);
        row("close: this time only", QByteArray("permissionCloseButton"), QString("denied"),
            PermissionStore::Answer::Ask);
    }
    void answersReachThePageAndAreKept()
    {
        const auto [button, result, kept] = fetch<QByteArray, QString, PermissionStore::Answer>();
        startAt("/ask.html");
        QVERIFY(clickPageUntilBar());
        QVERIFY(engineView(0)->findChild<QLabel *>("permissionText")->text() ==
                site + " wants to show notifications.");
        // The bar is its tab's: another tab hides it, coming back shows it.
        keys("Ctrl+T");
        QTRY_VERIFY(!bar(0, "permissionAllowButton")->isVisible());
        QVERIFY(!bar(1, "permissionAllowButton")->isVisible());
        UserInput::clickTab(window->tabStrip(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(bar(0, "permissionAllowButton")->isVisible(), 20000);
        QVERIFY(UserInput::focused() != bar(0, "permissionAllowButton"));

        UserInput::click(engineView(0)->findChild<QAbstractButton *>(button.constData()));
        QVERIFY(waitForTitle(result));
        QVERIFY(!bar(0, "permissionAllowButton")->isVisible());
        QCOMPARE(PermissionStore::load(site, "notifications"), kept);

        // The next run answers a stored question at once (the engine itself
        // may keep an answer for this time only until the program ends).
        if (kept == PermissionStore::Answer::Ask)
            return;
        start(true);
        QVERIFY(go("/ask.html", "ask"));
        QVERIFY(clickPageUntilTitle(result));
        QVERIFY(!bar(0, "permissionAllowButton")->isVisible());
    }

    void forgottenAndDamagedAnswersAskAgain()
    {
        store("notifications", "allow");
        store("camera", "block");
        startAt("/other.html");
        auto *button = window->findChild<PermissionsButton *>("permissionsButton");
        QTRY_VERIFY(button->isVisible());
        UserInput::click(button);
        QTRY_VERIFY(button->list() && button->list()->isVisible());
        const auto forget = button->list()->findChildren<QPushButton *>("permissionForgetButton");
        QCOMPARE(forget.size(), 2);
        for (QPushButton *one : forget)
            if (one->property("feature") == "notifications")
                UserInput::click(one);
        QCOMPARE(PermissionStore::load(site, "notifications"), PermissionStore::Answer::Ask);
        QCOMPARE(PermissionStore::load(site, "camera"), PermissionStore::Answer::Block);
        QVERIFY(button->isVisible());
        UserInput::key(button->list(), Qt::Key_Escape);
        QTRY_VERIFY(!button->list());
        QVERIFY(go("/ask.html", "ask"));
        QVERIFY(clickPageUntilBar());

        store("notifications", "maybe,so"); // hand-edited
        QCOMPARE(PermissionStore::load(site, "notifications"), PermissionStore::Answer::Ask);
    }

    void aThousandAsksOneBarNavigationEndsIt()
    {
        startAt("/many.html");
        QVERIFY(clickPageUntilBar());
        QCOMPARE(js("1 + 1").toInt(), 2); // the page still answers
        QCOMPARE(engineView(0)->findChildren<QFrame *>("permissionBar").size(), 1);
        QVERIFY(go("/other.html", "other"));
        QVERIFY(!bar(0, "permissionAllowButton")->isVisible());
    }

    void locationWithoutAServiceIsRefusedAtOnce()
    {
        if (SitePermissions::hasLocationSource())
            QSKIP("this system has a location service");
        startAt("/where.html");
        QVERIFY(clickPageUntilTitle("error 1")); // PERMISSION_DENIED
        QVERIFY(!bar(0, "permissionAllowButton")->isVisible());
        QVERIFY(window->statusPanel()->text().startsWith("This system has no location service"));
    }

    void notificationsShowAndClickSelectsTheTab_data()
    {
        columns<bool>();
        row("desktop service", true);
        row("no service: in the window", false);
    }
    void notificationsShowAndClickSelectsTheTab()
    {
        const auto [service] = fetch<bool>();
        QProcess desktop;
        if (service) {
            QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run under dbus-run-session");
            desktop.start(QCoreApplication::applicationFilePath(), {"--notification-service"});
            QVERIFY(desktop.waitForReadyRead(10000)); // "ready": its name is on the bus
        }
        store("notifications", "allow");
        startAt("/note.html");
        QVERIFY(clickPageUntilTitle("armed"));
        keys("Ctrl+T");
        QTRY_COMPARE(window->selectedIndex(), 1);
        QVERIFY(waitForTitle("about:blank")); // the new tab's page names itself first
        if (service) {
            QByteArray said;
            QTRY_VERIFY2_WITH_TIMEOUT((said += desktop.readAll()).contains("notify Hello|World"),
                                      said, 20000);
            desktop.write("click\n");
        } else {
            auto *presenter = window->findChild<NotificationPresenter *>();
            QTRY_VERIFY_WITH_TIMEOUT(presenter->toast() && presenter->toast()->isVisible(), 20000);
            QCOMPARE(presenter->toast()->text(), QString("Hello\nWorld"));
            UserInput::click(presenter->toast());
        }
        QTRY_COMPARE(window->selectedIndex(), 0);
        QVERIFY2(waitForTitle("clicked"), qPrintable(window->windowTitle()));
        if (service) {
            desktop.kill();
            desktop.waitForFinished();
        }
    }
};

int main(int argc, char **argv)
{
    if (argc == 2 && qstrcmp(argv[1], "--notification-service") == 0) {
        QCoreApplication app(argc, argv);
        FakeNotifications service;
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.registerObject("/org/freedesktop/Notifications", &service,
                                QDBusConnection::ExportAllSlots |
                                    QDBusConnection::ExportAllSignals) ||
            !bus.registerService(NotificationPresenter::Service))
            return 1;
        QSocketNotifier input(0, QSocketNotifier::Read);
        QObject::connect(&input, &QSocketNotifier::activated, &service, [&] {
            char line[64];
            if (!std::fgets(line, sizeof line, stdin))
                QCoreApplication::quit();
            else
                emit service.ActionInvoked(7, "default");
        });
        std::printf("ready\n");
        std::fflush(stdout);
        return app.exec();
    }
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true); // as QTEST_MAIN
    QTEST_SET_MAIN_SOURCE_PATH
    TestPermissions test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_permissions.moc"
