// The XP command button: the face shown after each mouse, timer and property
// trigger, its events, properties and property bag, and its keyboard and
// accessibility behaviour.
#include "controls/XpAssetPainter.h"
#include "controls/XpAssets.h"
#include "controls/xpcmdbutton.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

namespace {

enum Cell { Normal = 0, Pressed = 1, Disabled = 2, Hot = 3, Default = 4 };

struct MouseArgs
{
    int button, shift;
    float x, y;
};

} // namespace

Q_DECLARE_METATYPE(MouseArgs)

class TestXpCmdButton : public QObject
{
    Q_OBJECT

    QImage m_strip;
    std::unique_ptr<xpcmdbutton> m_button;
    QList<MouseArgs> m_downs, m_moves, m_ups;
    std::unique_ptr<QSignalSpy> m_clicks, m_outs;

    QTimer *timer() const { return m_button->findChild<QTimer *>("Timer1"); }
    QLabel *lbl() const { return m_button->findChild<QLabel *>("lbl"); }

    // Which face the grabbed button shows: the cell whose four 3x3 corners
    // appear unstretched in the corners of the control, or -1.
    int faceShown(QWidget *w) const
    {
        const QImage shot = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const int W = shot.width(), H = shot.height();
        for (int cell = 0; cell < XpAssetPainter::CellCount; ++cell) {
            const int x0 = cell * XpAssetPainter::CellWidth;
            bool same = true;
            for (int dx = 0; dx < 3 && same; ++dx) {
                for (int dy = 0; dy < 3 && same; ++dy) {
                    same =
                        shot.pixel(dx, dy) == m_strip.pixel(x0 + dx, dy) &&
                        shot.pixel(W - 3 + dx, dy) == m_strip.pixel(x0 + 15 + dx, dy) &&
                        shot.pixel(dx, H - 3 + dy) == m_strip.pixel(x0 + dx, 18 + dy) &&
                        shot.pixel(W - 3 + dx, H - 3 + dy) == m_strip.pixel(x0 + 15 + dx, 18 + dy);
                }
            }
            if (same)
                return cell;
        }
        return -1;
    }

    int face() const { return faceShown(m_button.get()); }

    static void send(QWidget *target, QEvent::Type type, QPoint pos,
                     Qt::MouseButton button = Qt::NoButton, Qt::MouseButtons held = Qt::NoButton,
                     Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QMouseEvent event(type, QPointF(pos), QPointF(target->mapToGlobal(pos)), button, held,
                          mods);
        QApplication::sendEvent(target, &event);
    }
    void moveTo(QPoint pos, Qt::MouseButtons held = Qt::NoButton, QWidget *target = nullptr)
    {
        send(target ? target : m_button.get(), QEvent::MouseMove, pos, Qt::NoButton, held);
    }
    void press(QPoint pos, Qt::MouseButton button = Qt::LeftButton, QWidget *target = nullptr)
    {
        send(target ? target : m_button.get(), QEvent::MouseButtonPress, pos, button, button);
    }
    void release(QPoint pos, Qt::MouseButton button = Qt::LeftButton, QWidget *target = nullptr)
    {
        send(target ? target : m_button.get(), QEvent::MouseButtonRelease, pos, button,
             Qt::NoButton);
    }
    void cursorAt(QPoint local) { QCursor::setPos(m_button->mapToGlobal(local)); }
    // Lets the poll run a few times with the cursor where it is.
    void letTimerTick()
    {
        QSignalSpy ticks(timer(), &QTimer::timeout);
        QTRY_VERIFY(ticks.count() >= 3);
    }

private slots:
    void initTestCase()
    {
        m_strip = XpAssets::faceStrip().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(m_strip.size(), QSize(90, 21));
    }

    void init()
    {
        m_button = std::make_unique<xpcmdbutton>();
        m_button->setCaption(QString());
        m_button->resize(75, 23);
        // Shown, so resizes take effect at once as in a dialog, but with no
        // window on the screen for the placed cursor to send moves to.
        m_button->setAttribute(Qt::WA_DontShowOnScreen);
        m_button->show();
        m_downs.clear();
        m_moves.clear();
        m_ups.clear();
        auto record = [](QList<MouseArgs> &list) {
            return [&list](int &b, int &s, float &x, float &y) { list.append({b, s, x, y}); };
        };
        connect(m_button.get(), &xpcmdbutton::MouseDown, this, record(m_downs));
        connect(m_button.get(), &xpcmdbutton::MouseMove, this, record(m_moves));
        connect(m_button.get(), &xpcmdbutton::MouseUp, this, record(m_ups));
        m_clicks = std::make_unique<QSignalSpy>(m_button.get(), &xpcmdbutton::Click);
        m_outs = std::make_unique<QSignalSpy>(m_button.get(), &xpcmdbutton::MouseOut);
        cursorAt(QPoint(-50, -50));
    }

    void cleanup()
    {
        m_clicks.reset();
        m_outs.reset();
        m_button.reset();
    }

    // At 18 x 21 every piece is copied unstretched: the control is the cell.
    void faceAtCellSizeIsTheCell_data()
    {
        QTest::addColumn<int>("trigger");
        QTest::addColumn<int>("cell");
        QTest::newRow("rest") << 0 << int(Normal);
        QTest::newRow("pressed") << 1 << int(Pressed);
        QTest::newRow("disabled") << 2 << int(Disabled);
        QTest::newRow("hot") << 3 << int(Hot);
        QTest::newRow("default") << 4 << int(Default);
    }
    void faceAtCellSizeIsTheCell()
    {
        QFETCH(int, trigger);
        QFETCH(int, cell);
        m_button->resize(18, 21);
        switch (trigger) {
        case 1:
            press(QPoint(5, 5));
            break;
        case 2:
            m_button->setEnabled(false);
            break;
        case 3:
            moveTo(QPoint(5, 5));
            break;
        case 4:
            m_button->setState(1);
            break;
        }
        QCOMPARE(m_button->currentCell(), cell);
        const QImage shot = m_button->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shot, m_strip.copy(cell * 18, 0, 18, 21));
    }

    void faceStretchesOverTheControl()
    {
        m_button->resize(113, 59);
        moveTo(QPoint(50, 30));
        QCOMPARE(face(), int(Hot));
        const QImage shot = m_button->grab().toImage();
        const QColor border(0, 60, 116);
        for (int x = 3; x <= 109; x += 7) {
            QCOMPARE(shot.pixelColor(x, 0), border);
            QCOMPARE(shot.pixelColor(x, 58), border);
        }
        for (int y = 3; y <= 55; y += 5) {
            QCOMPARE(shot.pixelColor(0, y), border);
            QCOMPARE(shot.pixelColor(112, y), border);
        }
        // The orange inner frame runs along the stretched edges.
        QCOMPARE(shot.pixelColor(50, 1), QColor(255, 240, 207));
        QCOMPARE(shot.pixelColor(50, 57), QColor(229, 151, 0));
    }

    void tinySizesDrawNothingInvalid_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("6x6") << QSize(6, 6);
        QTest::newRow("5x5") << QSize(5, 5);
        QTest::newRow("3x40") << QSize(3, 40);
        QTest::newRow("40x2") << QSize(40, 2);
        QTest::newRow("1x1") << QSize(1, 1);
        QTest::newRow("0x0") << QSize(0, 0);
    }
    void tinySizesDrawNothingInvalid()
    {
        QFETCH(QSize, size);
        QTest::failOnWarning(QRegularExpression(".*"));
        m_button->resize(size);
        moveTo(QPoint(0, 0));
        const QImage shot = m_button->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shot.size(), size);
        if (size == QSize(6, 6)) {
            // Only the four corners, copied as they are.
            QCOMPARE(faceShown(m_button.get()), int(Hot));
        }
    }

    // The transitions of the face, step by step, with the events and the timer.
    void hoverPressDragOutAndBack()
    {
        QCOMPARE(face(), int(Normal));
        QVERIFY(!timer()->isActive());

        cursorAt(QPoint(10, 10));
        moveTo(QPoint(10, 10));
        QCOMPARE(face(), int(Hot));
        QVERIFY(timer()->isActive());
        QCOMPARE(m_moves.size(), 1);

        press(QPoint(10, 10));
        QCOMPARE(face(), int(Pressed));
        QCOMPARE(m_downs.size(), 1);

        moveTo(QPoint(12, 10), Qt::LeftButton);
        QCOMPARE(face(), int(Pressed));
        QCOMPARE(m_moves.size(), 2);

        // Dragged out with the mouse captured: no event, no change...
        moveTo(QPoint(200, 10), Qt::LeftButton);
        QCOMPARE(face(), int(Pressed));
        QCOMPARE(m_moves.size(), 2);
        QVERIFY(timer()->isActive());

        // ...until the poll finds the cursor outside, button still down.
        cursorAt(QPoint(200, 10));
        QTRY_COMPARE(m_outs->count(), 1);
        QCOMPARE(face(), int(Normal));
        QVERIFY(!timer()->isActive());

        // Back in with the button held: pressed again.
        cursorAt(QPoint(10, 10));
        moveTo(QPoint(10, 10), Qt::LeftButton);
        QCOMPARE(face(), int(Pressed));
        QVERIFY(timer()->isActive());

        release(QPoint(10, 10));
        QCOMPARE(face(), int(Normal));
        QCOMPARE(m_ups.size(), 1);
        QCOMPARE(m_clicks->count(), 1);

        // The hot face comes back with the next move, not with the release.
        moveTo(QPoint(11, 10));
        QCOMPARE(face(), int(Hot));
        letTimerTick();
        QCOMPARE(face(), int(Hot));
        QCOMPARE(m_outs->count(), 1);
    }

    void releaseOutsideIsNoClick()
    {
        press(QPoint(10, 10));
        release(QPoint(200, 10));
        QCOMPARE(m_ups.size(), 1);
        QCOMPARE(m_clicks->count(), 0);
        QCOMPARE(face(), int(Normal));
    }

    void rightButton()
    {
        moveTo(QPoint(10, 10), Qt::RightButton);
        QCOMPARE(face(), int(Hot));
        QCOMPARE(m_moves.last().button, 2);
        press(QPoint(10, 10), Qt::RightButton);
        QCOMPARE(face(), int(Pressed));
        QCOMPARE(m_downs.last().button, 2);
        release(QPoint(10, 10), Qt::RightButton);
        QCOMPARE(face(), int(Normal));
        QCOMPARE(m_clicks->count(), 0);
    }

    void edgesCountAsInside_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<bool>("inside");
        QTest::newRow("right edge") << QPoint(75, 10) << true;
        QTest::newRow("bottom edge") << QPoint(10, 23) << true;
        QTest::newRow("bottom-right corner") << QPoint(75, 23) << true;
        QTest::newRow("origin") << QPoint(0, 0) << true;
        QTest::newRow("right of the edge") << QPoint(76, 10) << false;
        QTest::newRow("below the edge") << QPoint(10, 24) << false;
        QTest::newRow("left") << QPoint(-1, 10) << false;
        QTest::newRow("above") << QPoint(10, -1) << false;
    }
    void edgesCountAsInside()
    {
        QFETCH(QPoint, point);
        QFETCH(bool, inside);
        moveTo(point);
        QCOMPARE(m_moves.size(), inside ? 1 : 0);
        QCOMPARE(face(), inside ? int(Hot) : int(Normal));
        QVERIFY(timer()->isActive()); // any move starts the poll

        cursorAt(point);
        if (inside) {
            letTimerTick();
            QCOMPARE(m_outs->count(), 0);
            QVERIFY(timer()->isActive());
        } else {
            QTRY_COMPARE(m_outs->count(), 1);
            QVERIFY(!timer()->isActive());
        }
    }

    void mouseOutOncePerLeave()
    {
        for (int leave = 1; leave <= 2; ++leave) {
            cursorAt(QPoint(10, 10));
            moveTo(QPoint(10, 10));
            cursorAt(QPoint(100, 100));
            QTRY_COMPARE(m_outs->count(), leave);
            QCOMPARE(face(), int(Normal));
        }
        // Nothing more while the cursor stays away: the poll has stopped.
        QVERIFY(!timer()->isActive());
        QCOMPARE(m_outs->count(), 2);
    }

    void hidingEndsTheHover()
    {
        cursorAt(QPoint(10, 10));
        moveTo(QPoint(10, 10));
        QCOMPARE(face(), int(Hot));
        m_button->hide();
        QVERIFY(!timer()->isActive());
        QCOMPARE(m_outs->count(), 1);
        QCOMPARE(face(), int(Normal));
        m_button->show();
        QCOMPARE(face(), int(Normal));
        QCOMPARE(m_outs->count(), 1);
    }

    void stateChoosesTheRestingFace()
    {
        QSignalSpy changed(m_button.get(), &xpcmdbutton::StateChanged);
        m_button->setState(1);
        QCOMPARE(face(), int(Default));
        m_button->setState(2);
        QCOMPARE(face(), int(Default));
        QCOMPARE(m_button->state(), 2);
        m_button->setState(0);
        QCOMPARE(face(), int(Normal));
        m_button->setState(2);
        QCOMPARE(face(), int(Normal));
        QCOMPARE(changed.count(), 4);
        QCOMPARE(changed.last().at(0).toInt(), 2);

        // The default face is where the button comes back to after a hover.
        m_button->setState(1);
        moveTo(QPoint(10, 10));
        QCOMPARE(face(), int(Hot));
        cursorAt(QPoint(-5, 10));
        QTRY_COMPARE(m_outs->count(), 1);
        QCOMPARE(face(), int(Default));
    }

    void disableWhileHovered()
    {
        m_button->setCaption("OK");
        cursorAt(QPoint(10, 10));
        moveTo(QPoint(10, 10));
        QCOMPARE(face(), int(Hot));

        QSignalSpy enabled(m_button.get(), &xpcmdbutton::EnabledChanged);
        m_button->setEnabled(false);
        QCOMPARE(face(), int(Disabled));
        QCOMPARE(enabled.count(), 1);
        QCOMPARE(enabled.first().at(0).toBool(), false);
        QCOMPARE(lbl()->palette().color(QPalette::Disabled, QPalette::WindowText),
                 QColor(161, 161, 146));

        cursorAt(QPoint(100, 10));
        QTRY_COMPARE(m_outs->count(), 1);
        QCOMPARE(face(), int(Disabled));

        m_button->setEnabled(true);
        QCOMPARE(face(), int(Normal));
        QCOMPARE(lbl()->palette().color(QPalette::Active, QPalette::WindowText), QColor(0, 0, 0));
    }

    void greyCaptionIsDrawn()
    {
        m_button->resize(113, 59);
        m_button->setCaption("Delete");
        m_button->setEnabled(false);
        const QImage shot = m_button->grab().toImage();
        bool grey = false;
        const QRect r = lbl()->geometry();
        for (int y = r.top(); y <= r.bottom() && !grey; ++y)
            for (int x = r.left(); x <= r.right() && !grey; ++x)
                grey = shot.pixelColor(x, y) == QColor(161, 161, 146);
        QVERIFY(grey);
    }

    void captionClicksAndLabelCoordinates()
    {
        m_button->resize(113, 59);
        m_button->setCaption("Cancel");
        const QPoint onLabel(3, 4);
        press(onLabel, Qt::LeftButton, lbl());
        QCOMPARE(face(), int(Pressed));
        moveTo(onLabel, Qt::LeftButton, lbl());
        release(onLabel, Qt::LeftButton, lbl());
        QCOMPARE(m_clicks->count(), 1);
        QCOMPARE(m_downs.size(), 1);
        QCOMPARE(m_downs.first().x, 3.0f);
        QCOMPARE(m_downs.first().y, 4.0f);
        QCOMPARE(m_moves.first().x, 3.0f);
        QCOMPARE(m_ups.first().y, 4.0f);
        QCOMPARE(face(), int(Normal));
    }

    void clickFromTheSurface()
    {
        QTest::mouseClick(m_button.get(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QCOMPARE(m_clicks->count(), 1);
        QCOMPARE(m_downs.size(), 1);
        QCOMPARE(m_ups.size(), 1);
    }

    void doubleClickIsOneClick_data()
    {
        QTest::addColumn<bool>("onCaption");
        QTest::newRow("surface") << false;
        QTest::newRow("caption") << true;
    }
    void doubleClickIsOneClick()
    {
        QFETCH(bool, onCaption);
        m_button->resize(113, 59);
        m_button->setCaption("Apply");
        QWidget *target = onCaption ? static_cast<QWidget *>(lbl()) : m_button.get();
        press(QPoint(2, 2), Qt::LeftButton, target);
        release(QPoint(2, 2), Qt::LeftButton, target);
        send(target, QEvent::MouseButtonDblClick, QPoint(2, 2), Qt::LeftButton, Qt::LeftButton);
        release(QPoint(2, 2), Qt::LeftButton, target);
        QCOMPARE(m_clicks->count(), 1);
        QCOMPARE(m_ups.size(), 2);
        // A later single click counts again.
        press(QPoint(2, 2), Qt::LeftButton, target);
        release(QPoint(2, 2), Qt::LeftButton, target);
        QCOMPARE(m_clicks->count(), 2);
    }

    void mouseArgumentsCarryButtonsAndShift()
    {
        send(m_button.get(), QEvent::MouseMove, QPoint(7, 8), Qt::NoButton,
             Qt::LeftButton | Qt::RightButton, Qt::ShiftModifier | Qt::AltModifier);
        QCOMPARE(m_moves.size(), 1);
        QCOMPARE(m_moves.first().button, 3);
        QCOMPARE(m_moves.first().shift, 5);
        // Two buttons held is not "the left button alone": hot, not pressed.
        QCOMPARE(face(), int(Hot));
        send(m_button.get(), QEvent::MouseButtonPress, QPoint(7, 8), Qt::MiddleButton,
             Qt::MiddleButton, Qt::ControlModifier);
        QCOMPARE(m_downs.first().button, 4);
        QCOMPARE(m_downs.first().shift, 2);
    }

    void disabledButtonRaisesNoMouseEvents()
    {
        m_button->setEnabled(false);
        // Through the application, which keeps mouse events from disabled widgets.
        moveTo(QPoint(5, 5));
        press(QPoint(5, 5));
        release(QPoint(5, 5));
        QCOMPARE(m_moves.size(), 0);
        QCOMPARE(m_ups.size(), 0);
        QCOMPARE(m_clicks->count(), 0);
        QCOMPARE(m_downs.size(), 0);
        QCOMPARE(face(), int(Disabled));
    }

    void captionIsCentredAndFollowsTextAndFont()
    {
        m_button->resize(113, 59);
        QSignalSpy captionChanged(m_button.get(), &xpcmdbutton::CaptionChanged);
        QSignalSpy fontChanged(m_button.get(), &xpcmdbutton::FontChanged);
        auto centred = [this] {
            const QRect r = lbl()->geometry();
            return r.size() == lbl()->sizeHint() && qAbs(2 * r.left() + r.width() - 113) <= 1 &&
                   qAbs(2 * r.top() + r.height() - 59) <= 1;
        };
        m_button->setCaption("OK");
        QVERIFY(centred());
        const int narrow = lbl()->width();
        m_button->setCaption("A much longer caption");
        QVERIFY(lbl()->width() > narrow);
        QVERIFY(centred());
        QCOMPARE(captionChanged.count(), 2);
        QCOMPARE(m_button->caption(), QString("A much longer caption"));

        QFont big = m_button->font();
        big.setPixelSize(30);
        const int before = lbl()->height();
        m_button->setFont(big);
        QVERIFY(lbl()->height() > before);
        QVERIFY(centred());
        QCOMPARE(fontChanged.count(), 1);
        QCOMPARE(lbl()->font().pixelSize(), 30);

        m_button->resize(200, 80);
        QVERIFY(qAbs(2 * lbl()->x() + lbl()->width() - 200) <= 1);
    }

    void captionDefaultsToTheObjectName()
    {
        xpcmdbutton button;
        button.setObjectName("cmdOK");
        QCOMPARE(button.caption(), QString("cmdOK"));
        button.setObjectName("cmdCancel"); // still no caption of its own
        QCOMPARE(button.caption(), QString("cmdCancel"));
        button.setCaption("Cancel");
        button.setObjectName("cmdOther");
        QCOMPARE(button.caption(), QString("Cancel"));
    }

    void propertyBagSkipsDefaults()
    {
        QWidget form;
        QFont formFont("Arial");
        formFont.setPointSize(9);
        form.setFont(formFont);
        auto *button = new xpcmdbutton(&form);
        button->setObjectName("cmdApply");
        button->initProperties();
        QCOMPARE(button->caption(), QString("cmdApply"));
        QCOMPARE(button->font(), formFont);

        QVariantMap bag;
        button->writeProperties(bag);
        QVERIFY2(bag.isEmpty(), qPrintable(QStringList(bag.keys()).join(',')));

        QFont sans("MS Sans Serif");
        sans.setPointSize(8);
        button->setCaption("Apply");
        button->setFont(sans);
        button->writeProperties(bag);
        QCOMPARE(bag.keys(), QStringList({"Caption", "Font"}));
        QCOMPARE(bag.value("Caption").toString(), QString("Apply"));
        QCOMPARE(bag.value("Font").value<QFont>(), sans);

        button->setState(1);
        button->setEnabled(false);
        bag.clear();
        button->writeProperties(bag);
        QCOMPARE(bag.keys(), QStringList({"Caption", "Enabled", "Font", "State"}));
        QCOMPARE(bag.value("Enabled").toBool(), false);
        QCOMPARE(bag.value("State").toInt(), 1);

        // A fresh instance reads them back, and missing keys give defaults.
        auto *loaded = new xpcmdbutton(&form);
        loaded->setObjectName("cmdLoaded");
        loaded->readProperties(bag);
        QCOMPARE(loaded->caption(), QString("Apply"));
        QCOMPARE(loaded->font(), sans);
        QCOMPARE(loaded->state(), 1);
        QVERIFY(!loaded->isEnabledTo(&form));
        QCOMPARE(faceShown(loaded), int(Disabled));

        loaded->readProperties(QVariantMap{{"Caption", "OK"}});
        QCOMPARE(loaded->caption(), QString("OK"));
        QCOMPARE(loaded->state(), 0);
        QVERIFY(loaded->isEnabled());
        QCOMPARE(loaded->font(), formFont);
        QCOMPARE(faceShown(loaded), int(Normal));

        loaded->readProperties(QVariantMap());
        QCOMPARE(loaded->caption(), QString("cmdLoaded"));
        QVariantMap again;
        loaded->writeProperties(again);
        QVERIFY(again.isEmpty());
    }

    void keysAreRaisedAndSpaceClicks()
    {
        QList<int> downs, presses, ups;
        connect(m_button.get(), &xpcmdbutton::KeyDown, this,
                [&](int &code, int &shift) { downs << code << shift; });
        connect(m_button.get(), &xpcmdbutton::KeyPress, this,
                [&](int &ascii) { presses << ascii; });
        connect(m_button.get(), &xpcmdbutton::KeyUp, this,
                [&](int &code, int &shift) { ups << code << shift; });
        QTest::keyClick(m_button.get(), 'A', Qt::ShiftModifier);
        // QTest presses Shift itself before the A.
        QCOMPARE(downs.mid(downs.size() - 2), QList<int>({Qt::Key_A, 1}));
        QCOMPARE(presses, QList<int>({'A'}));
        QCOMPARE(ups.mid(0, 2), QList<int>({Qt::Key_A, 1}));
        QCOMPARE(m_clicks->count(), 0);
        QCOMPARE(face(), int(Normal));

        QTest::keyPress(m_button.get(), Qt::Key_Space);
        QCOMPARE(m_clicks->count(), 0);
        QTest::keyRelease(m_button.get(), Qt::Key_Space);
        QCOMPARE(m_clicks->count(), 1);
        QCOMPARE(presses.last(), int(' '));

        // A Space let go without having gone down here is no click.
        QTest::keyRelease(m_button.get(), Qt::Key_Space);
        QCOMPARE(m_clicks->count(), 1);

        QTest::keyClick(m_button.get(), Qt::Key_Return);
        QCOMPARE(m_clicks->count(), 2);
        QTest::keyClick(m_button.get(), Qt::Key_Enter);
        QCOMPARE(m_clicks->count(), 3);
    }

    void keyDownHandlerCanSwallowTheKey()
    {
        connect(m_button.get(), &xpcmdbutton::KeyDown, this, [](int &code, int &) { code = 0; });
        connect(m_button.get(), &xpcmdbutton::KeyUp, this, [](int &code, int &) { code = 0; });
        QTest::keyClick(m_button.get(), Qt::Key_Space);
        QTest::keyClick(m_button.get(), Qt::Key_Return);
        QCOMPARE(m_clicks->count(), 0);
    }

    void tabFocusAndFocusMark()
    {
        QWidget form;
        auto *layout = new QVBoxLayout(&form);
        auto *edit = new QLineEdit(&form);
        auto *ok = new xpcmdbutton(&form);
        ok->setCaption(QString());
        layout->addWidget(edit);
        layout->addWidget(ok);
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        const QImage unfocused = ok->grab().toImage();

        QTest::keyClick(edit, Qt::Key_Tab);
        QTRY_VERIFY(ok->hasFocus());
        const QImage focused = ok->grab().toImage();
        QVERIFY(focused != unfocused);
        // The dotted mark: black dots along the top, three pixels in.
        int dots = 0;
        for (int x = 3; x < ok->width() - 4; ++x)
            dots += focused.pixelColor(x, 3) == QColor(Qt::black);
        QVERIFY(dots >= (ok->width() - 7) / 3);
        QVERIFY(dots < ok->width() - 7);
        QCOMPARE(faceShown(ok), int(Normal));

        QSignalSpy clicks(ok, &xpcmdbutton::Click);
        QTest::keyClick(ok, Qt::Key_Space);
        QCOMPARE(clicks.count(), 1);
    }

    void enterPressesTheDefaultButton()
    {
        QWidget form;
        auto *layout = new QVBoxLayout(&form);
        auto *edit = new QLineEdit(&form);
        auto *ok = new xpcmdbutton(&form);
        auto *cancel = new xpcmdbutton(&form);
        layout->addWidget(edit);
        layout->addWidget(ok);
        layout->addWidget(cancel);
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        QSignalSpy okClicks(ok, &xpcmdbutton::Click);
        QSignalSpy cancelClicks(cancel, &xpcmdbutton::Click);

        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(okClicks.count(), 0); // no default button yet

        cancel->setDefault(true);
        ok->setDefault(true);
        QVERIFY(ok->isDefault());
        QVERIFY(!cancel->isDefault());
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(okClicks.count(), 1);
        QTest::keyClick(edit, Qt::Key_Enter);
        QCOMPARE(okClicks.count(), 2);

        // A focused button takes Enter for itself.
        cancel->setFocus();
        QTRY_VERIFY(cancel->hasFocus());
        QTest::keyClick(cancel, Qt::Key_Return);
        QCOMPARE(cancelClicks.count(), 1);
        QCOMPARE(okClicks.count(), 2);

        // A disabled default button is not pressed.
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        ok->setEnabled(false);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(okClicks.count(), 2);

        ok->setEnabled(true);
        ok->setDefault(false);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(okClicks.count(), 2);
    }

    void accessibleAsAPushButton()
    {
        m_button->setCaption("OK");
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(m_button.get());
        QVERIFY(iface);
        QCOMPARE(iface->role(), QAccessible::Button);
        QCOMPARE(iface->text(QAccessible::Name), QString("OK"));
        QAccessibleActionInterface *actions = iface->actionInterface();
        QVERIFY(actions);
        QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(m_clicks->count(), 1);

        m_button->setCaption("Cancel");
        QCOMPARE(iface->text(QAccessible::Name), QString("Cancel"));

        m_button->setEnabled(false);
        QVERIFY(!actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(m_clicks->count(), 1);
    }
};

QTEST_MAIN(TestXpCmdButton)
#include "tst_xpcmdbutton.moc"
