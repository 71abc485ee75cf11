// Where an installed user's copy keeps its data, with no test override: only
// HOME and the XDG folders point into the test's own sandbox.
#include "app/CorvaneApp.h"
#include "store/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QtTest>

class TestStoredLocations : public QObject
{
    Q_OBJECT
    static QString env(const char *name) { return QDir::cleanPath(qEnvironmentVariable(name)); }

private slots:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariableIsEmpty("XDG_CONFIG_HOME"), "run under CTest");
        CorvaneApp::setIdentity();
    }

    // Every place the README's table names, resolved as a user's run does;
    // an older build's Corvane.ini is taken over on the way.
    void everyLocationIsWhereTheReadmeSays()
    {
        const QString config = env("XDG_CONFIG_HOME") + "/Corvane";
        const QString data = env("XDG_DATA_HOME") + "/Corvane/Corvane";
        QDir(config).removeRecursively();
        QDir().mkpath(config);
        QSettings(config + "/Corvane.ini", QSettings::IniFormat)
            .setValue("Favorites/1", "Old & kept&http://kept.test/");

        QCOMPARE(AppPaths::settingsPath(), config + "/Corvane.conf");
        QVERIFY(QFile::exists(config + "/Corvane.ini.moved"));
        QVERIFY(!QFile::exists(config + "/Corvane.ini"));
        QCOMPARE(AppPaths::openSettings()->value("Favorites/1").toString(),
                 QString("Old & kept&http://kept.test/"));

        const QString exe = QCoreApplication::applicationDirPath();
        QCOMPARE(AppPaths::appFolder(), exe);
        QCOMPARE(AppPaths::filePath("Hpage.dat"), exe + "/Hpage.dat");
        QCOMPARE(AppPaths::filePath("WebHis.dat"), exe + "/WebHis.dat");
        QCOMPARE(AppPaths::profileFolder(), data + "/profile");
        QCOMPARE(AppPaths::fallbackFolder(), data);
    }

    // When both files exist the new one wins and the old one stays.
    void newerStoreWinsOverTheOldFile()
    {
        QTemporaryDir dir;
        // A store whose folder does not exist yet (a fresh home) stays in place.
        const QString fresh = dir.filePath("fresh/Corvane/Corvane.conf");
        QCOMPARE(AppPaths::usablePath(fresh), fresh);
        const QString ini = dir.filePath("Corvane.ini"), conf = dir.filePath("Corvane.conf");
        QSettings(ini, QSettings::IniFormat).setValue("Favorites/1", "old&http://old.test/");
        QSettings(conf, QSettings::IniFormat).setValue("Favorites/1", "new&http://new.test/");
        QVERIFY(!AppPaths::takeOverSettings(ini, conf));
        QVERIFY(QFile::exists(ini));
        QCOMPARE(QSettings(conf, QSettings::IniFormat).value("Favorites/1").toString(),
                 QString("new&http://new.test/"));
    }
};

QTEST_GUILESS_MAIN(TestStoredLocations)
#include "tst_storedlocations.moc"
