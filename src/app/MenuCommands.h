// The page and window commands of the menus: editing the address box,
// handing save/print/properties to the selected view, Always on Top, the
// help messages and the favourites items.
#pragma once

#include <QObject>

class frmWeb;
class QWidget;

class MenuCommands : public QObject
{
    Q_OBJECT
public:
    explicit MenuCommands(frmWeb *window);

    // Opens a dialog above all windows, modeless; a second request brings
    // the same instance forward.
    static void ShowOnTop(QWidget *dialog);

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
    frmWeb *m_window;
};
