// The XP group box in a form: its frame and caption as drawn, its clicks, its properties.
#include "UserInput.h"
#include "controls/xpgroupbox.h"

#include <QLabel>
#include <QPainter>
#include <QtTest>

class TestXpGroupBox : public QObject
{
    Q_OBJECT

    std::unique_ptr<QWidget> form;
    xpgroupbox *box = nullptr;
    const QColor yellow{255, 255, 0}; // a new box's back colour

    QImage shot() const { return box->grab().toImage(); }
    QLabel *lbl() const { return box->findChild<QLabel *>("lbl"); }
    // The row of the top line: through the middle of the caption.
    int topLine() const { return lbl()->height() / 2; }

private slots:
    void init()
    {
        form = std::make_unique<QWidget>();
        box = new xpgroupbox(form.get());
        box->setGeometry(10, 10, 199, 89);
        box->setCaption("Old Name:");
        QVERIFY(UserInput::bringUp(form.get()));
    }
    void cleanup() { form.reset(); }

    // The frame around the edges and through the caption's middle, broken by
    // the caption; the inside in the back colour, also after a resize.
    void drawsFrameAndCaption()
    {
        const QImage img = shot();
        const int y = topLine();
        for (QPoint p : {QPoint(0, 50), QPoint(198, 50), QPoint(99, 88), QPoint(8, y)})
            QVERIFY(img.pixelColor(p) != yellow);
        QCOMPARE(img.pixelColor(8, y - 2), yellow);
        const QRect caption = lbl()->geometry();
        QCOMPARE(img.pixelColor(caption.right(), y), yellow);
        box->setCaption(QString());
        QVERIFY(shot().copy(caption) != img.copy(caption));
        box->resize(120, 60);
        box->resize(199, 89);
        QCOMPARE(shot().pixelColor(119, 50), yellow);
    }

    // Disabling turns the caption grey; the frame stays.
    void disablingChangesOnlyTheCaption()
    {
        const QImage before = shot();
        box->setEnabled(false);
        QImage after = shot(), rest = before;
        QVERIFY(after != before);
        QPainter(&after).fillRect(lbl()->geometry(), Qt::black);
        QPainter(&rest).fillRect(lbl()->geometry(), Qt::black);
        QCOMPARE(after, rest);
        box->setEnabled(true);
        QCOMPARE(shot(), before);
    }

    // BackColor fills the inside and the caption; a larger font gives a
    // taller caption, and the top line moves down to its middle.
    void propertiesReachTheDrawing()
    {
        box->setBackColor(xpgroupbox::ButtonFace);
        const QColor face = QApplication::palette().color(QPalette::Window);
        QCOMPARE(shot().pixelColor(99, 50), face);
        QCOMPARE(shot().pixelColor(lbl()->geometry().topRight()), face);
        const int before = topLine();
        box->setFont(QFont(box->font().family(), 30));
        QVERIFY(topLine() > before + 4);
        QVERIFY(shot().pixelColor(8, topLine()) != face);
        QCOMPARE(shot().pixelColor(8, before), face);
    }

    // Clicking the caption raises Click; the frame and the inside raise none.
    void onlyTheCaptionClicks()
    {
        QSignalSpy clicks(box, &xpgroupbox::Click), doubles(box, &xpgroupbox::DblClick);
        UserInput::click(box, Qt::LeftButton, Qt::NoModifier, QPoint(99, 50));
        UserInput::click(box, Qt::LeftButton, Qt::NoModifier, QPoint(0, 50));
        UserInput::click(lbl());
        UserInput::doubleClick(lbl());
        QCOMPARE(doubles.count(), 1);
        QCOMPARE(clicks.count(), 2);
    }
};

QTEST_MAIN(TestXpGroupBox)
#include "tst_xpgroupbox.moc"
