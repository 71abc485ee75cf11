// The small program in front of the browser: hand-over, or start it.
#include "app/Launcher.h"

#include "app/CommandLine.h"
#include "app/SingleInstance.h"
#include "store/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>

const char *const Launcher::LaunchedVariable = "CORVANE_LAUNCHED";

void Launcher::setIdentity()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Corvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Corvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));
}

QStringList Launcher::programArguments()
{
    QStringList arguments = QCoreApplication::arguments();
    const qsizetype engine = arguments.indexOf(QStringLiteral("--webEngineArgs"));
    if (engine > 0)
        arguments = arguments.mid(0, engine);
    return arguments;
}

QString Launcher::browserProgram()
{
    const QString folder = QCoreApplication::applicationDirPath();
    for (const QString &candidate : {folder + QStringLiteral("/corvane-browser"),
                                     folder + QStringLiteral("/../libexec/corvane-browser")}) {
        if (QFileInfo(candidate).isExecutable())
            return QFileInfo(candidate).absoluteFilePath();
    }
    return QString();
}

bool Launcher::handOver(const CommandLine &command, const QString &socket)
{
    if (command.newWindow || socket.isEmpty())
        return false;
    switch (SingleInstance::handOver(socket, command.addresses)) {
    case SingleInstance::HandOver::Done:
        return true;
    case SingleInstance::HandOver::NoAnswer:
        std::fputs("corvane: the running Corvane did not answer; starting another\n", stderr);
        break;
    case SingleInstance::HandOver::NoProgram:
        break;
    }
    return false;
}

int Launcher::run(int argc, char **argv)
{
    setIdentity();
    QString browser;
    {
        QCoreApplication core(argc, argv);
        const CommandLine command = CommandLine::parse(programArguments(), QDir::currentPath());
        const int status = command.report();
        if (status >= 0)
            return status;
        if (handOver(command, SingleInstance::socketPath(AppPaths::appFolder())))
            return 0;
        browser = browserProgram();
        if (browser.isEmpty()) {
            std::fprintf(stderr,
                         "corvane: the browser program corvane-browser is missing beside %s\n",
                         qPrintable(QCoreApplication::applicationFilePath()));
            return 127;
        }
    }
    // The browser takes this process over with the same arguments.
    const QByteArray path = QFile::encodeName(browser);
    std::vector<char *> arguments(argv, argv + argc);
    arguments[0] = const_cast<char *>(path.constData());
    arguments.push_back(nullptr);
    setenv(LaunchedVariable, "1", 1);
    execv(path.constData(), arguments.data());
    std::fprintf(stderr, "corvane: cannot start %s: %s\n", path.constData(), std::strerror(errno));
    return 127;
}
