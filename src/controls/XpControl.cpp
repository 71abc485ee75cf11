// The caption label, the shared properties, pictures and mouse handling of the XP-style controls.
#include "controls/XpControl.h"

#include "controls/XpAccessible.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QtWidgets/qdrawutil.h>

namespace {
const QColor captionDisabled(161, 161, 146);
} // namespace

// Outside the namespace: Q_INIT_RESOURCE declares a function of the global one.
static void registerControlsResources()
{
    // The resources are linked from a static library where nothing refers
    // to them, so they are registered by hand before the first load.
    Q_INIT_RESOURCE(controls);
}

XpControl::XpControl(QWidget *parent, QAccessible::Role role, const QColor &captionColor)
    : QWidget(parent), lbl(new QLabel(this)), m_Role(role), m_CaptionColor(captionColor)
{
    XpAccessible::install();
    // Moves without a button held are reported too.
    setMouseTracking(true);

    lbl->setObjectName(QStringLiteral("lbl"));
    lbl->setTextFormat(Qt::PlainText);
    lbl->setMouseTracking(true);
    lbl->installEventFilter(this);
    // A control created inside a disabled container starts grey.
    applyCaptionColor();

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
    emit CaptionChanged(vNewCaption);
}

void XpControl::click()
{
    if (isEnabled())
        emit Click();
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

QPixmap XpControl::picture(const QString &fileName)
{
    static const bool registered = (registerControlsResources(), true);
    Q_UNUSED(registered);
    // QPixmap keeps what it loads from a file in the pixmap cache, so all
    // the controls share one copy of each picture.
    return QPixmap(QStringLiteral(":/controls/") + fileName);
}

void XpControl::drawFrame(QPainter &painter, const QRect &target, const QPixmap &picture,
                          const QRect &source)
{
    if (target.width() <= 0 || target.height() <= 0)
        return;
    // A target with no room for two whole corners gets smaller ones.
    const int mx = qMin(3, target.width() / 2);
    const int my = qMin(3, target.height() / 2);
    qDrawBorderPixmap(&painter, target, QMargins(mx, my, mx, my), picture, source,
                      QMargins(3, 3, 3, 3), QTileRules(Qt::StretchTile));
}

void XpControl::setCaptionColor(QPalette::ColorRole role, const QColor &color)
{
    QPalette pal = lbl->palette();
    pal.setColor(role, color);
    lbl->setPalette(pal);
}

void XpControl::applyCaptionColor()
{
    setCaptionColor(QPalette::WindowText, isEnabled() ? m_CaptionColor : captionDisabled);
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

void XpControl::readEnabled(const QVariantMap &bag)
{
    setEnabled(bag.value(QStringLiteral("Enabled"), true).toBool());
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

void XpControl::followFont()
{
    if (font() == m_Font)
        return;
    m_Font = font();
    lbl->setFont(m_Font);
    lbl_Change();
    emit FontChanged(m_Font);
}

void XpControl::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange) {
        applyCaptionColor();
        showEnabledState();
        emit EnabledChanged(isEnabled());
    } else if (event->type() == QEvent::FontChange) {
        followFont();
    }
    QWidget::changeEvent(event);
}

void XpControl::hideEvent(QHideEvent *event)
{
    // A release that comes after the control was hidden is no click.
    m_ClickArmed = false;
    QWidget::hideEvent(event);
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
            handleMouse(static_cast<QMouseEvent *>(event), lbl);
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void XpControl::handleMouse(QMouseEvent *event, QWidget *origin)
{
    const QEvent::Type type = event->type();
    const QPointF pos = event->position();
    MouseArgs args{buttonCode(type == QEvent::MouseMove ? event->buttons() : event->button()),
                   shiftCode(event->modifiers()),
                   float(pos.x()),
                   float(pos.y()),
                   origin == this ? pos : QPointF(origin->pos()) + pos,
                   origin == lbl};
    const bool left = event->button() == Qt::LeftButton;
    bool clicked = false;
    switch (type) {
    case QEvent::MouseButtonPress:
        if (left && clickArea(args))
            m_ClickArmed = true;
        break;
    case QEvent::MouseButtonDblClick:
        // The second press of a double click is not a new press: the
        // release that follows makes no second Click.
        m_ClickArmed = false;
        break;
    case QEvent::MouseButtonRelease:
        clicked = left && m_ClickArmed && clickArea(args);
        if (left)
            m_ClickArmed = false;
        break;
    default:
        break;
    }
    mouseEvent(type, event->button(), args);
    if (clicked)
        click();
    event->accept();
}
