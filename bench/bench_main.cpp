// corvane-bench: prints Corvane's start-up, memory, new-tab, GO! and sleeping-tab figures
// beside those of the bare engine program. See bench/run.sh.
#include "Benchmark.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Measures Corvane against the bare engine program."));
    parser.addHelpOption();
    const QCommandLineOption corvane(QStringLiteral("corvane"), QStringLiteral("The executable."),
                                     QStringLiteral("path"));
    const QCommandLineOption probe(QStringLiteral("probe"), QStringLiteral("corvane-probe."),
                                   QStringLiteral("path"));
    const QCommandLineOption bare(QStringLiteral("bare"), QStringLiteral("The bare program."),
                                  QStringLiteral("path"));
    const QCommandLineOption runs(QStringLiteral("runs"),
                                  QStringLiteral("Runs per figure (at least 5)."),
                                  QStringLiteral("n"), QStringLiteral("5"));
    const QCommandLineOption noX(QStringLiteral("no-x"),
                                 QStringLiteral("No X server: offscreen figures only."));
    const QCommandLineOption verbose(QStringLiteral("verbose"),
                                     QStringLiteral("Print every sample."));
    const QCommandLineOption keep(QStringLiteral("keep"),
                                  QStringLiteral("Keep the temporary folder and its logs."));
    const QCommandLineOption only(
        QStringLiteral("only"),
        QStringLiteral("Take only these figures: startup, memory, session, handover, "
                       "inprocess, sleep, sleepcpu (comma-separated)."),
        QStringLiteral("groups"));
    parser.addOptions({corvane, probe, bare, runs, noX, verbose, keep, only});
    parser.process(app);

    const QString here = QCoreApplication::applicationDirPath();
    Benchmark::Options options;
    options.corvane =
        parser.isSet(corvane) ? parser.value(corvane) : here + QStringLiteral("/../corvane");
    options.probe =
        parser.isSet(probe) ? parser.value(probe) : here + QStringLiteral("/corvane-probe");
    options.bare = parser.isSet(bare) ? parser.value(bare) : here + QStringLiteral("/bare");
    // The children run in folders of their own.
    for (QString *path : {&options.corvane, &options.probe, &options.bare})
        *path = QFileInfo(*path).absoluteFilePath();
    options.runs = qMax(5, parser.value(runs).toInt());
    options.useX = !parser.isSet(noX);
    options.verbose = parser.isSet(verbose);
    options.keep = parser.isSet(keep);
    if (parser.isSet(only))
        options.only = parser.value(only).split(QLatin1Char(','));
    Benchmark benchmark(options);
    return benchmark.run();
}
