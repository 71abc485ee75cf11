// What the store keeps on disk: the home page and history files (first start,
// damaged and huge files, appends after a damaged end), and in the settings
// store the favourites (the load, the capacity) and the per-host zoom levels. A file given as "-"
// is not there at all.
#include "DataTable.h"
#include "TestSandbox.h"
#include "store/AppPaths.h"
#include "store/FavEdits.h"
#include "store/Module1.h"
#include "store/RecordFile.h"
#include "store/ZoomLevels.h"

#include <QDir>
#include <QtTest>
#include <memory>

using Bytes = QByteArray;
using Entries = QStringList;
using Favourites = QStringList;               // "name|address" per user favourite, in slot order
const char *const kStore = "../Corvane.conf"; // the settings file, beside the app folder

class TestStoreFiles : public QObject, protected DataTable
{
    Q_OBJECT
    std::unique_ptr<TestSandbox> sandbox;

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

private slots:
    void init()
    {
        sandbox = std::make_unique<TestSandbox>();
        Module1::reset();
    }
    void cleanup() { sandbox.reset(); }

    void loadsHistory_data()
    {
        columns<Bytes, Entries>();
        row("first start", Bytes("-"), Entries());
        row("records", Bytes("\"a\"\r\n\"x,y\"\r\n%E4%B8%AD"), Entries{"a", "x,y", u"\u4E2D"_qs});
        row("torn record", Bytes("\"a\"\"b\"\r\n\"http://b"), Entries{"a", "http://b"});
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
        const auto [bytes, entries] = fetch<Bytes, Entries>();
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
        columns<Bytes, Bytes, Entries>();
        row("no file", Bytes("-"), Bytes(), Entries());
        row("torn record", Bytes("\"a\"\r\n\"http://www.to"), Bytes(), Entries{"a"});
        row("torn meanwhile", Bytes("\"a\"\r\n"), Bytes("\"http://www.half"), Entries{"a"});
    }
    void appendsWholeRecords()
    {
        const auto [before, meanwhile, listed] = fetch<Bytes, Bytes, Entries>();
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
        columns<Bytes, Favourites>();
        row("gap", Bytes("[Favorites]\n1=A&a\n2=B&b\n4=D&d\n"), Favourites{"A|a", "B|b"});
        row("no separator", Bytes("[Favorites]\n1=A&a\n2=B\n3=C&c\n"), Favourites{"A|a"});
        row("separators", Bytes("[Favorites]\n1=&n\n2=B&\n3=C&&\n"), Favourites{"|n", "B|", "C|&"});
        row("escaped", Bytes("[Favorites]\n1=R%26 %2526&a&2\n"), Favourites{"R& %26|a&2"});
        row("hand-edited", Bytes("j\n[Favorites]\n2=B&b,c\nx\n1=A&a\n"),
            Favourites{"A|a", "B|b,c"});
    }
    void loadsFavouritesUpToFirstGap()
    {
        const auto [store, loaded] = fetch<Bytes, Favourites>();
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

    // The per-host zoom table: look-alike hosts keep an entry each, and
    // entries edited by hand read back as the next run reads the file.
    void zoomLevelsPerHost()
    {
        const QStringList hosts{"a/b",     "a//b",  "/a/", "a",     "c\\d",      "c/d",
                                "50%",     "50%25", "x y", "x%20y", "bücher.de", "xn--bcher-kva.de",
                                "[a]=b;c", "[a]"};
        for (int i = 0; i < hosts.size(); ++i)
            QVERIFY(ZoomLevels::save(hosts[i], 110 + i));
        QVERIFY(ZoomLevels::save(hosts[0], 100)); // back to normal: the entry goes
        // A copy, as the settings of this run are cached by the path.
        const QString copy = sandbox->root() + "/copy.conf";
        QVERIFY(QFile::copy(sandbox->settingsPath(), copy));
        QFile file(copy);
        QVERIFY(file.open(QIODevice::Append));
        file.write("[Zoom]\nbig=abc\nlist=150, 2\nhalf=150.5\nfar=900\n");
        file.close();
        AppPaths::setSettingsPath(copy);
        for (int i = 1; i < hosts.size(); ++i)
            QCOMPARE(ZoomLevels::load(hosts[i]), 110 + i);
        for (const char *damaged : {"a/b", "big", "list", "half", "far", "none"})
            QCOMPARE(ZoomLevels::load(damaged), 100);
    }
};

QTEST_MAIN(TestStoreFiles)
#include "tst_storefiles.moc"
