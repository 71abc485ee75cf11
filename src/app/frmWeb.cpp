// The main window of Corvane.
#include "app/frmWeb.h"

#include "app/AddressListIndex.h"
#include "app/DownloadManager.h"
#include "app/FramePacer.h"
#include "app/MenuCommands.h"
#include "app/WebEnginePageView.h"
#include "dialogs/DialogLauncher.h"
#include "store/AddressRules.h"
#include "store/FavMenuItems.h"
#include "store/Module1.h"
#include "web/TabSleeper.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QString CaptionPrefix = QStringLiteral("Corvane - ");
constexpr int TabCaptionLimit = 20;

// Twips to pixels at 96 dots per inch.
constexpr int px(int twips) { return twips / 15; }

QFont namedFont(const QString &family, qreal points, bool bold = false)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// Tab captions and menu texts take "&" as an access-key mark; show it as is.
QString literal(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return escaped;
}

// Links the new-window item may open in a tab: http and https, any case.
bool isWebLink(const QString &text)
{
    return text.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           text.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

} // namespace

frmWeb::frmWeb(PageViewFactory factory, QWidget *parent)
    : QMainWindow(parent), m_factory(std::move(factory))
{
    if (!m_factory)
        m_factory = [](QWidget *p) -> PageView * { return new WebEnginePageView(p); };

    // The icon is compiled into the static library; nothing else pulls it in.
    Q_INIT_RESOURCE(app);
    setObjectName(QStringLiteral("frmWeb"));
    setWindowTitle(QStringLiteral("Corvane"));
    setWindowIcon(QIcon(QStringLiteral(":/app/corvane.png")));

    createMenus();
    createToolBars();
    createCentralArea();
    createStatusBar();

    // The designed client area is 11760 x 8130 twips, centred on the screen.
    resize(px(11760), px(8130));
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }

    new FramePacer(this); // the shell's changes within one screen refresh repaint together

    auto *downloads = new DownloadManager(this);
    connect(downloads, &DownloadManager::statusText, this, &frmWeb::showStatus);
}

frmWeb::~frmWeb()
{
    // Views (and their pages) go before the profile they use.
    qDeleteAll(Web);
    Web.clear();
}

QAction *frmWeb::action(const QString &objectName) const
{
    return findChild<QAction *>(objectName);
}

void frmWeb::createMenus()
{
    auto *commands = new MenuCommands(this);
    auto *dialogs = new DialogLauncher(this);

    auto menu = [this](const QString &name, const QString &caption) {
        QMenu *m = menuBar()->addMenu(caption);
        m->setObjectName(name);
        m->menuAction()->setObjectName(name + QStringLiteral("Action"));
        return m;
    };
    auto item = [this](QMenu *m, const QString &name, const QString &caption,
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
    connect(item(file, QStringLiteral("Close"), QStringLiteral("Close")), &QAction::triggered,
            this, &frmWeb::Close_Click);

    QMenu *edit = menu(QStringLiteral("Edit"), QStringLiteral("Edit"));
    connect(item(edit, QStringLiteral("Cut"), QStringLiteral("Cut")), &QAction::triggered,
            commands, &MenuCommands::Cut_Click);
    connect(item(edit, QStringLiteral("Copy"), QStringLiteral("Copy")), &QAction::triggered,
            commands, &MenuCommands::Copy_Click);
    connect(item(edit, QStringLiteral("paste"), QStringLiteral("Paste") + QString(24, ' ')),
            &QAction::triggered, commands, &MenuCommands::paste_Click);
    separator(edit, QStringLiteral("se"));
    connect(item(edit, QStringLiteral("selall"), QStringLiteral("Select All")),
            &QAction::triggered, commands, &MenuCommands::selall_Click);

    m_favoritesMenu = menu(QStringLiteral("Favorites"), QStringLiteral("Favorites"));
    connect(item(m_favoritesMenu, QStringLiteral("AddToFav"), QStringLiteral("Add to Favorites...")),
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

    mnuTab = menu(QStringLiteral("mnuTab"), QStringLiteral("Tab Menu"));
    mnuTab->menuAction()->setVisible(false);
    connect(item(mnuTab, QStringLiteral("cmdClosee"), QStringLiteral("Close")),
            &QAction::triggered, this, &frmWeb::cmdClosee_Click);

    QMenu *help = menu(QStringLiteral("mnuHelpGen"), QStringLiteral("Help"));
    QAction *helpItem = item(help, QStringLiteral("mnuHelp"), QStringLiteral("Help"),
                             QKeySequence(Qt::Key_F1));
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

void frmWeb::createToolBars()
{
    const QFont buttonFont = namedFont(QStringLiteral("OCR A Extended"), 9.75);
    auto button = [&](QToolBar *bar, const QString &name, const QString &caption, int widthTwips,
                      int heightTwips) {
        auto *b = new QPushButton(caption, bar);
        b->setObjectName(name);
        b->setFont(buttonFont);
        b->setMinimumSize(px(widthTwips), px(heightTwips));
        b->setFocusPolicy(Qt::TabFocus);
        bar->addWidget(b);
        return b;
    };
    auto toolBar = [this](const QString &name) {
        auto *bar = new QToolBar(this);
        bar->setObjectName(name);
        bar->setMovable(false);
        bar->setFloatable(false);
        bar->toggleViewAction()->setVisible(false);
        addToolBar(Qt::TopToolBarArea, bar);
        return bar;
    };

    QToolBar *picture1 = toolBar(QStringLiteral("Picture1"));
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
    cmdGoogle = button(picture1, QStringLiteral("cmdGoogle"), QStringLiteral("Go To GOOGLE"), 2055,
                       375);
    connect(cmdGoogle, &QPushButton::clicked, this, &frmWeb::cmdGoogle_Click);

    addToolBarBreak(Qt::TopToolBarArea);

    QToolBar *picture2 = toolBar(QStringLiteral("Picture2"));
    auto *label = new QLabel(QStringLiteral("Address"), picture2);
    label->setObjectName(QStringLiteral("Label1"));
    label->setFont(namedFont(QStringLiteral("Verdana"), 8.25));
    label->setContentsMargins(2, 0, 4, 0);
    picture2->addWidget(label);

    Combo1 = new QComboBox(picture2);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    // GO! asks whether any entry contains the typed text; asking each of a
    // long history's items took 10 ms.
    m_addressIndex = new AddressListIndex(Combo1->model(), this);
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setFont(namedFont(QStringLiteral("Segoe UI"), 9));
    Combo1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    Combo1->setMinimumWidth(px(1500));
    Combo1->setMaxVisibleItems(20);
    // Measuring every entry of a long history would stall the first show.
    Combo1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Combo1->installEventFilter(this);
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

void frmWeb::createCentralArea()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralArea"));
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto *tabRow = new QHBoxLayout;
    tabRow->setContentsMargins(0, 0, px(120), 0);
    TabStrip1 = new QTabBar(central);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    TabStrip1->setFont(namedFont(QStringLiteral("Verdana"), 8.25));
    TabStrip1->setExpanding(false);
    TabStrip1->setUsesScrollButtons(true);
    TabStrip1->setElideMode(Qt::ElideNone);
    TabStrip1->setDrawBase(false);
    TabStrip1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    TabStrip1->installEventFilter(this);
    // The designed strip carries two tabs; start-up removes the second.
    TabStrip1->addTab(QStringLiteral("Tab1"));
    TabStrip1->addTab(QStringLiteral("Tab2"));
    connect(TabStrip1, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0)
            TabStrip1_Click(index);
    });
    tabRow->addWidget(TabStrip1, 1);

    cmdClose = new QPushButton(QStringLiteral("X"), central);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setFont(namedFont(QStringLiteral("MS Sans Serif"), 12, true));
    cmdClose->setFixedSize(px(300) + 4, px(300) + 4);
    cmdClose->setFocusPolicy(Qt::TabFocus);
    cmdClose->setToolTip(tr("Close the selected tab"));
    connect(cmdClose, &QPushButton::clicked, this, &frmWeb::cmdClose_Click);
    tabRow->addWidget(cmdClose);
    column->addLayout(tabRow);

    // Every view lies in the same cell, so all fill the view area and the
    // one raised last is the one in front.
    m_viewArea = new QWidget(central);
    m_viewArea->setObjectName(QStringLiteral("viewArea"));
    auto *stack = new QGridLayout(m_viewArea);
    stack->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_viewArea, 1);
    setCentralWidget(central);
    m_sleeper = new TabSleeper(m_viewArea);

    PageView *first = loadView();
    first->setVisible(true);

    auto shortcut = [this](const QKeySequence &keys, auto slot) {
        auto *s = new QShortcut(keys, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, slot);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_L), &frmWeb::focusAddressBox);
    shortcut(QKeySequence(Qt::ALT | Qt::Key_D), &frmWeb::focusAddressBox);
    shortcut(QKeySequence(Qt::Key_F6), &frmWeb::focusAddressBox);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_W), &frmWeb::cmdClose_Click);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), &frmWeb::selectNextTab);
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), &frmWeb::selectPreviousTab);
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), &frmWeb::selectPreviousTab);
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Left), &frmWeb::cmdBack_Click);
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Right), &frmWeb::cmdForward_Click);
    shortcut(QKeySequence(Qt::Key_F5), &frmWeb::cmdRefresh_Click);
    shortcut(QKeySequence(Qt::Key_Escape), [this] {
        if (PageView *view = selectedView())
            view->Stop();
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
}

PageView *frmWeb::loadView()
{
    PageView *view = m_factory(m_viewArea);
    const int index = Web.size();
    view->setObjectName(QStringLiteral("Web"));
    view->setProperty("index", index);
    view->setVisible(false);
    static_cast<QGridLayout *>(m_viewArea->layout())->addWidget(view, 0, 0);
    Web.append(view);

    connect(view, &PageView::StatusTextChange, this,
            [this, view](const QString &text) { Web_StatusTextChange(indexOf(view), text); });
    connect(view, &PageView::ProgressChange, this, [this, view](qint32 progress, qint32 max) {
        Web_ProgressChange(indexOf(view), progress, max);
    });
    connect(view, &PageView::TitleChange, this,
            [this, view](const QString &text) { Web_TitleChange(indexOf(view), text); });
    connect(view, &PageView::BeforeNavigate2, this,
            [this, view] { Web_BeforeNavigate2(indexOf(view)); });
    connect(view, &PageView::NewWindow2, this,
            [this, view](bool *cancel, const NewWindowInfo &info) {
                Web_NewWindow2(indexOf(view), cancel, info);
            });
    connect(view, &PageView::NavigateComplete2, this,
            [this, view] { Web_NavigateComplete2(indexOf(view)); });
    connect(view, &PageView::DocumentComplete, this,
            [this, view] { Web_DocumentComplete(indexOf(view)); });
    connect(view, &PageView::LocationChange, this,
            [this, view] { Web_LocationChange(indexOf(view)); });
    connect(view, &PageView::PrintRequested, this, [this, view] {
        if (indexOf(view) == selectedIndex())
            emit menuCommand(QStringLiteral("print"));
    });
    return view;
}

int frmWeb::indexOf(QObject *view) const { return view->property("index").toInt(); }

PageView *frmWeb::selectedView() const
{
    const int index = TabStrip1->currentIndex();
    if (index < 0 || index >= Web.size())
        return nullptr;
    return Web.at(index);
}

int frmWeb::selectedIndex() const { return TabStrip1->currentIndex(); }

void frmWeb::setCaption(const QString &text) { setWindowTitle(text); }

// ---------------------------------------------------------------- start-up

void frmWeb::Form_Load()
{
    Module1::SetFavUrl(0, Module1::SearchServiceUrl);
    Module1::LoadFavMenu(*m_favItems);
    Module1::LoadHistory(Combo1);
    TabStrip1->removeTab(1);
    PageView *view = selectedView();
    view->setSilent(true);
    view->Navigate2(Module1::GetHomePage());
    TabStrip1->setTabText(0, literal(Module1::GetHomePage()));
    Combo1->setEditText(Module1::GetHomePage());
    action(QStringLiteral("mnuTop"))->setChecked(false);
    show();
    Bar1->setVisible(false);
}

void frmWeb::Close_Click()
{
    // Ends the program at once; popup windows of pages go with it.
    hide();
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

// ---------------------------------------------------------------- tabs

void frmWeb::new_b_Click() { newww_Click(); }

void frmWeb::newww_Click()
{
    const int tab = TabStrip1->addTab(literal(Module1::GetHomePage()));
    PageView *view = loadView();
    Q_UNUSED(tab);
    view->setVisible(true);
    view->Navigate2(QStringLiteral("about:blank"));
    TabStrip1->setCurrentIndex(TabStrip1->count() - 1);
    Web.at(TabStrip1->count() - 1)->raise();
    view->setSilent(true);
}

void frmWeb::cmdClosee_Click() { cmdClose_Click(); }

void frmWeb::cmdClose_Click()
{
    const int k = TabStrip1->currentIndex();
    PageView *selected = selectedView();
    if (!selected)
        return;
    const bool atHome = selected->LocationURL() == Module1::GetHomePage();
    const int visible = Module1::CountVisibleTabs(TabStrip1);
    PageView *closed = nullptr;

    if (visible == 1 && atHome) {
        // Nothing to close: the last tab is already home.
    } else if (visible > 1 && Module1::IsFirstVisibleTab(TabStrip1, k)) {
        Web.at(k)->setVisible(false);
        TabStrip1->setCurrentIndex(Module1::NextVisibleTab(TabStrip1));
        TabStrip1->setTabVisible(k, false);
        closed = Web.at(k);
    } else if (visible > 1) {
        Web.at(k)->setVisible(false);
        TabStrip1->setTabVisible(k, false);
        closed = Web.at(k);
    } else {
        selected->Navigate2(Module1::GetHomePage());
    }

    if (PageView *now = selectedView()) {
        Combo1->setEditText(now->LocationURL());
        setCaption(CaptionPrefix + now->LocationName());
    }
    // A closed tab keeps its place but gives back its page process.
    if (closed)
        closed->discard();
}

void frmWeb::TabStrip1_Click(int index)
{
    if (index < 0 || index >= Web.size())
        return;
    PageView *view = Web.at(index);
    m_sleeper->select(view); // wakes a sleeping page before it shows
    view->raise();
    Combo1->setEditText(view->LocationURL());
    setCaption(CaptionPrefix + view->LocationName());
    if (view->isVisible())
        view->setFocus(Qt::OtherFocusReason);
}

void frmWeb::TabStrip1_MouseDown(Qt::MouseButton button, const QPoint &globalPos)
{
    if (button == Qt::RightButton)
        mnuTab->exec(globalPos);
    TabStrip1_Click(TabStrip1->currentIndex());
}

void frmWeb::selectNextTab()
{
    const int count = TabStrip1->count();
    for (int step = 1; step < count; ++step) {
        const int i = (TabStrip1->currentIndex() + step) % count;
        if (TabStrip1->isTabVisible(i)) {
            TabStrip1->setCurrentIndex(i);
            return;
        }
    }
}

void frmWeb::selectPreviousTab()
{
    const int count = TabStrip1->count();
    for (int step = 1; step < count; ++step) {
        const int i = (TabStrip1->currentIndex() - step + count) % count;
        if (TabStrip1->isTabVisible(i)) {
            TabStrip1->setCurrentIndex(i);
            return;
        }
    }
}

void frmWeb::openBackgroundTab(const QUrl &url)
{
    TabStrip1->addTab(literal(url.toString()));
    PageView *view = loadView();
    view->setVisible(true);
    view->setSilent(true);
    view->lower();
    view->Navigate2(url.toString());
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

void frmWeb::showStatus(const QString &text) { m_statusPanel->setText(text); }

// ---------------------------------------------------------------- page events

void frmWeb::Web_StatusTextChange(int index, const QString &text)
{
    if (index == selectedIndex())
        m_statusPanel->setText(text);
    if (text.toLower() == QLatin1String("opens selected link in a new window."))
        NewWindowLinkPending = true;
    if (isWebLink(text))
        LastLinkAddress = text;
}

void frmWeb::Web_ProgressChange(int index, qint32 progress, qint32 progressMax)
{
    if (index != selectedIndex())
        return;
    // Values the bar cannot show are skipped; it keeps its last setting.
    if (progressMax > 0)
        Bar1->setMaximum(progressMax);
    if (progress >= 0 && progress <= Bar1->maximum())
        Bar1->setValue(progress);
}

void frmWeb::Web_TitleChange(int index, const QString &text)
{
    // A closed tab renames nothing.
    if (index < 0 || index >= TabStrip1->count() || !TabStrip1->isTabVisible(index))
        return;
    setCaption(CaptionPrefix + text);
    const QString caption =
        text.size() <= TabCaptionLimit ? text : text.left(TabCaptionLimit) + QStringLiteral("...");
    TabStrip1->setTabText(index, literal(caption));
    TabStrip1->setTabToolTip(index, text);
}

void frmWeb::Web_BeforeNavigate2(int) { Bar1->setVisible(true); }

void frmWeb::Web_NavigateComplete2(int) { Bar1->setVisible(false); }

void frmWeb::Web_DocumentComplete(int index)
{
    if (index == selectedIndex()) {
        PageView *view = Web.at(index);
        Combo1->setEditText(view->LocationURL());
        setCaption(CaptionPrefix + view->LocationName());
        if (view->isVisible())
            view->setFocus(Qt::OtherFocusReason);
    }
    Bar1->setVisible(false);
}

void frmWeb::Web_LocationChange(int index)
{
    // Same-document moves (#fragment, pushState) change only the address.
    if (index == selectedIndex())
        Combo1->setEditText(Web.at(index)->LocationURL());
}

void frmWeb::Web_NewWindow2(int index, bool *cancel, const NewWindowInfo &info)
{
    Q_UNUSED(index);
    if (info.kind == NewWindowInfo::Kind::BackgroundTab && info.requestedUrl.isValid()) {
        *cancel = true;
        openBackgroundTab(info.requestedUrl);
        return;
    }
    if (!NewWindowLinkPending)
        return;
    NewWindowLinkPending = false;
    // Only the view's own "open in new window" item is turned into a tab; a
    // window the page opens by itself goes where it asked to.
    if (info.kind != NewWindowInfo::Kind::ContextMenuNewWindow)
        return;
    if (!isWebLink(LastLinkAddress))
        return;

    if (PageView *selected = selectedView())
        selected->Stop();
    *cancel = true;
    const QString address = LastLinkAddress;
    TabStrip1->addTab(literal(address));
    PageView *view = loadView();
    view->setRegisterAsBrowser(true);
    view->setVisible(true);
    TabStrip1->setCurrentIndex(TabStrip1->count() - 1);
    selectedView()->Navigate2(address);
    selectedView()->raise();
    Combo1->setEditText(address);
    setCaption(address);
}

// ---------------------------------------------------------------- input

bool frmWeb::eventFilter(QObject *watched, QEvent *event)
{
    // A keyboard's keys reach the editable combo box itself, which hands them
    // to its line edit past any filter there: Enter is caught on the box.
    if (watched == Combo1 && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            cmdgo_Click();
            return true;
        }
    }
    if (watched == TabStrip1 && event->type() == QEvent::MouseButtonPress) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::RightButton) {
            TabStrip1_MouseDown(mouse->button(), mouse->globalPosition().toPoint());
            return true;
        }
        // A left press on the tab already selected changes nothing in the
        // strip, so show it again here; other tabs show through currentChanged.
        const int hit = TabStrip1->tabAt(mouse->position().toPoint());
        if (hit >= 0 && hit == TabStrip1->currentIndex())
            QTimer::singleShot(0, this, [this] { TabStrip1_Click(TabStrip1->currentIndex()); });
    }
    return QMainWindow::eventFilter(watched, event);
}
