// The tab set: opening, closing and showing tabs, and the views' page events.
#include "app/TabSet.h"

#include "app/FormMetrics.h"
#include "store/Module1.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString CaptionPrefix = QStringLiteral("Corvane - ");
constexpr int TabCaptionLimit = 20;

// Tab captions take "&" as an access-key mark; show it as is.
QString literal(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return escaped;
}

// A tab shows the start of a long page title.
QString shortCaption(const QString &text)
{
    return text.size() <= TabCaptionLimit ? text
                                          : text.left(TabCaptionLimit) + QStringLiteral("...");
}

// Links the new-window item may open in a tab: http and https, any case.
bool isWebLink(const QString &text)
{
    return text.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           text.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

} // namespace

TabSet::TabSet(PageViewFactory factory, QWidget *parent)
    : QWidget(parent), m_factory(std::move(factory))
{
    setObjectName(QStringLiteral("centralArea"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto *tabRow = new QHBoxLayout;
    tabRow->setContentsMargins(0, 0, FormMetrics::px(120), 0);
    TabStrip1 = new QTabBar(this);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    TabStrip1->setFont(FormMetrics::font(QStringLiteral("Verdana"), 8.25));
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

    cmdClose = new QPushButton(QStringLiteral("X"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setFont(FormMetrics::font(QStringLiteral("MS Sans Serif"), 12, true));
    cmdClose->setFixedSize(FormMetrics::px(300) + 4, FormMetrics::px(300) + 4);
    cmdClose->setFocusPolicy(Qt::TabFocus);
    cmdClose->setToolTip(tr("Close the selected tab"));
    connect(cmdClose, &QPushButton::clicked, this, &TabSet::closeSelectedTab);
    tabRow->addWidget(cmdClose);
    column->addLayout(tabRow);

    // Every view lies in the same cell, so all fill the view area and the
    // one raised last is the one in front.
    m_viewArea = new QWidget(this);
    m_viewArea->setObjectName(QStringLiteral("viewArea"));
    auto *stack = new QGridLayout(m_viewArea);
    stack->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_viewArea, 1);

    PageView *first = loadView();
    first->setVisible(true);
}

void TabSet::addBelowViews(QWidget *bar)
{
    layout()->addWidget(bar);
}

void TabSet::addAboveViews(QWidget *bar)
{
    auto *column = static_cast<QVBoxLayout *>(layout());
    column->insertWidget(column->indexOf(m_viewArea), bar);
}

int TabSet::openRestoredTab(const QString &address, const QString &caption,
                            const QByteArray &history, int zoomPercent, int index)
{
    PageView *view = this->view(index);
    if (!view) {
        TabStrip1->addTab(QString());
        view = loadView();
        view->setVisible(true);
        view->setSilent(true);
        view->lower();
        emit tabOpened(indexOf(view));
    }
    index = indexOf(view);
    const QString shown = caption.isEmpty() ? address : caption;
    TabStrip1->setTabText(index, literal(shortCaption(shown)));
    TabStrip1->setTabToolTip(index, shown);
    view->restorePage(history, address, caption, zoomPercent);
    if (index == selectedIndex()) {
        emit addressChanged(view->LocationURL());
        emit captionChanged(CaptionPrefix + view->LocationName());
    }
    return index;
}

TabSet::~TabSet()
{
    // Views (and their pages) go before the profile they use.
    qDeleteAll(Web);
    Web.clear();
}

PageView *TabSet::view(int index) const
{
    return index >= 0 && index < Web.size() ? Web.at(index) : nullptr;
}

bool TabSet::isOpen(int index) const
{
    return index >= 0 && index < TabStrip1->count() && TabStrip1->isTabVisible(index);
}

int TabSet::selectedIndex() const
{
    return TabStrip1->currentIndex();
}

PageView *TabSet::selectedView() const
{
    return view(TabStrip1->currentIndex());
}

void TabSet::setTabMenu(QMenu *menu)
{
    mnuTab = menu;
}

void TabSet::removeDesignerTab()
{
    TabStrip1->removeTab(1);
}

void TabSet::setTabCaption(int index, const QString &text)
{
    TabStrip1->setTabText(index, literal(text));
}

// Creates the view with the next free index, hidden, in the view area.
PageView *TabSet::loadView()
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
    // A page that may be using the camera, microphone or screen shows a red
    // dot before its caption.
    connect(view, &PageView::CaptureChanged, this, [this, view](bool on) {
        QIcon dot;
        if (on) {
            QPixmap pixmap(12, 12);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setBrush(QColor(0xd9, 0x20, 0x20));
            painter.setPen(Qt::NoPen);
            painter.drawEllipse(1, 1, 10, 10);
            dot = QIcon(pixmap);
        }
        TabStrip1->setTabIcon(indexOf(view), dot);
    });
    connect(view, &PageView::PrintRequested, this, [this, view] {
        if (indexOf(view) == selectedIndex())
            emit printRequested();
    });
    return view;
}

int TabSet::indexOf(QObject *view) const
{
    return view->property("index").toInt();
}

// ---------------------------------------------------------------- tabs

int TabSet::openTab()
{
    TabStrip1->addTab(literal(Module1::GetHomePage()));
    PageView *view = loadView();
    view->setVisible(true);
    view->Navigate2(QStringLiteral("about:blank"));
    TabStrip1->setCurrentIndex(TabStrip1->count() - 1);
    Web.at(TabStrip1->count() - 1)->raise();
    view->setSilent(true);
    emit tabOpened(indexOf(view));
    return indexOf(view);
}

void TabSet::closeSelectedTab()
{
    const int k = TabStrip1->currentIndex();
    PageView *selected = selectedView();
    if (!selected)
        return;
    const bool atHome = selected->LocationURL() == Module1::GetHomePage();
    QList<bool> open;
    for (int i = 0; i < TabStrip1->count(); ++i)
        open.append(TabStrip1->isTabVisible(i));
    const int visible = Module1::CountVisibleTabs(open);
    PageView *closed = nullptr;

    if (visible == 1 && atHome) {
        // Nothing to close: the last tab is already home.
    } else if (visible > 1 && Module1::IsFirstVisibleTab(open, k)) {
        Web.at(k)->setVisible(false);
        TabStrip1->setCurrentIndex(Module1::NextVisibleTab(open, k));
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
        emit addressChanged(now->LocationURL());
        emit captionChanged(CaptionPrefix + now->LocationName());
    }
    // A closed tab keeps its place but gives back its page process.
    if (closed) {
        closed->discard();
        emit tabClosed(k);
    }
}

int TabSet::openBackgroundTab(const QUrl &url)
{
    TabStrip1->addTab(literal(url.toString()));
    PageView *view = loadView();
    view->setVisible(true);
    view->setSilent(true);
    view->lower();
    view->Navigate2(url.toString());
    emit tabOpened(indexOf(view));
    return indexOf(view);
}

void TabSet::TabStrip1_Click(int index)
{
    if (index < 0 || index >= Web.size())
        return;
    emit tabAboutToShow(index);
    PageView *view = Web.at(index);
    view->raise();
    emit addressChanged(view->LocationURL());
    emit captionChanged(CaptionPrefix + view->LocationName());
    if (view->isVisible())
        view->setFocus(Qt::OtherFocusReason);
    emit tabShown(index);
}

void TabSet::TabStrip1_MouseDown(Qt::MouseButton button, const QPoint &globalPos)
{
    if (button == Qt::RightButton && mnuTab)
        mnuTab->exec(globalPos);
    TabStrip1_Click(TabStrip1->currentIndex());
}

void TabSet::selectNextTab()
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

void TabSet::selectPreviousTab()
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

bool TabSet::eventFilter(QObject *watched, QEvent *event)
{
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
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------- page events

void TabSet::Web_StatusTextChange(int index, const QString &text)
{
    if (index == selectedIndex())
        emit statusTextChanged(text);
    if (text.toLower() == QLatin1String("opens selected link in a new window."))
        NewWindowLinkPending = true;
    if (isWebLink(text))
        LastLinkAddress = text;
}

void TabSet::Web_ProgressChange(int index, qint32 progress, qint32 progressMax)
{
    if (index == selectedIndex())
        emit progressChanged(progress, progressMax);
}

void TabSet::Web_TitleChange(int index, const QString &text)
{
    // A closed tab renames nothing.
    if (!isOpen(index))
        return;
    emit captionChanged(CaptionPrefix + text);
    TabStrip1->setTabText(index, literal(shortCaption(text)));
    TabStrip1->setTabToolTip(index, text);
}

void TabSet::Web_BeforeNavigate2(int)
{
    emit navigationStarted();
}

void TabSet::Web_NavigateComplete2(int)
{
    emit navigationFinished();
}

void TabSet::Web_DocumentComplete(int index)
{
    if (index == selectedIndex()) {
        PageView *view = Web.at(index);
        emit addressChanged(view->LocationURL());
        emit captionChanged(CaptionPrefix + view->LocationName());
        if (view->isVisible())
            view->setFocus(Qt::OtherFocusReason);
    }
    emit navigationFinished();
}

void TabSet::Web_LocationChange(int index)
{
    // Same-document moves (#fragment, pushState) change only the address.
    if (index == selectedIndex())
        emit addressChanged(Web.at(index)->LocationURL());
}

void TabSet::Web_NewWindow2(int index, bool *cancel, const NewWindowInfo &info)
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
    emit addressChanged(address);
    emit captionChanged(address);
    emit tabOpened(indexOf(view));
}
