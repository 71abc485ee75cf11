// Accessibility interfaces for the XP-style controls, one class for both.
#include "controls/XpAccessible.h"

#include "controls/XpControl.h"

XpAccessible::XpAccessible(XpControl *control)
    : QAccessibleWidget(control, control->accessibleRole())
{
}

XpControl *XpAccessible::control() const
{
    return static_cast<XpControl *>(widget());
}

bool XpAccessible::pressable() const
{
    return role() == QAccessible::Button && widget()->isEnabled();
}

QString XpAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        return control()->caption();
    return QAccessibleWidget::text(t);
}

QStringList XpAccessible::actionNames() const
{
    QStringList names = QAccessibleWidget::actionNames();
    if (pressable())
        names.prepend(pressAction());
    return names;
}

void XpAccessible::doAction(const QString &actionName)
{
    if (actionName == pressAction()) {
        if (pressable())
            control()->click();
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

QAccessibleInterface *XpAccessible::factory(const QString &, QObject *object)
{
    // Asked with the most derived class name first, so both controls land here.
    if (auto *c = qobject_cast<XpControl *>(object))
        return new XpAccessible(c);
    return nullptr;
}

void XpAccessible::install()
{
    static const bool installed = (QAccessible::installFactory(&XpAccessible::factory), true);
    Q_UNUSED(installed);
}
