// The main window of Corvane: construction, start-up and the navigation handlers.
#include "app/frmWeb.h"

#include "app/AddressListIndex.h"
#include "app/AddressSuggestions.h"
#include "app/ClosedTabs.h"
#include "app/FavMenuItems.h"
#include "app/FindBar.h"
#include "app/FirstPaint.h"
#include "app/FormMetrics.h"
#include "app/FramePacer.h"
#include "app/FullScreen.h"
#include "app/MenuCommands.h"
#include "app/PermissionsButton.h"
#include "app/RestoreBar.h"
#include "app/SessionKeeper.h"
#include "app/ZoomControl.h"
#include "dialogs/DialogLauncher.h"
#include "dialogs/HistoryWindow.h"
#include "platform/Prompts.h"
#include "store/AddressRules.h"
#include "store/AppPaths.h"
#include "store/Module1.h"
#include "store/PermissionStore.h"
#include "store/PrivateMode.h"
#include "store/VisitedHistory.h"
#include "web/Engine.h"
#include "web/EngineSide.h"
#include "web/WebEnginePageView.h"
#include "web/WindowEngine.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <utility>

namespace {
constexpr int px(int twips)
{
    return FormMetrics::px(twips);
}
} // namespace

frmWeb::frmWeb(PageViewFactory factory, QWidget *parent) : QMainWindow(parent)
{
    if (!factory)
        factory = [](QWidget *p) -> PageView * { return new WebEnginePageView(p); };

    // The icon is compiled into the static library; nothing else pulls it in.
    Q_INIT_RESOURCE(app);
    setObjectName(QStringLiteral("frmWeb"));
    setWindowTitle(QStringLiteral("Corvane"));
    setWindowIcon(QIcon(QStringLiteral(":/app/corvane.png")));
    // A private browser keeps the pages it visits in memory, for its run only.
    m_visited = new VisitedHistory(PrivateMode::isOn()
                                       ? QStringLiteral(":memory:")
                                       : AppPaths::dataFilePath(QStringLiteral("history.db")),
                                   this);

    createToolBars();
    m_suggestions = new AddressSuggestions(Combo1, m_visited, this);
    connect(m_suggestions, &AddressSuggestions::picked, this, &frmWeb::cmdgo_Click);
    createTabSet(std::move(factory));
    createStatusBar();
    createMenus();
    createShortcuts();
    placeOnScreen();

    new FramePacer(this); // the shell's changes within one screen refresh repaint together

    // Notifications, downloads and sleeping tabs come with the engine.
    Engine::whenStarted(this, [this] {
        m_engineParts = Engine::side()->attach(
            this, m_tabs->viewArea(), [this](const QUrl &origin) { showSite(origin); },
            [this](const QString &text) { showStatus(text); });
    });
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_J), this), &QShortcut::activated, this,
            [this] { Engine::whenStarted(this, [this] { m_engineParts->showDownloads(); }); });
    // Shown over the panel for a while, so page events do not overwrite it.
    connect(m_visited, &VisitedHistory::problem, this,
            [this](const QString &message) { StatusBar1->showMessage(message, 20000); });
}

frmWeb::~frmWeb()
{
    // The tab set and its views go first, while all they report to is there.
    delete m_tabs;
    m_tabs = nullptr;
}

DownloadManager *frmWeb::downloads() const
{
    return m_engineParts ? m_engineParts->downloads() : nullptr;
}

QAction *frmWeb::action(const QString &objectName) const
{
    return findChild<QAction *>(objectName);
}

// ---------------------------------------------------------------- building

void frmWeb::createToolBars()
{
    createNavigationBar();
    addToolBarBreak(Qt::TopToolBarArea);
    createAddressBar();
}

namespace {

QToolBar *toolBar(QMainWindow *window, const QString &name)
{
    auto *bar = new QToolBar(window);
    bar->setObjectName(name);
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->toggleViewAction()->setVisible(false);
    window->addToolBar(Qt::TopToolBarArea, bar);
    return bar;
}

QPushButton *button(QToolBar *bar, const QString &name, const QString &caption, int widthTwips,
                    int heightTwips)
{
    auto *b = new QPushButton(caption, bar);
    b->setObjectName(name);
    b->setFont(FormMetrics::font(QStringLiteral("OCR A Extended"), 9.75));
    b->setMinimumSize(px(widthTwips), px(heightTwips));
    b->setFocusPolicy(Qt::TabFocus);
    bar->addWidget(b);
    return b;
}

} // namespace

// The upper row (Picture1): Back, Forward, Stop, Refresh, New Tab, Home and,
// at the right end, the search button.
void frmWeb::createNavigationBar()
{
    QToolBar *picture1 = toolBar(this, QStringLiteral("Picture1"));
    connect(button(picture1, QStringLiteral("cmdBack"), QStringLiteral("Back"), 750, 510),
            &QPushButton::clicked, this, &frmWeb::cmdBack_Click);
    connect(button(picture1, QStringLiteral("cmdForward"), QStringLiteral("Forward"), 1095, 510),
            &QPushButton::clicked, this, &frmWeb::cmdForward_Click);
    connect(button(picture1, QStringLiteral("cmdStop"), QStringLiteral("Stop"), 750, 510),
            &QPushButton::clicked, this, &frmWeb::cmdStop_Click);
    connect(button(picture1, QStringLiteral("cmdRefresh"), QStringLiteral("Refresh"), 975, 510),
            &QPushButton::clicked, this, &frmWeb::cmdRefresh_Click);
    connect(button(picture1, QStringLiteral("newww"), QStringLiteral("New Tab"), 975, 510),
            &QPushButton::clicked, this, &frmWeb::newww_Click);
    cmdHome = button(picture1, QStringLiteral("cmdHome"), QStringLiteral("Home"), 750, 510);
    connect(cmdHome, &QPushButton::clicked, this, &frmWeb::cmdHome_Click);
    // The Home button shares its place with the search button and is never
    // offered; its handler stays for the day it is.
    picture1->actions().last()->setVisible(false);
    auto *spring = new QWidget(picture1);
    spring->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    picture1->addWidget(spring);
    cmdGoogle =
        button(picture1, QStringLiteral("cmdGoogle"), QStringLiteral("Go To GOOGLE"), 2055, 375);
    connect(cmdGoogle, &QPushButton::clicked, this, &frmWeb::cmdGoogle_Click);
}

// The lower row (Picture2): the "Address" label, the address box and GO!.
void frmWeb::createAddressBar()
{
    QToolBar *picture2 = toolBar(this, QStringLiteral("Picture2"));
    auto *label = new QLabel(QStringLiteral("Address"), picture2);
    label->setObjectName(QStringLiteral("Label1"));
    label->setFont(FormMetrics::font(QStringLiteral("Verdana"), 8.25));
    label->setContentsMargins(2, 0, 4, 0);
    picture2->addWidget(label);

    Combo1 = new QComboBox(picture2);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    // GO! asks whether any entry contains the typed text; asking each of a
    // long history's items took 10 ms.
    m_addressIndex = new AddressListIndex(Combo1->model(), this);
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setFont(FormMetrics::font(QStringLiteral("Segoe UI"), 9));
    Combo1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    Combo1->setMinimumWidth(px(1500));
    Combo1->setMaxVisibleItems(20);
    // Measuring every entry of a long history would stall the first show.
    Combo1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Combo1->installEventFilter(this);
    Combo1->view()->installEventFilter(this);
    // The box on its own picks the entry equal to its text whenever editing
    // ends and reports it as chosen: leaving the box for the page would open
    // the page again and pull the focus back. Only the user's pick opens one.
    disconnect(Combo1->lineEdit(), &QLineEdit::editingFinished, Combo1, nullptr);
    label->setBuddy(Combo1);
    connect(Combo1, qOverload<int>(&QComboBox::activated), this, [this] { Combo1_Click(); });
    picture2->addWidget(Combo1);

    cmdgo = new QPushButton(QStringLiteral("GO!"), picture2);
    cmdgo->setObjectName(QStringLiteral("cmdgo"));
    cmdgo->setMinimumSize(px(650), px(300));
    cmdgo->setFocusPolicy(Qt::TabFocus);
    connect(cmdgo, &QPushButton::clicked, this, &frmWeb::cmdgo_Click);
    picture2->addWidget(cmdgo);
}

// The tab row and the views fill the window's middle; what the selected
// tab's page reports goes to the address box, caption, status and progress.
void frmWeb::createTabSet(PageViewFactory factory)
{
    m_tabs = new TabSet(std::move(factory), this);
    setCentralWidget(m_tabs);
    connect(m_tabs, &TabSet::addressChanged, this, [this](const QString &address) {
        // What the user types while the first page is on its way is kept.
        if (m_startPageDue && Combo1->lineEdit()->isModified())
            return;
        Combo1->setEditText(address);
    });
    connect(m_tabs, &TabSet::captionChanged, this, &QWidget::setWindowTitle);
    connect(m_tabs, &TabSet::statusTextChanged, this, &frmWeb::showStatus);
    connect(m_tabs, &TabSet::progressChanged, this, &frmWeb::showProgress);
    connect(m_tabs, &TabSet::navigationStarted, this, [this] { Bar1->setVisible(true); });
    connect(m_tabs, &TabSet::navigationFinished, this, [this] {
        Bar1->setVisible(false);
        if (!m_startPageDue || selectedView()->isLoading())
            return;
        m_startPageDue = false;
        // The first page has come while the user was typing an address:
        // the typing goes on in the box.
        if (Combo1->lineEdit()->isModified())
            Combo1->setFocus(Qt::OtherFocusReason);
    });

    // Find in page sits under the views; zoom follows every view of a host.
    m_findBar = new FindBar([this] { return selectedView(); }, m_tabs);
    m_tabs->addBelowViews(m_findBar);
    m_zoom = new ZoomControl([this] { return selectedView(); }, this);
    for (PageView *view : m_tabs->views()) {
        m_zoom->addView(view);
        connect(view, &PageView::PageLoaded, m_visited, &VisitedHistory::record);
    }
    connect(m_tabs, &TabSet::tabShown, m_findBar, &FindBar::selectionChanged);
    connect(m_tabs, &TabSet::tabShown, m_zoom, &ZoomControl::selectionChanged);

    // Tabs left unselected sleep; a page wakes before its tab shows.
    connect(m_tabs, &TabSet::tabAboutToShow, this, [this](int index) {
        if (m_engineParts)
            m_engineParts->tabSelected(m_tabs->view(index));
    });

    // Reopening closed tabs (Ctrl+Shift+T) and full screen (F11).
    m_closedTabs = new ClosedTabs(
        m_tabs->tabStrip(),
        [this](int i) { return i >= 0 && i < m_tabs->count() ? m_tabs->view(i) : nullptr; }, this);
    connect(m_tabs, &TabSet::tabClosed, m_closedTabs, &ClosedTabs::closed);
    m_fullScreen = new FullScreen(this, m_tabs->viewArea());
    for (PageView *view : m_tabs->views())
        m_fullScreen->watch(view);
    connect(m_tabs, &TabSet::tabOpened, this, [this](int index) {
        m_zoom->addView(m_tabs->view(index));
        m_fullScreen->watch(m_tabs->view(index));
        connect(m_tabs->view(index), &PageView::PageLoaded, m_visited, &VisitedHistory::record);
    });
}

void frmWeb::createStatusBar()
{
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(true);
    setStatusBar(StatusBar1);

    m_statusPanel = new QLabel(QStringLiteral("Status"), StatusBar1);
    m_statusPanel->setObjectName(QStringLiteral("Panel1"));
    m_statusPanel->setMinimumWidth(px(1440));
    m_statusPanel->setTextFormat(Qt::PlainText);
    StatusBar1->addWidget(m_statusPanel, 1);

    // The progress bar sits over the right part of the status bar, its right
    // edge a little way in from the window's.
    auto *holder = new QWidget(StatusBar1);
    auto *holderLayout = new QHBoxLayout(holder);
    holderLayout->setContentsMargins(0, 0, px(850) - 16, 0);
    Bar1 = new QProgressBar(holder);
    Bar1->setObjectName(QStringLiteral("Bar1"));
    Bar1->setFixedSize(px(1575), px(255));
    Bar1->setRange(0, 100);
    Bar1->setValue(0);
    Bar1->setTextVisible(false);
    holderLayout->addWidget(Bar1);
    StatusBar1->addPermanentWidget(holder);
    m_permissionsButton = new PermissionsButton([this] { return selectedView(); }, StatusBar1);
    StatusBar1->addPermanentWidget(m_permissionsButton);
    StatusBar1->addPermanentWidget(m_zoom->label());
    if (PrivateMode::isOn()) {
        auto *label = new QLabel(tr("Private"), StatusBar1);
        label->setObjectName(QStringLiteral("privateLabel"));
        label->setToolTip(tr("This window keeps nothing it sees once Corvane ends"));
        StatusBar1->addPermanentWidget(label);
        // The tab row wears a colour of its own.
        QPalette colours = m_tabs->tabStrip()->palette();
        colours.setColor(QPalette::Window, QColor(0x4b, 0x2c, 0x69));
        colours.setColor(QPalette::WindowText, Qt::white);
        m_tabs->tabStrip()->setPalette(colours);
        m_tabs->tabStrip()->setAutoFillBackground(true);
    }
    const auto follow = [this](PageView *view) {
        connect(view, &PageView::PermissionsChanged, m_permissionsButton,
                &PermissionsButton::answersChanged);
        for (auto signal : {&PageView::DocumentComplete, &PageView::LocationChange})
            connect(view, signal, m_permissionsButton, &PermissionsButton::refresh);
    };
    for (PageView *view : m_tabs->views())
        follow(view);
    connect(m_tabs, &TabSet::tabOpened, this,
            [this, follow](int index) { follow(m_tabs->view(index)); });
    connect(m_tabs, &TabSet::tabShown, m_permissionsButton, &PermissionsButton::refresh);
}

void frmWeb::createMenus()
{
    auto *commands = new MenuCommands(this, Combo1, this);
    auto *dialogs = new DialogLauncher(this);
    // A page's own window.print() is the Print... command of its tab.
    connect(m_tabs, &TabSet::printRequested, commands, &MenuCommands::print_Click);

    auto menu = [this](const QString &name, const QString &caption) {
        QMenu *m = menuBar()->addMenu(caption);
        m->setObjectName(name);
        m->menuAction()->setObjectName(name + QStringLiteral("Action"));
        return m;
    };
    auto item = [](QMenu *m, const QString &name, const QString &caption,
                   const QKeySequence &keys = QKeySequence()) {
        QAction *a = m->addAction(caption);
        a->setObjectName(name);
        if (!keys.isEmpty())
            a->setShortcut(keys);
        return a;
    };
    auto separator = [](QMenu *m, const QString &name) {
        QAction *a = m->addSeparator();
        a->setObjectName(name);
        return a;
    };

    QMenu *file = menu(QStringLiteral("File"), QStringLiteral("File"));
    connect(item(file, QStringLiteral("new_b"), QStringLiteral("New Tab") + QString(15, ' '),
                 QKeySequence(Qt::CTRL | Qt::Key_T)),
            &QAction::triggered, this, &frmWeb::new_b_Click);
    connect(item(file, QStringLiteral("save_as"), QStringLiteral("Save as..."),
                 QKeySequence(Qt::CTRL | Qt::Key_S)),
            &QAction::triggered, commands, &MenuCommands::save_as_Click);
    connect(item(file, QStringLiteral("PrP"), QStringLiteral("Properties")), &QAction::triggered,
            commands, &MenuCommands::PrP_Click);
    separator(file, QStringLiteral("s"));
    QMenu *printOptions = file->addMenu(QStringLiteral("Print Options"));
    printOptions->setObjectName(QStringLiteral("asss"));
    connect(item(printOptions, QStringLiteral("print"), QStringLiteral("Print...")),
            &QAction::triggered, commands, &MenuCommands::print_Click);
    connect(item(printOptions, QStringLiteral("Page_Setup"), QStringLiteral("Page Setup...")),
            &QAction::triggered, commands, &MenuCommands::Page_Setup_Click);
    connect(item(printOptions, QStringLiteral("PrPr"), QStringLiteral("Print Preview...")),
            &QAction::triggered, commands, &MenuCommands::PrPr_Click);
    separator(file, QStringLiteral("sss"));
    connect(item(file, QStringLiteral("Close"), QStringLiteral("Close")), &QAction::triggered, this,
            &frmWeb::Close_Click);

    QMenu *edit = menu(QStringLiteral("Edit"), QStringLiteral("Edit"));
    connect(item(edit, QStringLiteral("Cut"), QStringLiteral("Cut")), &QAction::triggered, commands,
            &MenuCommands::Cut_Click);
    connect(item(edit, QStringLiteral("Copy"), QStringLiteral("Copy")), &QAction::triggered,
            commands, &MenuCommands::Copy_Click);
    connect(item(edit, QStringLiteral("paste"), QStringLiteral("Paste") + QString(24, ' ')),
            &QAction::triggered, commands, &MenuCommands::paste_Click);
    separator(edit, QStringLiteral("se"));
    connect(item(edit, QStringLiteral("selall"), QStringLiteral("Select All")), &QAction::triggered,
            commands, &MenuCommands::selall_Click);

    m_favoritesMenu = menu(QStringLiteral("Favorites"), QStringLiteral("Favorites"));
    connect(
        item(m_favoritesMenu, QStringLiteral("AddToFav"), QStringLiteral("Add to Favorites...")),
        &QAction::triggered, dialogs, &DialogLauncher::AddToFav_Click);
    connect(item(m_favoritesMenu, QStringLiteral("DelFav"), QStringLiteral("Organize Favorite...")),
            &QAction::triggered, dialogs, &DialogLauncher::DelFav_Click);
    separator(m_favoritesMenu, QStringLiteral("sep"));
    m_favItems = new FavMenuItems(m_favoritesMenu, this);
    connect(m_favItems, &FavMenuItems::triggered, commands, &MenuCommands::mnuItemSite_Click);

    QMenu *tools = menu(QStringLiteral("Tools"), QStringLiteral("Tools"));
    QAction *top = item(tools, QStringLiteral("mnuTop"), QStringLiteral("Always on Top"));
    top->setCheckable(true);
    top->setChecked(true); // as designed; start-up clears it
    connect(top, &QAction::triggered, commands, &MenuCommands::mnuTop_Click);
    separator(tools, QStringLiteral("sep1"));
    connect(item(tools, QStringLiteral("prop"), QStringLiteral("Options")), &QAction::triggered,
            dialogs, &DialogLauncher::prop_Click);

    QMenu *mnuTab = menu(QStringLiteral("mnuTab"), QStringLiteral("Tab Menu"));
    mnuTab->menuAction()->setVisible(false);
    connect(item(mnuTab, QStringLiteral("cmdClosee"), QStringLiteral("Close")), &QAction::triggered,
            this, &frmWeb::cmdClosee_Click);
    m_tabs->setTabMenu(mnuTab);

    QMenu *help = menu(QStringLiteral("mnuHelpGen"), QStringLiteral("Help"));
    QAction *helpItem =
        item(help, QStringLiteral("mnuHelp"), QStringLiteral("Help"), QKeySequence(Qt::Key_F1));
    helpItem->setVisible(false);
    connect(helpItem, &QAction::triggered, commands, &MenuCommands::mnuHelp_Click);
    separator(help, QStringLiteral("spsp"))->setVisible(false);
    connect(item(help, QStringLiteral("mnuTabHlp"),
                 QStringLiteral("How Do  Open A Link In A New Tab?")),
            &QAction::triggered, commands, &MenuCommands::mnuTabHlp_Click);
    connect(item(help, QStringLiteral("mnuAbout"), QStringLiteral("About") + QString(12, ' '),
                 QKeySequence(Qt::Key_F12)),
            &QAction::triggered, dialogs, &DialogLauncher::mnuAbout_Click);
}

// Keyboard commands every browser has, besides the menus' own shortcuts.
void frmWeb::createShortcuts()
{
    auto shortcut = [this](const QKeySequence &keys, auto *receiver, auto slot) {
        auto *s = new QShortcut(keys, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, receiver, slot);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this, &frmWeb::focusAddressBox);
    shortcut(QKeySequence(Qt::ALT | Qt::Key_D), this, &frmWeb::focusAddressBox);
    shortcut(QKeySequence(Qt::Key_F6), this, &frmWeb::focusAddressBox);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_W), this, &frmWeb::cmdClose_Click);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), m_tabs, &TabSet::selectNextTab);
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), m_tabs,
             &TabSet::selectPreviousTab);
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), m_tabs, &TabSet::selectPreviousTab);
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Left), this, &frmWeb::cmdBack_Click);
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Right), this, &frmWeb::cmdForward_Click);
    shortcut(QKeySequence(Qt::Key_F5), this, &frmWeb::cmdRefresh_Click);
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T), m_closedTabs, &ClosedTabs::reopen);
    shortcut(QKeySequence(Qt::Key_F11), m_fullScreen, &FullScreen::toggle);
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N), this, &frmWeb::openPrivateWindow);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_H), this, &frmWeb::showHistoryWindow);
    shortcut(QKeySequence(Qt::Key_Escape), this, [this] {
        if (m_fullScreen->leavePage()) // a page's own full screen ends first
            return;
        if (PageView *view = selectedView())
            view->Stop();
    });
}

// The designed client area is 11760 x 8130 twips, centred on the screen.
void frmWeb::placeOnScreen()
{
    resize(px(11760), px(8130));
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

// ---------------------------------------------------------------- start-up

void frmWeb::Form_Load()
{
    Module1::SetFavUrl(0, Module1::SearchServiceUrl);
    Module1::LoadFavMenu();
    favouritesChanged();
    const QPointer<QComboBox> list(Combo1);
    Module1::LoadHistory([list](const QStringList &entries) {
        // A long history keeps the window alive; it may be closed meanwhile.
        QCoreApplication::processEvents();
        if (list)
            list->addItems(entries);
    });
    m_tabs->removeDesignerTab();
    PageView *view = selectedView();
    view->setSilent(true);
    if (!PrivateMode::isOn()) // a private browser keeps no session
        m_session = new SessionKeeper(m_tabs, this);
    const std::optional<Session> last = m_session ? m_session->previous() : std::nullopt;
    m_sessionRestored = last && SessionKeeper::restoreAtStart();
    if (m_sessionRestored) {
        restoreTabs(*last, true);
    } else {
        view->Navigate2(Module1::GetHomePage());
        m_tabs->setTabCaption(0, Module1::GetHomePage());
        Combo1->setEditText(Module1::GetHomePage());
    }
    // The suggestions' first reading waits for the first page (or the
    // address box's first keys), and for a page that never comes, a while.
    connect(selectedView(), &PageView::DocumentComplete, m_visited, &VisitedHistory::warmUp,
            Qt::SingleShotConnection);
    QTimer::singleShot(3000, m_visited, &VisitedHistory::warmUp);
    action(QStringLiteral("mnuTop"))->setChecked(false);
    Engine::prepareWindow(this);
    show();
    // A start that held the engine back lets it go once the window is on
    // screen; the first page then loads at once.
    new FirstPaint(this, [] { Engine::start(); });
    Bar1->setVisible(false);
    startSession();
}

void frmWeb::startSession()
{
    if (!m_session)
        return;
    connect(m_session, &SessionKeeper::statusText, this, &frmWeb::showStatus);
    if (!m_session->readProblem().isEmpty())
        showStatus(m_session->readProblem());
    const std::optional<Session> &last = m_session->previous();
    if (!m_sessionRestored && !m_addressesGiven && last && !last->cleanEnd) {
        // Until the user answers, or uses this window for more than its home
        // page, the crashed session stays on disk: a second crash loses nothing.
        m_session->setHoldPrevious(true);
        m_restoreBar = new RestoreBar(int(last->tabs.size()), m_tabs);
        m_tabs->addAboveViews(m_restoreBar);
        // Tab reaches it from the address row, before the page takes the keys.
        QWidget::setTabOrder(cmdgo, m_restoreBar->restoreButton());
        connect(m_restoreBar, &RestoreBar::restoreClicked, this, [this] {
            m_restoreBar->hide();
            m_restoreBar->deleteLater();
            m_restoreBar = nullptr;
            if (m_session->previous())
                restoreSession(*m_session->previous());
            m_session->setHoldPrevious(false);
        });
        connect(m_restoreBar, &RestoreBar::dismissClicked, this, [this] {
            m_restoreBar->hide();
            m_restoreBar->deleteLater();
            m_restoreBar = nullptr;
        });
    }
    // Logging out asks for our data, and the program may end right after.
    connect(qApp, &QGuiApplication::commitDataRequest, m_session, &SessionKeeper::markCleanEnd);
    m_session->start();
}

void frmWeb::restoreSession(const Session &session)
{
    restoreTabs(session, m_session && m_session->untouched());
}

void frmWeb::restoreTabs(const Session &session, bool replaceFirst)
{
    if (session.tabs.isEmpty())
        return;
    QVector<int> indexes;
    for (qsizetype i = 0; i < session.tabs.size(); ++i) {
        const SessionTab &tab = session.tabs.at(i);
        indexes << (i == 0 && replaceFirst ? 0
                                           : m_tabs->openRestoredTab(tab.address, tab.caption,
                                                                     tab.history, tab.zoomPercent));
    }
    // The selected tab comes to the front first, so the first tab, when it
    // is not the one selected, waits asleep like the others.
    const int selected = indexes.value(session.selected);
    m_tabs->tabStrip()->setCurrentIndex(selected);
    if (replaceFirst) {
        const SessionTab &tab = session.tabs.first();
        m_tabs->openRestoredTab(tab.address, tab.caption, tab.history, tab.zoomPercent, 0);
    }
    m_tabs->TabStrip1_Click(selected);
}

void frmWeb::closeEvent(QCloseEvent *event)
{
    if (m_session)
        m_session->finish();
    QMainWindow::closeEvent(event);
}

void frmWeb::Close_Click()
{
    if (m_session)
        m_session->finish();
    // Ends the program at once; popup windows of pages go with it, and
    // downloads still running with their partial files.
    if (m_engineParts)
        m_engineParts->cancelDownloads();
    hide();
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

// ---------------------------------------------------------------- BrowserShell

QString frmWeb::addressText() const
{
    return Combo1->currentText();
}

void frmWeb::favouritesChanged()
{
    m_favItems->rebuild();
}

void frmWeb::addressListCleared()
{
    // Only the list goes; the text in the box stays as the user left it.
    const QString text = Combo1->currentText();
    Combo1->clear();
    Combo1->setEditText(text);
    m_visited->clear();
}

void frmWeb::openAddresses(const QStringList &urls, bool replaceFirstTab)
{
    if (urls.isEmpty())
        return;
    const int first = replaceFirstTab ? 0 : m_tabs->count();
    if (replaceFirstTab) {
        m_tabs->view(0)->Navigate2(urls.first());
        m_tabs->setTabCaption(0, urls.first());
    }
    for (qsizetype i = replaceFirstTab ? 1 : 0; i < urls.size(); ++i)
        m_tabs->openBackgroundTab(QUrl(urls.at(i)));
    m_tabs->tabStrip()->setCurrentIndex(first);
    m_tabs->TabStrip1_Click(first); // also when it was selected already
    Combo1->setEditText(urls.first());
}

void frmWeb::openPrivateWindow()
{
    // A program of its own, so nothing of this one's profile is shared.
    if (!Prompts::StartProgram(QCoreApplication::applicationFilePath(),
                               {QStringLiteral("--private")}))
        showStatus(tr("A private window could not be started."));
}

void frmWeb::showSite(const QUrl &origin)
{
    const QString site = PermissionStore::originOf(origin.toString());
    const int selected = m_tabs->selectedIndex();
    for (int step = 0; step < m_tabs->count(); ++step) {
        const int i = (selected + step) % m_tabs->count();
        if (m_tabs->isOpen(i) && !site.isEmpty() &&
            PermissionStore::originOf(m_tabs->view(i)->LocationURL()) == site) {
            m_tabs->tabStrip()->setCurrentIndex(i);
            break;
        }
    }
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

// ---------------------------------------------------------------- navigation

bool frmWeb::IsNewAddress(const QString &text) const
{
    return !m_addressIndex->anyEntryContains(text);
}

void frmWeb::cmdgo_Click()
{
    const QString typed = Combo1->currentText();
    const QString completed = AddressRules::completeAddress(typed);
    Combo1->setEditText(AddressRules::boxText(typed));
    const QString box = Combo1->currentText();
    if (IsNewAddress(box)) {
        // Appending to the list leaves the typed text where it is.
        Combo1->addItem(completed);
        Combo1->setEditText(box);
        Module1::AddToHistory(box);
    }
    if (PageView *view = selectedView()) {
        view->Stop();
        view->Navigate2(box);
        view->setFocus(Qt::OtherFocusReason);
    }
}

void frmWeb::Combo1_Click()
{
    Combo1->setFocus(Qt::OtherFocusReason);
    Combo1->lineEdit()->selectAll();
    if (PageView *view = selectedView())
        view->Navigate2(Combo1->currentText());
}

void frmWeb::cmdBack_Click()
{
    if (PageView *view = selectedView()) {
        view->Stop();
        view->GoBack();
    }
}

void frmWeb::cmdForward_Click()
{
    if (PageView *view = selectedView()) {
        view->Stop();
        view->GoForward();
    }
}

void frmWeb::cmdStop_Click()
{
    if (PageView *view = selectedView())
        view->Stop();
    Bar1->setVisible(false);
}

void frmWeb::cmdRefresh_Click()
{
    Bar1->setVisible(true);
    if (PageView *view = selectedView()) {
        view->Stop();
        view->Refresh2();
    }
}

void frmWeb::cmdHome_Click()
{
    if (PageView *view = selectedView())
        view->Navigate2(Module1::GetHomePage());
}

void frmWeb::cmdGoogle_Click()
{
    if (PageView *view = selectedView())
        view->Navigate(Module1::DefaultHomePage);
}

void frmWeb::focusAddressBox()
{
    Combo1->setFocus(Qt::ShortcutFocusReason);
    Combo1->lineEdit()->selectAll();
}

void frmWeb::showHistoryWindow()
{
    if (!m_historyWindow)
        m_historyWindow = new HistoryWindow(
            m_visited,
            [this](const QString &address) {
                if (PageView *view = selectedView())
                    view->Navigate2(address);
            },
            this);
    m_historyWindow->show();
    m_historyWindow->raise();
    m_historyWindow->activateWindow();
}

void frmWeb::showStatus(const QString &text)
{
    m_statusPanel->setText(text);
}

void frmWeb::showProgress(qint32 progress, qint32 progressMax)
{
    // Values the bar cannot show are skipped; it keeps its last setting.
    if (progressMax > 0)
        Bar1->setMaximum(progressMax);
    if (progress >= 0 && progress <= Bar1->maximum())
        Bar1->setValue(progress);
}

// ---------------------------------------------------------------- input

bool frmWeb::eventFilter(QObject *watched, QEvent *event)
{
    const auto isEnter = [event] {
        const int key = static_cast<QKeyEvent *>(event)->key();
        return key == Qt::Key_Return || key == Qt::Key_Enter;
    };
    // The open list takes Enter as the pick of its entry when the key is
    // first offered to it, and closes; the key itself then arrives at the
    // box, where it must not run GO! over the page just opened.
    if (watched == Combo1->view() && event->type() == QEvent::ShortcutOverride && isEnter())
        m_enterPickedEntry = true;
    // A keyboard's keys reach the editable combo box itself, which hands them
    // to its line edit past any filter there: Enter is caught on the box.
    if (watched == Combo1 && event->type() == QEvent::KeyPress && isEnter()) {
        if (!std::exchange(m_enterPickedEntry, false))
            cmdgo_Click();
        return true;
    }
    if (watched == Combo1 && event->type() == QEvent::KeyRelease)
        m_enterPickedEntry = false;
    return QMainWindow::eventFilter(watched, event);
}
