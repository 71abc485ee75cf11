// Start-up of the Corvane process.
#include "app/CorvaneApp.h"

#include "app/frmWeb.h"

#include <QApplication>
#include <QIcon>

void CorvaneApp::setIdentity()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Corvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Corvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

int CorvaneApp::run(int argc, char **argv)
{
    setIdentity();
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/app/corvane.png")));
    int status = 0;
    {
        frmWeb window;
        window.Form_Load();
        status = app.exec();
    }
    return status;
}
