// The benchmark driver: starts Corvane, its in-process probe and the bare
// engine program against the loopback server, takes every figure several
// times and prints the medians side by side with their targets.
#pragma once

#include "BenchServer.h"

#include <QElapsedTimer>
#include <QMap>
#include <QObject>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QVector>

class QProcess;

class Benchmark : public QObject
{
    Q_OBJECT
public:
    struct Options
    {
        QString corvane; // the executable, copied into each application folder
        QString probe;
        QString bare;
        int runs = 5;
        bool useX = true; // run an X server (Xvfb) for the X figures
        bool verbose = false;
        bool keep = false; // keep the temporary folder
        // Which groups of figures to take: startup, memory, inprocess, sleep,
        // session, handover.
        QStringList only{QStringLiteral("startup"),   QStringLiteral("memory"),
                         QStringLiteral("inprocess"), QStringLiteral("sleep"),
                         QStringLiteral("session"),   QStringLiteral("handover")};
    };

    explicit Benchmark(const Options &options, QObject *parent = nullptr);
    ~Benchmark() override;

    // Takes every figure and prints the table; non-zero when the benchmark
    // itself could not run.
    int run();

private:
    enum class Platform { X, Offscreen };

    bool prepare();
    bool startX();
    void stopX();

    QString makeHome(const QString &name) const;
    QString makeAppFolder(const QString &name, bool withExecutable) const;
    void writeHomePage(const QString &folder, const QString &address) const;
    void writeHistory(const QString &folder, int records) const;
    // The sleep delays in the settings store of a home made by makeHome.
    void writeSleepDelays(const QString &home, int freezeSeconds, int discardSeconds) const;
    QProcessEnvironment environment(const QString &home, Platform platform) const;
    bool start(QProcess &process, const QString &program, const QStringList &args,
               const QString &home, Platform platform) const;
    void stop(QProcess &process) const;

    // Launch to marker, in milliseconds; NaN when the marker never came.
    // With painted, also launch to the program's report of its first paint.
    double startupRun(const QString &program, const QStringList &args, const QString &home,
                      Platform platform, const QString &marker, double *painted = nullptr);
    void measureStartup();
    void measureMemory();
    void measureInProcess();
    void measureSuggestions(Platform platform);
    double percentile(const QString &key, double fraction) const;
    void measureSleep();
    void measureSleepMemoryAndWake(Platform platform);
    void measureSleepCpu(Platform platform);
    void measureSession();
    void measureHandOver();

    void note(const QString &key, double value);
    void detail(const QString &text);
    double median(const QString &key) const;
    void report() const;

    Options m_options;
    QElapsedTimer m_clock;
    bool m_reportPaint = false; // the programs started print "PAINTED"
    QTemporaryDir m_root;
    BenchServer m_server;
    QProcess *m_xserver = nullptr;
    QString m_display;
    bool m_asRoot = false;
    int m_serial = 0; // makes every page address unique, so nothing is cached

    QString m_corvaneHome;
    QString m_bareHome;
    QString m_probeHome;
    QString m_visitedHome; // a home whose data folder holds a 200,000-page history.db
    QString m_sleepHome;   // its settings store holds low sleep delays
    QString m_sessionHome; // restores its 100-tab session at every start
    QString m_appEmpty;    // corvane, empty WebHis.dat
    QString m_appHistory;  // corvane, 100,000-record WebHis.dat
    QString m_probeEmpty;
    QString m_probeHistory;

    QMap<QString, QVector<double>> m_samples;
};
