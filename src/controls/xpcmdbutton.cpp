// The button keeps no picture of its own: every face change records the cell
// to show and asks for a repaint, and paintEvent stretches that cell of the
// face strip over the whole control.
#include "controls/xpcmdbutton.h"

#include "controls/XpAssetPainter.h"
#include "controls/XpAssets.h"

#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QTimer>
#include <cmath>

namespace {

bool isEnterKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

const QColor captionEnabled(0, 0, 0);
const QColor captionDisabled(161, 161, 146);

} // namespace

xpcmdbutton::xpcmdbutton(QWidget *parent)
    : XpControl(parent), Timer1(new QTimer(this)), pc(XpAssets::faceStrip())
{
    // Moves without a button held (tracked by XpControl) drive the hot face.
    setFocusPolicy(Qt::StrongFocus);

    lbl->setAlignment(Qt::AlignCenter);
    lbl->setAutoFillBackground(false);

    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10);
    connect(Timer1, &QTimer::timeout, this, &xpcmdbutton::Timer1_Timer);

    applyEnabled();
    resize(113, 59);
    DrawRestState();
}

xpcmdbutton::~xpcmdbutton() = default;

void xpcmdbutton::setState(int vNewValue)
{
    const bool changed = m_State != vNewValue;
    m_State = vNewValue;
    if (changed)
        emit StateChanged(m_State);
    DrawRestState();
}

void xpcmdbutton::setDefault(bool on)
{
    if (m_Default == on)
        return;
    m_Default = on;
    if (on) {
        // One default button per window, or Enter would be ambiguous.
        for (xpcmdbutton *other : window()->findChildren<xpcmdbutton *>())
            if (other != this)
                other->setDefault(false);
        if (!m_EnterKey) {
            // Window-wide, so Enter typed into a text box of the dialog presses it.
            m_EnterKey = new QShortcut(QKeySequence(Qt::Key_Return), this);
            m_EnterPadKey = new QShortcut(QKeySequence(Qt::Key_Enter), this);
            for (QShortcut *s : {m_EnterKey, m_EnterPadKey})
                connect(s, &QShortcut::activated, this, [this] {
                    if (isVisible())
                        click();
                });
        }
    }
    if (m_EnterKey) {
        m_EnterKey->setEnabled(on);
        m_EnterPadKey->setEnabled(on);
    }
}

void xpcmdbutton::writeProperties(QVariantMap &bag) const
{
    if (m_State != 0)
        bag.insert(QStringLiteral("State"), m_State);
    writeCommonProperties(bag);
}

void xpcmdbutton::readProperties(const QVariantMap &bag)
{
    setState(bag.value(QStringLiteral("State"), 0).toInt());
    setEnabled(bag.value(QStringLiteral("Enabled"), true).toBool());
    readCaption(bag);
    readFont(bag);
}

void xpcmdbutton::initProperties()
{
    setEnabled(true);
    resetCaption();
    setFont(QFont());
}

QSize xpcmdbutton::sizeHint() const
{
    return QSize(qMax(75, lbl->width() + 16), qMax(23, lbl->height() + 8));
}

void xpcmdbutton::click()
{
    if (isEnabled())
        emit Click();
}

void xpcmdbutton::DrawCell(int cell)
{
    if (m_Cell == cell)
        return;
    m_Cell = cell;
    update();
}

void xpcmdbutton::DrawRestState()
{
    if (m_State == DefaultState)
        m_RestCell = XpAssetPainter::Default;
    else if (m_State == NormalState)
        m_RestCell = XpAssetPainter::Normal;
    DrawCell(isEnabled() ? int(m_RestCell) : int(XpAssetPainter::Disabled));
}

void xpcmdbutton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int w = width();
    const int h = height();
    const int x0 = m_Cell * XpAssetPainter::CellWidth;
    // Nine pieces: corners copied, edges stretched along their length, the
    // centre stretched both ways. Pieces with no extent (tiny buttons) are left out.
    const struct
    {
        QRect dest, source;
    } pieces[] = {
        {{0, 0, 3, 3}, {0, 0, 3, 3}},           {{w - 3, 0, 3, 3}, {15, 0, 3, 3}},
        {{w - 3, h - 3, 3, 3}, {15, 18, 3, 3}}, {{0, h - 3, 3, 3}, {0, 18, 3, 3}},
        {{3, 0, w - 6, 3}, {3, 0, 12, 3}},      {{w - 3, 3, 3, h - 6}, {15, 3, 3, 15}},
        {{0, 3, 3, h - 6}, {0, 3, 3, 15}},      {{3, h - 3, w - 6, 3}, {3, 18, 12, 3}},
        {{3, 3, w - 6, h - 6}, {3, 3, 12, 15}},
    };
    for (const auto &piece : pieces) {
        if (piece.dest.width() <= 0 || piece.dest.height() <= 0)
            continue;
        p.drawPixmap(piece.dest, pc, piece.source.translated(x0, 0));
    }

    if (hasFocus() && w > 8 && h > 8) {
        // The keyboard focus: a thin dotted rectangle inside the inner frame.
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawRect(QRect(3, 3, w - 7, h - 7));
    }
}

void xpcmdbutton::UserControl_Resize()
{
    DrawRestState();
    // Centred by real division; a half pixel goes to the left and top.
    lbl->move(int(std::floor((width() - lbl->width()) / 2.0)),
              int(std::floor((height() - lbl->height()) / 2.0)));
}

void xpcmdbutton::lbl_Change()
{
    lbl->adjustSize();
    UserControl_Resize();
    updateGeometry();
}

void xpcmdbutton::applyEnabled()
{
    DrawRestState();
    QPalette pal = lbl->palette();
    // Every colour group, so the disabled label shows this grey and not the style's.
    pal.setColor(QPalette::WindowText, isEnabled() ? captionEnabled : captionDisabled);
    lbl->setPalette(pal);
}

void xpcmdbutton::resizeEvent(QResizeEvent *)
{
    UserControl_Resize();
}

void xpcmdbutton::showEvent(QShowEvent *)
{
    DrawRestState();
}

void xpcmdbutton::hideEvent(QHideEvent *)
{
    // A hidden button cannot have the cursor over it: end the poll as a
    // leave would, rather than polling until the cursor happens to move.
    if (Timer1->isActive()) {
        Timer1->stop();
        emit MouseOut();
    }
    m_Pressed = false;
    DrawRestState();
}

void xpcmdbutton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange) {
        applyEnabled();
        emit EnabledChanged(isEnabled());
    } else if (event->type() == QEvent::FontChange) {
        followFont();
    }
    QWidget::changeEvent(event);
}

void xpcmdbutton::UserControl_MouseDown(int Button, int Shift, float X, float Y)
{
    emit MouseDown(Button, Shift, X, Y);
    DrawCell(XpAssetPainter::Pressed);
}

void xpcmdbutton::UserControl_MouseMove(int Button, int Shift, float X, float Y)
{
    Timer1->start();
    // Both limits inclusive: a point on the right or bottom edge is inside.
    if (X >= 0 && X <= width() && Y >= 0 && Y <= height()) {
        emit MouseMove(Button, Shift, X, Y);
        DrawCell(Button == 1 ? XpAssetPainter::Pressed : XpAssetPainter::Hot);
    }
}

void xpcmdbutton::UserControl_MouseUp(int Button, int Shift, float X, float Y)
{
    emit MouseUp(Button, Shift, X, Y);
    DrawRestState();
}

void xpcmdbutton::Timer1_Timer()
{
    const QPoint p = mapFromGlobal(QCursor::pos());
    if (p.x() < 0 || p.y() < 0 || p.x() > width() || p.y() > height()) {
        Timer1->stop();
        emit MouseOut();
        DrawRestState();
    }
}

void xpcmdbutton::handleMouse(QMouseEvent *event, QWidget *origin)
{
    const QPointF pos = event->position();
    const int shift = shiftCode(event->modifiers());
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_SecondOfDouble = false;
        if (event->button() == Qt::LeftButton)
            m_Pressed = true;
        UserControl_MouseDown(buttonCode(event->button()), shift, float(pos.x()), float(pos.y()));
        break;
    case QEvent::MouseButtonDblClick:
        // The second press of a double click is not a new press: the
        // release that follows raises MouseUp but no second Click.
        m_SecondOfDouble = true;
        break;
    case QEvent::MouseMove:
        UserControl_MouseMove(buttonCode(event->buttons()), shift, float(pos.x()), float(pos.y()));
        break;
    case QEvent::MouseButtonRelease: {
        const QPointF here = origin == this ? pos : QPointF(origin->pos()) + pos;
        const bool clicked = event->button() == Qt::LeftButton && m_Pressed && !m_SecondOfDouble &&
                             here.x() >= 0 && here.y() >= 0 && here.x() <= width() &&
                             here.y() <= height();
        if (event->button() == Qt::LeftButton) {
            m_Pressed = false;
            m_SecondOfDouble = false;
        }
        UserControl_MouseUp(buttonCode(event->button()), shift, float(pos.x()), float(pos.y()));
        if (clicked)
            click();
        break;
    }
    default:
        break;
    }
    event->accept();
}

bool xpcmdbutton::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        // Enter on the focused button is for this button, not for the
        // window's default button.
        if (isEnterKey(static_cast<QKeyEvent *>(event)->key())) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void xpcmdbutton::keyPressEvent(QKeyEvent *event)
{
    int KeyCode = event->key();
    int Shift = shiftCode(event->modifiers());
    emit KeyDown(KeyCode, Shift);
    if (!event->text().isEmpty()) {
        int KeyAscii = event->text().at(0).unicode();
        emit KeyPress(KeyAscii);
    }
    // A handler may have changed or cleared the key.
    if (isEnterKey(KeyCode)) {
        if (!event->isAutoRepeat())
            click();
        event->accept();
    } else if (KeyCode == Qt::Key_Space) {
        // Clicks on release, as platform buttons do.
        m_SpaceHeld = true;
        event->accept();
    } else {
        QWidget::keyPressEvent(event);
    }
}

void xpcmdbutton::keyReleaseEvent(QKeyEvent *event)
{
    if (event->isAutoRepeat()) {
        event->accept();
        return;
    }
    int KeyCode = event->key();
    int Shift = shiftCode(event->modifiers());
    emit KeyUp(KeyCode, Shift);
    if (KeyCode == Qt::Key_Space) {
        if (m_SpaceHeld)
            click();
        m_SpaceHeld = false;
        event->accept();
    } else {
        QWidget::keyReleaseEvent(event);
    }
}

void xpcmdbutton::focusInEvent(QFocusEvent *event)
{
    update();
    QWidget::focusInEvent(event);
}

void xpcmdbutton::focusOutEvent(QFocusEvent *event)
{
    m_SpaceHeld = false;
    update();
    QWidget::focusOutEvent(event);
}
