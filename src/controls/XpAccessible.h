// What accessibility tools see of an XP-style control: its role, its caption, a press action.
#pragma once

#include <QAccessibleWidget>

class XpControl;

// A control is named after its caption; one whose role is Button can be
// pressed, which clicks it as the mouse would.
class XpAccessible : public QAccessibleWidget
{
public:
    explicit XpAccessible(XpControl *control);

    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

    // Registers the factory once; the controls call it when they are created.
    static void install();

private:
    XpControl *control() const;
    bool pressable() const;
    static QAccessibleInterface *factory(const QString &className, QObject *object);
};
