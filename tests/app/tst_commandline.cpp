// Corvane's command line: what each argument becomes, and the built program
// opening addresses, handing them to the one already running (never to a
// private one), and keeping its socket after a kill and after garbage sent to it.
#include "DataTable.h"
#include "LoopbackServer.h"
#include "TestSandbox.h"
#include "app/CommandLine.h"
#include "app/SingleInstance.h"

#include <QLocalSocket>
#include <QProcess>
#include <QtTest>

#include <csignal>

// Engine start-ups on a busy machine take their time.
#define WAIT_FOR(expr) QTRY_VERIFY_WITH_TIMEOUT(expr, 60000)

class TestCommandLine : public QObject, protected DataTable
{
    Q_OBJECT
    TestSandbox sandbox; // the program's own folder: its files and its socket
    LoopbackServer server;
    const QString program = sandbox.filePath("corvane");
    const QStringList timed = {"30", program}; // for "timeout": a start that hangs fails
    const QString file = QUrl::fromLocalFile(sandbox.filePath("page.html")).toString();

    QProcess *launch(const QStringList &arguments)
    {
        auto *process = new QProcess(this);
        process->setWorkingDirectory(sandbox.appFolder());
        process->start(program, arguments);
        return process;
    }

private slots:
    void initTestCase()
    {
        qputenv("CORVANE_REPORT_TABS", "1"); // the program prints its tabs
        QVERIFY(QFile::copy(CORVANE_BUILD_DIR "/corvane", program));
        QVERIFY(QFile::copy(CORVANE_BUILD_DIR "/corvane-browser", program + "-browser"));
        QVERIFY(QFile::copy(CORVANE_BUILD_DIR "/corvane-engine.so",
                            QFileInfo(program).absolutePath() + "/corvane-engine.so"));
        sandbox.writeFile("page.html", "<title>page</title>");
        sandbox.writeFile("Hpage.dat", "\"" + server.address("/home.html").toUtf8() + "\"\r\n");
    }

    void parsing_data()
    {
        // The arguments, the addresses they give, how many are skipped, the
        // exit status (-1: the program runs on).
        using L = QStringList;
        columns<L, L, int, int>();
        row("files", L{"page.html", sandbox.filePath("page.html")}, L{file, file}, 0, -1);
        row("host, bad skipped", L{"", "site.tld", "--", "-x.html"}, L{"http://www.site.tld"}, 2,
            -1);
        row("missing files", L{"missing.html", "./x", "x/y"}, L{}, 3, -1);
        row("empty, junk", L{"  ", QString(65537, 'x'), "\x01%%", "http://", "a b.tld"}, L{}, 5,
            -1);
        row("unknown option", L{"--bogus", "site.tld"}, L{}, 0, 2);
        row("version", L{"--version"}, L{}, 0, 0);
    }
    void parsing()
    {
        const auto [arguments, addresses, skipped, exitStatus] =
            fetch<QStringList, QStringList, int, int>();
        const CommandLine command =
            CommandLine::parse(QStringList{"corvane"} + arguments, sandbox.appFolder());
        QCOMPARE(command.addresses, addresses);
        QCOMPARE(int(command.problems.size()), skipped);
        QCOMPARE(command.report(), exitStatus);
    }

    void runningProgram()
    {
        const QStringList noDisplay = {"-u", "QT_QPA_PLATFORM", "-u", "DISPLAY", program};
        QCOMPARE(QProcess::execute("env", noDisplay + QStringList{"--version"}), 0);

        const QString host = QString("127.0.0.1:%1/b.html").arg(server.port());
        QProcess *first = launch({server.address("/a.html"), host, "page.html", ""});
        QByteArray out;
        WAIT_FOR((out += first->readAllStandardOutput()).contains('\n'));
        QCOMPARE(QString(out),
                 "tabs 0: " + server.address("/a.html") + " http://" + host + " " + file + "\n");
        WAIT_FOR(server.requested.contains("/b.html"));
        QVERIFY(!server.requested.contains("/home.html"));
        // A browser of its own leaves the first one's socket alone.
        QProcess *other = launch({"--new-window", server.address("/e.html")});
        WAIT_FOR((out += other->readAllStandardOutput()).contains("/e.html"));
        // So does a private one, started after the first: it never takes a hand-over.
        QProcess *secret = launch({"--private", server.address("/p.html")});
        QByteArray secretOut;
        WAIT_FOR((secretOut += secret->readAllStandardOutput()).contains("/p.html"));

        QCOMPARE(QProcess::execute("timeout", timed + QStringList{server.address("/c.html")}), 0);
        WAIT_FOR((out += first->readAllStandardOutput()).contains("tabs 3: "));
        QVERIFY(!(secretOut += secret->readAllStandardOutput()).contains("/c.html"));
        QCOMPARE(sandbox.readFile("WebHis.dat"), QByteArray()); // no typed-address history

        // Garbage, a message of 10 MB and a stalled one leave it running and listening.
        for (const QByteArray &junk :
             {QByteArray(10 << 20, 'x'), QByteArray("CORVANE-OPEN 2\n\xff\n"),
              QByteArray("CORVANE-OPEN 9\n")}) {
            QLocalSocket socket;
            socket.connectToServer(SingleInstance::socketPath(sandbox.appFolder()));
            QVERIFY(socket.waitForConnected(5000) && socket.write(junk) > 0);
            socket.waitForDisconnected(10000);
        }
        QCOMPARE(QProcess::execute("timeout", timed), 0);
        WAIT_FOR(server.requested.contains("/home.html"));

        // After a kill the socket is left behind; the next start takes it over.
        ::kill(first->processId(), SIGKILL);
        QVERIFY(first->waitForFinished(30000));
        QProcess *third = launch({server.address("/d.html")});
        out.clear();
        WAIT_FOR((out += third->readAllStandardOutput()).startsWith("tabs 0: "));
        QCOMPARE(QProcess::execute("timeout", timed + QStringList{sandbox.filePath("page.html")}),
                 0);
        WAIT_FOR((out += third->readAllStandardOutput()).contains(file.toUtf8()));
    }

    void programWithoutItsEngine()
    {
        // A copy that lost its engine library says so once its window is up.
        const QString folder = sandbox.filePath("broken");
        QVERIFY(QDir().mkpath(folder));
        for (const char *name : {"/corvane", "/corvane-browser"})
            QVERIFY(QFile::copy(CORVANE_BUILD_DIR + QString(name), folder + name));
        QProcess broken;
        broken.start(folder + "/corvane", {"--new-window", server.address("/f.html")});
        QByteArray said;
        WAIT_FOR((said += broken.readAllStandardError()).contains("cannot start its web engine"));
        QVERIFY(said.contains("corvane-engine.so"));
        broken.kill(); // its message box waits for an answer
        broken.waitForFinished(10000);
        QVERIFY(!server.requested.contains("/f.html"));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
