// What screen readers and other accessibility tools see of the XP-style
// controls: the command button as a push button named after its caption with
// a press action, the group box as a grouping named after its caption.
#pragma once

#include <QAccessibleWidget>

class XpAccessible : public QAccessibleWidget
{
public:
    XpAccessible(QWidget *widget, QAccessible::Role role);

    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

    // Registers the factory once; the controls call it when they are created.
    static void install();

private:
    static QAccessibleInterface *factory(const QString &className, QObject *object);
};
