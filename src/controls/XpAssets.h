// The compiled-in pictures of the XP-style controls, ready to draw.
#pragma once

#include <QPixmap>
#include <QString>

class XpAssets
{
public:
    static QString faceStripPath();    // ":/controls/xpcmdbutton.png"
    static QString framePicturePath(); // ":/controls/xpgroupbox.png"

    // The face strip of xpcmdbutton and the frame picture of xpgroupbox.
    static QPixmap faceStrip();
    static QPixmap framePicture();
};
