// The bar above the page after a start that followed a crash: it says so and
// offers the tabs of the last session back ("Restore N tabs") or goes away
// ("Dismiss"). Both buttons take the keyboard focus with Tab and press with
// Space or Enter.
#pragma once

#include <QFrame>

class QPushButton;

class RestoreBar : public QFrame
{
    Q_OBJECT
public:
    RestoreBar(int tabCount, QWidget *parent);

    QPushButton *restoreButton() const { return m_restore; }

signals:
    void restoreClicked();
    void dismissClicked();

private:
    QPushButton *m_restore;
};
