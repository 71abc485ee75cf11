// The XP group box: its eight-piece frame around the caption, the caption's
// colours and background, its mouse events and its property bag.
#include "controls/XpAssets.h"
#include "controls/xpgroupbox.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

class TestXpGroupBox : public QObject
{
    Q_OBJECT

    std::unique_ptr<xpgroupbox> m_box;
    QList<QPointF> m_downs, m_moves, m_ups;
    std::unique_ptr<QSignalSpy> m_clicks, m_dblClicks;

    const QColor line{208, 208, 191};
    const QColor blend{211, 211, 197};
    const QColor yellow{255, 255, 0};

    QLabel *lbl() const { return m_box->findChild<QLabel *>("lbl"); }
    QImage shot() const { return m_box->grab().toImage(); }

    // A font whose caption label is 13 pixels high, or an invalid font.
    static QFont thirteenPixelCaptionFont(xpgroupbox *box)
    {
        QLabel probe("Old Name:");
        for (int px = 6; px <= 16; ++px) {
            QFont f = box->font();
            f.setPixelSize(px);
            probe.setFont(f);
            if (probe.sizeHint().height() == 13)
                return f;
        }
        return QFont("no such font");
    }

    static void send(QWidget *target, QEvent::Type type, QPoint pos,
                     Qt::MouseButton button = Qt::LeftButton)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton
                                      : type == QEvent::MouseMove        ? Qt::NoButton
                                                                         : Qt::MouseButtons(button);
        QMouseEvent event(type, QPointF(pos), QPointF(target->mapToGlobal(pos)),
                          type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
    static void click(QWidget *target, QPoint pos)
    {
        send(target, QEvent::MouseButtonPress, pos);
        send(target, QEvent::MouseButtonRelease, pos);
    }

private slots:
    void init()
    {
        m_box = std::make_unique<xpgroupbox>();
        m_box->setAttribute(Qt::WA_DontShowOnScreen);
        m_box->show();
        m_downs.clear();
        m_moves.clear();
        m_ups.clear();
        auto record = [](QList<QPointF> &list) {
            return [&list](int &, int &, float &x, float &y) { list.append(QPointF(x, y)); };
        };
        connect(m_box.get(), &xpgroupbox::MouseDown, this, record(m_downs));
        connect(m_box.get(), &xpgroupbox::MouseMove, this, record(m_moves));
        connect(m_box.get(), &xpgroupbox::MouseUp, this, record(m_ups));
        m_clicks = std::make_unique<QSignalSpy>(m_box.get(), &xpgroupbox::Click);
        m_dblClicks = std::make_unique<QSignalSpy>(m_box.get(), &xpgroupbox::DblClick);
    }

    void cleanup()
    {
        m_clicks.reset();
        m_dblClicks.reset();
        m_box.reset();
    }

    void newInstance()
    {
        QCOMPARE(m_box->size(), QSize(199, 89));
        QCOMPARE(m_box->backColor(), 65535u);
        QCOMPARE(shot().pixelColor(100, 50), yellow);
        QCOMPARE(lbl()->pos(), QPoint(15, 0));
        QCOMPARE(lbl()->palette().color(QPalette::WindowText), QColor(0, 70, 213));
        QCOMPARE(lbl()->palette().color(QPalette::Window), yellow);
        QVERIFY(lbl()->autoFillBackground());
    }

    void frameAroundAThirteenPixelCaption()
    {
        const QFont font = thirteenPixelCaptionFont(m_box.get());
        if (font.family() == "no such font")
            QSKIP("no font here gives a 13-pixel caption");
        m_box->setFont(font);
        m_box->setCaption("Old Name:");
        QCOMPARE(lbl()->height(), 13);
        const int W = m_box->width(), H = m_box->height();
        const QImage img = shot();
        const QImage frame = XpAssets::framePicture().toImage();
        auto frameOver = [&](int fx, int fy) {
            const QRgb p = frame.pixel(fx, fy);
            return qAlpha(p) == 0 ? yellow : QColor(p);
        };
        // hl = 6: the top corners at y 6 to 8, copied from the picture.
        for (int dy = 0; dy < 3; ++dy) {
            for (int dx = 0; dx < 3; ++dx) {
                QCOMPARE(img.pixelColor(dx, 6 + dy), frameOver(dx, dy));
                QCOMPARE(img.pixelColor(W - 3 + dx, 6 + dy), frameOver(19 + dx, dy));
                QCOMPARE(img.pixelColor(dx, H - 3 + dy), frameOver(dx, 17 + dy));
                QCOMPARE(img.pixelColor(W - 3 + dx, H - 3 + dy), frameOver(19 + dx, 17 + dy));
            }
        }
        QCOMPARE(img.pixelColor(2, 6), line);
        QCOMPARE(img.pixelColor(0, 6), yellow);
        QCOMPARE(img.pixelColor(W - 3, 7), blend);
        // The top line through the middle of the caption, hidden behind it.
        for (int x = 3; x < 15; ++x)
            QCOMPARE(img.pixelColor(x, 6), line);
        for (int x = lbl()->geometry().right() + 1; x < W - 3; ++x)
            QCOMPARE(img.pixelColor(x, 6), line);
        for (int x = 3; x < 15; ++x)
            QCOMPARE(img.pixelColor(x, 5), yellow);
        // The side lines from y 9 down to the bottom corners.
        for (int y = 9; y < H - 3; ++y) {
            QCOMPARE(img.pixelColor(0, y), line);
            QCOMPARE(img.pixelColor(W - 1, y), line);
            QCOMPARE(img.pixelColor(1, y), yellow);
        }
        for (int x = 3; x < W - 3; ++x)
            QCOMPARE(img.pixelColor(x, H - 1), line);
        QCOMPARE(img.pixelColor(W / 2, H / 2), yellow);
    }

    void halfTheCaptionHeight_data()
    {
        QTest::addColumn<int>("captionHeight");
        QTest::addColumn<int>("hl");
        QTest::newRow("13") << 13 << 6;
        QTest::newRow("14") << 14 << 7;
        QTest::newRow("1") << 1 << 0;
    }
    void halfTheCaptionHeight()
    {
        QFETCH(int, captionHeight);
        QFETCH(int, hl);
        m_box->setCaption("x");
        lbl()->resize(lbl()->width(), captionHeight);
        const QImage img = shot();
        QCOMPARE(img.pixelColor(2, hl), line);
        QCOMPARE(img.pixelColor(0, hl + 2), line);
        QCOMPARE(img.pixelColor(0, hl + 3), line);
        if (hl > 0)
            QCOMPARE(img.pixelColor(2, hl - 1), yellow);
    }

    void disabledCaptionIsGreyAndTheFrameStays()
    {
        m_box->setCaption("New Name:");
        QSignalSpy enabled(m_box.get(), &xpgroupbox::EnabledChanged);
        const QImage before = shot();
        m_box->setEnabled(false);
        QCOMPARE(enabled.count(), 1);
        QCOMPARE(lbl()->palette().color(QPalette::Disabled, QPalette::WindowText),
                 QColor(161, 161, 146));
        const QImage after = shot();
        const QRect caption = lbl()->geometry();
        bool grey = false, blue = false;
        for (int y = 0; y < after.height(); ++y) {
            for (int x = 0; x < after.width(); ++x) {
                if (caption.contains(x, y)) {
                    grey |= after.pixelColor(x, y) == QColor(161, 161, 146);
                    blue |= after.pixelColor(x, y) == QColor(0, 70, 213);
                } else {
                    QCOMPARE(after.pixel(x, y), before.pixel(x, y));
                }
            }
        }
        QVERIFY(grey);
        QVERIFY(!blue);
        m_box->setEnabled(true);
        QCOMPARE(lbl()->palette().color(QPalette::Active, QPalette::WindowText),
                 QColor(0, 70, 213));
        QCOMPARE(shot(), before);
    }

    void resizeLeavesNoRemains()
    {
        m_box->setCaption("Old Name:");
        m_box->resize(120, 60);
        QImage img = shot();
        QCOMPARE(img.pixelColor(119, 30), line);
        QCOMPARE(img.pixelColor(60, 59), line);
        m_box->resize(199, 89);
        img = shot();
        QCOMPARE(img.pixelColor(119, 30), yellow);
        QCOMPARE(img.pixelColor(60, 59), yellow);
        QCOMPARE(img.pixelColor(198, 30), line);
        QCOMPARE(img.pixelColor(60, 88), line);
    }

    void backColorRepaintsInsideAndCaption()
    {
        QSignalSpy changed(m_box.get(), &xpgroupbox::BackColorChanged);
        m_box->setBackColor(0 + 256 * 128 + 65536 * 64); // RGB(0,128,64)
        QCOMPARE(changed.count(), 1);
        QCOMPARE(shot().pixelColor(100, 50), QColor(0, 128, 64));
        QCOMPARE(lbl()->palette().color(QPalette::Window), QColor(0, 128, 64));

        m_box->setBackColor(xpgroupbox::ButtonFace);
        const QColor face = m_box->palette().color(QPalette::Window);
        QCOMPARE(shot().pixelColor(100, 50), face);
        QCOMPARE(lbl()->palette().color(QPalette::Window), face);
        QCOMPARE(xpgroupbox::colorFromValue(255, QPalette()), QColor(255, 0, 0));
        QCOMPARE(xpgroupbox::colorFromValue(65536 * 255, QPalette()), QColor(0, 0, 255));
    }

    void tinyOrCrampedBoxesDrawNothingInvalid_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("caption taller than the box") << QSize(60, 8);
        QTest::newRow("narrow") << QSize(4, 60);
        QTest::newRow("empty") << QSize(0, 0);
    }
    void tinyOrCrampedBoxesDrawNothingInvalid()
    {
        QFETCH(QSize, size);
        QTest::failOnWarning(QRegularExpression(".*"));
        m_box->setCaption("Old Name:");
        m_box->resize(size);
        QCOMPARE(m_box->grab().size(), size);
    }

    void clickOnlyFromTheCaption()
    {
        m_box->setCaption("Old Name:");
        click(m_box.get(), QPoint(100, 50));
        click(m_box.get(), QPoint(0, 6));
        QCOMPARE(m_clicks->count(), 0);
        QCOMPARE(m_downs.size(), 2);
        QCOMPARE(m_ups.size(), 2);

        click(lbl(), QPoint(3, 4));
        QCOMPARE(m_clicks->count(), 1);
        QCOMPARE(m_downs.last(), QPointF(3, 4)); // relative to the caption
        QCOMPARE(m_ups.last(), QPointF(3, 4));

        // Pressed on the caption but released off it: no click.
        send(lbl(), QEvent::MouseButtonPress, QPoint(3, 4));
        send(lbl(), QEvent::MouseButtonRelease, QPoint(300, 4));
        QCOMPARE(m_clicks->count(), 1);

        // Right button: mouse events, no click.
        send(lbl(), QEvent::MouseButtonPress, QPoint(3, 4), Qt::RightButton);
        send(lbl(), QEvent::MouseButtonRelease, QPoint(3, 4), Qt::RightButton);
        QCOMPARE(m_clicks->count(), 1);
    }

    void doubleClickOfTheCaption()
    {
        m_box->setCaption("Old Name:");
        click(lbl(), QPoint(2, 2));
        send(lbl(), QEvent::MouseButtonDblClick, QPoint(2, 2));
        send(lbl(), QEvent::MouseButtonRelease, QPoint(2, 2));
        QCOMPARE(m_clicks->count(), 1);
        QCOMPARE(m_dblClicks->count(), 1);

        click(m_box.get(), QPoint(100, 50));
        send(m_box.get(), QEvent::MouseButtonDblClick, QPoint(100, 50));
        send(m_box.get(), QEvent::MouseButtonRelease, QPoint(100, 50));
        QCOMPARE(m_clicks->count(), 1);
        QCOMPARE(m_dblClicks->count(), 1);
    }

    void mouseMovesArePassedOn()
    {
        send(m_box.get(), QEvent::MouseMove, QPoint(40, 30));
        send(lbl(), QEvent::MouseMove, QPoint(1, 2));
        QCOMPARE(m_moves, QList<QPointF>({QPointF(40, 30), QPointF(1, 2)}));
    }

    void containerForTheDialogsWidgets()
    {
        auto *edit = new QLineEdit(m_box.get());
        edit->setGeometry(10, 20, 150, 22);
        QCOMPARE(edit->parentWidget(), m_box.get());
        m_box->setEnabled(false);
        QVERIFY(!edit->isEnabled());
        QVERIFY(m_box->contentsRect().top() > lbl()->height());
    }

    void propertiesAndNotifications_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("Enabled") << QByteArray("Enabled") << QVariant(false);
        QFont arial("Arial");
        arial.setPointSize(13);
        QTest::newRow("Font") << QByteArray("Font") << QVariant(arial);
        QTest::newRow("BackColor") << QByteArray("BackColor") << QVariant(quint32(255));
        QTest::newRow("Caption") << QByteArray("Caption") << QVariant(QString("Old Name:"));
    }
    void propertiesAndNotifications()
    {
        QFETCH(QByteArray, name);
        QFETCH(QVariant, value);
        const QMetaObject *mo = m_box->metaObject();
        const QMetaProperty prop = mo->property(mo->indexOfProperty(name));
        QVERIFY(prop.isValid());
        QVERIFY(prop.isDesignable());
        QVERIFY(prop.hasNotifySignal());
        QSignalSpy notified(m_box.get(), prop.notifySignal());
        QVERIFY(m_box->setProperty(name, value));
        QCOMPARE(m_box->property(name), value);
        QCOMPARE(notified.count(), 1);
        m_box->setProperty(name, value);
        QCOMPARE(notified.count(), 1);
    }

    void captionFollowsFontAndDefaultsToTheName()
    {
        m_box->setObjectName("fraOld");
        QCOMPARE(m_box->caption(), QString("fraOld"));
        m_box->setCaption("Old Name:");
        const int before = lbl()->height();
        QFont big = m_box->font();
        big.setPixelSize(30);
        m_box->setFont(big);
        QVERIFY(lbl()->height() > before);
        QCOMPARE(lbl()->pos(), QPoint(15, 0));
        QCOMPARE(lbl()->size(), lbl()->sizeHint());
    }

    void propertyBagSkipsDefaults()
    {
        QWidget form;
        auto *box = new xpgroupbox(&form);
        box->setObjectName("fraNew");
        box->initProperties();
        QVariantMap bag;
        box->writeProperties(bag);
        QVERIFY2(bag.isEmpty(), qPrintable(QStringList(bag.keys()).join(',')));

        QFont arial("Arial");
        arial.setPointSize(9);
        box->setCaption("New Name:");
        box->setFont(arial);
        box->setBackColor(xpgroupbox::ButtonFace);
        box->writeProperties(bag);
        QCOMPARE(bag.keys(), QStringList({"BackColor", "Caption", "Font"}));
        box->setEnabled(false);
        bag.clear();
        box->writeProperties(bag);
        QCOMPARE(bag.value("Enabled"), QVariant(false));

        auto *loaded = new xpgroupbox(&form);
        loaded->setObjectName("fraLoaded");
        loaded->readProperties(bag);
        QCOMPARE(loaded->caption(), QString("New Name:"));
        QCOMPARE(loaded->font(), arial);
        QCOMPARE(loaded->backColor(), xpgroupbox::ButtonFace);
        QVERIFY(!loaded->isEnabled());

        loaded->readProperties(QVariantMap());
        QCOMPARE(loaded->caption(), QString("fraLoaded"));
        QCOMPARE(loaded->backColor(), 65535u);
        QCOMPARE(loaded->font(), form.font());
        QVERIFY(loaded->isEnabled());
    }

    void accessibleAsAGrouping()
    {
        m_box->setCaption("Old Name:");
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(m_box.get());
        QVERIFY(iface);
        QCOMPARE(iface->role(), QAccessible::Grouping);
        QCOMPARE(iface->text(QAccessible::Name), QString("Old Name:"));
    }
};

QTEST_MAIN(TestXpGroupBox)
#include "tst_xpgroupbox.moc"
