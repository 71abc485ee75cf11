// Start-up of the Corvane process.
#include "app/CorvaneApp.h"

#include <QApplication>

void CorvaneApp::setIdentity()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Corvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Corvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));
}

int CorvaneApp::run(int argc, char **argv)
{
    setIdentity();
    QApplication app(argc, argv);
    return 0;
}
