// A program killed at any moment must leave its favourites and its session
// file usable: a child
// process (this program, started with "--edit") adds and deletes favourites
// until it is killed with SIGKILL, two hundred times over, and after every
// kill the favourites load as a dense list that lacks nothing but the change
// in flight. Now and then a lock file is left as a kill leaves it; the next
// run must not stall on it. (Renaming and changing an address rewrite one
// record, as adding does.)
#include "TestSandbox.h"
#include "store/AppPaths.h"
#include "store/FavEdits.h"
#include "store/Module1.h"
#include "store/SessionFile.h"
#include "store/SessionWriter.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QtTest>
#include <cstdio>
#include <unistd.h>

namespace {

// The child: starts as Corvane does, then changes one favourite after
// another. Each change is announced before it starts ("add\t<name>" with
// the address "a<name>", or "delete\t<slot>") and confirmed when it has
// returned ("done").
int editUntilKilled(const QString &settingsPath, quint32 seed)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    AppPaths::setSettingsPath(settingsPath);
    QRandomGenerator random(seed);
    // Names with the characters the store's format gives a meaning to.
    const QStringList odd{"&", " & %26%25", ",a;b=c", "\"q\"", "\\x", "[Favorites]", "caf\u00E9"};
    Module1::LoadFavMenu();
    for (int step = 0;; ++step) {
        const int users = Module1::FavCount() - 1;
        const bool add = users < 3 || (random.bounded(2) == 0 && users < Module1::FavCapacity);
        const QString name = QString("s%1x%2").arg(seed).arg(step) + odd.at(step % odd.size());
        const int slot = 1 + random.bounded(qMax(users, 1));
        std::puts(qPrintable(add ? "add\t" + name : "delete\t" + QString::number(slot)));
        if ((add ? FavEdits::Add(name, "a" + name) : FavEdits::Delete(slot)) != FavEdits::Done)
            return 1;
        std::puts("done");
    }
}

// The session child: saves sessions of 1 to 40 tabs one after another, as
// the window's writer thread does, announcing each tab count ("save\t<n>")
// before the save starts.
int saveSessionsUntilKilled(int argc, char **argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QCoreApplication app(argc, argv);
    SessionWriter writer(QString::fromUtf8(argv[2]));
    QRandomGenerator random(QByteArray(argv[3]).toUInt());
    for (;;) {
        Session session;
        const int count = 1 + random.bounded(40);
        for (int i = 0; i < count; ++i)
            session.tabs.append({QString("http://t%1.test/").arg(i), QString("Tab %1").arg(i), 100,
                                 QByteArray(random.bounded(3000), char('a' + i % 26))});
        std::printf("save\t%d\n", count);
        writer.save(SessionFile::encode(session));
        QCoreApplication::processEvents();
    }
}

// The names after a change, and with states also every state the store may
// be in on the way (a delete writes the last favourite over the deleted one
// before it removes the last).
void apply(QStringList &names, const QStringList &change, QList<QStringList> *states = nullptr)
{
    if (change.at(0) == "add") {
        names << change.at(1) + "|a" + change.at(1);
    } else {
        names[change.at(1).toInt() - 1] = names.last();
        if (states)
            *states << names;
        names.removeLast();
    }
    if (states)
        *states << names;
}

} // namespace

class TestCrashSafety : public QObject
{
    Q_OBJECT
private slots:
    void killedAtRandomMoments()
    {
        TestSandbox sandbox;
        QRandomGenerator random(20261206);
        QStringList names; // "name|address" per user favourite, in slot order
        for (int round = 0; round < 200; ++round) {
            if (round % 10 == 0) { // empty: killed before it could write its process id
                QFile lock(sandbox.settingsPath() + ".lock");
                QVERIFY(lock.open(QIODevice::WriteOnly));
            }
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(),
                        {"--edit", sandbox.settingsPath(), QString::number(round + 1)});
            QByteArray output;
            // A stale lock would hold a change for 30 s.
            const int n = random.bounded(12);
            QTRY_VERIFY_WITH_TIMEOUT((output += child.readAllStandardOutput()).count("done") >= n,
                                     20000);
            usleep(useconds_t(random.bounded(4000)));
            child.kill();
            QVERIFY(child.waitForFinished(10000));
            output += child.readAllStandardOutput();
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);

            QStringList inFlight;
            for (const QString &line : QString::fromUtf8(output).split('\n')) {
                if (line == "done")
                    apply(names, std::exchange(inFlight, {}));
                else if (line.contains('\t'))
                    inFlight = line.split('\t');
            }
            QList<QStringList> allowed{names};
            if (!inFlight.isEmpty())
                apply(names, inFlight, &allowed);

            Module1::reset();
            Module1::LoadFavMenu();
            names.clear();
            for (int slot = 1; slot < Module1::FavCount(); ++slot)
                names << Module1::GetFavName(slot) + '|' + Module1::GetFavUrl(slot);
            QVERIFY2(allowed.contains(names), qPrintable(names.join(" / ")));
            QSettings settings(sandbox.settingsPath(), QSettings::IniFormat);
            QCOMPARE(settings.allKeys().size(), names.size()); // no key beyond a gap
        }
    }

    void sessionKilledAtRandomMoments()
    {
        TestSandbox sandbox;
        const QString path = sandbox.root() + "/session.dat";
        Session first;
        first.tabs = {{"http://t0.test/", "Tab 0", 100, {}}};
        QVERIFY(SessionWriter::writeFile(path, SessionFile::encode(first)).isEmpty());
        qsizetype before = 1; // tabs of the session on disk
        QRandomGenerator random(20261207);
        for (int round = 0; round < 200; ++round) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(),
                        {"--session", path, QString::number(round + 1)});
            QByteArray output;
            const int n = 1 + random.bounded(8);
            QTRY_VERIFY_WITH_TIMEOUT((output += child.readAllStandardOutput()).count("save") >= n,
                                     20000);
            usleep(useconds_t(random.bounded(4000)));
            child.kill();
            QVERIFY(child.waitForFinished(10000));
            output += child.readAllStandardOutput();
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const auto session = SessionFile::decode(file.readAll());
            QVERIFY2(session, qPrintable(QString("round %1").arg(round)));
            // The one before or one this child announced, never a mix.
            QVERIFY(session->tabs.size() == before ||
                    output.contains("save\t" + QByteArray::number(session->tabs.size()) + '\n'));
            before = session->tabs.size();
            QCOMPARE(session->tabs.last().caption, QString("Tab %1").arg(session->tabs.size() - 1));
        }
    }
};

int main(int argc, char **argv)
{
    if (argc == 4 && qstrcmp(argv[1], "--session") == 0)
        return saveSessionsUntilKilled(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--edit") == 0)
        return editUntilKilled(QString::fromUtf8(argv[2]), QByteArray(argv[3]).toUInt());
    QCoreApplication app(argc, argv);
    TestCrashSafety test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_crashsafety.moc"
