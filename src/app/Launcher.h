// What `corvane` does before any browser exists: reads the command line,
// answers --help and --version, and hands the addresses to a Corvane that
// is already running; only when none takes them does it start the browser
// program (corvane-browser) in its place. It needs Qt Core and Network only,
// so a second start ends in milliseconds without loading the web engine.
#pragma once

#include <QString>

class CommandLine;
#include <QStringList>

class Launcher
{
public:
    // The environment variable the launcher sets for the browser it starts:
    // that browser does not try the hand-over again.
    static const char *const LaunchedVariable;

    static int run(int argc, char **argv);
    // Hands the command's addresses to the Corvane listening at socket
    // (not for --new-window or --private); true when it took them.
    static bool handOver(const CommandLine &command, const QString &socket);
    // The names and version Qt and the settings store use.
    static void setIdentity();
    // The program's own arguments: argv up to "--webEngineArgs", after
    // which the arguments are the engine's.
    static QStringList programArguments();
    // The browser program beside the launcher (a build folder), or in
    // ../libexec of an installed copy (where the browser, like the launcher in
    // bin, finds share/corvane/installed-copy one folder up); empty when there is none.
    static QString browserProgram();
};
