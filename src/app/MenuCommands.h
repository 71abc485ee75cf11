// The page and window commands of the menus: editing the address box,
// handing save/print/properties to the selected view, Always on Top, the
// help messages and the favourites items.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class BrowserShell;
class QComboBox;
class QLineEdit;

class MenuCommands : public QObject
{
    Q_OBJECT
public:
    // The commands act on the shell's selected view and on its address box.
    MenuCommands(BrowserShell *shell, QComboBox *addressBox, QObject *parent);

    static const QString HelpText;
    static const QString HelpTitle;
    static const QString TabHelpText;
    static const QString TabHelpTitle;

public slots:
    void Copy_Click();
    void Cut_Click();
    void paste_Click();
    void selall_Click();
    void save_as_Click();
    void PrP_Click();
    void print_Click();
    void Page_Setup_Click();
    void PrPr_Click();
    void mnuTop_Click();
    void mnuHelp_Click();
    void mnuTabHlp_Click();
    void mnuItemSite_Click(int index);

private:
    QLineEdit *addressEdit() const;
    void execOnSelectedView(int command, int option);

    BrowserShell *m_shell;
    QPointer<QComboBox> m_addressBox;
};
