// The main window: navigation and address rows, the tab row, one page view
// per tab, the status and progress bars and the menu tree. Its slots carry
// the names of the handlers they are (control_Event).
#pragma once

#include "app/PageView.h"

#include <QMainWindow>
#include <QVector>

class AddressListIndex;
class FavMenuItems;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTabBar;
class TabSleeper;

class frmWeb : public QMainWindow
{
    Q_OBJECT
public:
    // Without a factory every tab gets a real engine view.
    explicit frmWeb(PageViewFactory factory = {}, QWidget *parent = nullptr);
    ~frmWeb() override;

    // The selected tab's view, looked up afresh on every call.
    PageView *selectedView() const;
    int selectedIndex() const;
    const QVector<PageView *> &views() const { return Web; }

    QComboBox *addressBox() const { return Combo1; }
    QTabBar *tabStrip() const { return TabStrip1; }
    QProgressBar *progressBar() const { return Bar1; }
    QLabel *statusPanel() const { return m_statusPanel; }
    FavMenuItems *favMenu() const { return m_favItems; }
    QMenu *favoritesMenu() const { return m_favoritesMenu; }
    QAction *action(const QString &objectName) const;

    bool newWindowLinkPending() const { return NewWindowLinkPending; }
    QString lastLinkAddress() const { return LastLinkAddress; }

    // True when no list entry contains the text (case-sensitive).
    bool IsNewAddress(const QString &text) const;

public slots:
    void Form_Load();
    void Close_Click();

    // Tabs
    void newww_Click();
    void new_b_Click();
    void cmdClose_Click();
    void cmdClosee_Click();
    void TabStrip1_Click(int index);

    // Navigation and address box
    void cmdgo_Click();
    void Combo1_Click();
    void cmdBack_Click();
    void cmdForward_Click();
    void cmdStop_Click();
    void cmdRefresh_Click();
    void cmdHome_Click();
    void cmdGoogle_Click();

    // Page events, with the index of the view that raised them
    void Web_StatusTextChange(int index, const QString &text);
    void Web_ProgressChange(int index, qint32 progress, qint32 progressMax);
    void Web_TitleChange(int index, const QString &text);
    void Web_BeforeNavigate2(int index);
    void Web_NewWindow2(int index, bool *cancel, const NewWindowInfo &info);
    void Web_NavigateComplete2(int index);
    void Web_DocumentComplete(int index);
    void Web_LocationChange(int index);

    // Keyboard commands every browser has
    void focusAddressBox();
    void selectNextTab();
    void selectPreviousTab();

    // Shows a short notice in the status panel (downloads and the like).
    void showStatus(const QString &text);

signals:
    // A page command of the menus; the page-command handlers connect here.
    void menuCommand(const QString &objectName);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createMenus();
    void createToolBars();
    void createCentralArea();
    void createStatusBar();
    PageView *loadView();
    int indexOf(QObject *view) const;
    void TabStrip1_MouseDown(Qt::MouseButton button, const QPoint &globalPos);
    void openBackgroundTab(const QUrl &url);
    void setCaption(const QString &text);

    PageViewFactory m_factory;

    QComboBox *Combo1 = nullptr;
    AddressListIndex *m_addressIndex = nullptr;
    QPushButton *cmdgo = nullptr;
    QPushButton *cmdGoogle = nullptr;
    QPushButton *cmdHome = nullptr;
    QPushButton *cmdClose = nullptr;
    QTabBar *TabStrip1 = nullptr;
    QProgressBar *Bar1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QLabel *m_statusPanel = nullptr;
    QWidget *m_viewArea = nullptr;
    QMenu *m_favoritesMenu = nullptr;
    QMenu *mnuTab = nullptr;
    FavMenuItems *m_favItems = nullptr;
    TabSleeper *m_sleeper = nullptr; // tabs left unselected sleep
    QVector<PageView *> Web;

    bool NewWindowLinkPending = false;
    QString LastLinkAddress;
};
