// Loads the control pictures from the :/controls resources.
#include "controls/XpAssets.h"

#include "controls/XpAssetPainter.h"

static void registerControlsResources()
{
    // The resources are linked from a static library where nothing refers
    // to them, so they are registered by hand before the first load.
    Q_INIT_RESOURCE(controls);
}

static QPixmap loadResource(const QString &path)
{
    static const bool registered = (registerControlsResources(), true);
    Q_UNUSED(registered);
    // QPixmap keeps what it loads from a file in the pixmap cache, so all
    // the controls share one copy of each picture.
    return QPixmap(path);
}

QString XpAssets::faceStripPath()
{
    return QStringLiteral(":/controls/") + XpAssetPainter::faceStripFileName();
}

QString XpAssets::framePicturePath()
{
    return QStringLiteral(":/controls/") + XpAssetPainter::framePictureFileName();
}

QPixmap XpAssets::faceStrip()
{
    return loadResource(faceStripPath());
}

QPixmap XpAssets::framePicture()
{
    return loadResource(framePicturePath());
}
