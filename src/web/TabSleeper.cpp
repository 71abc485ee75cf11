// Tabs that sleep while they are not selected.
#include "web/TabSleeper.h"

#include "web/Engine.h"
#include "web/WebEnginePageView.h"

#include <QChildEvent>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <QWidget>

#include <algorithm>

namespace {

using State = QWebEnginePage::LifecycleState;

// Active, Frozen, Discarded: each deeper than the one before.
int depth(State state)
{
    return int(state);
}

// A look at least this often, so a delay too long for a timer still ends.
constexpr qint64 LongestWaitMs = 60 * 60 * 1000;

// True when a field of the page (or of a frame from its own site) differs
// from what the page put there, or an editable element or document holds
// the focus: what the user typed, which a discarded page would not bring
// back. The engine's own advice misses it (it never reports form input).
const QString TypedScript = QStringLiteral(R"(
(function () {
    function typed(doc) {
        var focus = doc.activeElement;
        if (doc.designMode === 'on' || (focus && focus.isContentEditable))
            return true;
        var fields = doc.querySelectorAll('input, textarea, select');
        for (var i = 0; i < fields.length; ++i) {
            var f = fields[i];
            if (f.tagName === 'SELECT') {
                for (var j = 0; j < f.options.length; ++j)
                    if (f.options[j].selected !== f.options[j].defaultSelected)
                        return true;
            } else if (f.type === 'checkbox' || f.type === 'radio') {
                if (f.checked !== f.defaultChecked)
                    return true;
            } else if (f.value !== f.defaultValue) {
                return true;
            }
        }
        var frames = doc.defaultView.frames;
        for (var k = 0; k < frames.length; ++k) {
            try {
                if (typed(frames[k].document))
                    return true;
            } catch (e) {}
        }
        return false;
    }
    return typed(document);
})()
)");

QWebEnginePage *pageOf(WebEnginePageView *view)
{
    return view->engineView()->page();
}

} // namespace

TabSleeper::TabSleeper(QWidget *viewArea) : QObject(viewArea), m_area(viewArea)
{
    m_clock.start();
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &TabSleeper::check);
    m_area->installEventFilter(this);
    // Views built before the engine ran have a page only from then on.
    Engine::whenStarted(this, [this] { checkSoon(); });
}

bool TabSleeper::eventFilter(QObject *watched, QEvent *event)
{
    // A view is still being built when it joins the area: look at it later.
    if (watched == m_area && event->type() == QEvent::ChildAdded)
        checkSoon();
    return QObject::eventFilter(watched, event);
}

void TabSleeper::select(PageView *view)
{
    adoptNewViews();
    // The tab left behind counts its time hidden from now.
    if (auto *left = qobject_cast<WebEnginePageView *>(m_selected.data()))
        awake(left);
    m_selected = view;
    auto *chosen = qobject_cast<WebEnginePageView *>(view);
    if (chosen && m_tabs.contains(chosen)) {
        awake(chosen);
        QWebEnginePage *page = pageOf(chosen);
        // A discarded page reloads from its history entry, like a load the
        // user started; a frozen one simply runs on.
        if (page->lifecycleState() != State::Active)
            page->setLifecycleState(State::Active);
    }
    checkSoon();
}

void TabSleeper::awake(WebEnginePageView *view)
{
    const auto tab = m_tabs.find(view);
    if (tab == m_tabs.end())
        return; // not a view of the area
    tab->idleSince = m_clock.elapsed();
    // Shown again, a page may take new input: ask afresh before it sleeps.
    tab->typed = Typed::Unknown;
}

void TabSleeper::adoptNewViews()
{
    for (QObject *child : m_area->children()) {
        auto *view = qobject_cast<WebEnginePageView *>(child);
        if (view && view->hasEngine() && !m_tabs.contains(view))
            watch(view);
    }
}

void TabSleeper::watch(WebEnginePageView *view)
{
    m_tabs.insert(view, Tab{m_clock.elapsed(), Typed::Unknown});
    connect(view, &QObject::destroyed, this, [this, view] { m_tabs.remove(view); });
    QWebEnginePage *page = pageOf(view);
    connect(page, &QWebEnginePage::visibleChanged, this, [this, view] {
        awake(view);
        checkSoon();
    });
    // A new document holds nothing typed yet (and an answer asked of the
    // old one may never come).
    connect(page, &QWebEnginePage::loadStarted, this, [this, view] {
        if (m_tabs.contains(view))
            m_tabs[view].typed = Typed::Unknown;
    });
    // The engine's advice changes as the page loads, plays sound or shows
    // DevTools.
    connect(page, &QWebEnginePage::recommendedStateChanged, this, &TabSleeper::checkSoon);
}

void TabSleeper::askTyped(WebEnginePageView *view)
{
    m_tabs[view].typed = Typed::Asking;
    QPointer<WebEnginePageView> asked(view);
    pageOf(view)->runJavaScript(
        TypedScript, QWebEngineScript::ApplicationWorld, [this, asked](const QVariant &answer) {
            if (!asked || !m_tabs.contains(asked))
                return;
            Tab &tab = m_tabs[asked];
            if (tab.typed != Typed::Asking)
                return; // woken meanwhile
            // No answer keeps the page, as if typed.
            tab.typed =
                answer.typeId() == QMetaType::Bool && !answer.toBool() ? Typed::No : Typed::Yes;
            checkSoon();
        });
}

void TabSleeper::checkSoon()
{
    m_timer.start(0);
}

void TabSleeper::check()
{
    adoptNewViews();
    const qint64 now = m_clock.elapsed();
    qint64 next = -1;
    const QList<WebEnginePageView *> views = m_tabs.keys();
    for (WebEnginePageView *view : views) {
        const qint64 due = settle(view, m_tabs[view], now);
        if (due >= 0 && (next < 0 || due < next))
            next = due;
    }
    if (next < 0)
        return;
    // A change reported during the round may have asked for another at once.
    const int wait = int(std::clamp<qint64>(next - now, 0, LongestWaitMs));
    if (!m_timer.isActive() || m_timer.remainingTime() > wait)
        m_timer.start(wait);
}

qint64 TabSleeper::settle(WebEnginePageView *view, Tab &tab, qint64 now)
{
    QWebEnginePage *page = pageOf(view);
    // A restored page not yet shown has nothing running to put to sleep.
    if (view->holdsRestoredPage())
        return -1;
    if (view == m_selected.data() || page->isVisible()) {
        tab.idleSince = now;
        return -1;
    }
    if (!m_delays)
        m_delays = SleepSettings::read();
    State wanted = State::Active;
    qint64 due = -1;
    const struct
    {
        int seconds;
        State state;
    } steps[] = {{m_delays->freezeAfterSeconds, State::Frozen},
                 {m_delays->discardAfterSeconds, State::Discarded}};
    for (const auto &step : steps) {
        if (step.seconds <= 0)
            continue;
        const qint64 at = tab.idleSince + qint64(step.seconds) * 1000;
        if (now < at)
            due = due < 0 ? at : std::min(due, at);
        else if (depth(step.state) > depth(wanted))
            wanted = step.state;
    }
    // The engine keeps a page awake while it loads, plays sound or shows
    // DevTools.
    if (depth(page->recommendedState()) < depth(wanted))
        wanted = page->recommendedState();
    const State current = page->lifecycleState();
    if (depth(wanted) <= depth(current))
        return due;
    // Only a running page can be asked what it holds; a frozen one cannot
    // have changed since it was.
    if (current == State::Active && tab.typed == Typed::Unknown)
        askTyped(view);
    if (tab.typed == Typed::Asking)
        return due; // the answer brings another look
    if (wanted == State::Discarded && tab.typed != Typed::No)
        wanted = State::Frozen; // only freezing keeps what was typed
    if (wanted == State::Discarded)
        view->discard();
    else if (depth(wanted) > depth(current))
        page->setLifecycleState(wanted);
    return due;
}
