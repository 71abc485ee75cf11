// A private browser on the real engine: a browse with a cookie, site
// storage, a typed address, a zoom change and a second tab leaves every
// file of the home, settings, data and application folders as it was; the
// window says it is private, and Ctrl+Shift+N starts another private one.
#include "TestWindow.h"
#include "store/PrivateMode.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QLabel>
#include <QStatusBar>
#include <QtTest>

class TestPrivate : public QObject, protected TestWindow
{
    Q_OBJECT

    // Every file under the folders a browser may write, with a digest of it.
    QMap<QString, QByteArray> files() const
    {
        QMap<QString, QByteArray> all;
        const QStringList roots{qEnvironmentVariable("HOME"),
                                qEnvironmentVariable("XDG_CONFIG_HOME"),
                                qEnvironmentVariable("XDG_DATA_HOME"), sandbox->root()};
        for (const QString &root : roots) {
            QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                QFile file(it.next());
                all.insert(file.fileName(),
                           file.open(QIODevice::ReadOnly)
                               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1)
                               : QByteArray("unreadable"));
            }
        }
        return all;
    }

private slots:
    void initTestCase()
    {
        PrivateMode::setOn(true);
        server.setPage("/keep.html", page("Keep", "<script>document.cookie = 'k=v; max-age=99999';"
                                                  " localStorage.setItem('s', 'x')</script>"));
        server.setPage("/a.html", page("Alpha"));
    }
    void init() { openSandbox(); }
    void cleanup() { closeAll(); }

    void aBrowseLeavesNothingBehind()
    {
        sandbox->writeFile("Hpage.dat", "\"" + server.address("/keep.html").toUtf8() + "\"\r\n");
        const auto before = files();
        startAt("/keep.html");
        QVERIFY(window->findChild<QLabel *>("privateLabel")->isVisible());
        QCOMPARE(js("document.cookie").toString(), QString("k=v"));
        QVERIFY(go("/a.html", "Alpha"));
        QTest::qWait(1500); // the visit is kept (in memory) within a second
        QVERIFY(!window->statusBar()->currentMessage().contains("history"));
        QVERIFY(listed().contains(server.address("/a.html")));
        keys("Ctrl++");
        QTRY_COMPARE(window->findChild<QLabel *>("zoomLabel")->text(), QString("110 %"));
        keys("Ctrl+T");
        prompts->startAnswers.enqueue(true);
        keys("Ctrl+Shift+N");
        QCOMPARE(prompts->asked.value(0).text,
                 QCoreApplication::applicationFilePath() + " --private");
        QTest::qWait(1500); // longer than any save waits
        window.reset();
        const auto after = files();
        QCOMPARE(QStringList(after.keys()).join('\n'), QStringList(before.keys()).join('\n'));
        QCOMPARE(after, before);
    }
};

QTEST_MAIN(TestPrivate)
#include "tst_private.moc"
