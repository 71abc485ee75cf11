// Puts the pages of tabs that are not selected to sleep: frozen after one
// delay, discarded after a longer one, never deeper than the engine
// recommends and never discarded while it holds what the user typed;
// selecting a tab wakes its page at once.
#pragma once

#include "store/SleepSettings.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <optional>

class PageView;
class QWidget;
class WebEnginePageView;

class TabSleeper : public QObject
{
    Q_OBJECT
public:
    // Looks after every engine page view that appears in viewArea, the
    // widget the window stacks its tabs' views in (other page views are left
    // alone). The delays are read from the settings store when first needed.
    explicit TabSleeper(QWidget *viewArea);

    // The window selected view's tab: its page wakes at once, and the tab
    // it leaves starts counting its time hidden.
    void select(PageView *view);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Whether a page holds text the user typed, which discarding would lose.
    enum class Typed { Unknown, Asking, No, Yes };
    struct Tab
    {
        qint64 idleSince = 0; // when last selected or shown, on m_clock
        Typed typed = Typed::Unknown;
    };

    void adoptNewViews();
    void watch(WebEnginePageView *view);
    void awake(WebEnginePageView *view);
    void askTyped(WebEnginePageView *view);
    // Coalesces requests to look at every tab again into one, run from the
    // event loop (the engine's signals arrive in the middle of its own work).
    void checkSoon();
    void check();
    // Moves one tab as deep as its time hidden allows; returns when it next
    // needs a look, or -1.
    qint64 settle(WebEnginePageView *view, Tab &tab, qint64 now);

    QWidget *m_area;
    QElapsedTimer m_clock;
    QTimer m_timer;
    std::optional<SleepSettings> m_delays;
    QPointer<PageView> m_selected;
    QHash<WebEnginePageView *, Tab> m_tabs;
};
