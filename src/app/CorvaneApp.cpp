// Start-up of the Corvane process.
#include "app/CorvaneApp.h"

#include "app/CommandLine.h"
#include "app/Launcher.h"
#include "app/SingleInstance.h"
#include "app/frmWeb.h"
#include "store/AppPaths.h"
#include "store/Module1.h"
#include "store/PrivateMode.h"
#include "web/Engine.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

#include <cstdio>

void CorvaneApp::setIdentity()
{
    Launcher::setIdentity();
}

int CorvaneApp::run(int argc, char **argv)
{
    setIdentity();
    CommandLine command;
    QString socket;
    {
        // Reading the command line and handing over need no screen, so
        // --help, --version and a second start work without one, and a
        // second start ends here without starting the engine.
        QCoreApplication core(argc, argv);
        command = CommandLine::parse(Launcher::programArguments(), QDir::currentPath());
        const int status = command.report();
        if (status >= 0)
            return status;
        socket = SingleInstance::socketPath(AppPaths::appFolder());
        // Started by the launcher, which tried already.
        const bool tried = qEnvironmentVariableIsSet(Launcher::LaunchedVariable);
        qunsetenv(Launcher::LaunchedVariable);
        if (!tried && Launcher::handOver(command, socket))
            return 0;
    }

    PrivateMode::setOn(command.privateWindow);
    QApplication app(argc, argv);
    Engine::prepareOpenGL(); // while the window is built
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/app/corvane.png")));
    int status = 0;
    {
        // The window is built and painted first; the engine starts after.
        Engine::hold();
        frmWeb window;
        window.setCommandLineAddresses(!command.addresses.isEmpty());
        window.Form_Load();
        SingleInstance instance;
        QObject::connect(
            &instance, &SingleInstance::addressesReceived, &window,
            [&window](const QStringList &addresses) { openHandedOver(window, addresses); });
        // Under --new-window a running program keeps its socket.
        // A private browser takes no part in the hand-over.
        if (!command.privateWindow && !socket.isEmpty() && !instance.listen(socket) &&
            !command.newWindow)
            qWarning("Corvane: cannot listen at %s; later starts open windows of their own",
                     qPrintable(socket));
        if (!command.addresses.isEmpty()) {
            // After a restored session they open behind its tabs.
            window.openAddresses(command.addresses, !window.sessionRestored());
            reportTabs(window);
        }
        status = app.exec();
    }
    return status;
}

void CorvaneApp::openHandedOver(frmWeb &window, QStringList addresses)
{
    if (addresses.isEmpty())
        addresses.append(Module1::GetHomePage());
    window.openAddresses(addresses, false);
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
    reportTabs(window);
}

void CorvaneApp::reportTabs(const frmWeb &window)
{
    if (!qEnvironmentVariableIsSet("CORVANE_REPORT_TABS"))
        return;
    QString line = QStringLiteral("tabs %1:").arg(window.selectedIndex());
    for (const PageView *view : window.views())
        line += QLatin1Char(' ') + view->LocationURL();
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}
