// The control pictures built pixel by pixel from colour stops, the same on every machine.
#include "XpAssetPainter.h"

// Not drawn with QPainter, so the committed PNGs can be checked against a
// fresh drawing exactly.

#include <QDir>
#include <QList>
#include <QPair>
#include <algorithm>

namespace {

using Stops = QList<QPair<int, QRgb>>;

int channelMix(int a, int b, double t)
{
    return qRound(a + (b - a) * t);
}

// t = 0 gives a, t = 1 gives b.
QRgb mix(QRgb a, QRgb b, double t)
{
    return qRgb(channelMix(qRed(a), qRed(b), t), channelMix(qGreen(a), qGreen(b), t),
                channelMix(qBlue(a), qBlue(b), t));
}

QRgb darker(QRgb c, int dr, int dg, int db)
{
    return qRgb(std::max(0, qRed(c) - dr), std::max(0, qGreen(c) - dg), std::max(0, qBlue(c) - db));
}

// Piecewise linear between the stops (rows in ascending order); rows outside
// the stops take the nearest end colour.
QRgb along(const Stops &stops, int row)
{
    if (row <= stops.first().first)
        return stops.first().second;
    for (int i = 1; i < stops.size(); ++i) {
        if (row <= stops[i].first) {
            const auto &[r0, c0] = stops[i - 1];
            const auto &[r1, c1] = stops[i];
            return mix(c0, c1, double(row - r0) / double(r1 - r0));
        }
    }
    return stops.last().second;
}

constexpr int W = XpAssetPainter::CellWidth;
constexpr int H = XpAssetPainter::CellHeight;
constexpr int LastX = W - 1;      // 17
constexpr int LastY = H - 1;      // 20
constexpr int InnerLastX = W - 2; // 16, right-most interior column
constexpr int InnerLastY = H - 2; // 19, bottom interior row

// The plain face: a light vertical gradient, the two right-hand interior
// columns in shadow.
QRgb normalInterior(int x, int y)
{
    static const Stops stops{{1, qRgb(255, 255, 255)},
                             {10, qRgb(243, 243, 239)},
                             {17, qRgb(236, 235, 230)},
                             {19, qRgb(214, 208, 197)}};
    const QRgb base = along(stops, y);
    if (x == InnerLastX - 1)
        return darker(base, 5, 6, 8);
    if (x == InnerLastX)
        return darker(base, 11, 14, 16);
    return base;
}

// Pushed in: dark at the top, light at the bottom, the left column in shadow.
QRgb pressedInterior(int x, int y)
{
    static const Stops stops{{1, qRgb(209, 204, 193)},  {2, qRgb(220, 216, 207)},
                             {3, qRgb(226, 225, 218)},  {17, qRgb(226, 225, 218)},
                             {18, qRgb(234, 233, 227)}, {19, qRgb(242, 241, 238)}};
    const QRgb base = along(stops, y);
    return x == 1 ? darker(base, 11, 13, 15) : base;
}

QRgb disabledInterior(int, int)
{
    return qRgb(245, 244, 234);
}

// The normal face inside a two-pixel coloured frame: two rows at the top,
// two columns on each side shading down, two rows at the bottom.
struct InnerFrame
{
    QRgb top1, top2;
    Stops outerColumn, innerColumn;
    QRgb bottom1, bottom2;
};

QRgb framedInterior(const InnerFrame &f, int x, int y)
{
    if (y == 1)
        return f.top1;
    if (y == 2)
        return f.top2;
    if (y == InnerLastY - 1)
        return f.bottom1;
    if (y == InnerLastY)
        return f.bottom2;
    if (x == 1 || x == InnerLastX)
        return along(f.outerColumn, y);
    if (x == 2 || x == InnerLastX - 1)
        return along(f.innerColumn, y);
    return normalInterior(x, y);
}

QRgb hotInterior(int x, int y)
{
    static const InnerFrame frame{qRgb(255, 240, 207),
                                  qRgb(253, 216, 137),
                                  {{3, qRgb(254, 223, 154)}, {17, qRgb(249, 180, 53)}},
                                  {{3, qRgb(252, 210, 121)}, {17, qRgb(248, 181, 53)}},
                                  qRgb(248, 179, 48),
                                  qRgb(229, 151, 0)};
    return framedInterior(frame, x, y);
}

QRgb defaultInterior(int x, int y)
{
    static const Stops column{
        {3, qRgb(186, 211, 245)}, {10, qRgb(160, 190, 236)}, {17, qRgb(137, 173, 228)}};
    static const InnerFrame frame{qRgb(206, 231, 255), qRgb(188, 212, 246), column, column,
                                  qRgb(137, 173, 228), qRgb(105, 130, 238)};
    return framedInterior(frame, x, y);
}

struct FaceLook
{
    QRgb (*interior)(int x, int y);
    QRgb border;
    bool disabled;
};

void paintCell(QImage &strip, int cell)
{
    static const FaceLook looks[XpAssetPainter::CellCount] = {
        {normalInterior, XpAssetPainter::borderColor(), false},
        {pressedInterior, XpAssetPainter::borderColor(), false},
        {disabledInterior, qRgb(201, 199, 186), true},
        {hotInterior, XpAssetPainter::borderColor(), false},
        {defaultInterior, XpAssetPainter::borderColor(), false},
    };
    const FaceLook &look = looks[cell];
    const int x0 = cell * W;
    QRgb px[W][H];
    for (int x = 0; x < W; ++x) {
        for (int y = 0; y < H; ++y) {
            const bool edge = x == 0 || y == 0 || x == LastX || y == LastY;
            px[x][y] = edge ? look.border : look.interior(x, y);
        }
    }

    // Rounded corners: the outermost pixel takes the colour of the dialog
    // face behind it, the border runs diagonally through (1,1), and the
    // pixels either side of the diagonal are blended.
    struct Corner
    {
        bool left, top;
        QRgb outside;
    };
    const Corner corners[4] = {{true, true, qRgb(221, 215, 197)},
                               {false, true, qRgb(225, 220, 202)},
                               {true, false, qRgb(236, 234, 217)},
                               {false, false, qRgb(249, 248, 242)}};
    for (const Corner &c : corners) {
        auto at = [&](int dx, int dy) -> QRgb & {
            return px[c.left ? dx : LastX - dx][c.top ? dy : LastY - dy];
        };
        if (look.disabled) {
            at(0, 0) = qRgb(255, 255, 255);
            at(1, 0) = at(0, 1) = qRgb(234, 233, 222);
            at(1, 1) = qRgb(216, 214, 202);
            at(2, 1) = at(1, 2) = qRgb(238, 237, 226);
        } else {
            at(0, 0) = c.outside;
            at(1, 0) = at(0, 1) = mix(look.border, c.outside, 0.6);
            at(1, 1) = mix(look.border, at(1, 1), 0.3);
            at(2, 1) = mix(at(2, 1), look.border, 0.1);
            at(1, 2) = mix(at(1, 2), look.border, 0.1);
        }
    }

    for (int x = 0; x < W; ++x)
        for (int y = 0; y < H; ++y)
            strip.setPixel(x0 + x, y, px[x][y]);
}

// Rows of the frame picture: the x ranges of line and blend pixels.
struct FrameRow
{
    QList<QPair<int, int>> line;
    QList<int> blend;
};

FrameRow frameRow(int y)
{
    constexpr int R = XpAssetPainter::FrameWidth - 1; // 21
    switch (y) {
    case 0:
    case 19:
        return {{{2, 19}}, {}};
    case 1:
    case 18:
        return {{{1, 2}, {20, 20}}, {19}};
    case 2:
    case 17:
        return {{{0, 1}}, {20, R}};
    default:
        return {{{0, 0}, {R, R}}, {}};
    }
}

} // namespace

QImage XpAssetPainter::paintFaceStrip()
{
    QImage strip(CellWidth * CellCount, CellHeight, QImage::Format_RGB32);
    for (int cell = 0; cell < CellCount; ++cell)
        paintCell(strip, cell);
    return strip;
}

QImage XpAssetPainter::paintFramePicture()
{
    QImage img(FrameWidth, FrameHeight, QImage::Format_Indexed8);
    // Index 1 is the see-through colour, used for the inside and for the
    // outside of the corners; index 3 is in the palette but never used.
    img.setColorTable(
        {qRgb(208, 208, 191), qRgba(236, 233, 216, 0), qRgb(211, 211, 197), qRgb(0, 0, 0)});
    img.fill(FrameClear);
    for (int y = 0; y < FrameHeight; ++y) {
        const FrameRow row = frameRow(y);
        for (const auto &[from, to] : row.line)
            for (int x = from; x <= to; ++x)
                img.setPixel(x, y, FrameLine);
        for (int x : row.blend)
            img.setPixel(x, y, FrameBlend);
    }
    return img;
}

bool XpAssetPainter::writeAssets(const QString &folder, QString *error)
{
    const QDir dir(folder);
    const QList<QPair<QString, QImage>> files{{faceStripFileName(), paintFaceStrip()},
                                              {framePictureFileName(), paintFramePicture()}};
    for (const auto &[name, image] : files) {
        const QString path = dir.filePath(name);
        if (!image.save(path, "PNG")) {
            if (error)
                *error = QStringLiteral("cannot write %1").arg(path);
            return false;
        }
    }
    return true;
}
