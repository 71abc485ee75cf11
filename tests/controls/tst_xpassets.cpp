// The pictures compiled into the program: they must be what the painter
// draws today (rerun assetgen after changing it), and the colours the button
// faces and the group frame are known by must be where they belong.
#include "controls/XpAssetPainter.h"
#include "controls/XpAssets.h"

#include <QtTest>

class TestXpAssets : public QObject
{
    Q_OBJECT

    QImage m_strip; // as committed and compiled in
    QImage m_frame;

    static QString rgbText(QRgb c)
    {
        return QStringLiteral("RGB(%1,%2,%3) alpha %4")
            .arg(qRed(c))
            .arg(qGreen(c))
            .arg(qBlue(c))
            .arg(qAlpha(c));
    }

    static void compareImages(const QImage &committed, const QImage &drawn)
    {
        QCOMPARE(committed.size(), drawn.size());
        const QImage a = committed.convertToFormat(QImage::Format_ARGB32);
        const QImage b = drawn.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                QVERIFY2(a.pixel(x, y) == b.pixel(x, y),
                         qPrintable(QStringLiteral("(%1,%2): committed %3, drawn %4")
                                        .arg(x)
                                        .arg(y)
                                        .arg(rgbText(a.pixel(x, y)), rgbText(b.pixel(x, y)))));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(!XpAssets::faceStrip().isNull()); // registers the resources
        m_strip = QImage(XpAssets::faceStripPath());
        m_frame = QImage(XpAssets::framePicturePath());
        QVERIFY(!m_strip.isNull());
        QVERIFY(!m_frame.isNull());
    }

    void committedPicturesAreWhatThePainterDraws()
    {
        compareImages(m_strip, XpAssetPainter::paintFaceStrip());
        compareImages(m_frame, XpAssetPainter::paintFramePicture());
    }

    void writeAssetsReproducesTheCommittedFiles()
    {
        QTemporaryDir dir;
        QVERIFY(XpAssetPainter::writeAssets(dir.path()));
        compareImages(QImage(dir.filePath(XpAssetPainter::faceStripFileName())), m_strip);
        compareImages(QImage(dir.filePath(XpAssetPainter::framePictureFileName())), m_frame);
        QString error;
        QVERIFY(!XpAssetPainter::writeAssets(dir.filePath("missing/folder"), &error));
        QVERIFY(error.contains("missing/folder"));
    }

    void faceStripIsFiveOpaqueCells()
    {
        QCOMPARE(m_strip.size(), QSize(90, 21));
        QCOMPARE(XpAssetPainter::CellWidth * XpAssetPainter::CellCount, 90);
        QVERIFY(!m_strip.hasAlphaChannel());
    }

    void facePixels_data()
    {
        QTest::addColumn<int>("cell");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QColor>("expected");
        auto row = [](const char *name, int cell, int x, int y, int r, int g, int b) {
            QTest::newRow(name) << cell << QPoint(x, y) << QColor(r, g, b);
        };
        // The border, straight along every edge strip, in every face but the disabled one.
        for (int cell : {0, 1, 3, 4}) {
            const QByteArray c = QByteArray::number(cell);
            for (const QPoint &p : {QPoint(3, 0), QPoint(14, 0), QPoint(0, 3), QPoint(0, 17),
                                    QPoint(17, 10), QPoint(8, 20)})
                QTest::newRow(("border " + c + " " + QByteArray::number(p.x()) + "," +
                               QByteArray::number(p.y()))
                                  .constData())
                    << cell << p << QColor(0, 60, 116);
            // Outermost corner pixels blend towards the dialog face.
            QTest::newRow(("top-left " + c).constData())
                << cell << QPoint(0, 0) << QColor(221, 215, 197);
            QTest::newRow(("top-right " + c).constData())
                << cell << QPoint(17, 0) << QColor(225, 220, 202);
            QTest::newRow(("bottom-left " + c).constData())
                << cell << QPoint(0, 20) << QColor(236, 234, 217);
            QTest::newRow(("bottom-right " + c).constData())
                << cell << QPoint(17, 20) << QColor(249, 248, 242);
        }
        row("normal row 1", 0, 8, 1, 255, 255, 255);
        row("normal mid height", 0, 8, 10, 243, 243, 239);
        row("normal row 17", 0, 8, 17, 236, 235, 230);
        row("normal row 19", 0, 8, 19, 214, 208, 197);
        row("normal shadow column 15", 0, 15, 10, 238, 237, 231);
        row("normal shadow column 16", 0, 16, 10, 232, 229, 223);

        row("pressed row 1", 1, 8, 1, 209, 204, 193);
        row("pressed row 2", 1, 8, 2, 220, 216, 207);
        row("pressed middle", 1, 8, 10, 226, 225, 218);
        row("pressed row 18", 1, 8, 18, 234, 233, 227);
        row("pressed row 19", 1, 8, 19, 242, 241, 238);
        row("pressed left column", 1, 1, 10, 215, 212, 203);

        row("disabled border top", 2, 8, 0, 201, 199, 186);
        row("disabled border left", 2, 0, 10, 201, 199, 186);
        row("disabled border bottom", 2, 8, 20, 201, 199, 186);
        row("disabled interior", 2, 8, 10, 245, 244, 234);
        row("disabled interior corner", 2, 2, 2, 245, 244, 234);
        row("disabled corner top-left", 2, 0, 0, 255, 255, 255);
        row("disabled corner top-right", 2, 17, 0, 255, 255, 255);
        row("disabled corner bottom-left", 2, 0, 20, 255, 255, 255);
        row("disabled corner bottom-right", 2, 17, 20, 255, 255, 255);
        row("disabled blend diagonal", 2, 1, 1, 216, 214, 202);
        row("disabled blend outside", 2, 1, 0, 234, 233, 222);
        row("disabled blend inside", 2, 2, 1, 238, 237, 226);
        row("disabled blend mirrored", 2, 16, 19, 216, 214, 202);

        row("hot row 1", 3, 8, 1, 255, 240, 207);
        row("hot row 2", 3, 8, 2, 253, 216, 137);
        row("hot left outer row 3", 3, 1, 3, 254, 223, 154);
        row("hot left inner row 3", 3, 2, 3, 252, 210, 121);
        row("hot left outer row 17", 3, 1, 17, 249, 180, 53);
        row("hot left inner row 17", 3, 2, 17, 248, 181, 53);
        row("hot right outer row 3", 3, 16, 3, 254, 223, 154);
        row("hot right inner row 17", 3, 15, 17, 248, 181, 53);
        row("hot row 18", 3, 8, 18, 248, 179, 48);
        row("hot row 19", 3, 8, 19, 229, 151, 0);
        row("hot centre is normal", 3, 8, 10, 243, 243, 239);

        row("default row 1", 4, 8, 1, 206, 231, 255);
        row("default row 2", 4, 8, 2, 188, 212, 246);
        row("default column row 3", 4, 1, 3, 186, 211, 245);
        row("default column row 10", 4, 2, 10, 160, 190, 236);
        row("default column row 17", 4, 16, 17, 137, 173, 228);
        row("default row 18", 4, 8, 18, 137, 173, 228);
        row("default row 19", 4, 8, 19, 105, 130, 238);
        row("default centre is normal", 4, 8, 17, 236, 235, 230);
    }
    void facePixels()
    {
        QFETCH(int, cell);
        QFETCH(QPoint, at);
        QFETCH(QColor, expected);
        const QRgb got = m_strip.pixel(cell * XpAssetPainter::CellWidth + at.x(), at.y());
        QCOMPARE(rgbText(got), rgbText(expected.rgb()));
    }

    void framePalette()
    {
        QCOMPARE(m_frame.size(), QSize(22, 20));
        QCOMPARE(m_frame.format(), QImage::Format_Indexed8);
        const QList<QRgb> table = m_frame.colorTable();
        QCOMPARE(table.size(), 4);
        QCOMPARE(rgbText(table[0]), rgbText(qRgb(208, 208, 191)));
        QCOMPARE(rgbText(table[1]), rgbText(qRgba(236, 233, 216, 0)));
        QCOMPARE(rgbText(table[2]), rgbText(qRgb(211, 211, 197)));
        QCOMPARE(rgbText(table[3]), rgbText(qRgb(0, 0, 0)));
    }

    void framePixels()
    {
        // Line and blend pixels by row; everything else is see-through.
        struct Row
        {
            int fromY, toY;
            QList<int> line, blend;
        };
        auto span = [](int from, int to) {
            QList<int> xs;
            for (int x = from; x <= to; ++x)
                xs << x;
            return xs;
        };
        const QList<Row> rows{
            {0, 0, span(2, 19), {}},   {1, 1, {1, 2, 20}, {19}},   {2, 2, {0, 1}, {20, 21}},
            {3, 16, {0, 21}, {}},      {17, 17, {0, 1}, {20, 21}}, {18, 18, {1, 2, 20}, {19}},
            {19, 19, span(2, 19), {}},
        };
        int used[4] = {};
        for (const Row &r : rows) {
            for (int y = r.fromY; y <= r.toY; ++y) {
                for (int x = 0; x < 22; ++x) {
                    const int expected = r.line.contains(x)    ? XpAssetPainter::FrameLine
                                         : r.blend.contains(x) ? XpAssetPainter::FrameBlend
                                                               : XpAssetPainter::FrameClear;
                    const int index = m_frame.pixelIndex(x, y);
                    QVERIFY2(
                        index == expected,
                        qPrintable(QStringLiteral("(%1,%2) index %3").arg(x).arg(y).arg(index)));
                    ++used[index];
                }
            }
        }
        QCOMPARE(used[XpAssetPainter::FrameUnused], 0);
        QCOMPARE(qAlpha(m_frame.pixel(10, 10)), 0);
        QCOMPARE(qAlpha(m_frame.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(m_frame.pixel(2, 0)), 255);
    }
};

QTEST_MAIN(TestXpAssets)
#include "tst_xpassets.moc"
