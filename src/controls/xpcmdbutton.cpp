// The XP command button: its faces, the cursor poll, and its mouse and keyboard clicks.
#include "controls/xpcmdbutton.h"

#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QShortcut>
#include <QTimer>
#include <cmath>

namespace {

constexpr int CellCount = 5;

bool isEnterKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

xpcmdbutton::xpcmdbutton(QWidget *parent)
    : XpControl(parent, QAccessible::Button, QColor(0, 0, 0)), Timer1(new QTimer(this)),
      pc(picture(QStringLiteral("xpcmdbutton.png")))
{
    setFocusPolicy(Qt::StrongFocus);

    lbl->setAlignment(Qt::AlignCenter);
    lbl->setAutoFillBackground(false);

    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10);
    connect(Timer1, &QTimer::timeout, this, &xpcmdbutton::Timer1_Timer);

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
    // Setting State, even to the same value, brings back the resting face.
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
    readEnabled(bag);
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

void xpcmdbutton::DrawCell(Face cell)
{
    if (m_Cell == cell)
        return;
    m_Cell = cell;
    update();
}

void xpcmdbutton::DrawRestState()
{
    if (m_State == DefaultState)
        m_RestCell = Default;
    else if (m_State == NormalState)
        m_RestCell = Normal;
    DrawCell(isEnabled() ? m_RestCell : Disabled);
}

void xpcmdbutton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int cellWidth = pc.width() / CellCount;
    drawFrame(p, rect(), pc, QRect(m_Cell * cellWidth, 0, cellWidth, pc.height()));

    if (hasFocus() && width() > 8 && height() > 8) {
        // The keyboard focus: a thin dotted rectangle inside the inner frame.
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawRect(QRect(3, 3, width() - 7, height() - 7));
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

void xpcmdbutton::resizeEvent(QResizeEvent *)
{
    UserControl_Resize();
}

void xpcmdbutton::showEvent(QShowEvent *)
{
    DrawRestState();
}

void xpcmdbutton::hideEvent(QHideEvent *event)
{
    // A hidden button cannot have the cursor over it: end the poll as a
    // leave would, rather than polling until the cursor happens to move.
    if (Timer1->isActive()) {
        Timer1->stop();
        emit MouseOut();
    }
    DrawRestState();
    XpControl::hideEvent(event);
}

bool xpcmdbutton::inside(QPointF p) const
{
    return p.x() >= 0 && p.x() <= width() && p.y() >= 0 && p.y() <= height();
}

bool xpcmdbutton::clickArea(const MouseArgs &args) const
{
    return inside(args.inControl);
}

void xpcmdbutton::mouseEvent(QEvent::Type type, Qt::MouseButton, MouseArgs &a)
{
    switch (type) {
    case QEvent::MouseButtonPress:
        emit MouseDown(a.Button, a.Shift, a.x, a.Y);
        DrawCell(Pressed);
        break;
    case QEvent::MouseMove:
        Timer1->start();
        if (inside(QPointF(a.x, a.Y))) {
            emit MouseMove(a.Button, a.Shift, a.x, a.Y);
            DrawCell(a.Button == 1 ? Pressed : Hot);
        }
        break;
    case QEvent::MouseButtonRelease:
        emit MouseUp(a.Button, a.Shift, a.x, a.Y);
        DrawRestState();
        break;
    default:
        break;
    }
}

void xpcmdbutton::Timer1_Timer()
{
    if (!inside(mapFromGlobal(QCursor::pos()))) {
        Timer1->stop();
        emit MouseOut();
        DrawRestState();
    }
}

bool xpcmdbutton::event(QEvent *event)
{
    // Enter on the focused button is for this button, not for the window's
    // default button.
    if (event->type() == QEvent::ShortcutOverride &&
        isEnterKey(static_cast<QKeyEvent *>(event)->key())) {
        event->accept();
        return true;
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
        // Escape and the rest go on to the window.
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
