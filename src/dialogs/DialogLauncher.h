// Opens the dialogs of the Favorites, Tools and Help menus and keeps the
// browser window disabled exactly while a favourites dialog is open.
#pragma once

#include <QObject>
#include <QPointer>

class BrowserShell;
class frmAbout;
class frmFav;
class frmFavDel;
class frmProperties;
class QWidget;

class DialogLauncher : public QObject
{
    Q_OBJECT
public:
    // A child of the shell's window; open dialogs go with it.
    explicit DialogLauncher(BrowserShell *shell);
    ~DialogLauncher() override;

    // The dialogs while they are open, nullptr otherwise.
    frmFav *favDialog() const;
    frmFavDel *organiseDialog() const;
    frmProperties *optionsDialog() const;
    frmAbout *aboutDialog() const;

public slots:
    void AddToFav_Click();
    void DelFav_Click();
    void prop_Click();
    void mnuAbout_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateMainWindow();
    // Opens a favourites dialog, which keeps the main window disabled until
    // it closes; nothing happens while either favourites dialog is open.
    template <typename Dialog> void openHoldingWindow(QPointer<Dialog> &instance);

    BrowserShell *m_shell;
    QWidget *m_window;
    QPointer<frmFav> m_fav;
    QPointer<frmFavDel> m_favDel;
    QPointer<frmProperties> m_properties;
    QPointer<frmAbout> m_about;
};
