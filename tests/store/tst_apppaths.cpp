// The stored-data locations: joining, overrides, and the fallback when the
// executable's folder cannot be written.
#include "TestSandbox.h"
#include "store/AppPaths.h"

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
