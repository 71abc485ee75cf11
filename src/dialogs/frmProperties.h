// The options dialog (Tools > Options): the home page and the clearing of
// the address history. Opened on top of all windows; the main window stays
// usable while it is open.
#pragma once

#include <QDialog>

class BrowserShell;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class xpcmdbutton;

class frmProperties : public QDialog
{
    Q_OBJECT
public:
    // Loads the form: the address box shows the stored home page.
    explicit frmProperties(BrowserShell *shell);

    // Stores the address box as the home page.
    void Apply();

public slots:
    void Command1_Click(); // Clear
    void command4_Click(); // Default
    void command3_Click(); // Current Webpage
    void command2_Click(); // Blank Url
    void cmdApply_Click();
    void cmdOk_Click();
    void cmdCancel_Click();

private:
    void Form_Load();

    BrowserShell *m_shell;

    QFrame *xpgroupbox1;
    QLabel *Label4;
    QGroupBox *Frame3;
    QLabel *Label1;
    xpcmdbutton *Command1;
    QLabel *Label5;
    QGroupBox *Frame2;
    QLabel *Label2;
    QLabel *Label3;
    QLineEdit *txtAddress;
    xpcmdbutton *command4;
    xpcmdbutton *command3;
    xpcmdbutton *command2;
    xpcmdbutton *cmdOk;
    xpcmdbutton *cmdApply;
    xpcmdbutton *cmdCancel;
};
