// Writes the face strip of the command button and the frame picture of the
// group box as PNGs. Run it after changing XpAssetPainter and commit the files.
#include "XpAssetPainter.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString folder = args.size() > 1 ? args.at(1) : QStringLiteral(CORVANE_CONTROLS_ASSETS);
    QTextStream err(stderr);
    if (!QDir().mkpath(folder)) {
        err << "assetgen: cannot create " << folder << "\n";
        return 1;
    }
    QString error;
    if (!XpAssetPainter::writeAssets(folder, &error)) {
        err << "assetgen: " << error << "\n";
        return 1;
    }
    QTextStream(stdout) << "assetgen: wrote " << XpAssetPainter::faceStripFileName() << " and "
                        << XpAssetPainter::framePictureFileName() << " to " << folder << "\n";
    return 0;
}
