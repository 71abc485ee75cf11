// Corvane starting over the files a user's machine may hold: junk, NUL
// bytes, huge files and lines, settings edited by hand, things in the way of
// a file and an application folder that cannot be written. Every time the
// window starts, lists what could be read, and keeps a favourite, an address
// and a home page saved afterwards through the next start.
#include "FakePageView.h"
#include "TestSandbox.h"
#include "app/frmWeb.h"
#include "store/FavEdits.h"
#include "store/AppPaths.h"
#include "app/FavMenuItems.h"
#include "store/Module1.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QtTest>

#include <memory>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class Damage { Bytes, Folder, Fifo };

QByteArray junk(qsizetype size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(seed);
    random.fillRange(reinterpret_cast<quint32 *>(bytes.data()), size / 4);
    return bytes;
}

} // namespace

Q_DECLARE_METATYPE(Damage)

class TestDamagedStart : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSandbox> sandbox;
    std::unique_ptr<frmWeb> window;
    QList<FakePageView *> views;
    QString immutableFolder;

    void start()
    {
        window.reset();
        Module1::reset();
        views.clear();
        window = std::make_unique<frmWeb>(fakeViewFactory(&views));
        window->Form_Load();
    }
    QStringList history() const
    {
        QStringList items;
        for (int i = 0; i < window->addressBox()->count(); ++i)
            items.append(window->addressBox()->itemText(i));
        return items;
    }
    QStringList favourites() const
    {
        QStringList names;
        for (int i = 1; i < window->favMenu()->count(); ++i)
            names.append(Module1::GetFavName(i));
        return names;
    }
    QString homeOpened() const
    {
        const QString prefix = QStringLiteral("Navigate2 ");
        return views.isEmpty() || views.first()->calls.isEmpty()
                   ? QString()
                   : views.first()->calls.first().mid(prefix.size());
    }

    // What the user saves once the window is up must be there next time.
    void saveAndRestart()
    {
        QCOMPARE(FavEdits::Add("Saved & kept", "http://saved.tld/?a=1&b=2"),
                 FavEdits::Done);
        Module1::AddToHistory("saved.tld");
        Module1::SaveHomePage("saved-home.tld");
        start();
        QVERIFY2(history().contains("http://www.saved.tld/"), qPrintable(history().join(' ')));
        QVERIFY(!favourites().isEmpty());
        QCOMPARE(favourites().last(), QStringLiteral("Saved & kept"));
        QCOMPARE(Module1::GetFavUrl(window->favMenu()->count() - 1),
                 QStringLiteral("http://saved.tld/?a=1&b=2"));
        QCOMPARE(homeOpened(), QStringLiteral("saved-home.tld"));
    }

    // A folder no one can add files to, root included.
    bool makeReadOnly(const QString &folder)
    {
        if (geteuid() == 0) {
            if (QProcess::execute("chattr", {"+i", folder}) != 0)
                return false;
            immutableFolder = folder;
        } else {
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        }
        return !AppPaths::isWritableFolder(folder);
    }

private slots:
    void init() { sandbox = std::make_unique<TestSandbox>(); }
    void cleanup()
    {
        window.reset();
        if (geteuid() == 0) {
            setfsuid(0);
            setfsgid(0);
        }
        if (!immutableFolder.isEmpty())
            QProcess::execute("chattr", {"-i", immutableFolder});
        immutableFolder.clear();
        QFile::setPermissions(sandbox->appFolder(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        sandbox.reset();
    }

    void startsOverDamage_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<Damage>("damage");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("keptHistory");
        QTest::addColumn<QStringList>("keptFavourites");
        QTest::addColumn<QString>("home");

        const QByteArray first = "\"http://www.first.tld/\"\r\n";
        const QStringList firstOnly{"http://www.first.tld/"};
        const QString google = QStringLiteral("www.google.com");

        QTest::newRow("history: binary junk")
            << "WebHis.dat" << Damage::Bytes << first + junk(1 << 20, 1) << firstOnly
            << QStringList() << google;
        QTest::newRow("history: NUL bytes")
            << "WebHis.dat" << Damage::Bytes
            << QByteArray(4096, '\0') + first + QByteArray(1 << 16, '\0') << firstOnly
            << QStringList() << google;
        QTest::newRow("history: 50 MB")
            << "WebHis.dat" << Damage::Bytes << first + junk(50 << 20, 2) << firstOnly
            << QStringList() << google;
        QTest::newRow("history: one 10 MB line")
            << "WebHis.dat" << Damage::Bytes
            << first + QByteArray(10 << 20, 'x') + "\r\n\"http://www.after.tld/\"\r\n"
            << QStringList{"http://www.first.tld/", "http://www.after.tld/"} << QStringList()
            << google;
        QTest::newRow("history: a folder") << "WebHis.dat" << Damage::Folder << QByteArray()
                                           << QStringList() << QStringList() << google;
        QTest::newRow("history: a FIFO") << "WebHis.dat" << Damage::Fifo << QByteArray()
                                         << QStringList() << QStringList() << google;

        QTest::newRow("home page: binary junk")
            << "Hpage.dat" << Damage::Bytes << QByteArray("\"about:blank\"\r\n") + junk(1 << 20, 3)
            << QStringList() << QStringList() << "about:blank";
        QTest::newRow("home page: NUL bytes")
            << "Hpage.dat" << Damage::Bytes << QByteArray(1 << 16, '\0') << QStringList()
            << QStringList() << google;
        QTest::newRow("home page: 50 MB")
            << "Hpage.dat" << Damage::Bytes << QByteArray("\"about:blank\"\r\n") + junk(50 << 20, 4)
            << QStringList() << QStringList() << "about:blank";
        QTest::newRow("home page: one 10 MB line")
            << "Hpage.dat" << Damage::Bytes << QByteArray(10 << 20, 'h') + "\r\n"
            << QStringList() << QStringList() << google;
        QTest::newRow("home page: a folder") << "Hpage.dat" << Damage::Folder << QByteArray()
                                             << QStringList() << QStringList() << google;
        QTest::newRow("home page: a FIFO") << "Hpage.dat" << Damage::Fifo << QByteArray()
                                           << QStringList() << QStringList() << google;

        QTest::newRow("settings: junk lines, keys out of order")
            << "Corvane.conf" << Damage::Bytes
            << QByteArray("junk before any section\n[Favorites]\n3=Three&http://3/\n"
                          "a line without equals\n1=One&http://1/\n\x01\x02\xFF binary\n"
                          "2=Two&http://2/?a=1&b=2\n; a comment\n[Other]\nx=1\n")
            << QStringList() << QStringList{"One", "Two", "Three"} << google;
        QTest::newRow("settings: binary junk")
            << "Corvane.conf" << Damage::Bytes
            << QByteArray("[Favorites]\n1=One&http://1/\n") + junk(1 << 20, 5) << QStringList()
            << QStringList() << google;
        QTest::newRow("settings: NUL bytes") << "Corvane.conf" << Damage::Bytes
                                             << QByteArray("[Favorites]\n1=One&http://1/\n") +
                                                    QByteArray(4096, '\0') + "\n2=Two&http://2/\n"
                                             << QStringList() << QStringList{"One"} << google;
        QTest::newRow("settings: 50 MB")
            << "Corvane.conf" << Damage::Bytes
            << QByteArray("[Favorites]\n1=One&http://1/\n2=Two&http://2/\n") + junk(50 << 20, 6)
            << QStringList() << QStringList() << google;
        QTest::newRow("settings: one 10 MB line")
            << "Corvane.conf" << Damage::Bytes
            << QByteArray("[Favorites]\n1=One&http://1/\n") + QByteArray(10 << 20, 's') +
                   "\n2=Two&http://2/\n"
            << QStringList() << QStringList{"One", "Two"} << google;
        QTest::newRow("settings: a folder") << "Corvane.conf" << Damage::Folder << QByteArray()
                                            << QStringList() << QStringList() << google;
    }
    void startsOverDamage()
    {
        QFETCH(QString, file);
        QFETCH(Damage, damage);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, keptHistory);
        QFETCH(QStringList, keptFavourites);
        QFETCH(QString, home);

        const QString path = file == QLatin1String("Corvane.conf") ? sandbox->settingsPath()
                                                                   : sandbox->filePath(file);
        switch (damage) {
        case Damage::Bytes: {
            QFile out(path);
            QVERIFY(out.open(QIODevice::WriteOnly));
            QCOMPARE(out.write(bytes), bytes.size());
            break;
        }
        case Damage::Folder:
            QVERIFY(QDir().mkpath(path + "/inside"));
            break;
        case Damage::Fifo:
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
            break;
        }

        QElapsedTimer timer;
        timer.start();
        start();
        const qint64 startMs = timer.elapsed();
        QVERIFY(window->isVisible());
        QCOMPARE(history().mid(0, keptHistory.size()), keptHistory);
        QCOMPARE(favourites().mid(0, keptFavourites.size()), keptFavourites);
        QCOMPARE(homeOpened(), home);

        saveAndRestart();
        // What was in the way is left as it was.
        if (damage != Damage::Bytes)
            QVERIFY(!QFileInfo(path).isFile());
        qInfo("start %lld ms, all %lld ms", startMs, timer.elapsed());
    }

    void unreadableFiles()
    {
        sandbox->writeFile("Hpage.dat", "\"about:blank\"\r\n");
        sandbox->writeFile("WebHis.dat", "\"http://www.first.tld/\"\r\n");
        {
            QSettings settings(sandbox->settingsPath(), QSettings::IniFormat);
            settings.setValue("Favorites/1", "One&http://1/");
        }
        for (const QString &file : {sandbox->filePath("Hpage.dat"), sandbox->filePath("WebHis.dat"),
                                    sandbox->settingsPath()})
            QVERIFY(QFile::setPermissions(file, QFileDevice::Permissions()));
        start(); // the web profile is made while all is readable
        // Root reads every file; checked as another user it cannot. Only this
        // thread's file access changes (setfsuid), so the engine is unaffected.
        if (geteuid() == 0) {
            const auto all = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                             QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
            for (const QString &folder :
                 {sandbox->root(), sandbox->appFolder(), sandbox->fallbackFolder()})
                QVERIFY(QFile::setPermissions(folder, all));
            setfsgid(65534);
            setfsuid(65534);
            QCOMPARE(setfsuid(-1), 65534);
        }
        start();
        QVERIFY(window->isVisible());
        QCOMPARE(history(), QStringList());
        QCOMPARE(favourites(), QStringList());
        QCOMPARE(homeOpened(), QStringLiteral("www.google.com"));
        saveAndRestart();
        if (geteuid() == 0) {
            setfsuid(0);
            setfsgid(0);
        }
        // The unreadable files are left as they were.
        QCOMPARE(sandbox->readFile("Hpage.dat"), QByteArray("\"about:blank\"\r\n"));
        QCOMPARE(sandbox->readFile("WebHis.dat"), QByteArray("\"http://www.first.tld/\"\r\n"));
    }

    void readOnlyApplicationFolder()
    {
        sandbox->writeFile("Hpage.dat", "\"about:blank\"\r\n");
        sandbox->writeFile("WebHis.dat", "\"http://www.first.tld/\"\r\n");
        if (!makeReadOnly(sandbox->appFolder()))
            QSKIP("no way to make a folder read-only here");

        // Started from a folder it cannot write, Corvane keeps its files per
        // user, as an installed copy does.
        const QString folder =
            AppPaths::chooseAppFolder(sandbox->appFolder(), sandbox->fallbackFolder());
        QCOMPARE(folder, sandbox->fallbackFolder());
        AppPaths::setAppFolder(folder);
        start();
        QVERIFY(window->isVisible());
        QCOMPARE(homeOpened(), QStringLiteral("www.google.com"));
        saveAndRestart();

        // A folder that stops being writable while Corvane uses it: files
        // that are there are still written, missing ones go per user.
        AppPaths::setAppFolder(sandbox->appFolder());
        AppPaths::setFallbackFolder(sandbox->root() + "/later");
        start();
        QCOMPARE(history(), QStringList{"http://www.first.tld/"});
        QCOMPARE(homeOpened(), QStringLiteral("about:blank"));
        saveAndRestart();
        QCOMPARE(sandbox->readFile("Hpage.dat"), QByteArray("\"saved-home.tld\"\r\n"));
        QVERIFY(sandbox->readFile("WebHis.dat").endsWith("\"http://www.saved.tld/\"\r\n"));
    }
};

QTEST_MAIN(TestDamagedStart)
#include "tst_damagedstart.moc"
