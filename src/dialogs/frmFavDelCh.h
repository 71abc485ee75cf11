// The change-URL dialog: a new address for the favourite selected in the
// organise dialog, which takes no input while this one is open.
#pragma once

#include <QDialog>
#include <QPointer>

class QLineEdit;
class frmFavDel;
class xpcmdbutton;
class xpgroupbox;

class frmFavDelCh : public QDialog
{
    Q_OBJECT
public:
    // Loads the form: the old address of the organise dialog's selection.
    explicit frmFavDelCh(frmFavDel *owner);

public slots:
    void txtNew_Change();
    void cmdChange_Click();
    void cmdCancel_Click();

    // Every way of closing ends here; the organise dialog takes input again.
    void done(int result) override;

private:
    int selectedSlot() const;

    QPointer<frmFavDel> m_owner;

    xpgroupbox *xpgroupbox1;
    QLineEdit *txtOld;
    xpgroupbox *xpgroupbox2;
    QLineEdit *txtNew;
    xpcmdbutton *cmdChange;
    xpcmdbutton *cmdCancel;
};
