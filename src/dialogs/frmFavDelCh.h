// The change-URL dialog: a new address for one favourite, opened by the
// organise dialog, which takes no input while this one is open.
#pragma once

#include <QDialog>

class QLineEdit;
class xpcmdbutton;
class xpgroupbox;

class frmFavDelCh : public QDialog
{
    Q_OBJECT
public:
    // Loads the form for the favourite in slot, showing its address now.
    frmFavDelCh(int slot, const QString &oldAddress);

    int slot() const { return m_slot; }

signals:
    // The new address is in the store and the table.
    void addressChanged(int slot);

public slots:
    void txtNew_Change();
    void cmdChange_Click();
    void cmdCancel_Click();

private:
    const int m_slot;

    xpgroupbox *xpgroupbox1;
    QLineEdit *txtOld;
    xpgroupbox *xpgroupbox2;
    QLineEdit *txtNew;
    xpcmdbutton *cmdChange;
    xpcmdbutton *cmdCancel;
};
