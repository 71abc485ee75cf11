// The frame is drawn in paintEvent from eight pieces of the frame picture;
// the caption is a child label with an opaque background that covers the top
// line where it runs through the caption.
#include "controls/xpgroupbox.h"

#include "controls/XpAssets.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace {

const QColor captionEnabled(0, 70, 213);
const QColor captionDisabled(161, 161, 146);

} // namespace

QColor xpgroupbox::colorFromValue(quint32 value, const QPalette &palette)
{
    if (!(value & 0x80000000u))
        return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
    switch (value & 0xFFFF) {
    case 5: // window background
        return palette.color(QPalette::Base);
    case 8: // window text
        return palette.color(QPalette::Text);
    case 18: // button text
        return palette.color(QPalette::ButtonText);
    default:
        // The button face (15) is what dialogs are filled with; in Qt that
        // is the window colour.
        return palette.color(QPalette::Window);
    }
}

xpgroupbox::xpgroupbox(QWidget *parent) : XpControl(parent), img(XpAssets::framePicture())
{
    lbl->setAutoFillBackground(true);
    applyEnabled();
    applyBackColor();
    resize(199, 89);
    UserControl_Resize();
}

xpgroupbox::~xpgroupbox() = default;

void xpgroupbox::setBackColor(quint32 New_BackColor)
{
    if (m_BackColor == New_BackColor)
        return;
    m_BackColor = New_BackColor;
    emit BackColorChanged(m_BackColor);
    applyBackColor();
}

void xpgroupbox::writeProperties(QVariantMap &bag) const
{
    writeCommonProperties(bag);
    if (m_BackColor != DefaultBackColor)
        bag.insert(QStringLiteral("BackColor"), m_BackColor);
}

void xpgroupbox::readProperties(const QVariantMap &bag)
{
    setEnabled(bag.value(QStringLiteral("Enabled"), true).toBool());
    readFont(bag);
    setBackColor(bag.value(QStringLiteral("BackColor"), DefaultBackColor).toUInt());
    readCaption(bag);
}

void xpgroupbox::initProperties()
{
    resetCaption();
    setEnabled(true);
    setFont(QFont());
    setBackColor(DefaultBackColor);
}

void xpgroupbox::UserControl_Resize()
{
    lbl->move(15, 0);
    // Widgets laid out inside keep clear of the caption and the frame.
    setContentsMargins(6, lbl->height() + 2, 6, 6);
    update();
}

void xpgroupbox::lbl_Change()
{
    lbl->adjustSize();
    UserControl_Resize();
}

void xpgroupbox::applyEnabled()
{
    QPalette pal = lbl->palette();
    pal.setColor(QPalette::WindowText, isEnabled() ? captionEnabled : captionDisabled);
    lbl->setPalette(pal);
}

void xpgroupbox::applyBackColor()
{
    QPalette pal = lbl->palette();
    pal.setColor(QPalette::Window, colorFromValue(m_BackColor, palette()));
    lbl->setPalette(pal);
    UserControl_Resize();
}

void xpgroupbox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int w = width();
    const int h = height();
    // Clearing first leaves nothing of a frame drawn at an earlier size.
    p.fillRect(rect(), colorFromValue(m_BackColor, palette()));

    const int hl = lbl->height() / 2;
    const struct
    {
        QRect dest, source;
    } pieces[] = {
        {{0, hl, 3, 3}, {0, 0, 3, 3}},          {{w - 3, hl, 3, 3}, {19, 0, 3, 3}},
        {{w - 3, h - 3, 3, 3}, {19, 17, 3, 3}}, {{0, h - 3, 3, 3}, {0, 17, 3, 3}},
        {{3, hl, w - 6, 1}, {3, 0, 16, 1}},     {{w - 1, hl + 3, 1, (h - 6) - hl}, {21, 3, 1, 14}},
        {{3, h - 1, w - 6, 1}, {3, 19, 16, 1}}, {{0, hl + 3, 1, (h - 6) - hl}, {0, 3, 1, 14}},
    };
    // A caption taller than the box, or a box narrower than its corners,
    // leaves some pieces with no extent; those are not drawn.
    for (const auto &piece : pieces) {
        if (piece.dest.width() <= 0 || piece.dest.height() <= 0)
            continue;
        p.drawPixmap(piece.dest, img, piece.source);
    }
}

void xpgroupbox::resizeEvent(QResizeEvent *)
{
    UserControl_Resize();
}

void xpgroupbox::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::EnabledChange:
        // Only the caption colour changes; the frame stays as it is.
        applyEnabled();
        emit EnabledChanged(isEnabled());
        break;
    case QEvent::FontChange:
        followFont();
        break;
    case QEvent::PaletteChange:
        // A system back colour follows the palette.
        applyBackColor();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

void xpgroupbox::handleMouse(QMouseEvent *event, QWidget *origin)
{
    const QPointF pos = event->position();
    int Button =
        buttonCode(event->type() == QEvent::MouseMove ? event->buttons() : event->button());
    int Shift = shiftCode(event->modifiers());
    float x = float(pos.x());
    float Y = float(pos.y());
    const bool onCaption = origin == lbl;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (onCaption && event->button() == Qt::LeftButton)
            m_CaptionPressed = true;
        emit MouseDown(Button, Shift, x, Y);
        break;
    case QEvent::MouseButtonDblClick:
        // The second press of a double click: a double click of the caption.
        m_CaptionPressed = false;
        if (onCaption && event->button() == Qt::LeftButton)
            emit DblClick();
        break;
    case QEvent::MouseMove:
        emit MouseMove(Button, Shift, x, Y);
        break;
    case QEvent::MouseButtonRelease: {
        const bool clicked = onCaption && m_CaptionPressed && event->button() == Qt::LeftButton &&
                             lbl->rect().contains(pos.toPoint());
        if (event->button() == Qt::LeftButton)
            m_CaptionPressed = false;
        emit MouseUp(Button, Shift, x, Y);
        if (clicked)
            emit Click();
        break;
    }
    default:
        break;
    }
    event->accept();
}
