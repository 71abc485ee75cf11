// The engine's page behind the page-view interface, and what stands in for it
// until the engine runs.
#include "web/WebEnginePageView.h"

#include "web/Engine.h"
#include "web/EngineSide.h"
#include "web/PageEngine.h"
#include "web/PermissionBar.h"

#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QStackedLayout>
#include <QVBoxLayout>

#include <utility>

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
    const QPointer<WebEnginePageView> self(this);
    Engine::whenStarted(this, [self] {
        if (self)
            self->startEngine();
    });
}

void WebEnginePageView::startEngine()
{
    if (m_engine)
        return;
    m_engine = Engine::side()->createPage(this, m_body);
    if (m_zoomPercent != 100)
        m_engine->setZoomPercent(m_zoomPercent);
    QWidget *view = m_engine->widget();
    m_stack->insertWidget(0, view);
    m_stack->setCurrentWidget(view);
    m_stack->removeWidget(m_blank);
    delete std::exchange(m_blank, nullptr);
    // The focus given to the view meanwhile passes to the page.
    const bool focused = hasFocus();
    setFocusProxy(view);
    if (focused)
        view->setFocus();
    if (m_pendingAddress)
        Navigate2(std::exchange(m_pendingAddress, std::nullopt)->toString());
}

PageEngine *WebEnginePageView::pageEngine() const
{
    const_cast<WebEnginePageView *>(this)->startEngine();
    return m_engine;
}

QWebEngineView *WebEnginePageView::engineView()
{
    return pageEngine()->view();
}

WebEnginePageView::~WebEnginePageView()
{
    ++m_findRequest; // a search still running answers no more
    // The page goes before the view that displays it.
    delete std::exchange(m_engine, nullptr);
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

void WebEnginePageView::pageLoadStarted()
{
    m_loading = true;
    if (m_stack->currentWidget() != m_engine->widget())
        m_stack->setCurrentWidget(m_engine->widget());
    emit BeforeNavigate2();
}

void WebEnginePageView::pageUrlChanged()
{
    if (m_loading)
        emit NavigateComplete2();
    else
        emit LocationChange();
}

void WebEnginePageView::pageLoadFinished(bool ok)
{
    m_loading = false;
    if (ok)
        emit PageLoaded(m_engine->url(), m_engine->title());
    emit DocumentComplete();
}

void WebEnginePageView::pageProcessEnded()
{
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
    return pageEngine()->page();
}

void WebEnginePageView::Navigate2(const QString &address)
{
    m_restored.reset(); // a new address replaces a page still waiting
    const QUrl url = QUrl::fromUserInput(address.trimmed());
    const QUrl target = url.isValid() ? url : QUrl(QStringLiteral("about:blank"));
    if (!m_engine) {
        // Loads the moment the engine runs; the address is the page's meanwhile.
        m_pendingAddress = target;
        m_loading = true;
        return;
    }
    m_engine->load(target);
}

void WebEnginePageView::Stop()
{
    if (!m_engine) {
        m_pendingAddress.reset();
        m_loading = false;
        return;
    }
    m_engine->stop();
}

bool WebEnginePageView::GoBack()
{
    return m_engine && m_engine->goBack();
}

bool WebEnginePageView::GoForward()
{
    return m_engine && m_engine->goForward();
}

void WebEnginePageView::Refresh2()
{
    if (!m_engine && m_pendingAddress)
        return; // loading anyway, as soon as it can
    m_stack->setCurrentWidget(pageEngine()->widget());
    m_engine->reload();
}

bool WebEnginePageView::ExecWB(int command, int option)
{
    return pageEngine()->exec(command, option);
}

QString WebEnginePageView::LocationURL() const
{
    if (m_restored)
        return m_restored->address;
    if (!m_engine)
        return m_pendingAddress ? m_pendingAddress->toString() : QString();
    return m_engine->url().toString();
}

QString WebEnginePageView::LocationName() const
{
    if (m_restored)
        return m_restored->caption;
    return m_engine ? m_engine->title() : QString();
}

void WebEnginePageView::discard()
{
    if (!m_engine) {
        m_pendingAddress.reset(); // its tab is closed before the engine ran
        m_loading = false;
        return;
    }
    m_engine->discard();
}

void WebEnginePageView::findText(const QString &text, bool backward, bool matchCase)
{
    const int request = ++m_findRequest;
    if (text.isEmpty()) {
        if (m_engine)
            m_engine->findText(QString(), false, false, {});
        return;
    }
    // The engine answers a search that a newer one replaced with "no
    // matches" at once; only the latest answer is passed on.
    const QPointer<WebEnginePageView> self(this);
    pageEngine()->findText(text, backward, matchCase, [self, request](int active, int count) {
        if (self && request == self->m_findRequest)
            emit self->FindTextFinished(active, count);
    });
}

void WebEnginePageView::setZoomPercent(int percent)
{
    // The page keeps its factor across navigations of this view only.
    m_zoomPercent = percent;
    if (m_engine)
        m_engine->setZoomPercent(percent);
}

void WebEnginePageView::revive()
{
    if (m_restored) {
        loadRestoredPage();
        return;
    }
    if (m_engine) // else nothing was ever loaded
        m_engine->revive();
}

void WebEnginePageView::exitFullScreen()
{
    if (m_engine)
        m_engine->exitFullScreen();
}

QByteArray WebEnginePageView::saveHistory() const
{
    if (m_restored)
        return m_restored->history;
    return m_engine ? m_engine->saveHistory() : QByteArray();
}

bool WebEnginePageView::canGoBack() const
{
    return !m_restored && m_engine && m_engine->canGoBack();
}

int WebEnginePageView::zoomPercent() const
{
    if (m_restored)
        return m_restored->zoomPercent;
    return m_engine ? m_engine->zoomPercent() : m_zoomPercent;
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
    PageEngine *engine = pageEngine();
    engine->setZoomPercent(page.zoomPercent);
    // Reading the history starts the load of its current entry. A stream that
    // is short or not the engine's leaves no entries: the address loads instead.
    if (!page.history.isEmpty() && engine->restoreHistory(page.history))
        return;
    Navigate2(page.address);
}

void WebEnginePageView::forgetPermission(const QString &origin, const QString &feature)
{
    pageEngine()->forgetPermission(origin, feature);
}
