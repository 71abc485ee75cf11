// What the store keeps on disk: the home page and history files (first start,
// damaged and huge files, appends after a damaged end), the favourites in the
// settings store (the load, names that must come back whole, edits that keep
// store and table in step, edits refused by a store that stopped being
// writable), and stored files whose place cannot hold them. A file given as
// "-" is not there at all.
#include "TestSandbox.h"
#include "store/AppPaths.h"
#include "store/FavEdits.h"
#include "store/Module1.h"
#include "store/RecordFile.h"

#include <QDir>
#include <QProcess>
#include <QtTest>
#include <functional>
#include <memory>
#include <unistd.h>

using Bytes = QByteArray;
using Entries = QStringList;
using Favourites = QStringList; // "name|address" per user favourite, in slot order
using Edit = std::function<FavEdits::Result()>;
Q_DECLARE_METATYPE(Edit)
const char *const kStore = "../Corvane.conf"; // the settings file, beside the app folder

template <typename... T> void row(const char *name, const T &...values)
{
    (QTest::newRow(name) << ... << values);
}

class TestStoreFiles : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestSandbox> sandbox;
    QString frozen;

    int batches = 0;

    // The entries a window's list gets, all batches together.
    Entries history()
    {
        Entries listed;
        batches = 0;
        Module1::LoadHistory([&](const Entries &batch) {
            listed += batch;
            ++batches;
        });
        return listed;
    }
    // The table now, or as the next run loads it from the settings store.
    static Favourites favourites(bool nextRun = false)
    {
        if (nextRun) {
            Module1::reset();
            Module1::LoadFavMenu();
        }
        Favourites all;
        for (int slot = 1; slot < Module1::FavCount(); ++slot)
            all << Module1::GetFavName(slot) + '|' + Module1::GetFavUrl(slot);
        return all;
    }
    // Root writes wherever permissions forbid it, but not into an immutable
    // file or folder.
    bool freeze(const QString &path, bool on = true)
    {
        frozen = on ? path : QString();
        if (geteuid() == 0)
            return QProcess::execute("chattr", {on ? "+i" : "-i", path}) == 0;
        return QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner |
                                               (on ? QFile::Permissions() : QFile::WriteOwner));
    }

private slots:
    void init()
    {
        sandbox = std::make_unique<TestSandbox>();
        Module1::reset();
    }
    void cleanup()
    {
        if (!frozen.isEmpty())
            freeze(frozen, false);
        sandbox.reset();
    }

    void loadsHistory_data()
    {
        QTest::addColumn<Bytes>("bytes");
        QTest::addColumn<Entries>("entries");
        row("first start", Bytes("-"), Entries());
        row("records", Bytes("\"a\"\r\n\"x,y\"\r\n%E4%B8%AD"), Entries{"a", "x,y", u"\u4E2D"_qs});
        row("NUL bytes", Bytes("\"a\"\r\n\0\0\0\0\0\"b\"\r\n\0", 16), Entries{"a", "b"});
        row("torn record", Bytes("\"a\"\"b\"\r\n\"http://b"), Entries{"a", "http://b"});
        const Bytes huge(10 * 1024 * 1024, 'x');
        row("10 MB line", "\"a\"\r\n" + huge + "\r\n\"b\"", Entries{"a", "b"});
        Bytes many;
        Entries manyEntries;
        for (int i = 0; i < 100000; ++i) {
            manyEntries << "http://www.s" + QString::number(i);
            many += RecordFile::encodeRecord(manyEntries.last());
        }
        row("100000 records", many, manyEntries);
    }
    void loadsHistory()
    {
        QFETCH(Bytes, bytes);
        QFETCH(Entries, entries);
        if (bytes != "-")
            sandbox->writeFile("WebHis.dat", bytes);
        QCOMPARE(history(), entries);
        QCOMPARE(Module1::HistoryText(), entries.isEmpty() ? "" : entries.join("\r\n") + "\r\n");
        // The window lets events run between batches: several for a long
        // history, but not one per entry.
        QVERIFY(batches <= 1 + entries.size() / 1000 && (batches > 1) == (entries.size() > 10000));
        // Loading never changes the file; a missing one is created empty.
        QCOMPARE(sandbox->readFile("WebHis.dat"), bytes == "-" ? Bytes() : bytes);
        QVERIFY(QFile::exists(sandbox->filePath("WebHis.dat")));
    }

    // What the file held at start-up and what another copy of Corvane
    // appended meanwhile (a record it died writing): the next run lists what
    // was loaded and then the entries added here, whole.
    void appendsWholeRecords_data()
    {
        QTest::addColumn<Bytes>("before");
        QTest::addColumn<Bytes>("meanwhile");
        QTest::addColumn<Entries>("listed");
        row("no file", Bytes("-"), Bytes(), Entries());
        row("torn record", Bytes("\"a\"\r\n\"http://www.to"), Bytes(), Entries{"a"});
        row("torn meanwhile", Bytes("\"a\"\r\n"), Bytes("\"http://www.half"), Entries{"a"});
    }
    void appendsWholeRecords()
    {
        QFETCH(Bytes, before);
        QFETCH(Bytes, meanwhile);
        QFETCH(Entries, listed);
        if (before != "-")
            sandbox->writeFile("WebHis.dat", before);
        history();
        QFile file(sandbox->filePath("WebHis.dat"));
        QVERIFY(file.open(QIODevice::Append) && file.write(meanwhile) == meanwhile.size());
        file.close();
        Module1::AddToHistory(listed.value(0)); // loaded already, or empty: not written
        Module1::AddToHistory("new.tld");
        Module1::AddToHistory("https://s/?q=\"a\",b");
        Module1::reset();
        QCOMPARE(history(), (listed + Entries{"http://www.new.tld/", "https://s/?q=\"a\",b"}));
        // After clearing, an address loaded at start-up is saved again.
        Module1::ClearHistory();
        Module1::AddToHistory("new.tld");
        Module1::reset();
        QCOMPARE(history(), Entries{"http://www.new.tld/"});
    }

    void loadsFavouritesUpToFirstGap_data()
    {
        QTest::addColumn<Bytes>("store");
        QTest::addColumn<Favourites>("loaded");
        row("gap", Bytes("[Favorites]\n1=A&a\n2=B&b\n4=D&d\n"), Favourites{"A|a", "B|b"});
        row("no separator", Bytes("[Favorites]\n1=A&a\n2=B\n3=C&c\n"), Favourites{"A|a"});
        row("separators", Bytes("[Favorites]\n1=&n\n2=B&\n3=C&&\n"), Favourites{"|n", "B|", "C|&"});
        row("hand-edited", Bytes("j\n[Favorites]\n2=B&b,c\nx\n1=A&a\n"),
            Favourites{"A|a", "B|b,c"});
    }
    void loadsFavouritesUpToFirstGap()
    {
        QFETCH(Bytes, store);
        QFETCH(Favourites, loaded);
        sandbox->writeFile(kStore, store);
        // Copies a killed save left go once they are old; one of a save under way stays.
        QFile old(sandbox->settingsPath() + ".aB3xY9"), fresh(sandbox->settingsPath() + ".Qw12Er");
        QVERIFY(old.open(QIODevice::WriteOnly) && fresh.open(QIODevice::WriteOnly));
        QVERIFY(old.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                QFile::FileModificationTime));
        QCOMPARE(favourites(true), loaded);
        QVERIFY(!old.exists() && fresh.exists());
    }

    // The table has no slot 201: a key "201" is never loaded, and an added
    // 201st favourite is refused before anything is written.
    void favouritesStopAtCapacity()
    {
        Bytes keys = "[Favorites]\n";
        for (int key = 1; key <= 201; ++key)
            keys += QString("%1=F%1&u%1\n").arg(key).toLatin1();
        sandbox->writeFile(kStore, keys);
        QCOMPARE(favourites(true).last(), QStringLiteral("F200|u200"));
        QCOMPARE(FavEdits::Add("N", "n"), FavEdits::Full);
        QCOMPARE(sandbox->readFile(kStore), keys);
    }

    // Names with the characters the store's format gives a meaning to.
    void oddNamesComeBackWhole()
    {
        const QStringList names{"Tom & Jerry",         "&first", "last&",
                                "50% & %26",           "",       "a,b;c=d \"q\" [Favorites] \\x",
                                u"caf\u00E9 \u4E2D"_qs};
        Favourites expected;
        for (const QString &name : names) {
            QCOMPARE(FavEdits::Add(name, "x?a=1&b=%26;c," + name), FavEdits::Done);
            expected << name + "|x?a=1&b=%26;c," + name;
        }
        QCOMPARE(FavEdits::Rename(2, "R&"), FavEdits::Done);
        QCOMPARE(FavEdits::ChangeAddress(2, "a&2"), FavEdits::Done);
        expected[1] = "R&|a&2";
        QCOMPARE(favourites(), expected);
        QCOMPARE(favourites(true), expected);
        // The record under the slot's number: name, '&', address.
        QVERIFY(sandbox->readFile(kStore).contains("\n2=R%26&a&2\n"));
    }

    // A store that stopped being writable: the edit says so, and neither
    // store nor table changes.
    void failedFavouriteEditsChangeNothing_data()
    {
        QTest::addColumn<Edit>("edit");
        row("add", Edit([] { return FavEdits::Add("N", "n"); }));
        row("delete last", Edit([] { return FavEdits::Delete(3); }));
        row("delete middle", Edit([] { return FavEdits::Delete(1); }));
        row("change address", Edit([] { return FavEdits::ChangeAddress(2, "r"); }));
    }
    void failedFavouriteEditsChangeNothing()
    {
        QFETCH(Edit, edit);
        const Bytes store("[Favorites]\n1=A&a\n2=B&b\n3=C&c\n");
        sandbox->writeFile(kStore, store);
        Module1::LoadFavMenu();
        QVERIFY2(freeze(sandbox->settingsPath()), "cannot make the store read-only");
        QCOMPARE(edit(), FavEdits::StoreFailed);
        QVERIFY(!Module1::DeleteFav(3));
        QCOMPARE(favourites(), (Favourites{"A|a", "B|b", "C|c"}));
        QCOMPARE(sandbox->readFile(kStore), store);
    }

    // Files whose place cannot hold them move to the per-user folder, and
    // what is saved there is what the next run finds.
    void unusablePlacesFallBack_data()
    {
        QTest::addColumn<bool>("readOnlyFolder");
        row("folders in the way", false);
        row("read-only application folder", true);
    }
    void unusablePlacesFallBack()
    {
        QFETCH(bool, readOnlyFolder);
        const QString app = sandbox->appFolder();
        if (readOnlyFolder)
            QVERIFY(freeze(app) && !AppPaths::isWritableFolder(app));
        else
            QVERIFY(QDir(app).mkdir("Hpage.dat") && QDir(app).mkdir("WebHis.dat") &&
                    QDir().mkdir(sandbox->settingsPath()));
        QCOMPARE(Module1::GetHomePage(), Module1::DefaultHomePage); // and stores it
        Module1::SaveHomePage("saved.tld");
        Module1::AddToHistory("new.tld");
        QCOMPARE(FavEdits::Add("N", "n"), FavEdits::Done);
        QCOMPARE(favourites(true), Favourites{"N|n"});
        QCOMPARE(Module1::GetHomePage(), QString("saved.tld"));
        QCOMPARE(history(), Entries{"http://www.new.tld/"});
    }
};

QTEST_MAIN(TestStoreFiles)
#include "tst_storefiles.moc"
