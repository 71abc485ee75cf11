// Accessibility interfaces for xpcmdbutton and xpgroupbox.
#include "controls/XpAccessible.h"

#include "controls/xpcmdbutton.h"
#include "controls/xpgroupbox.h"

XpAccessible::XpAccessible(QWidget *widget, QAccessible::Role role)
    : QAccessibleWidget(widget, role)
{
}

QString XpAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
        if (auto *button = qobject_cast<xpcmdbutton *>(widget()))
            return button->caption();
        if (auto *box = qobject_cast<xpgroupbox *>(widget()))
            return box->caption();
    }
    return QAccessibleWidget::text(t);
}

QStringList XpAccessible::actionNames() const
{
    QStringList names = QAccessibleWidget::actionNames();
    if (qobject_cast<xpcmdbutton *>(widget()) && widget()->isEnabled())
        names.prepend(pressAction());
    return names;
}

void XpAccessible::doAction(const QString &actionName)
{
    if (actionName == pressAction()) {
        if (auto *button = qobject_cast<xpcmdbutton *>(widget()))
            button->click();
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

QAccessibleInterface *XpAccessible::factory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (className == QLatin1String("xpcmdbutton"))
        return new XpAccessible(widget, QAccessible::Button);
    if (className == QLatin1String("xpgroupbox"))
        return new XpAccessible(widget, QAccessible::Grouping);
    return nullptr;
}

void XpAccessible::install()
{
    static const bool installed = (QAccessible::installFactory(&XpAccessible::factory), true);
    Q_UNUSED(installed);
}
