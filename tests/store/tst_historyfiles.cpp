// The home page and history files on disk: first start, exact bytes,
// damaged and huge files, files that are folders, and the history rules.
#include "TestSandbox.h"
#include "store/Module1.h"
#include "store/RecordFile.h"

#include <QComboBox>
#include <QDir>
#include <QTimer>
#include <QtTest>
#include <memory>
#include <unistd.h>

class TestHistoryFiles : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestSandbox> m_sandbox;

    QStringList listOf(const QComboBox &combo) const
    {
        QStringList items;
        for (int i = 0; i < combo.count(); ++i)
            items.append(combo.itemText(i));
        return items;
    }

private slots:
    void init()
    {
        m_sandbox = std::make_unique<TestSandbox>();
        Module1::reset();
    }
    void cleanup()
    {
        const QString app = m_sandbox->appFolder();
        QFile::setPermissions(app + "/Hpage.dat", QFile::ReadOwner | QFile::WriteOwner);
        QFile::setPermissions(app + "/WebHis.dat", QFile::ReadOwner | QFile::WriteOwner);
        m_sandbox.reset();
    }

    // --- Home page file ---

    void firstStartStoresDefaultHomePage()
    {
        QVERIFY(!QFile::exists(m_sandbox->filePath("Hpage.dat")));
        QCOMPARE(Module1::GetHomePage(), QStringLiteral("www.google.com"));
        QCOMPARE(m_sandbox->readFile("Hpage.dat"), QByteArray("\"www.google.com\"\r\n"));
    }

    void homePageFromFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("home");
        QTest::addColumn<bool>("rewritten");
        QTest::newRow("record") << QByteArray("\"about:blank\"\r\n") << "about:blank" << false;
        QTest::newRow("empty record") << QByteArray("\"\"\r\n") << "www.google.com" << true;
        QTest::newRow("blank line") << QByteArray("\r\n") << "www.google.com" << true;
        QTest::newRow("empty file") << QByteArray() << "www.google.com" << true;
        QTest::newRow("only NUL bytes") << QByteArray(32, '\0') << "www.google.com" << true;
        QTest::newRow("two fields") << QByteArray("\"a.tld\",\"b.tld\"\r\n") << "a.tld" << false;
        QTest::newRow("two lines") << QByteArray("a.tld\r\nb.tld\r\n") << "a.tld" << false;
        QTest::newRow("bare address") << QByteArray("site.tld\r\n") << "site.tld" << false;
        QTest::newRow("no line end") << QByteArray("  \"site.tld\"") << "site.tld" << false;
        QTest::newRow("encoded text")
            << QByteArray("\"caf\xE9%E4%B8%AD\"\r\n") << QStringLiteral("caf\u00E9\u4E2D") << false;
    }
    void homePageFromFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, home);
        QFETCH(bool, rewritten);
        m_sandbox->writeFile("Hpage.dat", bytes);
        QCOMPARE(Module1::GetHomePage(), home);
        QCOMPARE(m_sandbox->readFile("Hpage.dat"),
                 rewritten ? RecordFile::encodeRecord(home) : bytes);
    }

    void savedHomePageReadsBack_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("about:blank") << "about:blank" << QByteArray("\"about:blank\"\r\n");
        QTest::newRow("comma") << "http://x/?a=1,2" << QByteArray("\"http://x/?a=1,2\"\r\n");
        QTest::newRow("quote") << "http://x/?q=\"a\"" << QByteArray("\"http://x/?q=%22a%22\"\r\n");
        QTest::newRow("non-Latin") << QStringLiteral("http://\u043F\u0440.tld/")
                                   << QByteArray("\"http://%D0%BF%D1%80.tld/\"\r\n");
    }
    void savedHomePageReadsBack()
    {
        QFETCH(QString, address);
        QFETCH(QByteArray, bytes);
        m_sandbox->writeFile("Hpage.dat", "\"a much longer old home page address\"\r\n");
        Module1::SaveHomePage(address);
        QCOMPARE(m_sandbox->readFile("Hpage.dat"), bytes);
        QCOMPARE(Module1::GetHomePage(), address);
    }

    void homePageFileThatIsAFolder()
    {
        QVERIFY(QDir(m_sandbox->appFolder()).mkdir("Hpage.dat"));
        QCOMPARE(Module1::GetHomePage(), QStringLiteral("www.google.com"));
        Module1::SaveHomePage("about:blank");
        QVERIFY(QFileInfo(m_sandbox->filePath("Hpage.dat")).isDir());
        QCOMPARE(QDir(m_sandbox->appFolder()).entryList(QDir::Files), QStringList());
    }

    void unreadableHomePageFile()
    {
        if (geteuid() == 0)
            QSKIP("root reads every file");
        m_sandbox->writeFile("Hpage.dat", "\"about:blank\"\r\n");
        QFile::setPermissions(m_sandbox->filePath("Hpage.dat"), QFileDevice::Permissions());
        QCOMPARE(Module1::GetHomePage(), QStringLiteral("www.google.com"));
    }

    // --- Loading the history ---

    void firstStartCreatesEmptyHistory()
    {
        QComboBox combo;
        Module1::LoadHistory(&combo);
        QVERIFY(QFile::exists(m_sandbox->filePath("WebHis.dat")));
        QCOMPARE(m_sandbox->readFile("WebHis.dat"), QByteArray());
        QCOMPARE(combo.count(), 0);
        QCOMPARE(Module1::HistoryText(), QString());
    }

    void loadsRecordsInOrderAfterExistingEntries()
    {
        m_sandbox->writeFile("WebHis.dat", "\"http://www.a.tld/\"\r\n\"http://x/?a=1,2\"\r\n"
                                           "\"http://%E4%B8%AD.tld/\"\r\n");
        QComboBox combo;
        combo.addItem("already there");
        Module1::LoadHistory(&combo);
        const QStringList expected{"already there", "http://www.a.tld/", "http://x/?a=1,2",
                                   QStringLiteral("http://\u4E2D.tld/")};
        QCOMPARE(listOf(combo), expected);
        QCOMPARE(Module1::HistoryText(),
                 QStringLiteral("http://www.a.tld/\r\nhttp://x/?a=1,2\r\nhttp://\u4E2D.tld/\r\n"));
    }

    void damagedHistoryLoadsWhatCanBeRead_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("NUL bytes between records")
            << QByteArray("\"http://a/\"\r\n\0\0\0\0\0\0\0\0\"http://b/\"\r\n", 33)
            << QStringList{"http://a/", "http://b/"};
        QTest::newRow("file of NUL bytes") << QByteArray(4096, '\0') << QStringList();
        QTest::newRow("invalid bytes")
            << QByteArray("\"\xFF\xFE\x81\x9D\"\r\n\"%E4%B8\"\r\n\"%ED%A0%80\"\r\n\"ok\"\r\n")
            << QStringList{QStringLiteral("\u00FF\u00FE\u0081\u009D"), "%E4%B8", "%ED%A0%80", "ok"};
        QTest::newRow("torn last record")
            << QByteArray("\"http://a/\"\r\n\"http://b") << QStringList{"http://a/", "http://b"};
        QTest::newRow("stray quotes")
            << QByteArray("\"a\"b\"c\"\r\n\"d\"\r\n") << QStringList{"a", "d"};
        QByteArray longLine = "\"first\"\r\n";
        longLine += QByteArray(10 * 1024 * 1024, 'x');
        longLine += "\r\n\"after\"\r\n";
        QTest::newRow("10 MB line") << longLine << QStringList{"first", "after"};
        QByteArray longRecord = "\"first\"\r\n\"";
        longRecord += QByteArray(10 * 1024 * 1024, 'y');
        longRecord += "\"\r\n\"after\"\r\n";
        QTest::newRow("10 MB record") << longRecord << QStringList{"first", "after"};
    }
    void damagedHistoryLoadsWhatCanBeRead()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, entries);
        m_sandbox->writeFile("WebHis.dat", bytes);
        QComboBox combo;
        Module1::LoadHistory(&combo);
        QCOMPARE(listOf(combo), entries);
        QCOMPARE(m_sandbox->readFile("WebHis.dat"), bytes);
    }

    void hugeHistoryLoadsInBatches()
    {
        const int records = 100000;
        QByteArray bytes;
        for (int i = 0; i < records; ++i)
            bytes += "\"http://www.site" + QByteArray::number(i) + ".tld/\"\r\n";
        m_sandbox->writeFile("WebHis.dat", bytes);

        QComboBox combo;
        // Counts the passes of the event loop during the load and what the
        // list held at the first one.
        int passes = 0;
        int countAtFirstPass = -1;
        QTimer ticker;
        ticker.setInterval(0);
        connect(&ticker, &QTimer::timeout, this, [&] {
            if (passes++ == 0)
                countAtFirstPass = combo.count();
        });
        ticker.start();
        Module1::LoadHistory(&combo);
        ticker.stop();

        QCOMPARE(combo.count(), records);
        QCOMPARE(combo.itemText(0), QStringLiteral("http://www.site0.tld/"));
        QCOMPARE(combo.itemText(records - 1), QStringLiteral("http://www.site99999.tld/"));
        QCOMPARE(Module1::HistoryText().size(), bytes.size() - 2 * records);
        // Events ran while the list was still filling, but not once per entry.
        QVERIFY2(passes >= 2, qPrintable(QString::number(passes)));
        QVERIFY2(passes <= records / 100, qPrintable(QString::number(passes)));
        QVERIFY(countAtFirstPass < records);
    }

    void windowClosedDuringLoad()
    {
        QByteArray bytes;
        for (int i = 0; i < 20000; ++i)
            bytes += "\"http://www.s" + QByteArray::number(i) + ".tld/\"\r\n";
        m_sandbox->writeFile("WebHis.dat", bytes);
        auto *combo = new QComboBox;
        QTimer::singleShot(0, combo, [combo] { delete combo; });
        Module1::LoadHistory(combo); // must not touch the deleted list
        QVERIFY(Module1::HistoryText().startsWith("http://www.s0.tld/\r\n"));
    }

    void historyFileThatIsAFolder()
    {
        QVERIFY(QDir(m_sandbox->appFolder()).mkdir("WebHis.dat"));
        QComboBox combo;
        Module1::LoadHistory(&combo);
        QCOMPARE(combo.count(), 0);
        Module1::AddToHistory("site.tld");
        combo.addItem("x");
        Module1::ClearHistory(&combo);
        QCOMPARE(combo.count(), 0);
        QVERIFY(QFileInfo(m_sandbox->filePath("WebHis.dat")).isDir());
    }

    void unreadableHistoryFile()
    {
        if (geteuid() == 0)
            QSKIP("root reads every file");
        m_sandbox->writeFile("WebHis.dat", "\"http://www.a.tld/\"\r\n");
        QFile::setPermissions(m_sandbox->filePath("WebHis.dat"), QFileDevice::Permissions());
        QComboBox combo;
        Module1::LoadHistory(&combo);
        QCOMPARE(combo.count(), 0);
    }

    // --- Adding and clearing ---

    void addsEntryForNewText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("bare host") << "site.tld" << QByteArray("\"http://www.site.tld/\"\r\n");
        QTest::newRow("www host") << "www.site.tld" << QByteArray("\"http://www.site.tld/\"\r\n");
        QTest::newRow("https") << "https://site.tld" << QByteArray("\"https://site.tld\"\r\n");
        QTest::newRow("IPv4") << "127.0.0.1:8080/x"
                              << QByteArray("\"http://127.0.0.1:8080/x\"\r\n");
        QTest::newRow("quote") << "site.tld/?q=\"a\""
                               << QByteArray("\"http://www.site.tld/?q=%22a%22\"\r\n");
    }
    void addsEntryForNewText()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, record);
        const QByteArray old = "\"http://www.old.tld/\"\r\n";
        m_sandbox->writeFile("WebHis.dat", old);
        QComboBox combo;
        Module1::LoadHistory(&combo);
        Module1::AddToHistory(text);
        QCOMPARE(m_sandbox->readFile("WebHis.dat"), old + record);
        // What was written is what the next start lists.
        Module1::reset();
        QComboBox next;
        Module1::LoadHistory(&next);
        QCOMPARE(next.itemText(1), RecordFile::readFields(record).value(0));
    }

    // A record appended after a damaged end reads back, and what could be
    // read before is still there.
    void appendsAfterDamagedEnd_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("before");
        QTest::newRow("torn record")
            << QByteArray("\"http://a/\"\r\n\"http://www.to") << QStringList{"http://a/"};
        QTest::newRow("no line end")
            << QByteArray("\"http://a/\"\r\nhand.tld") << QStringList{"http://a/", "hand.tld"};
        QTest::newRow("quote open over lines") << QByteArray("\"http://a/\"\r\n\"junk\r\nmore\r\n")
                                               << QStringList{"http://a/", "junk\r\nmore\r\n"};
        QTest::newRow("NUL bytes at the end")
            << QByteArray("\"http://a/\"\r\n\0\0\0\0", 17) << QStringList{"http://a/"};
    }
    void appendsAfterDamagedEnd()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, before);
        m_sandbox->writeFile("WebHis.dat", bytes);
        QComboBox combo;
        Module1::LoadHistory(&combo);
        Module1::AddToHistory("new.tld");
        Module1::AddToHistory("newer.tld");
        Module1::reset();
        QComboBox next;
        Module1::LoadHistory(&next);
        const QStringList added{"http://www.new.tld/", "http://www.newer.tld/"};
        QCOMPARE(listOf(next), before + added);
    }

    void appendsAfterAnotherProgramTore()
    {
        m_sandbox->writeFile("WebHis.dat", "\"http://a/\"\r\n");
        QComboBox combo;
        Module1::LoadHistory(&combo);
        Module1::AddToHistory("new.tld");
        // Another copy of Corvane dies half-way through its record.
        QFile file(m_sandbox->filePath("WebHis.dat"));
        QVERIFY(file.open(QIODevice::Append));
        file.write("\"http://www.half");
        file.close();
        Module1::AddToHistory("newer.tld");
        QCOMPARE(m_sandbox->readFile("WebHis.dat"),
                 QByteArray(
                     "\"http://a/\"\r\n\"http://www.new.tld/\"\r\n\"http://www.newer.tld/\"\r\n"));
    }

    void loadedTextIsNotWrittenAgain()
    {
        m_sandbox->writeFile("WebHis.dat", "\"http://www.site.tld/\"\r\n");
        QComboBox combo;
        Module1::LoadHistory(&combo);
        Module1::AddToHistory("site.tld");
        Module1::AddToHistory("www.site.tld");
        Module1::AddToHistory("");
        QCOMPARE(m_sandbox->readFile("WebHis.dat"), QByteArray("\"http://www.site.tld/\"\r\n"));
    }

    void addCreatesMissingFile()
    {
        Module1::AddToHistory("site.tld");
        QCOMPARE(m_sandbox->readFile("WebHis.dat"), QByteArray("\"http://www.site.tld/\"\r\n"));
    }

    void clearEmptiesFileListAndLoadedText()
    {
        m_sandbox->writeFile("WebHis.dat", "\"http://www.site.tld/\"\r\n\"http://www.b.tld/\"\r\n");
        QComboBox combo;
        Module1::LoadHistory(&combo);
        QCOMPARE(combo.count(), 2);
        Module1::ClearHistory(&combo);
        QCOMPARE(combo.count(), 0);
        QCOMPARE(m_sandbox->readFile("WebHis.dat"), QByteArray());
        QCOMPARE(Module1::HistoryText(), QString());
        // An address loaded before the clearing is saved again.
        Module1::AddToHistory("site.tld");
        QCOMPARE(m_sandbox->readFile("WebHis.dat"), QByteArray("\"http://www.site.tld/\"\r\n"));
    }
};

QTEST_MAIN(TestHistoryFiles)
#include "tst_historyfiles.moc"
