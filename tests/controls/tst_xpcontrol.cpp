// The XP group box in a form (its frame and caption as drawn, its clicks), and what both XP
// controls share: long captions, accessible names.
#include "UserInput.h"
#include "controls/xpcmdbutton.h"
#include "controls/xpgroupbox.h"

#include <QAccessible>
#include <QLabel>
#include <QPainter>
#include <QtTest>

class TestXpControl : public QObject
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
        QCOMPARE(img.pixelColor(lbl()->geometry().right(), y), yellow);
        box->resize(120, 60);
        box->resize(199, 89);
        QCOMPARE(shot().pixelColor(119, 50), yellow);
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

    // A caption far wider than the control is cut at the control's edges: it
    // neither spills over its neighbours nor covers the bottom of the frame.
    // Cut on the screen, it is told whole to accessibility tools.
    void longCaptionStaysInside()
    {
        for (bool button : {true, false}) {
            QWidget form;
            XpControl *c =
                button ? static_cast<XpControl *>(new xpcmdbutton(&form)) : new xpgroupbox(&form);
            c->setGeometry(100, 40, 60, 40);
            c->setCaption("OK");
            const QImage before = form.grab().toImage();
            c->setCaption(QString("A caption much longer than the control ").repeated(4));
            QCOMPARE(c->size(), QSize(60, 40));
            const QImage after = form.grab().toImage();
            const QRect r = c->geometry().adjusted(0, 0, 0, -1);
            for (int y = 0; y < after.height(); ++y)
                for (int x = 0; x < after.width(); ++x)
                    if (!r.contains(x, y) && after.pixel(x, y) != before.pixel(x, y))
                        QFAIL(qPrintable(QString("changed at %1,%2").arg(x).arg(y)));
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(c);
            QCOMPARE(iface->role(), button ? QAccessible::Button : QAccessible::Grouping);
            QCOMPARE(iface->text(QAccessible::Name), c->caption());
        }
    }
};

QTEST_MAIN(TestXpControl)
#include "tst_xpcontrol.moc"
