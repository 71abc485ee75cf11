// Sessions on the real engine: a program killed with SIGKILL gets its tabs
// back with their history through the bar's button, only the selected tab
// loading; a clean end offers nothing; RestoreAtStart restores without
// asking; damaged session files and another program's lock start the
// window as if there were no session.
#include "TestWindow.h"
#include "app/SessionKeeper.h"
#include "store/SessionFile.h"

#include <QLabel>
#include <QProcess>
#include <QTabBar>
#include <QtTest>

class TestSession : public QObject, protected TestWindow
{
    Q_OBJECT

    QString sessionPath() const { return AppPaths::fallbackFolder() + "/session.dat"; }
    std::optional<Session> saved() const
    {
        QFile file(sessionPath());
        return file.open(QIODevice::ReadOnly) ? SessionFile::decode(file.readAll()) : std::nullopt;
    }
    // Waits until the session file holds tabs with these captions.
    bool savedCaptions(const QStringList &captions) const
    {
        return QTest::qWaitFor(
            [&] {
                QStringList now;
                if (const auto session = saved())
                    for (const SessionTab &tab : session->tabs)
                        now << tab.caption;
                return now == captions;
            },
            60000); // an engine start on a busy machine takes its time
    }
    QStringList tabCaptions() const
    {
        QStringList all;
        for (int i = 0; i < window->tabStrip()->count(); ++i)
            if (window->tabStrip()->isTabVisible(i))
                all << window->tabStrip()->tabText(i);
        return all;
    }
    QPushButton *restoreButton() const
    {
        return window->findChild<QPushButton *>("restoreSessionButton");
    }
    QStringList pagesAsked() const { return server.requested.filter(".html"); }
    void setRestoreAtStart(const QString &value) const
    {
        QSettings(sandbox->settingsPath(), QSettings::IniFormat)
            .setValue("Session/RestoreAtStart", value);
    }

private slots:
    void initTestCase()
    {
        server.setPage("/home.html", page("Home"));
        server.setPage("/a.html", page("Alpha"));
        // Two pages deep: the first moves on by itself when it is the first page.
        server.setPage("/b1.html", page("Beta one", "<script>onload = () => history.length == 1"
                                                    " && setTimeout(() => location = 'b2.html',"
                                                    " 50)</script>"));
        server.setPage("/b2.html", page("Beta two"));
        server.setPage("/c.html", page("Gamma"));
    }
    void init() { openSandbox(); }
    void cleanup() { closeAll(); }

    void killedProgramGetsItsTabsBack()
    {
        // The built program, in a folder of its own, keeping its data where
        // this test's window will look for it.
        for (const char *name : {"corvane", "corvane-browser", "corvane-engine.so"})
            QVERIFY(QFile::copy(QString(CORVANE_BUILD_DIR "/") + name, sandbox->filePath(name)));
        sandbox->writeFile("Hpage.dat", "\"" + server.address("/home.html").toUtf8() + "\"\r\n");
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", sandbox->root() + "/data");
        child.setProcessEnvironment(env);
        child.start(
            sandbox->filePath("corvane"),
            {server.address("/a.html"), server.address("/b1.html"), server.address("/c.html")});
        AppPaths::setFallbackFolder(sandbox->root() + "/data/Corvane/Corvane");
        QVERIFY(savedCaptions({"Alpha", "Beta two", "Gamma"}));
        child.kill();
        QVERIFY(child.waitForFinished(10000));

        startAt("/home.html");
        QVERIFY(restoreButton());
        QCOMPARE(restoreButton()->text(), QString("Restore 3 tabs"));
        QCOMPARE(tabCaptions(), QStringList{"Home"});
        // Reached with Tab and pressed with Space, as from the keyboard.
        server.requested.clear();
        keys("Ctrl+L");
        for (int i = 0; i < 40 && UserInput::focused() != restoreButton(); ++i)
            keys("Tab");
        QCOMPARE(UserInput::focused(), restoreButton());
        keys("Space");
        QTRY_COMPARE(pagesAsked(), QStringList{"/a.html"}); // the tabs behind wait
        QVERIFY(waitForTitle("Alpha"));
        QCOMPARE(tabCaptions(), (QStringList{"Alpha", "Beta two", "Gamma"}));
        QVERIFY(!restoreButton() || !restoreButton()->isVisible());

        UserInput::clickTab(window->tabStrip(), 1);
        QVERIFY(waitForTitle("Beta two"));
        press("cmdBack");
        QVERIFY(waitForTitle("Beta one"));
        QVERIFY(!pagesAsked().contains("/c.html"));
        QVERIFY(savedCaptions({"Alpha", "Beta one", "Gamma"}));
    }

    void cleanEndOffersNothingRestoreAtStartAsksNothing()
    {
        startAt("/home.html");
        keys("Ctrl+T");
        QVERIFY(go("/a.html", "Alpha"));
        QVERIFY(savedCaptions({"Home", "Alpha"}));
        QVERIFY(chooseMenuItem("Close"));
        QVERIFY(saved() && saved()->cleanEnd);

        // Restored at start: no bar, no home page, the selected tab in front.
        setRestoreAtStart("true");
        server.requested.clear();
        start(true);
        QTRY_COMPARE(pagesAsked(), QStringList{"/a.html"});
        QVERIFY(waitForTitle("Alpha"));
        QCOMPARE(tabCaptions(), (QStringList{"Home", "Alpha"}));
        QVERIFY(!restoreButton());
        window->close(); // the close box

        // A value that is not "true" restores nothing; a clean end offers nothing.
        setRestoreAtStart("yes");
        start(true);
        QVERIFY(waitForTitle("Home"));
        QCOMPARE(tabCaptions(), QStringList{"Home"});
        QVERIFY(!restoreButton());
    }

    void unreadableFilesStartAsWithoutASession_data()
    {
        Session session;
        session.tabs = {{"http://x.test/", "X", 100, {}}};
        const QByteArray good = SessionFile::encode(session);
        QByteArray flipped = good;
        flipped[flipped.size() - 30] = char(flipped[flipped.size() - 30] ^ 1);
        QByteArray later = good;
        later[SessionFile::Magic.size() + 3] = 9; // version 9
        columns<QByteArray, QString>();
        row("truncated", good.left(good.size() / 2), QString("could not be read"));
        row("one bit changed", flipped, QString("could not be read"));
        row("empty", QByteArray(), QString("could not be read"));
        row("later version", later, QString("another version"));
    }
    void unreadableFilesStartAsWithoutASession()
    {
        const auto [bytes, why] = fetch<QByteArray, QString>();
        QFile file(sessionPath());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        start();
        QVERIFY(!restoreButton());
        QCOMPARE(views.size(), 1);
        QCOMPARE(views[0]->calls, QStringList{"Navigate2 home.test"});
        QVERIFY(window->statusPanel()->text().contains(why));
        QVERIFY(window->statusPanel()->text().endsWith("kept as session.dat.damaged."));
        QFile aside(sessionPath() + ".damaged");
        QVERIFY(aside.open(QIODevice::ReadOnly));
        QCOMPARE(aside.readAll(), bytes);
    }

    void anotherProgramsSessionIsLeftAlone()
    {
        Session session;
        session.tabs = {{"http://x.test/", "X", 100, {}}};
        const QByteArray bytes = SessionFile::encode(session);
        QFile file(sessionPath());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        QLockFile other(sessionPath() + ".lock"); // as a running Corvane holds it
        QVERIFY(other.tryLock(0));
        start();
        QVERIFY(!restoreButton());
        keys("Ctrl+T");
        QTest::qWait(SessionKeeper::SaveIntervalMs + 500);
        QCOMPARE(saved(), std::optional<Session>(session));
    }
};

QTEST_MAIN(TestSession)
#include "tst_session.moc"
