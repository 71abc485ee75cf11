// The per-host zoom table: odd hosts as keys of the settings store, and
// entries edited by hand, read back as the next run reads the file.
#include "TestSandbox.h"
#include "store/AppPaths.h"
#include "store/ZoomLevels.h"

#include <QFile>
#include <QtTest>

class TestZoomLevels : public QObject
{
    Q_OBJECT
private slots:
    void hostsAndEntriesReadBack()
    {
        TestSandbox sandbox;
        // Look-alike pairs: each must keep an entry of its own.
        const QStringList hosts{"a/b",     "a//b",  "/a/", "a",     "c\\d",      "c/d",
                                "50%",     "50%25", "x y", "x%20y", "bücher.de", "xn--bcher-kva.de",
                                "[a]=b;c", "[a]"};
        for (int i = 0; i < hosts.size(); ++i)
            QVERIFY(ZoomLevels::save(hosts[i], 110 + i));
        QVERIFY(ZoomLevels::save(hosts[0], 100)); // back to normal: the entry goes
        const QString copy = sandbox.root() + "/copy.conf";
        QVERIFY(QFile::copy(sandbox.settingsPath(), copy));
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

QTEST_MAIN(TestZoomLevels)
#include "tst_zoomlevels.moc"
