// Draws the pictures of the XP-style controls: the five button faces and the group-box frame.
#pragma once

#include <QImage>
#include <QString>

// The assetgen tool writes them as the PNGs in assets/ that are compiled into
// the resources; the controls only load those files (XpControl::picture).
class XpAssetPainter
{
public:
    // Face strip of the command button: five cells side by side.
    enum Face { Normal = 0, Pressed = 1, Disabled = 2, Hot = 3, Default = 4 };
    static constexpr int CellWidth = 18;
    static constexpr int CellHeight = 21;
    static constexpr int CellCount = 5;

    // Frame picture of the group box.
    static constexpr int FrameWidth = 22;
    static constexpr int FrameHeight = 20;
    // Palette indexes of the frame picture.
    enum FrameColor { FrameLine = 0, FrameClear = 1, FrameBlend = 2, FrameUnused = 3 };

    // Border colour of every face but the disabled one.
    static QRgb borderColor() { return qRgb(0, 60, 116); }

    static QImage paintFaceStrip();
    static QImage paintFramePicture();

    // File names in the assets folder (and in the :/controls resources).
    static QString faceStripFileName() { return QStringLiteral("xpcmdbutton.png"); }
    static QString framePictureFileName() { return QStringLiteral("xpgroupbox.png"); }

    // Writes both pictures into folder; false when one cannot be written.
    static bool writeAssets(const QString &folder, QString *error = nullptr);
};
