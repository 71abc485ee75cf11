// What Corvane was asked to do on its command line: the options, and each
// address argument made into an address the window can open. Parsing is
// pure (no display, no files written), so it runs before anything needs a
// screen and can be checked without a window.
#pragma once

#include <QString>
#include <QStringList>

class CommandLine
{
public:
    enum class Outcome { Start, ShowHelp, ShowVersion, BadUsage };

    // argv without anything after "--webEngineArgs" (the engine's own
    // arguments); argv[0] first. Relative file paths are resolved against
    // currentFolder.
    static CommandLine parse(const QStringList &arguments, const QString &currentFolder);

    // The address one argument stands for: a URL with a scheme as it is; an
    // existing file or folder (relative to currentFolder) as a file:// URL;
    // a host name completed as GO! completes it. Empty, with *problem set to
    // a one-line reason, when the argument cannot be used.
    static QString addressFor(const QString &argument, const QString &currentFolder,
                              QString *problem);

    // Writes help, version, the usage error or one line per skipped argument
    // to stdout/stderr; returns the exit status, or -1 when the program goes on.
    int report() const;

    Outcome outcome = Outcome::Start;
    bool newWindow = false;     // also set by privateWindow
    bool privateWindow = false; // --private
    QStringList addresses;      // the usable ones, in the order given
    QStringList problems;       // one line per argument that was skipped
    QString usage;              // help text (or the usage shown with an error)
    QString error;              // what was wrong with the options

    // Longest address argument taken, in characters.
    static constexpr int MaxAddressLength = 64 * 1024;
};
