// The organise-favourites dialog (Favorites > Organize Favorite...): lists
// every favourite of the store's table, list position = table slot = menu
// index, and deletes, renames or (through frmFavDelCh) re-addresses one.
#pragma once

#include "store/FavEdits.h"

#include <QDialog>
#include <QPointer>

class BrowserShell;
class QLineEdit;
class QListWidget;
class frmFavDelCh;
class xpcmdbutton;

class frmFavDel : public QDialog
{
    Q_OBJECT
public:
    // Loads the form: the list shows the table's entries, none selected.
    explicit frmFavDel(BrowserShell *shell);
    ~frmFavDel() override;

    // The selected list position, -1 when nothing is selected.
    int ListIndex() const;
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
    // Tells the window after an edit, or shows why the edit failed.
    void edited(FavEdits::Result result);

    BrowserShell *m_shell;
    QPointer<frmFavDelCh> m_change;

    xpcmdbutton *cmdDel;
    xpcmdbutton *cmdChURL;
    xpcmdbutton *cmdClose;
    xpcmdbutton *cmdRename;
    QLineEdit *txtUrl;
    QListWidget *List1;
};
