// The organise-favourites dialog (Favorites > Organize Favorite...): lists
// every entry of the Favorites menu, list position = menu index = address
// slot, and deletes, renames or (through frmFavDelCh) re-addresses one.
#pragma once

#include <QDialog>
#include <QPointer>

class QLineEdit;
class QListWidget;
class frmFavDelCh;
class frmWeb;
class xpcmdbutton;

class frmFavDel : public QDialog
{
    Q_OBJECT
public:
    // Loads the form: the list shows the menu's entries, none selected.
    explicit frmFavDel(frmWeb *window);
    ~frmFavDel() override;

    // The selected list position, -1 when nothing is selected.
    int ListIndex() const;
    // The text of list line i (the entry's name as the menu shows it).
    QString ListText(int i) const;
    frmWeb *mainWindow() const { return m_window; }
    // The change-URL dialog while it is open.
    frmFavDelCh *changeDialog() const;

public slots:
    void List1_Click();
    void cmdDel_Click();
    void cmdRename_Click();
    void cmdChURL_Click();
    void cmdClose_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Refresh();

    QPointer<frmWeb> m_window;
    QPointer<frmFavDelCh> m_change;

    xpcmdbutton *cmdDel;
    xpcmdbutton *cmdChURL;
    xpcmdbutton *cmdClose;
    xpcmdbutton *cmdRename;
    QLineEdit *txtUrl;
    QListWidget *List1;
};
