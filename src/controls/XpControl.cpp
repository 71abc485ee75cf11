// The caption is a plain-text child label; mouse events on it are handled as
// the control's own, in the label's coordinates.
#include "controls/XpControl.h"

#include "controls/XpAccessible.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>

XpControl::XpControl(QWidget *parent) : QWidget(parent), lbl(new QLabel(this))
{
    XpAccessible::install();
    // Moves without a button held are reported too.
    setMouseTracking(true);

    lbl->setObjectName(QStringLiteral("lbl"));
    lbl->setTextFormat(Qt::PlainText);
    lbl->setMouseTracking(true);
    lbl->installEventFilter(this);

    // A control placed without a caption shows its name, as in the form designer.
    connect(this, &QObject::objectNameChanged, this, [this](const QString &name) {
        if (!m_CaptionSet) {
            lbl->setText(name);
            lbl_Change();
        }
    });

    m_Font = font();
    lbl->setFont(m_Font);
}

XpControl::~XpControl() = default;

QString XpControl::caption() const
{
    return lbl->text();
}

void XpControl::setCaption(const QString &vNewCaption)
{
    m_CaptionSet = true;
    if (lbl->text() == vNewCaption)
        return;
    lbl->setText(vNewCaption);
    lbl_Change();
    QAccessibleEvent nameChanged(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nameChanged);
    announceCaption(vNewCaption);
}

int XpControl::buttonCode(Qt::MouseButtons buttons)
{
    return int(buttons & (Qt::LeftButton | Qt::RightButton | Qt::MiddleButton));
}

int XpControl::shiftCode(Qt::KeyboardModifiers mods)
{
    return (mods & Qt::ShiftModifier ? 1 : 0) | (mods & Qt::ControlModifier ? 2 : 0) |
           (mods & Qt::AltModifier ? 4 : 0);
}

void XpControl::followFont()
{
    if (font() == m_Font)
        return;
    m_Font = font();
    lbl->setFont(m_Font);
    lbl_Change();
    announceFont(m_Font);
}

void XpControl::resetCaption()
{
    setCaption(objectName());
    m_CaptionSet = false;
}

QFont XpControl::ambientFont() const
{
    return parentWidget() ? parentWidget()->font() : QApplication::font();
}

void XpControl::writeCommonProperties(QVariantMap &bag) const
{
    if (caption() != objectName())
        bag.insert(QStringLiteral("Caption"), caption());
    if (testAttribute(Qt::WA_ForceDisabled))
        bag.insert(QStringLiteral("Enabled"), false);
    if (m_Font != ambientFont())
        bag.insert(QStringLiteral("Font"), m_Font);
}

void XpControl::readCaption(const QVariantMap &bag)
{
    if (bag.contains(QStringLiteral("Caption")))
        setCaption(bag.value(QStringLiteral("Caption")).toString());
    else
        resetCaption();
}

void XpControl::readFont(const QVariantMap &bag)
{
    // An empty font follows the container's.
    setFont(bag.contains(QStringLiteral("Font")) ? bag.value(QStringLiteral("Font")).value<QFont>()
                                                 : QFont());
}

void XpControl::mousePressEvent(QMouseEvent *event)
{
    handleMouse(event, this);
}

void XpControl::mouseDoubleClickEvent(QMouseEvent *event)
{
    handleMouse(event, this);
}

void XpControl::mouseMoveEvent(QMouseEvent *event)
{
    handleMouse(event, this);
}

void XpControl::mouseReleaseEvent(QMouseEvent *event)
{
    handleMouse(event, this);
}

bool XpControl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lbl) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
            // The caption's own coordinates are passed on unchanged.
            handleMouse(static_cast<QMouseEvent *>(event), lbl);
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}
