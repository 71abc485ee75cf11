// The main window: the navigation and address rows, the tab set (one page
// view per tab), the status and progress bars and the menu tree, built in
// small named steps; start-up (Form_Load) and the navigation handlers. Its
// slots carry the names of the handlers they are (control_Event).
#pragma once

#include "app/BrowserShell.h"
#include "app/PageView.h"
#include "app/TabSet.h"

#include <QMainWindow>
#include <QVector>

class AddressListIndex;
class AddressSuggestions;
class HistoryWindow;
class VisitedHistory;
class ClosedTabs;
class DownloadManager;
class FavMenuItems;
class FindBar;
class FullScreen;
class PermissionsButton;
class RestoreBar;
class SessionKeeper;
struct Session;
class ZoomControl;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTabBar;
class WindowEngine;

class frmWeb : public QMainWindow, public BrowserShell
{
    Q_OBJECT
public:
    // Without a factory every tab gets a real engine view.
    explicit frmWeb(PageViewFactory factory = {}, QWidget *parent = nullptr);
    ~frmWeb() override;

    // BrowserShell: what the dialogs and commands may ask of the window.
    PageView *selectedView() const override { return m_tabs ? m_tabs->selectedView() : nullptr; }
    QString addressText() const override;
    void favouritesChanged() override;
    void addressListCleared() override;
    QWidget *shellWindow() override { return this; }

    TabSet *tabs() const { return m_tabs; }
    ClosedTabs *closedTabs() const { return m_closedTabs; }
    int selectedIndex() const { return m_tabs->selectedIndex(); }
    const QVector<PageView *> &views() const { return m_tabs->views(); }
    QTabBar *tabStrip() const { return m_tabs->tabStrip(); }
    QComboBox *addressBox() const { return Combo1; }
    QProgressBar *progressBar() const { return Bar1; }
    QLabel *statusPanel() const { return m_statusPanel; }
    FavMenuItems *favMenu() const { return m_favItems; }
    // Null until the engine runs.
    DownloadManager *downloads() const;
    QMenu *favoritesMenu() const { return m_favoritesMenu; }
    QAction *action(const QString &objectName) const;
    VisitedHistory *visitedHistory() const { return m_visited; }
    AddressSuggestions *suggestions() const { return m_suggestions; }
    // The history window, once Ctrl+H opened it.
    HistoryWindow *historyWindow() const { return m_historyWindow; }

    bool newWindowLinkPending() const { return m_tabs->newWindowLinkPending(); }
    QString lastLinkAddress() const { return m_tabs->lastLinkAddress(); }

    // True when no list entry contains the text (case-sensitive).
    bool IsNewAddress(const QString &text) const;

    // Opens addresses given from outside (the command line), the first one
    // selected: in the first tab when replaceFirstTab, else in a new tab
    // after the last; each further one in a new tab after it. The typed-
    // address history is left as it is.
    void openAddresses(const QStringList &urls, bool replaceFirstTab);
    // Brings the window to the front with a tab of the site origin selected
    // (a notification of the site was clicked).
    void showSite(const QUrl &origin);

    // Set before Form_Load: the command line gave addresses to open, so no
    // crashed session is offered (one restored at every start still is).
    void setCommandLineAddresses(bool given) { m_addressesGiven = given; }
    // Whether Form_Load brought back the last session in place of the home page.
    bool sessionRestored() const { return m_sessionRestored; }
    SessionKeeper *session() const { return m_session; }
    // Brings back the tabs of session after the open ones, or in place of
    // the first tab when it is still untouched, and selects its selected tab.
    void restoreSession(const Session &session);

public slots:
    void Form_Load();
    void Close_Click();

    // Tabs (the tab set does the work)
    void newww_Click() { m_tabs->openTab(); }
    void new_b_Click() { newww_Click(); }
    void cmdClose_Click() { m_tabs->closeSelectedTab(); }
    void cmdClosee_Click() { cmdClose_Click(); }
    void selectNextTab() { m_tabs->selectNextTab(); }
    void selectPreviousTab() { m_tabs->selectPreviousTab(); }

    // Navigation and address box
    void cmdgo_Click();
    void Combo1_Click();
    void cmdBack_Click();
    void cmdForward_Click();
    void cmdStop_Click();
    void cmdRefresh_Click();
    void cmdHome_Click();
    void cmdGoogle_Click();
    void focusAddressBox();
    // Ctrl+Shift+N: starts a private browser (corvane --private).
    void openPrivateWindow();
    // Ctrl+H: the history of visited pages.
    void showHistoryWindow();

    // Shows a short notice in the status panel (downloads and the like).
    void showStatus(const QString &text);
    // The selected view's load progress, as far as the bar can show it.
    void showProgress(qint32 progress, qint32 progressMax);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createToolBars();
    void createNavigationBar();
    void createAddressBar();
    void createTabSet(PageViewFactory factory);
    void createStatusBar();
    void createMenus();
    void createShortcuts();
    void placeOnScreen();
    void startSession();
    void restoreTabs(const Session &session, bool replaceFirst);

    TabSet *m_tabs = nullptr;
    QComboBox *Combo1 = nullptr;
    AddressListIndex *m_addressIndex = nullptr;
    QPushButton *cmdgo = nullptr;
    QPushButton *cmdGoogle = nullptr;
    QPushButton *cmdHome = nullptr;
    QProgressBar *Bar1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QLabel *m_statusPanel = nullptr;
    QMenu *m_favoritesMenu = nullptr;
    FavMenuItems *m_favItems = nullptr;
    FindBar *m_findBar = nullptr;
    ZoomControl *m_zoom = nullptr;
    PermissionsButton *m_permissionsButton = nullptr; // the site's stored answers
    ClosedTabs *m_closedTabs = nullptr;               // Ctrl+Shift+T
    FullScreen *m_fullScreen = nullptr;               // F11 and pages' own full screen
    bool m_enterPickedEntry = false;                  // Enter picked an entry of the open list
    SessionKeeper *m_session = nullptr;               // the open tabs, saved as they change
    RestoreBar *m_restoreBar = nullptr;               // offers the tabs of a crashed session
    bool m_addressesGiven = false;
    bool m_sessionRestored = false;
    bool m_startPageDue = true;                  // until the first page has loaded
    WindowEngine *m_engineParts = nullptr;       // downloads (Ctrl+J), notifications, sleeping tabs
    VisitedHistory *m_visited = nullptr;         // history.db: pages visited in any tab
    AddressSuggestions *m_suggestions = nullptr; // under the address box while typing
    HistoryWindow *m_historyWindow = nullptr;
};
