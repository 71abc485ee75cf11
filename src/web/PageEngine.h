// One tab's view and page of the engine, as its page view drives them once
// the engine runs. The engine's library makes them (EngineSide::createPage).
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <functional>

class QWebEnginePage;
class QWebEngineView;
class QWidget;

class PageEngine
{
public:
    virtual ~PageEngine() = default;

    // The engine's view: the widget the page shows in.
    virtual QWidget *widget() const = 0;
    virtual QWebEngineView *view() const = 0;
    virtual QWebEnginePage *page() const = 0;

    virtual void load(const QUrl &url) = 0;
    virtual void stop() = 0;
    virtual bool goBack() = 0;
    virtual bool goForward() = 0;
    virtual bool canGoBack() const = 0;
    virtual void reload() = 0;
    virtual QUrl url() const = 0;
    virtual QString title() const = 0;
    // Runs the view's page command (PageView::Command) with its dialogs.
    virtual bool exec(int command, int option) = 0;

    // Ends the renderer of a page that is not shown; revive brings it back.
    virtual void discard() = 0;
    virtual void revive() = 0;
    virtual void exitFullScreen() = 0;

    // The Back/Forward history as the engine streams it. restoreHistory
    // reads one and loads its current entry; false when the stream is short,
    // damaged or holds no entry (nothing is loaded then).
    virtual QByteArray saveHistory() const = 0;
    virtual bool restoreHistory(const QByteArray &history) = 0;

    virtual int zoomPercent() const = 0;
    virtual void setZoomPercent(int percent) = 0;
    // Searches the page; found gets the active match and the match count.
    // An empty text ends the search.
    virtual void findText(const QString &text, bool backward, bool matchCase,
                          std::function<void(int active, int count)> found) = 0;
    virtual void forgetPermission(const QString &origin, const QString &feature) = 0;
};
