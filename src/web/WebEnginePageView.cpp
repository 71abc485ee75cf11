// QtWebEngine behind the page-view interface.
#include "web/WebEnginePageView.h"

#include "web/BrowserProfile.h"
#include "web/PageCommands.h"
#include "web/PermissionBar.h"
#include "web/PopupWindow.h"
#include "web/SitePermissions.h"

#include "platform/Prompts.h"

#include <QAction>
#include <QAuthenticator>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDataStream>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QOpenGLContext>
#include <QOpenGLWidget>
#include <QPointer>
#include <QSslCertificate>
#include <QStackedLayout>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineCertificateError>
#include <QWebEngineClientCertificateSelection>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineFindTextResult>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineHistory>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineView>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// QWebEngineView only offers its context menu through a protected handler.
class EngineView : public QWebEngineView
{
public:
    std::function<void(const QPoint &)> onContextMenu;
    using QWebEngineView::QWebEngineView;

protected:
    void contextMenuEvent(QContextMenuEvent *event) override
    {
        if (onContextMenu)
            onContextMenu(event->globalPos());
    }
};

// Whether the engine's views will draw through OpenGL: the context the
// application shares with them could be made. Without it they draw in
// software and need nothing of the window.
bool drawsWithOpenGL()
{
    const QOpenGLContext *shared = QOpenGLContext::globalShareContext();
    return shared && shared->isValid();
}

} // namespace

const QString WebEnginePageView::NewWindowPrompt =
    QStringLiteral("Opens selected link in a new window.");

WebEnginePageView::WebEnginePageView(QWidget *parent) : PageView(parent)
{
    m_body = new QWidget(this);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_body);

    m_crashNotice = new QLabel(m_body);
    m_crashNotice->setObjectName(QStringLiteral("crashNotice"));
    m_crashNotice->setAlignment(Qt::AlignCenter);
    m_crashNotice->setWordWrap(true);
    m_crashNotice->setAutoFillBackground(true);
    m_crashNotice->setText(tr("The process showing this page has stopped.\n"
                              "Press Refresh to load the page again."));

    // A site's question sits above its page, inside the part of the view
    // that only the tab in front shows, so it comes and goes with its tab.
    auto *column = new QVBoxLayout(m_body);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_permissionBar = new PermissionBar(m_body);
    column->addWidget(m_permissionBar);
    m_stack = new QStackedLayout;
    column->addLayout(m_stack, 1);
    m_stack->setContentsMargins(0, 0, 0, 0);
    // Until the engine runs, an empty page stands where the page will be.
    m_blank = new QWidget(m_body);
    m_blank->setBackgroundRole(QPalette::Base);
    m_blank->setAutoFillBackground(true);
    m_stack->addWidget(m_blank);
    m_stack->addWidget(m_crashNotice);
    m_stack->setCurrentWidget(m_blank);
    // The engine draws through OpenGL, and a window that gains its first
    // such widget is built anew by Qt (it vanishes for a moment and loses
    // the keyboard). A hidden one from the start makes it right at once.
    if (BrowserProfile::engineHeld() && drawsWithOpenGL()) {
        m_surfaceHint = new QOpenGLWidget(m_body);
        m_surfaceHint->hide();
    }
    const QPointer<WebEnginePageView> self(this);
    BrowserProfile::whenStarted(this, [self] {
        if (self)
            self->startEngine();
    });
}

void WebEnginePageView::startEngine()
{
    if (m_view)
        return;
    auto *view = new EngineView(m_body);
    view->onContextMenu = [this](const QPoint &pos) { showContextMenu(pos); };
    m_view = view;
    m_view->setPage(new QWebEnginePage(BrowserProfile::profile(), m_view));
    if (m_zoomPercent != 100)
        m_view->page()->setZoomFactor(m_zoomPercent / 100.0);
    m_stack->insertWidget(0, m_view);
    m_stack->setCurrentWidget(m_view);
    m_stack->removeWidget(m_blank);
    delete std::exchange(m_blank, nullptr);
    delete std::exchange(m_surfaceHint, nullptr);
    // The focus given to the view meanwhile passes to the page.
    const bool focused = hasFocus();
    setFocusProxy(m_view);
    if (focused)
        m_view->setFocus();
    connectPage();
    if (m_pendingAddress)
        Navigate2(std::exchange(m_pendingAddress, std::nullopt)->toString());
}

QWebEngineView *WebEnginePageView::engineView()
{
    startEngine();
    return m_view;
}

QWebEngineView *WebEnginePageView::engine() const
{
    const_cast<WebEnginePageView *>(this)->startEngine();
    return m_view;
}

WebEnginePageView::~WebEnginePageView()
{
    ++m_findRequest; // a search still running answers no more
    // The page must go before the view that displays it.
    if (m_view)
        delete m_view->page();
}

// The views of a window's tabs lie on top of each other. Only the one in
// front is shown to the engine; those behind it are hidden like the pages of
// a tab widget, so they neither draw nor keep their frames.
bool WebEnginePageView::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::ZOrderChange:
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        restack();
        break;
    default:
        break;
    }
    return PageView::event(event);
}

namespace {
WebEnginePageView *frontView(QWidget *area)
{
    const QObjectList &children = area->children();
    for (auto it = children.crbegin(); it != children.crend(); ++it) {
        auto *view = qobject_cast<WebEnginePageView *>(*it);
        if (view && !view->isHidden())
            return view;
    }
    return nullptr;
}
} // namespace

void WebEnginePageView::restack()
{
    QWidget *area = parentWidget();
    if (!area)
        return;
    // The view that came to the front shows at once, so it can take the
    // focus; hiding the others waits until the shell has finished
    // rearranging, so a view only briefly in front changes nothing.
    if (WebEnginePageView *front = frontView(area))
        front->m_body->setVisible(true);
    for (QObject *child : area->children()) {
        auto *view = qobject_cast<WebEnginePageView *>(child);
        if (view && !view->m_coverPending) {
            view->m_coverPending = true;
            QMetaObject::invokeMethod(view, &WebEnginePageView::updateCover, Qt::QueuedConnection);
        }
    }
}

void WebEnginePageView::updateCover()
{
    m_coverPending = false;
    QWidget *area = parentWidget();
    const bool front = !area || frontView(area) == this;
    m_body->setVisible(front);
    if (front && !isHidden())
        loadRestoredPage();
}

void WebEnginePageView::connectPage()
{
    QWebEnginePage *page = m_view->page();
    m_permissions = new SitePermissions(page, m_permissionBar);
    connect(m_permissions, &SitePermissions::statusText, this, &PageView::StatusTextChange);
    connect(m_permissions, &SitePermissions::answersChanged, this, &PageView::PermissionsChanged);
    connect(m_permissions, &SitePermissions::capturingChanged, this, &PageView::CaptureChanged);
    connect(page, &QWebEnginePage::linkHovered, this,
            [this](const QString &url) { emit StatusTextChange(url); });
    connect(page, &QWebEnginePage::loadStarted, this, [this] {
        m_loading = true;
        if (m_stack->currentWidget() != m_view)
            m_stack->setCurrentWidget(m_view);
        emit BeforeNavigate2();
    });
    connect(page, &QWebEnginePage::loadProgress, this,
            [this](int progress) { emit ProgressChange(progress, 100); });
    connect(page, &QWebEnginePage::titleChanged, this,
            [this](const QString &title) { emit TitleChange(title); });
    connect(page, &QWebEnginePage::urlChanged, this, [this] {
        if (m_loading)
            emit NavigateComplete2();
        else
            emit LocationChange();
    });
    connect(page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        m_loading = false;
        if (ok)
            emit PageLoaded(m_view->url(), m_view->title());
        emit DocumentComplete();
    });
    connect(page, &QWebEnginePage::newWindowRequested, this,
            &WebEnginePageView::onNewWindowRequested);
    connect(page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int code) {
                onRenderProcessTerminated(int(status), code);
            });
    // A silent view never asks about a bad certificate: the load fails and
    // the engine's error page says why.
    connect(page, &QWebEnginePage::certificateError, this,
            [](QWebEngineCertificateError error) { error.rejectCertificate(); });
    connect(m_view, &QWebEngineView::printRequested, this, &PageView::PrintRequested);
    // Full screen is the window's to give; leaving it is always granted.
    connect(page, &QWebEnginePage::fullScreenRequested, this,
            [this](QWebEngineFullScreenRequest request) {
                bool accept = false;
                emit FullScreenRequest(request.toggleOn(), &accept);
                if (accept || !request.toggleOn())
                    request.accept();
                else
                    request.reject();
            });
    connect(page, &QWebEnginePage::selectClientCertificate, this,
            &WebEnginePageView::chooseClientCertificate);
    // Sign-in prompts of sites and proxies; without an answer the engine
    // cancels the request and the page shows its own refusal.
    connect(page, &QWebEnginePage::authenticationRequired, this,
            [this](const QUrl &url, QAuthenticator *auth) {
                askCredentials(
                    tr("%1 asks for a user name and password (%2).").arg(url.host(), auth->realm()),
                    auth);
            });
    connect(page, &QWebEnginePage::proxyAuthenticationRequired, this,
            [this](const QUrl &, QAuthenticator *auth, const QString &proxyHost) {
                askCredentials(tr("The proxy %1 asks for a user name and password.").arg(proxyHost),
                               auth);
            });
}

void WebEnginePageView::askCredentials(const QString &prompt, QAuthenticator *auth)
{
    const auto answer = Prompts::AskCredentials(window(), prompt);
    if (!answer) {
        *auth = QAuthenticator(); // a null authenticator cancels
        return;
    }
    auth->setUser(answer->user);
    auth->setPassword(answer->password);
}

void WebEnginePageView::showContextMenu(const QPoint &pos)
{
    QWebEnginePage *page = m_view->page();
    m_contextMenuNewWindow = false;
    QMenu *menu = m_view->createStandardContextMenu();
    menu->setObjectName(QStringLiteral("pageContextMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose, true);
    menu->removeAction(page->action(QWebEnginePage::OpenLinkInNewTab));
    // Our own "open in new window" item, standing where the engine's was: it
    // reports its prompt while pointed at and marks the request it starts,
    // so the shell can tell it from a window the page opens by itself.
    QAction *engineItem = page->action(QWebEnginePage::OpenLinkInNewWindow);
    if (menu->actions().contains(engineItem)) {
        auto *item = new QAction(engineItem->text(), menu);
        item->setObjectName(QStringLiteral("openLinkInNewWindow"));
        item->setStatusTip(NewWindowPrompt);
        menu->insertAction(engineItem, item);
        menu->removeAction(engineItem);
        connect(item, &QAction::hovered, this, [this] { emit StatusTextChange(NewWindowPrompt); });
        connect(item, &QAction::triggered, this, [this] {
            m_contextMenuNewWindow = true;
            m_view->page()->triggerAction(QWebEnginePage::OpenLinkInNewWindow);
        });
    }
    menu->popup(pos);
}

void WebEnginePageView::onNewWindowRequested(QWebEngineNewWindowRequest &request)
{
    NewWindowInfo info;
    info.requestedUrl = request.requestedUrl();
    if (request.destination() == QWebEngineNewWindowRequest::InNewWindow && m_contextMenuNewWindow)
        info.kind = NewWindowInfo::Kind::ContextMenuNewWindow;
    else if (request.destination() == QWebEngineNewWindowRequest::InNewBackgroundTab)
        info.kind = NewWindowInfo::Kind::BackgroundTab;
    else
        info.kind = NewWindowInfo::Kind::PageRequest;
    m_contextMenuNewWindow = false;

    bool cancel = false;
    emit NewWindow2(&cancel, info);
    if (cancel)
        return;
    // Left to its own course: a plain window of ours with one view, as a
    // sign-in or popup window expects.
    auto *popup = new PopupWindow(request.requestedGeometry());
    popup->view()->adopt(request);
    popup->show();
}

void WebEnginePageView::adopt(QWebEngineNewWindowRequest &request)
{
    request.openIn(engine()->page());
}

void WebEnginePageView::onRenderProcessTerminated(int status, int)
{
    if (status == QWebEnginePage::NormalTerminationStatus)
        return;
    m_loading = false;
    m_stack->setCurrentWidget(m_crashNotice);
    emit DocumentComplete();
}

bool WebEnginePageView::showsCrashNotice() const
{
    return m_stack->currentWidget() == m_crashNotice;
}

QWebEnginePage *WebEnginePageView::enginePage() const
{
    return engine()->page();
}

void WebEnginePageView::Navigate2(const QString &address)
{
    m_restored.reset(); // a new address replaces a page still waiting
    const QUrl url = QUrl::fromUserInput(address.trimmed());
    if (!m_view) {
        // Loads the moment the engine runs; the address is the page's meanwhile.
        m_pendingAddress = url.isValid() ? url : QUrl(QStringLiteral("about:blank"));
        m_loading = true;
        return;
    }
    if (url.isValid())
        m_view->setUrl(url);
    else
        m_view->setUrl(QUrl(QStringLiteral("about:blank")));
}

void WebEnginePageView::Stop()
{
    if (!m_view) {
        m_pendingAddress.reset();
        m_loading = false;
        return;
    }
    m_view->stop();
}

bool WebEnginePageView::GoBack()
{
    if (!m_view || !m_view->history()->canGoBack())
        return false;
    m_view->back();
    return true;
}

bool WebEnginePageView::GoForward()
{
    if (!m_view || !m_view->history()->canGoForward())
        return false;
    m_view->forward();
    return true;
}

void WebEnginePageView::Refresh2()
{
    if (!m_view && m_pendingAddress)
        return; // loading anyway, as soon as it can
    m_stack->setCurrentWidget(engine());
    m_view->reload();
}

bool WebEnginePageView::ExecWB(int command, int option)
{
    return PageCommands::exec(this, command, option);
}

QString WebEnginePageView::LocationURL() const
{
    if (m_restored)
        return m_restored->address;
    if (!m_view)
        return m_pendingAddress ? m_pendingAddress->toString() : QString();
    return m_view->url().toString();
}

QString WebEnginePageView::LocationName() const
{
    if (m_restored)
        return m_restored->caption;
    return m_view ? m_view->title() : QString();
}

namespace {
// A discarded page's buffers are freed in this process a moment after its
// renderer has gone, into the C library's heap, which keeps the pages; nine
// closed tabs left 60 MB there. Hand them back once the closing is over.
void trimHeapSoon()
{
#ifdef __GLIBC__
    static QPointer<QTimer> timer;
    if (!timer) {
        timer = new QTimer(QCoreApplication::instance());
        timer->setSingleShot(true);
        timer->setInterval(2000);
        QObject::connect(timer, &QTimer::timeout, [] { malloc_trim(0); });
    }
    timer->start();
#endif
}
} // namespace

void WebEnginePageView::discard()
{
    if (!m_view) {
        m_pendingAddress.reset(); // its tab is closed before the engine ran
        m_loading = false;
        return;
    }
    m_permissions->denyAll(); // its tab is closed, or asleep for good
    if (m_restored)
        return; // nothing loaded yet
    QWebEnginePage *page = m_view->page();
    if (page->lifecycleState() == QWebEnginePage::LifecycleState::Discarded)
        return;
    if (!page->isVisible()) {
        page->setLifecycleState(QWebEnginePage::LifecycleState::Discarded);
        trimHeapSoon();
    }
}

void WebEnginePageView::findText(const QString &text, bool backward, bool matchCase)
{
    const int request = ++m_findRequest;
    if (text.isEmpty()) {
        if (m_view)
            m_view->page()->findText(QString());
        return;
    }
    QWebEnginePage::FindFlags flags;
    if (backward)
        flags |= QWebEnginePage::FindBackward;
    if (matchCase)
        flags |= QWebEnginePage::FindCaseSensitively;
    // The engine answers a search that a newer one replaced with "no
    // matches" at once; only the latest answer is passed on.
    const QPointer<WebEnginePageView> self(this);
    engine()->page()->findText(
        text, flags, [self, request](const QWebEngineFindTextResult &result) {
            if (self && request == self->m_findRequest)
                emit self->FindTextFinished(result.activeMatch(), result.numberOfMatches());
        });
}

void WebEnginePageView::setZoomPercent(int percent)
{
    // The page keeps its factor across navigations of this view only.
    m_zoomPercent = percent;
    if (m_view)
        m_view->page()->setZoomFactor(percent / 100.0);
}

void WebEnginePageView::revive()
{
    if (m_restored) {
        loadRestoredPage();
        return;
    }
    if (!m_view)
        return; // nothing was ever loaded
    QWebEnginePage *page = m_view->page();
    if (page->lifecycleState() == QWebEnginePage::LifecycleState::Discarded)
        page->setLifecycleState(QWebEnginePage::LifecycleState::Active);
}

void WebEnginePageView::exitFullScreen()
{
    if (m_view)
        m_view->page()->triggerAction(QWebEnginePage::ExitFullScreen);
}

QByteArray WebEnginePageView::saveHistory() const
{
    if (m_restored)
        return m_restored->history;
    QByteArray bytes;
    if (!m_view)
        return bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << *m_view->history();
    return bytes;
}

bool WebEnginePageView::canGoBack() const
{
    return !m_restored && m_view && m_view->history()->canGoBack();
}

int WebEnginePageView::zoomPercent() const
{
    if (m_restored)
        return m_restored->zoomPercent;
    return m_view ? qRound(m_view->page()->zoomFactor() * 100) : m_zoomPercent;
}

void WebEnginePageView::restorePage(const QByteArray &history, const QString &address,
                                    const QString &caption, int zoomPercent)
{
    // Outside the engine's range a level would be refused: the page shows at 100 %.
    if (zoomPercent < 25 || zoomPercent > 500)
        zoomPercent = 100;
    m_restored = RestoredPage{history, address, caption, zoomPercent};
    // A view already in front loads at once; one behind waits, costing no
    // renderer, request or script until its tab is first selected.
    if (!isHidden() && m_body->isVisible() && parentWidget() && frontView(parentWidget()) == this)
        loadRestoredPage();
}

void WebEnginePageView::loadRestoredPage()
{
    if (!m_restored)
        return;
    const RestoredPage page = *std::exchange(m_restored, std::nullopt);
    engine()->page()->setZoomFactor(page.zoomPercent / 100.0);
    // Reading the history starts the load of its current entry. A stream that
    // is short or not the engine's leaves no entries: the address loads instead.
    if (!page.history.isEmpty()) {
        QDataStream in(page.history);
        in >> *m_view->history();
        if (in.status() == QDataStream::Ok && m_view->history()->count() > 0)
            return;
    }
    Navigate2(page.address);
}

void WebEnginePageView::forgetPermission(const QString &origin, const QString &feature)
{
    engine();
    m_permissions->forget(QUrl(origin), feature);
}

void WebEnginePageView::chooseClientCertificate(QWebEngineClientCertificateSelection selection)
{
    // The choice for a host holds for the rest of the run.
    static QHash<QString, QByteArray> chosen; // host and port: the certificate, DER
    const QString host = selection.host().authority();
    const QList<QSslCertificate> offered = selection.certificates();
    if (offered.isEmpty()) {
        selection.selectNone(); // the request goes on without one
        return;
    }
    const auto known = chosen.constFind(host);
    if (known != chosen.cend()) {
        for (const QSslCertificate &certificate : offered) {
            if (certificate.toDer() == known.value()) {
                selection.select(certificate);
                return;
            }
        }
        if (known.value().isEmpty()) {
            selection.selectNone();
            return;
        }
    }
    QStringList items;
    for (const QSslCertificate &certificate : offered)
        items << tr("%1 (issued by %2)")
                     .arg(certificate.subjectDisplayName(), certificate.issuerDisplayName());
    const std::optional<int> pick = Prompts::ChooseItem(
        window(), tr("%1 asks for a certificate to identify you.").arg(host), items);
    if (!pick || *pick < 0 || *pick >= offered.size()) {
        chosen.insert(host, QByteArray());
        selection.selectNone();
        return;
    }
    chosen.insert(host, offered.at(*pick).toDer());
    selection.select(offered.at(*pick));
}
