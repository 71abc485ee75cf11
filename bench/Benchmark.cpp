// The benchmark driver.
#include "Benchmark.h"

#include "ProcessTree.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QTimer>
#include <tuple>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr int LoadTimeoutMs = 60000;
// Time given to a loaded page before its memory is read, and to closed
// tabs before the memory after closing them is read.
constexpr int SettleMs = 2000;
constexpr int ClosedSettleMs = 5000;
constexpr int TabCount = 10;
constexpr int HistoryRecords = 100000;
constexpr int VisitedPages = 200000;
constexpr int SuggestRuns = 60; // typed pairs of words, one keystroke each a figure
// In-process timings are cheap, so take more of them.
constexpr int MinInProcessRuns = 7;
constexpr int MinStartupRuns = 11;
// Sleeping tabs: the delays the runs set (seconds; 0 is off), the time the
// processor is watched, the wait before it is, and the tabs woken per run.
constexpr int FreezeSeconds = 1;
constexpr int DiscardSeconds = 2;
constexpr int CpuWindowMs = 60000;
constexpr int RestoredTabs = 100;
constexpr int SessionSettleMs = 30000; // restored memory is taken this long after start
constexpr int CpuSettleMs = 10000;
constexpr int WakesPerRun = 3;
constexpr int SleepTimeoutMs = 180000;

const double NaN = std::nan("");

QString platformTag(bool x)
{
    return x ? QStringLiteral("x") : QStringLiteral("off");
}

void runEventLoop(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Reads the probe's output line by line while the event loop runs.
QString waitForLine(QProcess &process, const QString &prefix, int timeoutMs)
{
    QEventLoop loop;
    QString found;
    auto scan = [&] {
        while (process.canReadLine()) {
            const QString line = QString::fromUtf8(process.readLine()).trimmed();
            if (line.startsWith(prefix)) {
                found = line;
                loop.quit();
                return;
            }
        }
    };
    scan();
    if (!found.isEmpty() || process.state() == QProcess::NotRunning)
        return found;
    QObject::connect(&process, &QProcess::readyReadStandardOutput, &loop, scan);
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    if (found.isEmpty())
        scan();
    return found;
}

// Every "<prefix> <number>" line the process prints until it ends.
QVector<double> collectValues(QProcess &process, const QString &prefix, int timeoutMs)
{
    QVector<double> values;
    for (;;) {
        const QString line = waitForLine(process, prefix + QLatin1Char(' '), timeoutMs);
        if (line.isEmpty())
            break;
        values.append(line.mid(prefix.size() + 1).toDouble());
    }
    return values;
}

QString words(quint32 seed, int length)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz";
    QString text;
    QRandomGenerator random(seed);
    for (int i = 0; i < length; ++i)
        text += QLatin1Char(letters[random.bounded(26)]);
    return text;
}

} // namespace

Benchmark::Benchmark(const Options &options, QObject *parent)
    : QObject(parent), m_options(options), m_server(m_clock)
{
    m_clock.start();
    m_asRoot = ::geteuid() == 0;
    m_root.setAutoRemove(!options.keep);
}

Benchmark::~Benchmark()
{
    stopX();
}

QString Benchmark::makeHome(const QString &name) const
{
    const QString home = m_root.filePath(name);
    for (const char *sub : {"home", "config", "data", "cache", "runtime"})
        QDir().mkpath(home + QLatin1Char('/') + QLatin1String(sub));
    QFile::setPermissions(home + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return home;
}

QString Benchmark::makeAppFolder(const QString &name, bool withExecutable) const
{
    const QString folder = m_root.filePath(name);
    QDir().mkpath(folder);
    if (withExecutable) {
        QFile::copy(m_options.corvane, folder + QStringLiteral("/corvane"));
        QFile::copy(m_options.corvane + QStringLiteral("-browser"),
                    folder + QStringLiteral("/corvane-browser"));
        QFile::copy(QFileInfo(m_options.corvane).absolutePath() +
                        QStringLiteral("/corvane-engine.so"),
                    folder + QStringLiteral("/corvane-engine.so"));
    }
    writeHistory(folder, 0);
    return folder;
}

void Benchmark::writeHomePage(const QString &folder, const QString &address) const
{
    QFile file(folder + QStringLiteral("/Hpage.dat"));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write("\"" + address.toLatin1() + "\"\r\n");
}

// Addresses as GO! writes them: an http address, mostly a bare host, some
// with a path; all different, none containing another's typed text.
void Benchmark::writeHistory(const QString &folder, int records) const
{
    static const char *const domains[] = {"com", "org", "net", "de", "co.uk", "io"};
    QByteArray bytes;
    bytes.reserve(records * 40);
    for (int i = 0; i < records; ++i) {
        QString address = QStringLiteral("http://www.") + words(quint32(i), 5 + i % 8) +
                          QString::number(i, 36) + QLatin1Char('.') +
                          QLatin1String(domains[i % 6]) + QLatin1Char('/');
        if (i % 3 == 0)
            address += words(quint32(i) + 7919u, 4 + i % 6) + QLatin1Char('/');
        bytes += "\"" + address.toLatin1() + "\"\r\n";
    }
    QFile file(folder + QStringLiteral("/WebHis.dat"));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

void Benchmark::writeSleepDelays(const QString &home, int freezeSeconds, int discardSeconds) const
{
    const QString folder = home + QStringLiteral("/config/Corvane");
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("/Corvane.conf"));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(QStringLiteral("[Tabs]\nFreezeAfterSeconds=%1\nDiscardAfterSeconds=%2\n")
                       .arg(freezeSeconds)
                       .arg(discardSeconds)
                       .toLatin1());
}

QProcessEnvironment Benchmark::environment(const QString &home, Platform platform) const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home + QStringLiteral("/home"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/cache"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/runtime"));
    QString flags = QStringLiteral("--disable-background-networking --disable-component-update");
    if (m_asRoot)
        flags += QStringLiteral(" --no-sandbox");
    env.insert(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"), flags);
    env.remove(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"));
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    if (m_reportPaint)
        env.insert(QStringLiteral("CORVANE_REPORT_PAINT"), QStringLiteral("1"));
    else
        env.remove(QStringLiteral("CORVANE_REPORT_PAINT"));
    if (platform == Platform::X) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("DISPLAY"), m_display);
    } else {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.remove(QStringLiteral("DISPLAY"));
    }
    return env;
}

bool Benchmark::start(QProcess &process, const QString &program, const QStringList &args,
                      const QString &home, Platform platform) const
{
    process.setProcessEnvironment(environment(home, platform));
    process.setWorkingDirectory(home);
    process.setStandardErrorFile(m_root.filePath(QStringLiteral("children.log")),
                                 QIODevice::Append);
    process.start(program, args);
    if (process.waitForStarted(10000))
        return true;
    std::fprintf(stderr, "Cannot start %s: %s\n", qPrintable(program),
                 qPrintable(process.errorString()));
    return false;
}

void Benchmark::stop(QProcess &process) const
{
    if (process.state() == QProcess::NotRunning)
        return;
    const QList<qint64> tree = ProcessTree::members(process.processId());
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
    // The engine's helpers follow their browser; make sure before the next
    // run starts, so none of them competes for the processor.
    ProcessTree::killAll(tree, 5000);
}

bool Benchmark::startX()
{
    if (!m_options.useX)
        return true;
    m_xserver = new QProcess(this);
    m_xserver->setStandardErrorFile(m_root.filePath(QStringLiteral("xvfb.log")));
    // Xvfb picks a free display and writes its number once it accepts clients.
    m_xserver->start(QStringLiteral("Xvfb"),
                     {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                      QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                      QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (!m_xserver->waitForStarted(5000)) {
        std::fprintf(stderr, "Cannot start Xvfb; use --no-x for offscreen figures only\n");
        return false;
    }
    const QString line = waitForLine(*m_xserver, QString(), 10000);
    if (line.isEmpty()) {
        std::fprintf(stderr, "Xvfb did not report its display\n");
        return false;
    }
    m_display = QLatin1Char(':') + line;
    return true;
}

void Benchmark::stopX()
{
    if (m_xserver && m_xserver->state() != QProcess::NotRunning) {
        m_xserver->terminate();
        m_xserver->waitForFinished(5000);
    }
}

bool Benchmark::prepare()
{
    if (!m_root.isValid() || !m_server.listen()) {
        std::fprintf(stderr, "Cannot create the temporary folder or the loopback server\n");
        return false;
    }
    for (const QString &program : {m_options.corvane, m_options.probe, m_options.bare}) {
        if (!QFileInfo(program).isExecutable()) {
            std::fprintf(stderr, "Not an executable: %s\n", qPrintable(program));
            return false;
        }
    }
    m_corvaneHome = makeHome(QStringLiteral("corvane-home"));
    m_bareHome = makeHome(QStringLiteral("bare-home"));
    m_probeHome = makeHome(QStringLiteral("probe-home"));
    m_sleepHome = makeHome(QStringLiteral("sleep-home"));
    m_sessionHome = makeHome(QStringLiteral("session-home"));
    m_appEmpty = makeAppFolder(QStringLiteral("corvane-empty"), true);
    m_appHistory = makeAppFolder(QStringLiteral("corvane-history"), true);
    writeHistory(m_appHistory, HistoryRecords);
    m_probeEmpty = makeAppFolder(QStringLiteral("probe-empty"), false);
    m_probeHistory = makeAppFolder(QStringLiteral("probe-history"), false);
    // The visited pages' database is made once by the probe, as the program writes it.
    m_visitedHome = makeHome(QStringLiteral("visited-home"));
    {
        std::fprintf(stderr, "Writing a history of %d visited pages...\n", VisitedPages);
        QProcess maker;
        start(maker, m_options.probe,
              {QStringLiteral("--app-folder"), m_probeEmpty, QStringLiteral("makehistory"),
               QString::number(VisitedPages)},
              m_visitedHome, Platform::Offscreen);
        if (waitForLine(maker, QStringLiteral("MADE"), 600000).isEmpty()) {
            std::fprintf(stderr, "The probe could not write the visited pages\n");
            return false;
        }
        stop(maker);
    }
    return startX();
}

double Benchmark::startupRun(const QString &program, const QStringList &args, const QString &home,
                             Platform platform, const QString &marker, double *painted)
{
    QProcess process;
    qint64 paintedAt = -1;
    QByteArray said;
    if (painted) {
        connect(&process, &QProcess::readyReadStandardOutput, this, [&] {
            said += process.readAllStandardOutput();
            if (paintedAt < 0 && said.contains("PAINTED\n"))
                paintedAt = m_clock.nsecsElapsed();
        });
    }
    m_reportPaint = painted != nullptr;
    const qint64 launched = m_clock.nsecsElapsed();
    const bool started = start(process, program, args, home, platform);
    m_reportPaint = false;
    const qint64 arrived = started ? m_server.waitForMarker(marker, LoadTimeoutMs) : -1;
    if (painted) {
        // The page may come first, though it should not.
        if (started && paintedAt < 0)
            process.waitForReadyRead(LoadTimeoutMs);
        *painted = paintedAt < 0 ? NaN : (paintedAt - launched) / 1e6;
    }
    disconnect(&process, nullptr, this, nullptr);
    stop(process);
    if (arrived < 0) {
        std::fprintf(stderr, "No marker from %s\n", qPrintable(program));
        return NaN;
    }
    return (arrived - launched) / 1e6;
}

void Benchmark::measureStartup()
{
    std::fprintf(stderr, "Start-up...\n");
    QList<Platform> platforms{Platform::Offscreen};
    if (m_options.useX)
        platforms.prepend(Platform::X);
    // Start-up times swing most on a busy machine, and runs are short: take
    // more. The first round only warms the disk cache and the profiles.
    const int rounds = std::max(m_options.runs, MinStartupRuns);
    for (int run = 0; run <= rounds; ++run) {
        for (Platform platform : platforms) {
            const QString tag = platformTag(platform == Platform::X);
            double plainPainted = NaN;
            double *painted = nullptr; // the plain start reports its first paint
            auto corvane = [&](const QString &folder, const QString &key) {
                const QString name = QStringLiteral("s%1").arg(++m_serial);
                writeHomePage(folder, m_server.pageUrl(name));
                const double ms = startupRun(folder + QStringLiteral("/corvane"), {}, m_corvaneHome,
                                             platform, name, painted);
                if (run > 0)
                    note(key, ms);
                return ms;
            };
            painted = &plainPainted;
            const double plain = corvane(m_appEmpty, QStringLiteral("startup.corvane.") + tag);
            painted = nullptr;
            const QString name = QStringLiteral("s%1").arg(++m_serial);
            double barePainted = NaN;
            const double bare = startupRun(m_options.bare, {m_server.pageUrl(name)}, m_bareHome,
                                           platform, name, &barePainted);
            if (run > 0) {
                note(QStringLiteral("startup.bare.") + tag, bare);
                note(QStringLiteral("ratio.startup.") + tag, plain / bare);
                note(QStringLiteral("painted.corvane.") + tag, plainPainted);
                note(QStringLiteral("painted.bare.") + tag, barePainted);
                note(QStringLiteral("ratio.painted.") + tag, plainPainted / barePainted);
            }
            if (platform == platforms.first()) {
                const double history = corvane(m_appHistory, QStringLiteral("startup.history"));
                if (run > 0)
                    note(QStringLiteral("extra.history"), history - plain);
                // The same empty application folder, a home with the visited pages.
                const QString name = QStringLiteral("s%1").arg(++m_serial);
                writeHomePage(m_appEmpty, m_server.pageUrl(name));
                const double visited = startupRun(m_appEmpty + QStringLiteral("/corvane"), {},
                                                  m_visitedHome, platform, name);
                if (run > 0)
                    note(QStringLiteral("extra.visited"), visited - plain);
            }
        }
    }
}

void Benchmark::measureMemory()
{
    std::fprintf(stderr, "Memory...\n");
    const Platform platform = m_options.useX ? Platform::X : Platform::Offscreen;
    auto mib = [](qint64 kib) { return kib / 1024.0; };
    for (int run = 0; run < m_options.runs; ++run) {
        // This run's Corvane figures, to pair with the bare program's.
        QHash<QString, double> corvane;
        {
            const QString base = QStringLiteral("m%1-").arg(++m_serial);
            writeHistory(m_probeEmpty, 0);
            writeHomePage(m_probeEmpty, m_server.pageUrl(base + QLatin1Char('0')));
            QProcess probe;
            start(probe, m_options.probe,
                  {QStringLiteral("--app-folder"), m_probeEmpty, QStringLiteral("memory"),
                   m_server.pageUrl(base)},
                  m_probeHome, platform);
            const struct
            {
                const char *ready;
                const char *key;
                int settleMs;
            } states[] = {{"READY tabs1", "memory.corvane.1", SettleMs},
                          {"READY tabs10", "memory.corvane.10", SettleMs},
                          {"READY closed9", "memory.corvane.closed", ClosedSettleMs}};
            for (const auto &state : states) {
                if (waitForLine(probe, QLatin1String(state.ready), LoadTimeoutMs).isEmpty()) {
                    std::fprintf(stderr, "The probe never reported %s\n", state.ready);
                    break;
                }
                runEventLoop(state.settleMs);
                const double value = mib(ProcessTree::pssKiB(probe.processId()));
                note(QLatin1String(state.key), value);
                corvane.insert(QLatin1String(state.key), value);
                detail(ProcessTree::describe(probe.processId()));
                probe.write("next\n");
            }
            probe.waitForFinished(10000);
            stop(probe);
            const QString one = QStringLiteral("memory.corvane.1");
            const QString closed = QStringLiteral("memory.corvane.closed");
            if (corvane.contains(one) && corvane.contains(closed))
                note(QStringLiteral("ratio.memory.closed"),
                     corvane.value(closed) / corvane.value(one));
        }
        for (int tabs : {1, TabCount}) {
            QStringList urls;
            QStringList names;
            for (int i = 0; i < tabs; ++i) {
                names << QStringLiteral("b%1").arg(++m_serial);
                urls << m_server.pageUrl(names.last());
            }
            QProcess bare;
            start(bare, m_options.bare, urls, m_bareHome, platform);
            if (m_server.waitForMarkers(names, LoadTimeoutMs) < 0) {
                std::fprintf(stderr, "The bare program did not load its pages\n");
            } else {
                runEventLoop(SettleMs);
                const double value = mib(ProcessTree::pssKiB(bare.processId()));
                note(QStringLiteral("memory.bare.%1").arg(tabs), value);
                const QString key = QStringLiteral("memory.corvane.%1").arg(tabs);
                if (corvane.contains(key))
                    note(QStringLiteral("ratio.memory.%1").arg(tabs), corvane.value(key) / value);
                detail(ProcessTree::describe(bare.processId()));
            }
            stop(bare);
        }
    }
}

void Benchmark::measureInProcess()
{
    std::fprintf(stderr, "New tab and GO!...\n");
    const Platform platform = m_options.useX ? Platform::X : Platform::Offscreen;
    const int runs = std::max(m_options.runs, MinInProcessRuns);
    const QString count = QString::number(runs);
    QList<Platform> platforms{Platform::Offscreen};
    if (m_options.useX)
        platforms.prepend(Platform::X);
    for (Platform platform : platforms) {
        const QString tag = platformTag(platform == Platform::X);
        writeHomePage(m_probeEmpty, m_server.pageUrl(QStringLiteral("n%1").arg(++m_serial)));
        QProcess probe;
        start(probe, m_options.probe,
              {QStringLiteral("--app-folder"), m_probeEmpty, QStringLiteral("newtab"), count},
              m_probeHome, platform);
        for (double ms : collectValues(probe, QStringLiteral("NEWTAB"), LoadTimeoutMs))
            note(QStringLiteral("newtab.corvane.") + tag, ms);
        stop(probe);

        QProcess bare;
        start(bare, m_options.bare,
              {QStringLiteral("--new-tab-runs"), count,
               m_server.pageUrl(QStringLiteral("n%1").arg(++m_serial))},
              m_bareHome, platform);
        for (double ms : collectValues(bare, QStringLiteral("NEWTAB"), LoadTimeoutMs))
            note(QStringLiteral("newtab.bare.") + tag, ms);
        stop(bare);
    }
    measureSuggestions(platform);
    for (const QString &folder : {m_probeHistory, m_probeEmpty}) {
        const bool full = folder == m_probeHistory;
        writeHistory(folder, full ? HistoryRecords : 0);
        writeHomePage(folder, m_server.pageUrl(QStringLiteral("g%1").arg(++m_serial)));
        QProcess probe;
        start(probe, m_options.probe,
              {QStringLiteral("--app-folder"), folder, QStringLiteral("go"), count,
               m_server.typedAddress(QStringLiteral("go%1-").arg(++m_serial))},
              m_probeHome, platform);
        for (double ms : collectValues(probe, QStringLiteral("GO"), LoadTimeoutMs))
            note(full ? QStringLiteral("go.history") : QStringLiteral("go.empty"), ms);
        stop(probe);
    }
}

// Keystroke to suggestions shown, in the probe's window over the made history.
void Benchmark::measureSuggestions(Platform platform)
{
    writeHomePage(m_probeEmpty, m_server.pageUrl(QStringLiteral("h%1").arg(++m_serial)));
    QProcess probe;
    start(probe, m_options.probe,
          {QStringLiteral("--app-folder"), m_probeEmpty, QStringLiteral("suggest"),
           QString::number(SuggestRuns), QString::number(VisitedPages)},
          m_visitedHome, platform);
    for (double ms : collectValues(probe, QStringLiteral("SUGGEST"), LoadTimeoutMs))
        note(QStringLiteral("suggest.visited"), ms);
    stop(probe);
}

double Benchmark::percentile(const QString &key, double fraction) const
{
    QVector<double> values = m_samples.value(key);
    if (values.isEmpty())
        return NaN;
    std::sort(values.begin(), values.end());
    return values.at(std::min(qsizetype(values.size() * fraction), values.size() - 1));
}

void Benchmark::measureSleep()
{
    const Platform platform = m_options.useX ? Platform::X : Platform::Offscreen;
    if (m_options.only.contains(QLatin1String("sleep"))) {
        std::fprintf(stderr, "Sleeping tabs: memory and waking...\n");
        measureSleepMemoryAndWake(platform);
    }
    std::fprintf(stderr, "Sleeping tabs: processor time (a minute per program and run)...\n");
    measureSleepCpu(platform);
}

// Ten tabs on pages holding 20 MB each: Corvane once the nine behind are
// discarded, the bare program with all alive; then Corvane wakes some of its
// tabs, and the bare program loads the same kind of page afresh as often.
void Benchmark::measureSleepMemoryAndWake(Platform platform)
{
    const auto heap = BenchServer::Kind::Heap;
    auto mib = [](qint64 kib) { return kib / 1024.0; };
    for (int run = 0; run < m_options.runs; ++run) {
        double asleep = NaN;
        {
            const QString base = QStringLiteral("z%1-").arg(++m_serial);
            writeSleepDelays(m_sleepHome, FreezeSeconds, DiscardSeconds);
            writeHistory(m_probeEmpty, 0);
            writeHomePage(m_probeEmpty, m_server.pageUrl(base + QLatin1Char('0'), heap));
            QProcess probe;
            start(probe, m_options.probe,
                  {QStringLiteral("--app-folder"), m_probeEmpty, QStringLiteral("asleep"),
                   m_server.pageUrl(base, heap), QString::number(WakesPerRun)},
                  m_sleepHome, platform);
            if (waitForLine(probe, QStringLiteral("READY asleep10"), SleepTimeoutMs).isEmpty()) {
                std::fprintf(stderr, "The probe's tabs did not fall asleep\n");
            } else {
                // Discarding frees memory in the browser a moment later.
                runEventLoop(ClosedSettleMs);
                asleep = mib(ProcessTree::pssKiB(probe.processId()));
                note(QStringLiteral("sleep.memory.corvane"), asleep);
                detail(ProcessTree::describe(probe.processId()));
                probe.write("next\n");
                for (double ms : collectValues(probe, QStringLiteral("WAKE"), SleepTimeoutMs))
                    note(QStringLiteral("sleep.wake.corvane"), ms);
            }
            stop(probe);
        }
        {
            QStringList urls;
            QStringList names;
            for (int i = 0; i < TabCount; ++i) {
                names << QStringLiteral("y%1").arg(++m_serial);
                urls << m_server.pageUrl(names.last(), heap);
            }
            QProcess bare;
            start(bare, m_options.bare, urls, m_bareHome, platform);
            if (m_server.waitForMarkers(names, LoadTimeoutMs) < 0) {
                std::fprintf(stderr, "The bare program did not load its pages\n");
            } else {
                runEventLoop(ClosedSettleMs);
                const double awake = mib(ProcessTree::pssKiB(bare.processId()));
                note(QStringLiteral("sleep.memory.bare"), awake);
                if (!std::isnan(asleep))
                    note(QStringLiteral("ratio.sleep.memory"), asleep / awake);
                detail(ProcessTree::describe(bare.processId()));
            }
            stop(bare);
        }
        {
            QProcess bare;
            start(bare, m_options.bare,
                  {QStringLiteral("--load-runs"), QString::number(WakesPerRun),
                   m_server.pageUrl(QStringLiteral("x%1-").arg(++m_serial), heap),
                   m_server.pageUrl(QStringLiteral("x%1").arg(++m_serial))},
                  m_bareHome, platform);
            for (double ms : collectValues(bare, QStringLiteral("LOAD"), LoadTimeoutMs))
                note(QStringLiteral("sleep.load.bare"), ms);
            stop(bare);
        }
    }
}

namespace {
struct CpuUse
{
    double total = NaN;  // seconds per minute, the whole process tree
    double others = NaN; // the helpers but the busiest (the selected tab's renderer)
    QString parts;       // each process's share: the browser's, then the helpers', busiest first
};

// What the process tree of pid spends while the event loop runs for
// CpuWindowMs after CpuSettleMs.
CpuUse cpuPerMinute(qint64 pid)
{
    runEventLoop(CpuSettleMs);
    QElapsedTimer watched;
    watched.start();
    const QHash<qint64, double> before = ProcessTree::cpuSeconds(pid);
    runEventLoop(CpuWindowMs);
    const QHash<qint64, double> after = ProcessTree::cpuSeconds(pid);
    const double perMinute = 60000.0 / double(watched.elapsed());
    CpuUse use;
    use.total = 0;
    use.others = 0;
    QList<double> helpers;
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        const double spent = (it.value() - before.value(it.key(), 0)) * perMinute;
        use.total += spent;
        if (it.key() == pid)
            use.parts = QStringLiteral("browser %1; helpers").arg(spent, 0, 'f', 3);
        else
            helpers << spent;
    }
    std::sort(helpers.begin(), helpers.end(), std::greater<double>());
    for (int i = 0; i < helpers.size(); ++i) {
        use.parts += QStringLiteral(" %1").arg(helpers[i], 0, 'f', 3);
        use.others += i > 0 ? helpers[i] : 0;
    }
    return use;
}
} // namespace

// Pages with a 10 ms script timer, the last one selected, in each program
// with one tab and then with ten: Corvane once the nine behind are frozen,
// the bare program with all alive. What the nine tabs behind cost is the
// difference, as the selected tab runs its timer in both programs; what
// their renderers spend is shown beside it.
void Benchmark::measureSleepCpu(Platform platform)
{
    const auto timer = BenchServer::Kind::Timer;
    const int pairs = std::max(3, m_options.runs / 2);
    for (int run = 0; run < pairs; ++run) {
        CpuUse corvane[2];
        {
            const QString base = QStringLiteral("c%1-").arg(++m_serial);
            writeSleepDelays(m_sleepHome, FreezeSeconds, 0);
            writeHistory(m_probeEmpty, 0);
            writeHomePage(m_probeEmpty, m_server.pageUrl(base + QLatin1Char('0'), timer));
            QProcess probe;
            start(probe, m_options.probe,
                  {QStringLiteral("--app-folder"), m_probeEmpty, QStringLiteral("frozen"),
                   m_server.pageUrl(base, timer)},
                  m_sleepHome, platform);
            if (waitForLine(probe, QStringLiteral("READY tabs1"), LoadTimeoutMs).isEmpty()) {
                std::fprintf(stderr, "The probe did not load its home page\n");
            } else {
                corvane[0] = cpuPerMinute(probe.processId());
                detail(QStringLiteral("1 tab: ") + corvane[0].parts);
                probe.write("next\n");
                if (waitForLine(probe, QStringLiteral("READY frozen"), SleepTimeoutMs).isEmpty()) {
                    std::fprintf(stderr, "The probe's tabs did not freeze\n");
                } else {
                    corvane[1] = cpuPerMinute(probe.processId());
                    detail(QStringLiteral("10 tabs: ") + corvane[1].parts);
                    probe.write("next\n");
                }
            }
            stop(probe);
        }
        CpuUse bare[2];
        for (int tabs : {1, TabCount}) {
            QStringList urls;
            QStringList names;
            for (int i = 0; i < tabs; ++i) {
                names << QStringLiteral("w%1").arg(++m_serial);
                urls << m_server.pageUrl(names.last(), timer);
            }
            QProcess process;
            start(process, m_options.bare, urls, m_bareHome, platform);
            if (m_server.waitForMarkers(names, LoadTimeoutMs) < 0) {
                std::fprintf(stderr, "The bare program did not load its pages\n");
            } else {
                bare[tabs > 1] = cpuPerMinute(process.processId());
                detail(QStringLiteral("bare, %1 tabs: ").arg(tabs) + bare[tabs > 1].parts);
            }
            stop(process);
        }
        const double behind = corvane[1].total - corvane[0].total;
        const double bareBehind = bare[1].total - bare[0].total;
        note(QStringLiteral("sleep.cpu.corvane"), corvane[1].total);
        note(QStringLiteral("sleep.cpu.bare"), bare[1].total);
        note(QStringLiteral("ratio.sleep.cpu.total"), corvane[1].total / bare[1].total);
        note(QStringLiteral("sleep.cpu.behind.corvane"), behind);
        note(QStringLiteral("sleep.cpu.behind.bare"), bareBehind);
        note(QStringLiteral("ratio.sleep.cpu"), behind / bareBehind);
        note(QStringLiteral("sleep.cpu.renderers.corvane"), corvane[1].others);
        note(QStringLiteral("sleep.cpu.renderers.bare"), bare[1].others);
        note(QStringLiteral("ratio.sleep.cpu.renderers"), corvane[1].others / bare[1].others);
    }
}

// A second start while Corvane runs, launch to exit: through the launcher
// (Qt Core and Network only) and, as before it, through the browser program.
void Benchmark::measureHandOver()
{
    std::fprintf(stderr, "Hand-over...\n");
    const Platform platform = m_options.useX ? Platform::X : Platform::Offscreen;
    const QString home = QStringLiteral("h%1").arg(++m_serial);
    writeHomePage(m_appEmpty, m_server.pageUrl(home));
    QProcess running;
    if (!start(running, m_appEmpty + QStringLiteral("/corvane"), {}, m_corvaneHome, platform) ||
        m_server.waitForMarker(home, LoadTimeoutMs) < 0) {
        std::fprintf(stderr, "Corvane did not start for the hand-over\n");
        stop(running);
        return;
    }
    const int runs = std::max(m_options.runs, MinInProcessRuns);
    for (int run = 0; run <= runs; ++run) {
        for (const char *program : {"corvane", "corvane-browser"}) {
            const QString page = QStringLiteral("ho%1").arg(++m_serial);
            QProcess second;
            const qint64 launched = m_clock.nsecsElapsed();
            if (!start(second, m_appEmpty + QLatin1Char('/') + QLatin1String(program),
                       {m_server.pageUrl(page)}, m_corvaneHome, platform) ||
                !second.waitForFinished(LoadTimeoutMs))
                continue;
            const double ms = (m_clock.nsecsElapsed() - launched) / 1e6;
            if (run > 0) // the first only warms the disk cache
                note(QLatin1String(program) == QLatin1String("corvane")
                         ? QStringLiteral("handover.launcher")
                         : QStringLiteral("handover.browser"),
                     ms);
            // Its tab loads, and the window settles, before the next start.
            m_server.waitForMarker(page, LoadTimeoutMs);
            runEventLoop(500);
        }
    }
    stop(running);
}

// A session of 100 tabs, each three pages deep, restored at start (only the
// selected tab loads), against Corvane's own start with its home page.
void Benchmark::measureSession()
{
    std::fprintf(stderr, "Restored sessions...\n");
    const Platform platform = m_options.useX ? Platform::X : Platform::Offscreen;
    {
        QSettings store(m_sessionHome + QStringLiteral("/config/Corvane/Corvane.conf"),
                        QSettings::IniFormat);
        store.setValue(QStringLiteral("Session/RestoreAtStart"), QStringLiteral("true"));
    }
    const QString file = m_sessionHome + QStringLiteral("/data/Corvane/Corvane/session.dat");
    auto mib = [](qint64 kib) { return kib / 1024.0; };
    for (int run = 0; run < m_options.runs; ++run) {
        const QString base = QStringLiteral("r%1-").arg(++m_serial);
        writeHomePage(m_probeEmpty, m_server.pageUrl(QStringLiteral("rh%1").arg(++m_serial)));
        QProcess probe;
        start(probe, m_options.probe,
              {QStringLiteral("--app-folder"), m_probeEmpty, QStringLiteral("session"), file,
               m_server.pageUrl(base), QString::number(RestoredTabs), QStringLiteral("20")},
              m_probeHome, platform);
        for (double ms : collectValues(probe, QStringLiteral("SAVE"), LoadTimeoutMs))
            note(QStringLiteral("session.save"), ms);
        stop(probe);

        const QString selected = base + QLatin1Char('3');
        // Launch to the selected page's marker; with settleMs, the memory
        // that long after instead.
        auto launch = [&](bool restored, int settleMs) {
            QString marker = selected;
            if (restored) {
                m_server.forgetMarker(selected);
            } else {
                marker = QStringLiteral("rs%1").arg(++m_serial);
                writeHomePage(m_appEmpty, m_server.pageUrl(marker));
            }
            QProcess process;
            const qint64 launched = m_clock.nsecsElapsed();
            double value = NaN;
            if (start(process, m_appEmpty + QStringLiteral("/corvane"), {},
                      restored ? m_sessionHome : m_corvaneHome, platform)) {
                const qint64 arrived = m_server.waitForMarker(marker, LoadTimeoutMs);
                if (arrived >= 0 && settleMs == 0) {
                    value = (arrived - launched) / 1e6;
                } else if (arrived >= 0) {
                    runEventLoop(settleMs);
                    value = mib(ProcessTree::pssKiB(process.processId()));
                    detail(ProcessTree::describe(process.processId()));
                }
            }
            stop(process);
            if (std::isnan(value))
                std::fprintf(stderr, "No marker from Corvane (%s)\n",
                             restored ? "restored session" : "one tab");
            return value;
        };
        const double restoredStart = launch(true, 0);
        const double oneStart = launch(false, 0);
        note(QStringLiteral("session.startup.100"), restoredStart);
        note(QStringLiteral("session.startup.1"), oneStart);
        note(QStringLiteral("ratio.session.startup"), restoredStart / oneStart);
        if (run < 3) { // half a minute each
            const double restoredMemory = launch(true, SessionSettleMs);
            const double oneMemory = launch(false, SessionSettleMs);
            note(QStringLiteral("session.memory.100"), restoredMemory);
            note(QStringLiteral("session.memory.1"), oneMemory);
            note(QStringLiteral("ratio.session.memory"), restoredMemory / oneMemory);
        }
    }
}

void Benchmark::note(const QString &key, double value)
{
    if (!std::isnan(value))
        m_samples[key].append(value);
    if (m_options.verbose)
        std::fprintf(stderr, "  %-24s %10.3f\n", qPrintable(key), value);
}

void Benchmark::detail(const QString &text)
{
    if (m_options.verbose)
        std::fprintf(stderr, "    %s\n", qPrintable(text));
}

double Benchmark::median(const QString &key) const
{
    QVector<double> values = m_samples.value(key);
    if (values.isEmpty())
        return NaN;
    std::sort(values.begin(), values.end());
    const int n = values.size();
    return n % 2 ? values.at(n / 2) : (values.at(n / 2 - 1) + values.at(n / 2)) / 2;
}

void Benchmark::report() const
{
    struct Row
    {
        QString figure;
        double corvane;
        double bare;
        double ratio; // NaN: no ratio is asked for
        QString target;
        bool met;
        int samples;
    };
    QVector<Row> rows;
    // Ratios are the median of each run's ratio: Corvane and the bare program
    // are measured back to back, so a change in the machine's load between
    // runs (or in the other processes sharing the libraries, which moves
    // PSS) falls on both.
    auto ratioRow = [&](const QString &figure, const QString &key, const QString &bareKey,
                        const QString &ratioKey, double limit,
                        const QString &against = QStringLiteral("bare")) {
        const double c = median(key);
        const double b = median(bareKey);
        const double r = median(ratioKey);
        rows.append({figure, c, b, r,
                     QStringLiteral("<= %1 x %2").arg(limit, 0, 'f', 2).arg(against), r <= limit,
                     int(m_samples.value(key).size())});
    };
    auto limitRow = [&](const QString &figure, double c, double b, double limit,
                        const QString &unit, int samples) {
        rows.append({figure, c, b, b > 0 ? c / b : NaN,
                     QStringLiteral("<= %1 %2").arg(limit).arg(unit), c <= limit, samples});
    };

    // Start-up to the page shown, then to the window's first paint, per platform.
    for (const auto &[name, what, limit] :
         {std::tuple{"Start-up, %1 (ms)", "startup", 1.05},
          std::tuple{"Start-up, window painted, %1 (ms)", "painted", 0.5}}) {
        for (const bool x : {true, false}) {
            if (x && !m_options.useX)
                continue;
            const QString tag = platformTag(x);
            const QString key = QLatin1String(what) + QLatin1Char('.');
            ratioRow(QString::fromLatin1(name).arg(x ? "Xvfb" : "offscreen"),
                     key + QStringLiteral("corvane.") + tag, key + QStringLiteral("bare.") + tag,
                     QStringLiteral("ratio.") + key + tag, limit);
        }
    }
    ratioRow(QStringLiteral("Memory, 1 tab (MiB PSS)"), QStringLiteral("memory.corvane.1"),
             QStringLiteral("memory.bare.1"), QStringLiteral("ratio.memory.1"), 1.05);
    ratioRow(QStringLiteral("Memory, 10 tabs (MiB PSS)"), QStringLiteral("memory.corvane.10"),
             QStringLiteral("memory.bare.10"), QStringLiteral("ratio.memory.10"), 1.10);
    {
        const double closed = median(QStringLiteral("memory.corvane.closed"));
        const double ratio = median(QStringLiteral("ratio.memory.closed"));
        rows.append({QStringLiteral("Memory, 9 of 10 closed (MiB PSS)"), closed, NaN, ratio,
                     QStringLiteral("<= 1.15 x 1 tab"), ratio <= 1.15,
                     int(m_samples.value(QStringLiteral("memory.corvane.closed")).size())});
    }
    ratioRow(QStringLiteral("Memory, 10 tabs asleep (MiB PSS)"),
             QStringLiteral("sleep.memory.corvane"), QStringLiteral("sleep.memory.bare"),
             QStringLiteral("ratio.sleep.memory"), 0.5);
    ratioRow(QStringLiteral("CPU, 9 background tabs (s per minute)"),
             QStringLiteral("sleep.cpu.behind.corvane"), QStringLiteral("sleep.cpu.behind.bare"),
             QStringLiteral("ratio.sleep.cpu"), 0.2);
    {
        const QString key = QStringLiteral("sleep.cpu.corvane");
        rows.append({QStringLiteral("  the whole tree with 10 tabs"), median(key),
                     median(QStringLiteral("sleep.cpu.bare")),
                     median(QStringLiteral("ratio.sleep.cpu.total")), QString(), true,
                     int(m_samples.value(key).size())});
        const QString own = QStringLiteral("sleep.cpu.renderers.corvane");
        rows.append({QStringLiteral("  the renderers of the nine tabs behind"), median(own),
                     median(QStringLiteral("sleep.cpu.renderers.bare")),
                     median(QStringLiteral("ratio.sleep.cpu.renderers")), QString(), true,
                     int(m_samples.value(own).size())});
    }
    // Ratios of medians, as the samples are not taken in pairs.
    auto medianRatioRow = [&](const QString &figure, const QString &key, const QString &bareKey,
                              double limit, const QString &against) {
        const double c = median(key);
        const double b = median(bareKey);
        rows.append({figure, c, b, c / b,
                     QStringLiteral("<= %1 x %2").arg(limit, 0, 'f', 2).arg(against),
                     c / b <= limit, int(m_samples.value(key).size())});
    };
    medianRatioRow(QStringLiteral("Wake a sleeping tab (ms; bare: a fresh load)"),
                   QStringLiteral("sleep.wake.corvane"), QStringLiteral("sleep.load.bare"), 1.2,
                   QStringLiteral("load"));
    if (m_options.useX)
        medianRatioRow(QStringLiteral("New tab, Xvfb (ms)"), QStringLiteral("newtab.corvane.x"),
                       QStringLiteral("newtab.bare.x"), 1.0, QStringLiteral("bare"));
    limitRow(QStringLiteral("New tab, offscreen (ms)"),
             median(QStringLiteral("newtab.corvane.off")),
             median(QStringLiteral("newtab.bare.off")), 50, QStringLiteral("ms"),
             int(m_samples.value(QStringLiteral("newtab.corvane.off")).size()));
    {
        // Each history start is paired with the plain start just before it.
        const double extra = median(QStringLiteral("extra.history"));
        limitRow(QStringLiteral("100,000-record history: extra start-up (ms)"), extra, NaN, 150,
                 QStringLiteral("ms"),
                 int(m_samples.value(QStringLiteral("startup.history")).size()));
    }
    limitRow(QStringLiteral("200,000 visited pages: extra start-up (ms)"),
             median(QStringLiteral("extra.visited")), NaN, 20, QStringLiteral("ms"),
             int(m_samples.value(QStringLiteral("extra.visited")).size()));
    {
        const QString key = QStringLiteral("suggest.visited");
        const int samples = int(m_samples.value(key).size());
        limitRow(QStringLiteral("History suggestion, 200,000 entries (ms per keystroke)"),
                 median(key), NaN, 5, QStringLiteral("ms"), samples);
        limitRow(QStringLiteral("  the same, 99th percentile"), percentile(key, 0.99), NaN, 5,
                 QStringLiteral("ms"), samples);
    }
    limitRow(QStringLiteral("GO! with 100,000 addresses (ms)"),
             median(QStringLiteral("go.history")), NaN, 5, QStringLiteral("ms"),
             int(m_samples.value(QStringLiteral("go.history")).size()));
    // Against Corvane's own start with one tab, in the "bare" column.
    ratioRow(QStringLiteral("Start-up, 100 restored tabs (ms)"),
             QStringLiteral("session.startup.100"), QStringLiteral("session.startup.1"),
             QStringLiteral("ratio.session.startup"), 1.1, QStringLiteral("1 tab"));
    ratioRow(QStringLiteral("Memory, 100 restored tabs (MiB PSS)"),
             QStringLiteral("session.memory.100"), QStringLiteral("session.memory.1"),
             QStringLiteral("ratio.session.memory"), 1.2, QStringLiteral("1 tab"));
    limitRow(QStringLiteral("Second launch, hand-over (ms; bare: browser program)"),
             median(QStringLiteral("handover.launcher")),
             median(QStringLiteral("handover.browser")), 30, QStringLiteral("ms"),
             int(m_samples.value(QStringLiteral("handover.launcher")).size()));
    limitRow(QStringLiteral("Session write, 100 tabs (ms)"), median(QStringLiteral("session.save")),
             NaN, 5, QStringLiteral("ms"),
             int(m_samples.value(QStringLiteral("session.save")).size()));
    rows.append({QStringLiteral("GO! with an empty list (ms, for reference)"),
                 median(QStringLiteral("go.empty")), NaN, NaN, QString(), true,
                 int(m_samples.value(QStringLiteral("go.empty")).size())});

    auto number = [](double v, int width) {
        return std::isnan(v)
                   ? QString(width, QLatin1Char(' ')).replace(width - 1, 1, QLatin1Char('-'))
                   : QStringLiteral("%1").arg(v, width, 'f', v < 10 ? 3 : 1);
    };
    std::printf("\n%-44s %9s %9s %7s  %-16s %-6s %s\n", "Figure (median)", "Corvane", "bare",
                "ratio", "target", "result", "runs");
    std::printf("%s\n", QString(104, QLatin1Char('-')).toLatin1().constData());
    for (const Row &row : rows) {
        const QString result = row.target.isEmpty()      ? QString()
                               : row.samples == 0        ? QStringLiteral("-")
                               : std::isnan(row.corvane) ? QStringLiteral("FAILED")
                               : row.met                 ? QStringLiteral("met")
                                                         : QStringLiteral("MISSED");
        std::printf("%-44s %9s %9s %7s  %-16s %-6s %d\n", qPrintable(row.figure),
                    qPrintable(number(row.corvane, 9)), qPrintable(number(row.bare, 9)),
                    qPrintable(number(row.ratio, 7)), qPrintable(row.target), qPrintable(result),
                    row.samples);
    }
    std::printf("\nStart-up, memory and CPU ratios: median of the ratios of runs taken back to "
                "back;\nnew tab and wake: ratio of the medians. 9 of 10 closed: against Corvane's "
                "own 1-tab figure.\nAsleep: the nine tabs behind discarded (memory) or frozen "
                "(CPU; process tree, over %d s,\nless the same program's figure with its one "
                "tab).\n",
                CpuWindowMs / 1000);
    std::fflush(stdout);
}

int Benchmark::run()
{
    if (!prepare())
        return 1;
    if (m_options.only.contains(QLatin1String("startup")))
        measureStartup();
    if (m_options.only.contains(QLatin1String("memory")))
        measureMemory();
    if (m_options.only.contains(QLatin1String("inprocess")))
        measureInProcess();
    if (m_options.only.contains(QLatin1String("sleep")) ||
        m_options.only.contains(QLatin1String("sleepcpu")))
        measureSleep();
    if (m_options.only.contains(QLatin1String("handover")))
        measureHandOver();
    if (m_options.only.contains(QLatin1String("session")))
        measureSession();
    stopX();
    report();
    if (m_options.keep)
        std::fprintf(stderr, "Temporary folder kept: %s\n", qPrintable(m_root.path()));
    return 0;
}
