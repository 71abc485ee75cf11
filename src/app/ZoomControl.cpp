// Per-host page zoom, its keys, the wheel and the status-bar label.
#include "app/ZoomControl.h"

#include "store/ZoomLevels.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QShortcut>
#include <QUrl>
#include <QWheelEvent>

namespace {
// One notch of a mouse wheel.
constexpr int WheelStep = 120;
} // namespace

ZoomControl::ZoomControl(std::function<PageView *()> selectedView, QWidget *window)
    : QObject(window), m_selectedView(std::move(selectedView))
{
    setObjectName(QStringLiteral("zoomControl"));
    m_label = new QLabel(window); // the window places it in its status bar
    m_label->setObjectName(QStringLiteral("zoomLabel"));
    m_label->setToolTip(tr("Zoom; click to reset to 100 %"));
    m_label->setCursor(Qt::PointingHandCursor);
    m_label->setContentsMargins(4, 0, 4, 0);
    m_label->setVisible(false);
    m_label->installEventFilter(this);

    const auto shortcut = [this, window](const QKeySequence &keys, void (ZoomControl::*slot)()) {
        auto *s = new QShortcut(keys, window);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, slot);
    };
    // Keypad keys find these too: a shortcut falls back to the key without
    // its keypad flag.
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Plus), &ZoomControl::zoomIn);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Equal), &ZoomControl::zoomIn);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus), &ZoomControl::zoomOut);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_0), &ZoomControl::resetZoom);
}

QString ZoomControl::hostOf(const PageView *view)
{
    return QUrl(view->LocationURL()).host();
}

int ZoomControl::levelOf(const QString &host)
{
    auto it = m_levels.find(host);
    if (it == m_levels.end())
        it = m_levels.insert(host, ZoomLevels::load(host));
    return it.value();
}

void ZoomControl::addView(PageView *view)
{
    m_views.append(view);
    // A view keeps its factor across its own navigations, so each new
    // address sets the level of its host.
    connect(view, &PageView::NavigateComplete2, this, [this, view] { apply(view); });
    connect(view, &PageView::LocationChange, this, [this, view] { apply(view); });
    connect(view, &PageView::DocumentComplete, this, [this, view] { apply(view); });
    watchWheel(view);
    apply(view);
}

void ZoomControl::apply(PageView *view)
{
    view->setZoomPercent(levelOf(hostOf(view)));
    if (view == m_selectedView())
        showLevel();
}

void ZoomControl::setLevel(const QString &host, int percent)
{
    if (levelOf(host) == percent)
        return;
    m_levels.insert(host, percent);
    ZoomLevels::save(host, percent); // a store that cannot be written keeps it for this run
    for (const QPointer<PageView> &view : std::as_const(m_views)) {
        if (view && hostOf(view) == host)
            view->setZoomPercent(percent);
    }
    showLevel();
}

void ZoomControl::zoomIn()
{
    if (PageView *view = m_selectedView()) {
        const QString host = hostOf(view);
        setLevel(host, ZoomLevels::stepIn(levelOf(host)));
    }
}

void ZoomControl::zoomOut()
{
    if (PageView *view = m_selectedView()) {
        const QString host = hostOf(view);
        setLevel(host, ZoomLevels::stepOut(levelOf(host)));
    }
}

void ZoomControl::resetZoom()
{
    if (PageView *view = m_selectedView())
        setLevel(hostOf(view), ZoomLevels::Default);
}

void ZoomControl::selectionChanged()
{
    showLevel();
}

void ZoomControl::showLevel()
{
    PageView *view = m_selectedView();
    const int percent = view ? levelOf(hostOf(view)) : ZoomLevels::Default;
    m_label->setText(QStringLiteral("%1 %").arg(percent));
    m_label->setVisible(percent != ZoomLevels::Default);
}

// The engine zooms on Ctrl+wheel by itself, and only the one page; the wheel
// reaches its render widget, a child that comes and goes with the page's
// process, so every widget in the view is watched as it appears.
void ZoomControl::watchWheel(QWidget *widget)
{
    widget->installEventFilter(this);
    for (QObject *child : widget->children()) {
        if (child->isWidgetType())
            watchWheel(static_cast<QWidget *>(child));
    }
}

bool ZoomControl::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ChildAdded: {
        QObject *child = static_cast<QChildEvent *>(event)->child();
        if (child->isWidgetType() && watched != m_label)
            watchWheel(static_cast<QWidget *>(child));
        break;
    }
    case QEvent::Wheel:
        return onWheel(watched, event);
    case QEvent::MouseButtonRelease:
        if (watched == m_label && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            resetZoom();
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool ZoomControl::onWheel(QObject *watched, QEvent *event)
{
    auto *wheel = static_cast<QWheelEvent *>(event);
    if (!(wheel->modifiers() & Qt::ControlModifier))
        return false;
    PageView *view = nullptr;
    for (QObject *o = watched; o && !view; o = o->parent())
        view = qobject_cast<PageView *>(o);
    if (!view)
        return false;
    const QString host = hostOf(view);
    // Fine-grained wheels (touchpads) send small parts of a notch.
    m_wheelDelta += wheel->angleDelta().y();
    for (; m_wheelDelta >= WheelStep; m_wheelDelta -= WheelStep)
        setLevel(host, ZoomLevels::stepIn(levelOf(host)));
    for (; m_wheelDelta <= -WheelStep; m_wheelDelta += WheelStep)
        setLevel(host, ZoomLevels::stepOut(levelOf(host)));
    return true;
}
