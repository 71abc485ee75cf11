// QtWebEngine's view and page for one tab, and what the page asks of the user.
#include "web/EnginePage.h"

#include "web/BrowserProfile.h"
#include "web/PageCommands.h"
#include "web/PopupWindow.h"
#include "web/SitePermissions.h"
#include "web/WebEnginePageView.h"

#include "platform/Prompts.h"

#include <QAction>
#include <QAuthenticator>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDataStream>
#include <QHash>
#include <QMenu>
#include <QPointer>
#include <QSslCertificate>
#include <QTimer>
#include <QWebEngineCertificateError>
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

} // namespace

EnginePage::EnginePage(WebEnginePageView *owner, QWidget *body) : m_owner(owner)
{
    auto *view = new EngineView(body);
    view->onContextMenu = [this](const QPoint &pos) { showContextMenu(pos); };
    m_view = view;
    m_view->setPage(new QWebEnginePage(BrowserProfile::profile(), m_view));
    connectPage();
}

EnginePage::~EnginePage()
{
    // The page must go before the view that displays it.
    delete m_view->page();
    delete m_view;
}

QWidget *EnginePage::widget() const
{
    return m_view;
}

QWebEnginePage *EnginePage::page() const
{
    return m_view->page();
}

void EnginePage::connectPage()
{
    QWebEnginePage *page = m_view->page();
    PageView *owner = m_owner;
    m_permissions = new SitePermissions(page, m_owner->permissionBar());
    connect(m_permissions, &SitePermissions::statusText, owner, &PageView::StatusTextChange);
    connect(m_permissions, &SitePermissions::answersChanged, owner, &PageView::PermissionsChanged);
    connect(m_permissions, &SitePermissions::capturingChanged, owner, &PageView::CaptureChanged);
    connect(page, &QWebEnginePage::linkHovered, owner, &PageView::StatusTextChange);
    connect(page, &QWebEnginePage::loadStarted, m_owner, &WebEnginePageView::pageLoadStarted);
    connect(page, &QWebEnginePage::loadProgress, owner,
            [owner](int progress) { emit owner->ProgressChange(progress, 100); });
    connect(page, &QWebEnginePage::titleChanged, owner, &PageView::TitleChange);
    connect(page, &QWebEnginePage::urlChanged, m_owner, &WebEnginePageView::pageUrlChanged);
    connect(page, &QWebEnginePage::loadFinished, m_owner, &WebEnginePageView::pageLoadFinished);
    connect(page, &QWebEnginePage::newWindowRequested, this, &EnginePage::onNewWindowRequested);
    connect(page, &QWebEnginePage::renderProcessTerminated, m_owner,
            [this](QWebEnginePage::RenderProcessTerminationStatus status) {
                if (status != QWebEnginePage::NormalTerminationStatus)
                    m_owner->pageProcessEnded();
            });
    // A silent view never asks about a bad certificate: the load fails and
    // the engine's error page says why.
    connect(page, &QWebEnginePage::certificateError, this,
            [](QWebEngineCertificateError error) { error.rejectCertificate(); });
    connect(m_view, &QWebEngineView::printRequested, owner, &PageView::PrintRequested);
    // Full screen is the window's to give; leaving it is always granted.
    connect(page, &QWebEnginePage::fullScreenRequested, this,
            [this](QWebEngineFullScreenRequest request) {
                bool accept = false;
                emit m_owner->FullScreenRequest(request.toggleOn(), &accept);
                if (accept || !request.toggleOn())
                    request.accept();
                else
                    request.reject();
            });
    connect(page, &QWebEnginePage::selectClientCertificate, this,
            &EnginePage::chooseClientCertificate);
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

void EnginePage::askCredentials(const QString &prompt, QAuthenticator *auth)
{
    const auto answer = Prompts::AskCredentials(m_owner->window(), prompt);
    if (!answer) {
        *auth = QAuthenticator(); // a null authenticator cancels
        return;
    }
    auth->setUser(answer->user);
    auth->setPassword(answer->password);
}

void EnginePage::showContextMenu(const QPoint &pos)
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
        item->setStatusTip(WebEnginePageView::NewWindowPrompt);
        menu->insertAction(engineItem, item);
        menu->removeAction(engineItem);
        connect(item, &QAction::hovered, this,
                [this] { emit m_owner->StatusTextChange(WebEnginePageView::NewWindowPrompt); });
        connect(item, &QAction::triggered, this, [this] {
            m_contextMenuNewWindow = true;
            m_view->page()->triggerAction(QWebEnginePage::OpenLinkInNewWindow);
        });
    }
    menu->popup(pos);
}

void EnginePage::onNewWindowRequested(QWebEngineNewWindowRequest &request)
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
    emit m_owner->NewWindow2(&cancel, info);
    if (cancel)
        return;
    // Left to its own course: a plain window of ours with one view, as a
    // sign-in or popup window expects.
    auto *popup = new PopupWindow(request.requestedGeometry());
    static_cast<EnginePage *>(popup->view()->pageEngine())->adopt(request);
    popup->show();
}

void EnginePage::adopt(QWebEngineNewWindowRequest &request)
{
    request.openIn(m_view->page());
}

void EnginePage::load(const QUrl &url)
{
    m_view->setUrl(url);
}

void EnginePage::stop()
{
    m_view->stop();
}

bool EnginePage::goBack()
{
    if (!m_view->history()->canGoBack())
        return false;
    m_view->back();
    return true;
}

bool EnginePage::goForward()
{
    if (!m_view->history()->canGoForward())
        return false;
    m_view->forward();
    return true;
}

bool EnginePage::canGoBack() const
{
    return m_view->history()->canGoBack();
}

void EnginePage::reload()
{
    m_view->reload();
}

QUrl EnginePage::url() const
{
    return m_view->url();
}

QString EnginePage::title() const
{
    return m_view->title();
}

bool EnginePage::exec(int command, int option)
{
    return PageCommands::exec(m_owner, command, option);
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

void EnginePage::discard()
{
    m_permissions->denyAll(); // its tab is closed, or asleep for good
    if (m_owner->holdsRestoredPage())
        return; // nothing loaded yet
    QWebEnginePage *page = m_view->page();
    if (page->lifecycleState() == QWebEnginePage::LifecycleState::Discarded)
        return;
    if (!page->isVisible()) {
        page->setLifecycleState(QWebEnginePage::LifecycleState::Discarded);
        trimHeapSoon();
    }
}

void EnginePage::revive()
{
    QWebEnginePage *page = m_view->page();
    if (page->lifecycleState() == QWebEnginePage::LifecycleState::Discarded)
        page->setLifecycleState(QWebEnginePage::LifecycleState::Active);
}

void EnginePage::exitFullScreen()
{
    m_view->page()->triggerAction(QWebEnginePage::ExitFullScreen);
}

QByteArray EnginePage::saveHistory() const
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << *m_view->history();
    return bytes;
}

bool EnginePage::restoreHistory(const QByteArray &history)
{
    QDataStream in(history);
    in >> *m_view->history();
    return in.status() == QDataStream::Ok && m_view->history()->count() > 0;
}

int EnginePage::zoomPercent() const
{
    return qRound(m_view->page()->zoomFactor() * 100);
}

void EnginePage::setZoomPercent(int percent)
{
    m_view->page()->setZoomFactor(percent / 100.0);
}

void EnginePage::findText(const QString &text, bool backward, bool matchCase,
                          std::function<void(int active, int count)> found)
{
    if (text.isEmpty()) {
        m_view->page()->findText(QString());
        return;
    }
    QWebEnginePage::FindFlags flags;
    if (backward)
        flags |= QWebEnginePage::FindBackward;
    if (matchCase)
        flags |= QWebEnginePage::FindCaseSensitively;
    m_view->page()->findText(text, flags,
                             [found = std::move(found)](const QWebEngineFindTextResult &result) {
                                 found(result.activeMatch(), result.numberOfMatches());
                             });
}

void EnginePage::forgetPermission(const QString &origin, const QString &feature)
{
    m_permissions->forget(QUrl(origin), feature);
}

void EnginePage::chooseClientCertificate(QWebEngineClientCertificateSelection selection)
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
        m_owner->window(), tr("%1 asks for a certificate to identify you.").arg(host), items);
    if (!pick || *pick < 0 || *pick >= offered.size()) {
        chosen.insert(host, QByteArray());
        selection.selectNone();
        return;
    }
    chosen.insert(host, offered.at(*pick).toDer());
    selection.select(offered.at(*pick));
}
