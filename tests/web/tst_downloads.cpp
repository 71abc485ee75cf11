// Downloads on the real engine from a loopback server that sends slowly: the
// list's rows and buttons, the save prompt's questions, closing with a
// download running, and the downloads file of earlier runs.
#include "TestWindow.h"

#include "web/DownloadManager.h"
#include "web/DownloadRow.h"
#include "web/DownloadsWindow.h"

#include <QDesktopServices>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QtTest>

class TestDownloads : public QObject, protected TestWindow
{
    Q_OBJECT

    QByteArray body; // what every download holds
    QList<QUrl> opened;
    QString immutable;

    DownloadsWindow *list() const { return window->downloads()->list(); }
    DownloadRow *listRow(int i = 0) const { return list()->rows().value(i); }
    template <typename T = QLabel> T *part(const char *name, int i = 0) const
    {
        return listRow(i) ? listRow(i)->findChild<T *>(name) : nullptr;
    }
    QString state(int i = 0) const { return part("downloadState", i)->text(); }
    QPushButton *button(const char *name) const { return part<QPushButton>(name); }
    // Saves what the link to path gives as target (the prompt's answer),
    // clicking it on the page, and waits for its row.
    bool download(const QString &path, const QString &target)
    {
        prompts->saveAnswers << target;
        const qsizetype rows = list()->rows().size(), questions = prompts->asked.size();
        const int link = QStringList({"/slow.bin", "/cut.bin", "/quick.bin"}).indexOf(path);
        const qsizetype asks = server.requested.count(path);
        clickPageUntil([&] { return server.requested.count(path) > asks; },
                       QPoint(20, 20 + 40 * link));
        return QTest::qWaitFor(
                   [&] {
                       return prompts->asked.size() > questions &&
                              (target.isEmpty() || list()->rows().size() > rows);
                   },
                   40000) &&
               QTest::qWaitForWindowExposed(list());
    }
    QByteArray saved(const QString &name) const { return sandbox->readFile("../" + name); }
    QStringList filesIn(const QString &folder) const
    {
        return QDir(sandbox->root() + "/" + folder).entryList(QDir::Files);
    }
    void serve(const QString &path, int chunk, qint64 cutAt = -1)
    {
        const QByteArray headers = "Content-Disposition: attachment; filename=\"data.bin\"\r\n"
                                   "Accept-Ranges: bytes\r\nETag: \"v1\"\r\n";
        server.setReply(path, {body, "application/octet-stream", 200, headers, chunk, cutAt});
    }

public slots:
    void openUrl(const QUrl &url) { opened << url; }

private slots:
    void initTestCase()
    {
        body.resize(2 << 20);
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(body.data()), body.size() / 4);
        serve("/slow.bin", 4096); // 400 KB/s
        serve("/quick.bin", 0);
        QByteArray links;
        for (const char *path : {"/slow.bin", "/cut.bin", "/quick.bin"})
            links += QByteArray("<a href='") + path + "' style='display:block;height:40px'>x</a>";
        server.setPage("/links.html", page("Links", "<div style='margin:0'>" + links + "</div>"));
        QDesktopServices::setUrlHandler("file", this, "openUrl");
    }
    void init()
    {
        openSandbox();
        opened.clear();
        server.closedEarly = 0;
        serve("/cut.bin", 4096, body.size() / 2);
    }
    void cleanup()
    {
        if (!immutable.isEmpty())
            QProcess::execute("chattr", {"-i", std::exchange(immutable, QString())});
        closeAll();
    }

    void rowShowsProgressAndOpensTheFile()
    {
        startAt("/links.html");
        QVERIFY(download("/slow.bin", sandbox->root() + "/got.bin"));
        QVERIFY(QTest::qWaitForWindowActive(list())); // brought to the front
        QCOMPARE(part("downloadName")->text(), QString("got.bin"));
        QSet<int> progress;
        QStringList details;
        QTRY_VERIFY_WITH_TIMEOUT((progress << part<QProgressBar>("downloadProgress")->value(),
                                  details << part("downloadDetails")->text(),
                                  state() == "Completed"),
                                 20000);
        QVERIFY2(progress.size() > 3, "the bar moved");
        QVERIFY(std::any_of(details.begin(), details.end(), [](const QString &text) {
            return text.contains(" of 2.0 MB") && text.contains("/s") && text.contains("left");
        }));
        QCOMPARE(saved("got.bin"), body);
        UserInput::click(button("downloadOpenButton"));
        UserInput::click(button("downloadFolderButton"));
        QCOMPARE(opened, QList<QUrl>({QUrl::fromLocalFile(sandbox->root() + "/got.bin"),
                                      QUrl::fromLocalFile(sandbox->root())}));
        // Esc closes the list, Ctrl+J in the main window brings it back;
        // the next prompt starts in the folder chosen last.
        UserInput::key(list(), Qt::Key_Escape);
        QTRY_VERIFY(!list()->isVisible());
        QVERIFY(UserInput::bringUp(window.get()));
        keys("Ctrl+J");
        QTRY_VERIFY(list()->isVisible());
        QVERIFY(download("/quick.bin", QString()));
        QCOMPARE(prompts->asked.last().text, sandbox->root() + "/data.bin");
        // Clear takes the finished row away, and Tab reaches the buttons.
        QVERIFY(UserInput::bringUp(list()));
        UserInput::key(list(), Qt::Key_L, Qt::AltModifier);
        QTRY_VERIFY(list()->rows().isEmpty());
    }

    void pauseStopsAndResumeCompletes()
    {
        startAt("/links.html");
        QVERIFY(download("/slow.bin", sandbox->root() + "/got.bin"));
        QTRY_VERIFY(listRow()->item()->receivedBytes() > 0);
        UserInput::click(button("downloadPauseButton"));
        QTRY_COMPARE(state(), QString("Paused"));
        const qint64 received = listRow()->item()->receivedBytes();
        QTest::qWait(600);
        QCOMPARE(listRow()->item()->receivedBytes(), received);
        QVERIFY(received < body.size());
        QCOMPARE(button("downloadPauseButton")->text(), QString("Resume"));
        UserInput::click(button("downloadPauseButton"));
        QTRY_COMPARE_WITH_TIMEOUT(state(), QString("Completed"), 20000);
        QCOMPARE(saved("got.bin"), body);
    }

    void cancelClosesTheConnectionAndLeavesNoFile()
    {
        QDir(sandbox->root()).mkdir("to");
        startAt("/links.html");
        QVERIFY(download("/slow.bin", sandbox->root() + "/to/got.bin"));
        QTRY_VERIFY(!filesIn("to").isEmpty());
        UserInput::click(button("downloadCancelButton"));
        QTRY_COMPARE(state(), QString("Cancelled"));
        QTRY_COMPARE(server.closedEarly, 1);
        QTRY_COMPARE(filesIn("to"), QStringList());
        QVERIFY(!button("downloadCancelButton")->isVisible());
    }

    void droppedConnectionFailsAndRetryCompletes()
    {
        QDir(sandbox->root()).mkdir("to");
        startAt("/links.html");
        QVERIFY(download("/cut.bin", sandbox->root() + "/to/got.bin"));
        QTRY_VERIFY_WITH_TIMEOUT(state().startsWith("Failed: "), 20000);
        QVERIFY2(!state().contains("cannot"), qPrintable(state()));
        QCOMPARE(filesIn("to"), QStringList("got.bin.download")); // kept for Retry
        serve("/cut.bin", 8192);                                  // the server is whole again
        UserInput::click(button("downloadRetryButton"));
        QTRY_COMPARE_WITH_TIMEOUT(state(), QString("Completed"), 20000);
        QCOMPARE(saved("to/got.bin"), body);
        QCOMPARE(filesIn("to"), QStringList("got.bin"));
    }

    void existingFileAsksBeforeItIsReplaced()
    {
        const QString target = sandbox->root() + "/got.bin";
        sandbox->writeFile("../got.bin", "mine");
        prompts->messageAnswers << Prompts::No << Prompts::Yes;
        prompts->saveAnswers << target; // asked again after No
        startAt("/links.html");
        QVERIFY(download("/slow.bin", target));
        QCOMPARE(asked(), QString("save message save message"));
        QCOMPARE(prompts->asked[1].text, target + " already exists. Replace it?");
        QTRY_VERIFY(listRow()->item()->receivedBytes() > 0);
        QCOMPARE(saved("got.bin"), QByteArray("mine")); // until the download is whole
        QTRY_COMPARE_WITH_TIMEOUT(state(), QString("Completed"), 20000);
        QCOMPARE(saved("got.bin"), body);
    }

    void unwritableFolderIsRefusedBeforeAnyByte()
    {
        const QString folder = sandbox->root() + "/locked";
        QDir().mkpath(folder);
        if (QProcess::execute("chattr", {"+i", folder}) == 0)
            immutable = folder;
        else
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        if (AppPaths::isWritableFolder(folder))
            QSKIP("no way to make a folder read-only here");
        startAt("/links.html");
        prompts->saveAnswers << folder + "/got.bin" << QString(); // then cancelled
        UserInput::click(pageWidget(0), Qt::LeftButton, {}, QPoint(20, 20));
        QTRY_COMPARE(asked(), QString("save message save"));
        QCOMPARE(prompts->asked[1].text,
                 "Files cannot be saved in " + folder + ". Choose another folder.");
        QVERIFY(list()->rows().isEmpty());
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList());
    }

    void closingWithADownloadRunning_data()
    {
        // How the window is closed; the answer to the question; whether the
        // download then completes (else it is cancelled and leaves no file).
        columns<QString, int, bool>();
        row("close, No keeps it going", "close", int(Prompts::No), true);
        row("close, Yes cancels it", "close", int(Prompts::Yes), false);
        row("File > Close cancels it unasked", "menu", 0, false);
    }
    void closingWithADownloadRunning()
    {
        const auto [how, answer, completes] = fetch<QString, int, bool>();
        QDir(sandbox->root()).mkdir("to");
        startAt("/links.html");
        QVERIFY(download("/slow.bin", sandbox->root() + "/to/got.bin"));
        QTRY_VERIFY(!filesIn("to").isEmpty());
        if (how == "menu") {
            QVERIFY(UserInput::bringUp(window.get()));
            QVERIFY(chooseMenuItem("Close"));
        } else {
            prompts->messageAnswers << answer;
            window->windowHandle()->close(); // the title bar's close button
            QCOMPARE(asked(), QString("save message"));
            QCOMPARE(prompts->asked[1].text, QString("1 download is still running. Quit anyway?"));
        }
        QCOMPARE(window->isVisible(), completes);
        if (completes) {
            QTRY_COMPARE_WITH_TIMEOUT(state(), QString("Completed"), 20000);
            QCOMPARE(saved("to/got.bin"), body);
            return;
        }
        QCOMPARE(asked(), QString(how == "menu" ? "save" : "save message"));
        QTRY_COMPARE(server.closedEarly, 1);
        QTRY_COMPARE(filesIn("to"), QStringList());
    }

    void earlierDownloadsAreListed_data()
    {
        // The downloads file; the names listed, "-" after those greyed.
        columns<QByteArray, QString>();
        const QString root = QDir::tempPath();
        const QByteArray kept = "{\"name\":\"kept.bin\",\"folder\":\"" + root.toUtf8() +
                                "\",\"size\":4,\"finished\":\"2024-05-01T10:00:00Z\"}\n";
        const QByteArray gone = "{\"name\":\"gone.bin\",\"folder\":\"/nowhere\",\"size\":9}\n";
        row("two, one gone", kept + gone, "kept.bin gone.bin-");
        row("damaged lines skipped",
            "junk\n" + kept + "{\"name\":\"../x\",\"folder\":\"/\"}\n" + QByteArray("\0\xff", 2) +
                gone.left(20) + "\n" + gone,
            "kept.bin gone.bin-");
        row("binary junk", QByteArray(1 << 16, '\x9c'), "");
        row("huge: only the newest are read", gone.repeated(200000),
            QString("gone.bin- ").repeated(100).trimmed());
        row("huge single line", QByteArray(64 << 20, '{'), "");
    }
    void earlierDownloadsAreListed()
    {
        const auto [file, names] = fetch<QByteArray, QString>();
        QFile kept(QDir::tempPath() + "/kept.bin");
        QVERIFY(kept.open(QIODevice::WriteOnly));
        sandbox->writeFile("Downloads.dat", file);
        start();
        QStringList shown;
        for (DownloadRow *r : list()->rows())
            shown << r->findChild<QLabel *>("downloadName")->text() +
                         (r->findChild<QLabel *>("downloadName")->isEnabled() ? "" : "-");
        QCOMPARE(shown.join(' '), names);
        kept.remove();
    }

    void listFileKeepsTheLast100()
    {
        QVector<DownloadList::Entry> entries;
        for (int i = 0; i < 150; ++i)
            entries.append({QString("f%1 \"é\n.bin").arg(i), "/d", i,
                            QDateTime::fromSecsSinceEpoch(i * 1000, Qt::UTC)});
        QVERIFY(DownloadList::save(entries));
        QCOMPARE(DownloadList::load(), entries.mid(0, 100));
    }
};

QTEST_MAIN(TestDownloads)
#include "tst_downloads.moc"
