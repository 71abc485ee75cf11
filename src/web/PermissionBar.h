// The bar at the top of a tab's page that puts a site's request to the user:
// "<origin> wants to <do something>." with Allow, Block and a close button
// (block this time only). It never takes the focus on its own; Tab reaches
// its buttons.
#pragma once

#include <QFrame>

class QLabel;

class PermissionBar : public QFrame
{
    Q_OBJECT
public:
    explicit PermissionBar(QWidget *parent);

    void ask(const QString &question);

signals:
    // remember: Allow or Block was pressed (not the close button).
    void answered(bool allow, bool remember);

private:
    QLabel *m_text;
};
