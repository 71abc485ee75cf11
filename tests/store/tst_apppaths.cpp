// The stored-data locations: joining, overrides, and the fallback when the
// executable's folder cannot be written.
#include "TestSandbox.h"
#include "store/AppPaths.h"

#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QtTest>
#include <unistd.h>

class TestAppPaths : public QObject
{
    Q_OBJECT
private slots:
    void joinAddsOneSeparator_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "/a/b" << "/a/b/Hpage.dat";
        QTest::newRow("root") << "/" << "/Hpage.dat";
        QTest::newRow("drive root") << "C:\\" << "C:\\Hpage.dat";
    }
    void joinAddsOneSeparator()
    {
        QFETCH(QString, folder);
        QFETCH(QString, expected);
        QCOMPARE(AppPaths::joinPath(folder, "Hpage.dat"), expected);
    }

    void sandboxRedirectsEverything()
    {
        TestSandbox sandbox;
        QCOMPARE(AppPaths::appFolder(), sandbox.appFolder());
        QCOMPARE(AppPaths::filePath("WebHis.dat"), sandbox.filePath("WebHis.dat"));
        {
            auto s = AppPaths::openSettings();
            s->setValue("Favorites/1", "a&b");
            s->sync();
        }
        QVERIFY(QFile::exists(sandbox.settingsPath()));
    }

    void installedCopyKeepsFilesPerUser()
    {
        QTemporaryDir prefix;
        QDir(prefix.path()).mkpath("bin");
        QDir(prefix.path()).mkpath("share/corvane");
        const QString bin = prefix.path() + "/bin";
        QCOMPARE(AppPaths::chooseAppFolder(bin, "/user"), bin);
        QFile marker(prefix.path() + "/share/corvane/installed-copy");
        QVERIFY(marker.open(QIODevice::WriteOnly));
        marker.close();
        QCOMPARE(AppPaths::chooseAppFolder(bin, "/user"), QString("/user"));
        QCOMPARE(AppPaths::chooseAppFolder(QString(), "/user"), QString("/user"));
    }

    void installPutsFilesInFreedesktopPlaces()
    {
        QTemporaryDir prefix;
        QProcess install;
        install.start("cmake", {"--install", CORVANE_BUILD_DIR, "--prefix", prefix.path()});
        QVERIFY(install.waitForFinished(120000));
        QCOMPARE(install.exitCode(), 0);
        for (const char *file :
             {"bin/corvane", "share/applications/corvane.desktop",
              "share/icons/hicolor/48x48/apps/corvane.png",
              "share/icons/hicolor/scalable/apps/corvane.svg", "share/corvane/installed-copy",
              "share/metainfo/org.corvane.Corvane.metainfo.xml"})
            QVERIFY2(QFile::exists(prefix.path() + "/" + file), file);
        QVERIFY(QFileInfo(prefix.path() + "/bin/corvane").isExecutable());
        QCOMPARE(QImage(prefix.path() + "/share/icons/hicolor/48x48/apps/corvane.png").size(),
                 QSize(48, 48));
        QSettings desktop(prefix.path() + "/share/applications/corvane.desktop",
                          QSettings::IniFormat);
        desktop.beginGroup("Desktop Entry");
        QCOMPARE(desktop.value("Name").toString(), QString("Corvane"));
        QCOMPARE(desktop.value("Exec").toString(), QString("corvane %U"));
        QCOMPARE(desktop.value("Icon").toString(), QString("corvane"));
        QFile entry(prefix.path() + "/share/applications/corvane.desktop");
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QByteArray text = entry.readAll();
        QVERIFY(text.contains("\nCategories=Network;WebBrowser;\n"));
        QVERIFY(text.contains("x-scheme-handler/https;"));
        // The installed copy keeps its data per user.
        QCOMPARE(AppPaths::chooseAppFolder(prefix.path() + "/bin", "/user"), QString("/user"));
    }

    void readOnlyFolderIsNotWritable()
    {
        if (geteuid() == 0)
            QSKIP("root writes everywhere");
        QTemporaryDir dir;
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        QVERIFY(!AppPaths::isWritableFolder(dir.path()));
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(AppPaths::isWritableFolder(dir.path()));
    }
};

QTEST_MAIN(TestAppPaths)
#include "tst_apppaths.moc"
