// The XP group box: its frame around the caption, its back colour and its caption clicks.
#include "controls/xpgroupbox.h"

#include <QLabel>
#include <QPainter>

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

xpgroupbox::xpgroupbox(QWidget *parent)
    : XpControl(parent, QAccessible::Grouping, QColor(0, 70, 213)),
      img(picture(QStringLiteral("xpgroupbox.png")))
{
    // The caption's opaque background hides the top line behind it.
    lbl->setAutoFillBackground(true);
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
    readEnabled(bag);
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

void xpgroupbox::applyBackColor()
{
    setCaptionColor(QPalette::Window, colorFromValue(m_BackColor, palette()));
    UserControl_Resize();
}

void xpgroupbox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    // Clearing first leaves nothing of a frame drawn at an earlier size.
    p.fillRect(rect(), colorFromValue(m_BackColor, palette()));
    // The top line runs through the middle of the caption; the inside of
    // the picture is see-through and keeps the back colour.
    const int hl = lbl->height() / 2;
    drawFrame(p, QRect(0, hl, width(), height() - hl), img, img.rect());
}

void xpgroupbox::resizeEvent(QResizeEvent *)
{
    UserControl_Resize();
}

void xpgroupbox::changeEvent(QEvent *event)
{
    // A system back colour follows the palette.
    if (event->type() == QEvent::PaletteChange)
        applyBackColor();
    XpControl::changeEvent(event);
}

bool xpgroupbox::clickArea(const MouseArgs &args) const
{
    // Only the caption is clicked; the frame and the inside raise no Click.
    return args.onCaption && lbl->rect().contains(QPointF(args.x, args.Y).toPoint());
}

void xpgroupbox::mouseEvent(QEvent::Type type, Qt::MouseButton button, MouseArgs &a)
{
    switch (type) {
    case QEvent::MouseButtonPress:
        emit MouseDown(a.Button, a.Shift, a.x, a.Y);
        break;
    case QEvent::MouseButtonDblClick:
        if (a.onCaption && button == Qt::LeftButton)
            emit DblClick();
        break;
    case QEvent::MouseMove:
        emit MouseMove(a.Button, a.Shift, a.x, a.Y);
        break;
    case QEvent::MouseButtonRelease:
        emit MouseUp(a.Button, a.Shift, a.x, a.Y);
        break;
    default:
        break;
    }
}
