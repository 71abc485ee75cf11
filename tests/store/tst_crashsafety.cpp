// A program killed at any moment must leave its stored data usable: a child
// process edits favourites and appends history until it is killed with
// SIGKILL, two hundred times over, and after every kill the favourites load
// as a dense list that lacks nothing but the edit in flight, and the history
// file holds the appended records whole.
#include "TestSandbox.h"
#include "store/AddressRules.h"
#include "store/AppPaths.h"
#include "store/FavMenuItems.h"
#include "store/Module1.h"
#include "store/RecordFile.h"

#include <QDir>
#include <QMenu>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QtTest>

#include <memory>
#include <unistd.h>

namespace {

struct Favourite
{
    QString name;
    QString address;
    bool operator==(const Favourite &other) const
    {
        return name == other.name && address == other.address;
    }
};
using Favourites = QList<Favourite>;

QString text(const QByteArray &base64)
{
    return QString::fromUtf8(QByteArray::fromBase64(base64));
}

QString describe(const Favourites &list)
{
    QStringList parts;
    for (const Favourite &f : list)
        parts.append(f.name + QLatin1String(" -> ") + f.address);
    return parts.join(QLatin1String(" | "));
}

} // namespace

class TestCrashSafety : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSandbox> sandbox;

    // The favourites as the next start loads them, and whether the store
    // holds exactly the keys 1..N.
    Favourites loadFavourites(bool *dense) const
    {
        Module1::reset();
        QMenu menu;
        FavMenuItems items(&menu);
        Module1::LoadFavMenu(items);
        Favourites loaded;
        for (int i = 1; i < items.count(); ++i)
            loaded.append({items.caption(i), Module1::GetFavUrl(i)});

        QSettings settings(sandbox->settingsPath(), QSettings::IniFormat);
        settings.beginGroup(QStringLiteral("Favorites"));
        QStringList keys = settings.childKeys();
        QStringList expected;
        for (int key = 1; key <= loaded.size(); ++key)
            expected.append(QString::number(key));
        keys.sort();
        expected.sort();
        *dense = keys == expected;
        return loaded;
    }

private slots:
    void init() { sandbox = std::make_unique<TestSandbox>(); }
    void cleanup() { sandbox.reset(); }

    void killedAtRandomMoments()
    {
        const int kills = 200;
        QRandomGenerator random(20261206);
        Favourites model;
        QByteArray history; // the records every finished append wrote
        int inFlightSeen = 0;
        int inFlightKept = 0;
        int halfDeletes = 0;
        int tornRecords = 0;
        QByteArray torn;       // part of a record a kill cut short, until dropped
        QStringList oldCopies; // copies of the store a kill left, made old
        int savesCutShort = 0;
        QElapsedTimer slowest;
        qint64 slowestMs = 0;

        for (int round = 0; round < kills; ++round) {
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            child.start(
                QStringLiteral(STOREWORKER_PATH),
                {sandbox->appFolder(), sandbox->settingsPath(), QString::number(round + 1)});
            QVERIFY2(child.waitForStarted(), qPrintable(child.errorString()));
            slowest.start();

            // Let it run for a random number of changes and a random part of
            // the next one, then kill it.
            QByteArray output;
            const int changes = random.bounded(0, 12);
            while (output.count("done") < changes && child.state() == QProcess::Running) {
                child.waitForReadyRead(5000);
                output += child.readAllStandardOutput();
            }
            if (random.bounded(4) != 0) {
                while (!output.contains("ready") && child.state() == QProcess::Running) {
                    child.waitForReadyRead(5000);
                    output += child.readAllStandardOutput();
                }
                usleep(useconds_t(random.bounded(0, 4000)));
            }
            // No change may stall on what an earlier kill left behind (a
            // stale settings lock would hold a save for 30 s); the bound is
            // a stall detector, loose enough for sanitizer builds under load.
            slowestMs = qMax(slowestMs, slowest.elapsed());
            QVERIFY2(slowest.elapsed() < 25000,
                     qPrintable(QString("round %1 took %2 ms").arg(round).arg(slowest.elapsed())));
            child.kill();
            QVERIFY(child.waitForFinished(10000));
            output += child.readAllStandardOutput();
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);

            // Replay what the child reported onto the model.
            const QList<QByteArray> lines = output.split('\n');
            QList<QByteArray> inFlight;
            for (const QByteArray &raw : lines) {
                const QByteArray line = raw.trimmed();
                if (line.startsWith("ready")) {
                    QCOMPARE(line.mid(6).toInt(), model.size());
                } else if (line.startsWith("begin ")) {
                    inFlight = line.mid(6).split(' ');
                } else if (line == "done") {
                    QVERIFY(!inFlight.isEmpty());
                    const QList<QByteArray> &op = inFlight;
                    if (op.at(0) == "history") {
                        history +=
                            RecordFile::encodeRecord(AddressRules::historyEntry(text(op.at(1))));
                    } else if (op.at(0) == "add") {
                        model.append({text(op.at(1)), text(op.at(2))});
                    } else if (op.at(0) == "delete") {
                        const int slot = op.at(1).toInt();
                        model[slot - 1] = model.last();
                        model.removeLast();
                    } else if (op.at(0) == "rename") {
                        model[op.at(1).toInt() - 1].name = text(op.at(2));
                    } else if (op.at(0) == "address") {
                        model[op.at(1).toInt() - 1].address = text(op.at(2));
                    }
                    inFlight.clear();
                }
            }

            // The states the store may be in: before the change in flight,
            // after it, and for a delete, with the last favourite under both
            // its old and its new key.
            QList<Favourites> allowed{model};
            QByteArray inFlightRecord;
            if (!inFlight.isEmpty()) {
                ++inFlightSeen;
                Favourites after = model;
                const QByteArray kind = inFlight.at(0);
                if (kind == "history") {
                    inFlightRecord =
                        RecordFile::encodeRecord(AddressRules::historyEntry(text(inFlight.at(1))));
                } else if (kind == "add") {
                    after.append({text(inFlight.at(1)), text(inFlight.at(2))});
                } else if (kind == "delete") {
                    const int slot = inFlight.at(1).toInt();
                    Favourites half = model;
                    half[slot - 1] = model.last();
                    allowed.append(half);
                    after = half;
                    after.removeLast();
                } else if (kind == "rename") {
                    after[inFlight.at(1).toInt() - 1].name = text(inFlight.at(2));
                } else if (kind == "address") {
                    after[inFlight.at(1).toInt() - 1].address = text(inFlight.at(2));
                }
                allowed.append(after);
            }

            bool dense = false;
            const Favourites loaded = loadFavourites(&dense);
            QVERIFY2(dense, qPrintable(QString("round %1: keys are not 1..N").arg(round)));
            const qsizetype state = allowed.indexOf(loaded);
            QVERIFY2(state >= 0, qPrintable(QString("round %1: loaded %2\nexpected %3")
                                                .arg(round)
                                                .arg(describe(loaded), describe(model))));
            if (state > 0) {
                ++inFlightKept;
                if (allowed.size() == 3 && state == 1)
                    ++halfDeletes;
            }
            // The next run starts from what is stored.
            model = loaded;

            // The history: every finished append, then the one in flight
            // whole or not at all. A kill inside the write itself could
            // leave part of it; the next append drops such a tail.
            const QByteArray bytes = sandbox->readFile(QStringLiteral("WebHis.dat"));
            QVERIFY2(bytes.startsWith(history), qPrintable(QString("round %1").arg(round)));
            QByteArray tail = bytes.mid(history.size());
            if (!torn.isEmpty() && tail.startsWith(torn))
                tail.remove(0, torn.size()); // no append since, so still there
            else
                torn.clear();
            if (!tail.isEmpty() && tail == inFlightRecord) {
                history += tail;
                ++inFlightKept;
            } else if (!tail.isEmpty()) {
                QVERIFY2(inFlightRecord.startsWith(tail),
                         qPrintable(QString("round %1: stray bytes %2")
                                        .arg(round)
                                        .arg(QString::fromLatin1(tail.toPercentEncoding()))));
                torn = tail;
                ++tornRecords;
            }
            QVERIFY(history.isEmpty() || history.endsWith("\"\r\n"));

            // Beside the store a kill can leave lock files, which the next
            // writer finds stale, and a copy under the temporary name of a
            // save, which the next start removes once it is a minute old.
            const QDir folder = QFileInfo(sandbox->settingsPath()).dir();
            if (output.contains("ready")) {
                for (const QString &name : std::as_const(oldCopies))
                    QVERIFY2(!folder.exists(name), qPrintable(name));
                oldCopies.clear();
            }
            QStringList litter =
                folder.entryList(QDir::Files | QDir::Hidden)
                    .filter(QRegularExpression(QStringLiteral("^Corvane\\.conf.")));
            litter.removeIf([](const QString &name) {
                return name.endsWith(QLatin1String(".lock")) ||
                       name.endsWith(QLatin1String(".rmlock"));
            });
            for (const QString &name : std::as_const(litter)) {
                QVERIFY2(QRegularExpression(QStringLiteral("^Corvane\\.conf\\.[A-Za-z0-9]{6}$"))
                             .match(name)
                             .hasMatch(),
                         qPrintable(name));
                if (oldCopies.contains(name))
                    continue;
                ++savesCutShort;
                QFile copy(folder.filePath(name));
                QVERIFY(copy.open(QIODevice::ReadWrite));
                QVERIFY(copy.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                         QFileDevice::FileModificationTime));
                oldCopies.append(name);
            }
        }
        qInfo("%d kills: %d with a change in flight, %d of those already stored, %d half-done "
              "deletes, %d torn history records, %d saves cut short; slowest round %lld ms; "
              "%lld favourites and %lld history records at the end",
              kills, inFlightSeen, inFlightKept, halfDeletes, tornRecords, savesCutShort, slowestMs,
              qlonglong(model.size()), qlonglong(history.count("\"\r\n")));
        QVERIFY(inFlightSeen > kills / 2);
    }
};

QTEST_MAIN(TestCrashSafety)
#include "tst_crashsafety.moc"
