// The add-favourite dialog (Favorites > Add to Favorites...): the selected
// tab's title and address, which the user may edit, become a new favourite
// at the end of the Favorites menu.
#pragma once

#include <QDialog>

class BrowserShell;
class QGroupBox;
class QLabel;
class QLineEdit;
class xpcmdbutton;

class frmFav : public QDialog
{
    Q_OBJECT
public:
    // Loads the form: both boxes are filled from the selected tab.
    explicit frmFav(BrowserShell *shell);

public slots:
    void cmdAdd_Click();
    void cmdCancel_Click();
    void cmdReset_Click();

private:
    void FillBoxes();

    BrowserShell *m_shell;

    QGroupBox *Frame1;
    QLabel *Label2;
    QLineEdit *txtName;
    QGroupBox *Frame2;
    QLabel *Label1;
    QLineEdit *txtUrl;
    xpcmdbutton *cmdAdd;
    xpcmdbutton *cmdCancel;
    xpcmdbutton *cmdReset;
};
