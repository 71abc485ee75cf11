// Corvane starting over the files a user's machine may hold: junk, NUL
// bytes, huge lines, settings edited by hand, things in the way of
// a file, files it may not read and an application folder it cannot write.
// Every time the window starts, lists what could be read, and keeps a
// favourite, an address and a home page saved afterwards through the next
// start.
#include "TestWindow.h"

#include <QComboBox>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const int Bytes = 0, Folder = 1, Fifo = 2; // what is wrong with a file

QByteArray junk(qsizetype size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator(seed).fillRange(reinterpret_cast<quint32 *>(bytes.data()), size / 4);
    return bytes;
}
} // namespace

class TestDamagedStart : public QObject, protected TestWindow
{
    Q_OBJECT

    QString immutableFolder;

    QString homeOpened() const { return views.value(0)->calls.value(0).section(' ', 1); }
    // What the user saves once the window is up must be there next time.
    void saveAndRestart()
    {
        const QString address = "http://saved.tld/?a=1&b=2";
        QVERIFY(Module1::SaveFav("Saved & kept", address, int(captions().size())));
        Module1::AddToHistory("saved.tld");
        Module1::SaveHomePage("saved-home.tld");
        start();
        QVERIFY2(listed().contains("http://www.saved.tld/"), qPrintable(listed().join(' ')));
        QCOMPARE(captions().last(), QString("Saved & kept"));
        QCOMPARE(Module1::GetFavUrl(int(captions().size()) - 1), address);
        QCOMPARE(homeOpened(), QString("saved-home.tld"));
    }

private slots:
    void init() { openSandbox(); }
    void cleanup()
    {
        window.reset();
        setfsuid(geteuid());
        setfsgid(getegid());
        if (!immutableFolder.isEmpty())
            QProcess::execute("chattr", {"-i", std::exchange(immutableFolder, QString())});
        QFile::setPermissions(sandbox->appFolder(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        closeAll();
    }

    void startsOverDamage_data()
    {
        // The file, what is wrong with it (its bytes, or a folder or FIFO in
        // its place); the addresses and favourites still listed, the home page.
        columns<QString, int, QByteArray, QString, QString, QString>();
        const QByteArray first = "\"http://www.first.tld/\"\r\n",
                         after = "\"http://www.after.tld/\"\r\n";
        const QByteArray blank = "\"about:blank\"\r\n", one = "[Favorites]\n1=One&http://1/\n",
                         two = "\n2=Two&http://2/\n", none;
        const QByteArray byHand =
            "junk before any section\n[Favorites]\n3=Three&http://3/\na line without equals\n"
            "1=One&http://1/\n\x01\x02\xFF binary\n2=Two&http://2/?a=1&b=2\n; a "
            "comment\n[Other]\nx=1\n";
        const QString H = "WebHis.dat", P = "Hpage.dat", S = "../Corvane.conf";
        const QString f = "http://www.first.tld/", g = "www.google.com", h = "home.test",
                      b = "about:blank";
        row("history: binary junk", H, Bytes, first + junk(1 << 20, 1), f, "", h);
        row("history: NUL bytes", H, Bytes, QByteArray(4096, 0) + first + QByteArray(1 << 16, 0), f,
            "", h);
        row("history: one 10 MB line", H, Bytes, first + QByteArray(10 << 20, 'x') + "\r\n" + after,
            f + " http://www.after.tld/", "", h);
        row("history: a folder", H, Folder, none, "", "", h);
        row("history: a FIFO", H, Fifo, none, "", "", h);
        row("home page: binary junk", P, Bytes, blank + junk(1 << 20, 3), "", "", b);
        row("home page: NUL bytes", P, Bytes, QByteArray(1 << 16, 0), "", "", g);
        row("home page: one 10 MB line", P, Bytes, QByteArray(10 << 20, 'h') + "\r\n", "", "", g);
        row("home page: a folder", P, Folder, none, "", "", g);
        row("home page: a FIFO", P, Fifo, none, "", "", g);
        row("settings: edited by hand", S, Bytes, byHand, "", "One Two Three", h);
        row("settings: binary junk", S, Bytes, one + junk(1 << 20, 5), "", "", h);
        row("settings: NUL bytes", S, Bytes, one + QByteArray(4096, 0) + two, "", "One", h);
        row("settings: one 10 MB line", S, Bytes, one + QByteArray(10 << 20, 's') + two, "",
            "One Two", h);
        row("settings: a folder", S, Folder, none, "", "", h);
    }
    void startsOverDamage()
    {
        const auto [file, damage, bytes, history, favourites, home] =
            fetch<QString, int, QByteArray, QString, QString, QString>();
        const QString path = sandbox->filePath(file);
        QFile::remove(path);
        if (damage == Bytes)
            sandbox->writeFile(file, bytes);
        QVERIFY(damage != Folder || QDir().mkpath(path + "/inside"));
        QVERIFY(damage != Fifo || mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        start();
        const QStringList kept = history.split(' ', Qt::SkipEmptyParts);
        QCOMPARE(listed().mid(0, kept.size()), kept);
        const QStringList names = favourites.split(' ', Qt::SkipEmptyParts);
        QCOMPARE(captions().mid(1, names.size()), names);
        QCOMPARE(homeOpened(), home);
        saveAndRestart();
        QVERIFY(damage == Bytes || !QFileInfo(path).isFile()); // what was in the way stays
    }

    void unreadableFiles()
    {
        sandbox->writeFile("WebHis.dat", "\"http://www.first.tld/\"\r\n");
        seedFavourites(1);
        start(); // the web profile is made while all is readable
        for (const char *name : {"Hpage.dat", "WebHis.dat", "../Corvane.conf"})
            QVERIFY(QFile::setPermissions(sandbox->filePath(name), {}));
        // Root reads every file; checked as another user it cannot. Only this
        // thread's file access changes (setfsuid), so the engine is unaffected.
        if (geteuid() == 0) {
            for (const QString &folder :
                 {sandbox->root(), sandbox->appFolder(), sandbox->fallbackFolder()})
                QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions(0x7777)));
            setfsgid(65534);
            setfsuid(65534);
        }
        start();
        QCOMPARE(listed(), QStringList());
        QCOMPARE(captions().size(), 1);
        QCOMPARE(homeOpened(), QString("www.google.com"));
        saveAndRestart();
        setfsuid(geteuid());
        setfsgid(getegid());
        // The unreadable files are left as they were.
        QCOMPARE(sandbox->readFile("Hpage.dat"), QByteArray("\"home.test\"\r\n"));
        QCOMPARE(sandbox->readFile("WebHis.dat"), QByteArray("\"http://www.first.tld/\"\r\n"));
    }

    void readOnlyApplicationFolder()
    {
        sandbox->writeFile("WebHis.dat", "\"http://www.first.tld/\"\r\n");
        // A folder no one can add files to, root included.
        if (geteuid() == 0 && QProcess::execute("chattr", {"+i", sandbox->appFolder()}) == 0)
            immutableFolder = sandbox->appFolder();
        else
            QFile::setPermissions(sandbox->appFolder(), QFile::ReadOwner | QFile::ExeOwner);
        if (AppPaths::isWritableFolder(sandbox->appFolder()))
            QSKIP("no way to make a folder read-only here");
        // Started from a folder it cannot write, Corvane keeps its files per
        // user, as an installed copy does.
        QCOMPARE(AppPaths::chooseAppFolder(sandbox->appFolder(), sandbox->fallbackFolder()),
                 sandbox->fallbackFolder());
        // A folder that stops being writable while Corvane uses it: files
        // that are there are still written, missing ones go per user.
        AppPaths::setAppFolder(sandbox->appFolder());
        AppPaths::setFallbackFolder(sandbox->root() + "/later");
        start();
        QCOMPARE(listed(), QStringList{"http://www.first.tld/"});
        QCOMPARE(homeOpened(), QString("home.test"));
        saveAndRestart();
        QCOMPARE(sandbox->readFile("Hpage.dat"), QByteArray("\"saved-home.tld\"\r\n"));
        QVERIFY(sandbox->readFile("WebHis.dat").endsWith("\"http://www.saved.tld/\"\r\n"));
    }
};

QTEST_MAIN(TestDamagedStart)
#include "tst_damagedstart.moc"
