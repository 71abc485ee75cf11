// Corvane's command line: what each argument becomes, and the built program
// opening addresses, handing them to the one already running, and keeping its
// socket after a kill and after garbage sent to it.
#include "LoopbackServer.h"
#include "app/CommandLine.h"
#include "app/SingleInstance.h"

#include <QLocalSocket>
#include <QProcess>
#include <QtTest>

#include <csignal>
#include <unistd.h>

class TestCommandLine : public QObject
{
    Q_OBJECT
    // The program's own folder, so its files and its socket are its own.
    QTemporaryDir folder{qEnvironmentVariable("CORVANE_TEST_SANDBOX") + "/program-XXXXXX"};
    LoopbackServer server;

    QProcess *launch(const QStringList &arguments, bool display = true)
    {
        auto *process = new QProcess(this);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("CORVANE_REPORT_TABS", "1");
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
            if (!display)
                environment.remove(name);
        }
        process->setProcessEnvironment(environment);
        process->setWorkingDirectory(folder.path());
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(folder.filePath("corvane"), arguments);
        return process;
    }
    QString file() const { return QUrl::fromLocalFile(folder.filePath("page.html")).toString(); }

private slots:
    void initTestCase()
    {
        const QString program = folder.filePath("corvane");
        QVERIFY(::link(CORVANE_BUILD_DIR "/corvane", qPrintable(program)) == 0 ||
                QFile::copy(CORVANE_BUILD_DIR "/corvane", program));
        QFile page(folder.filePath("page.html"));
        QVERIFY(page.open(QIODevice::WriteOnly) && page.write("<title>page</title>") > 0);
        QFile home(folder.filePath("Hpage.dat"));
        QVERIFY(home.open(QIODevice::WriteOnly));
        home.write("\"" + server.address("/home.html").toUtf8() + "\"\r\n");
        for (const char *path : {"/home.html", "/a.html", "/b.html", "/c.html", "/d.html"})
            server.setPage(path, QByteArray("<title>") + path + "</title>");
    }
    void cleanupTestCase()
    {
        for (QProcess *process : findChildren<QProcess *>()) {
            process->kill();
            process->waitForFinished();
        }
    }

    void parsing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("addresses");
        QTest::addColumn<int>("skipped");
        QTest::addColumn<int>("exitStatus");
        const QStringList none;
        QTest::newRow("url") << QStringList{"https://site.tld/a?b#c"}
                             << QStringList{"https://site.tld/a?b#c"} << 0 << -1;
        QTest::newRow("host") << QStringList{"site.tld"} << QStringList{"http://www.site.tld"} << 0
                              << -1;
        QTest::newRow("host and port")
            << QStringList{"127.0.0.1:81/x"} << QStringList{"http://127.0.0.1:81/x"} << 0 << -1;
        QTest::newRow("relative file")
            << QStringList{"page.html"} << QStringList{file()} << 0 << -1;
        QTest::newRow("absolute file")
            << QStringList{folder.filePath("page.html")} << QStringList{file()} << 0 << -1;
        QTest::newRow("missing files")
            << QStringList{"missing.html", "./x", "x/y"} << none << 3 << -1;
        QTest::newRow("empty") << QStringList{"", "  "} << none << 2 << -1;
        QTest::newRow("junk") << QStringList{QString(65537, 'x'), "\x01\x02%%", "http://",
                                             "a b.tld"}
                              << none << 4 << -1;
        QTest::newRow("bad ones skipped") << QStringList{"", "site.tld", "--", "-x.html", "./x"}
                                          << QStringList{"http://www.site.tld"} << 3 << -1;
        QTest::newRow("unknown option") << QStringList{"--bogus", "site.tld"} << none << 0 << 2;
        QTest::newRow("version") << QStringList{"--version"} << none << 0 << 0;
    }
    void parsing()
    {
        QFETCH(QStringList, arguments);
        const CommandLine command =
            CommandLine::parse(QStringList{"corvane"} + arguments, folder.path());
        QTEST(command.addresses, "addresses");
        QTEST(int(command.problems.size()), "skipped");
        QTEST(command.report(), "exitStatus");
    }

    void runningProgram()
    {
        QProcess *version = launch({"--version"}, false);
        QVERIFY(version->waitForFinished(30000) && version->exitCode() == 0);
        QCOMPARE(version->readAllStandardOutput(), QByteArray("Corvane " CORVANE_VERSION "\n"));

        const QString host = QString("127.0.0.1:%1/b.html").arg(server.port());
        QProcess *first = launch({server.address("/a.html"), host, "page.html", ""});
        QByteArray out;
        QTRY_VERIFY_WITH_TIMEOUT((out += first->readAllStandardOutput()).contains('\n'), 60000);
        QCOMPARE(QString(out),
                 "tabs 0: " + server.address("/a.html") + " http://" + host + " " + file() + "\n");
        QTRY_VERIFY_WITH_TIMEOUT(server.requested.contains("/b.html"), 30000);
        QVERIFY(!server.requested.contains("/home.html"));

        QElapsedTimer clock;
        clock.start();
        QProcess *second = launch({server.address("/c.html")});
        QVERIFY(second->waitForFinished(30000) && second->exitCode() == 0);
        qInfo("The second start handed over and ended in %lld ms", clock.elapsed());
        QTRY_VERIFY_WITH_TIMEOUT((out += first->readAllStandardOutput()).contains("tabs 3: "),
                                 30000);
        QTRY_VERIFY_WITH_TIMEOUT(server.requested.contains("/c.html"), 30000);

        // Garbage, a message of 10 MB and a stalled one leave it running and listening.
        for (const QByteArray &junk :
             {QByteArray(10 << 20, 'x'), QByteArray("CORVANE-OPEN 2\n\xff\n"),
              QByteArray("CORVANE-OPEN 9\n")}) {
            QLocalSocket socket;
            socket.connectToServer(SingleInstance::socketPath(folder.path()));
            QVERIFY(socket.waitForConnected(5000));
            socket.write(junk);
            socket.waitForDisconnected(10000);
        }
        QProcess *empty = launch({});
        QVERIFY(empty->waitForFinished(30000) && empty->exitCode() == 0);
        QTRY_VERIFY_WITH_TIMEOUT(server.requested.contains("/home.html"), 30000);

        // After a kill the socket is left behind; the next start takes it over.
        ::kill(first->processId(), SIGKILL);
        QVERIFY(first->waitForFinished(30000));
        QProcess *third = launch({server.address("/d.html")});
        out.clear();
        QTRY_VERIFY_WITH_TIMEOUT((out += third->readAllStandardOutput()).startsWith("tabs 0: "),
                                 60000);
        QProcess *fourth = launch({"page.html"});
        QVERIFY(fourth->waitForFinished(30000) && fourth->exitCode() == 0);
        QTRY_VERIFY_WITH_TIMEOUT((out += third->readAllStandardOutput()).contains(file().toUtf8()),
                                 30000);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
