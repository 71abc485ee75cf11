// The page view: what the browser shell asks of one tab's web page and the
// events it gets back. The shell and the dialogs speak only to this
// interface; WebEnginePageView puts QtWebEngine behind it and the tests have
// a scriptable fake.
#pragma once

#include <QUrl>
#include <QWidget>
#include <functional>

class QWebEnginePage;

// What the shell learns about a request to open a new window.
struct NewWindowInfo
{
    enum class Kind {
        ContextMenuNewWindow, // the view's own "Open link in new window" item
        BackgroundTab,        // Ctrl+click or middle click on a link
        PageRequest,          // window.open, target=_blank, Shift+click ...
    };
    Kind kind = Kind::PageRequest;
    QUrl requestedUrl;
};

class PageView : public QWidget
{
    Q_OBJECT
public:
    // Command identifiers and options for ExecWB.
    enum Command { SaveAs = 4, Print = 6, PrintPreview = 7, PageSetup = 8, Properties = 10 };
    enum CommandOption { DoDefault = 0, PromptUser = 1, DontPromptUser = 2, ShowHelp = 3 };

    explicit PageView(QWidget *parent = nullptr) : QWidget(parent) {}

    virtual void Navigate2(const QString &address) = 0;
    void Navigate(const QString &address) { Navigate2(address); }
    virtual void Stop() = 0;
    // False when there is no page to go to (callers ignore it).
    virtual bool GoBack() = 0;
    virtual bool GoForward() = 0;
    virtual void Refresh2() = 0;
    // Runs the view's own save-as, print, page-setup, print-preview or
    // properties dialog. False when the command could not run.
    virtual bool ExecWB(int command, int option) = 0;

    virtual QString LocationURL() const = 0;
    virtual QString LocationName() const = 0;
    virtual bool isLoading() const = 0;

    bool Silent() const { return m_silent; }
    void setSilent(bool silent) { m_silent = silent; }
    bool RegisterAsBrowser() const { return m_registerAsBrowser; }
    void setRegisterAsBrowser(bool on) { m_registerAsBrowser = on; }

    // Releases the page's renderer and memory once the view is hidden for
    // good; its address and title stay readable.
    virtual void discard() {}
    // Brings a discarded page back from its history entry (a reopened tab).
    virtual void revive() {}
    // Ends the page's own full screen; the page answers with
    // FullScreenRequest(false, ...).
    virtual void exitFullScreen() {}

    // The page's Back/Forward history as the engine streams it (empty for a
    // view without one), and whether there is a page to go back to.
    virtual QByteArray saveHistory() const { return {}; }
    virtual bool canGoBack() const { return false; }
    // The level the page is shown at, in percent.
    virtual int zoomPercent() const { return 100; }
    // Gives the view a page of an earlier session: it reports address and
    // caption at once, but loads nothing until it first comes to the front;
    // then it loads the current entry of history (or address, when history
    // cannot be read), with Back and Forward as they were.
    virtual void restorePage(const QByteArray &history, const QString &address,
                             const QString &caption, int zoomPercent)
    {
        Q_UNUSED(history);
        Q_UNUSED(caption);
        Q_UNUSED(zoomPercent);
        Navigate2(address);
    }
    // The site origin ("http://h:80") may ask for feature (by its stored
    // name) again: the engine forgets what it was told this run.
    virtual void forgetPermission(const QString &origin, const QString &feature)
    {
        Q_UNUSED(origin);
        Q_UNUSED(feature);
    }
    // True while a restored page waits to come to the front.
    virtual bool holdsRestoredPage() const { return false; }

    // True while the page's process is gone and a notice shows in its place.
    virtual bool showsCrashNotice() const { return false; }
    // The engine's page behind the view, for the commands that hand it to the
    // engine (save, print, properties); null for a view without an engine.
    virtual QWebEnginePage *enginePage() const { return nullptr; }
    // Finds text in the page: the next match, or the previous one when
    // backward; asking again for the same text goes on through its matches,
    // wrapping at either end, a new text starts afresh. An empty text ends
    // the search and clears the highlight. Only the latest search answers,
    // with FindTextFinished.
    virtual void findText(const QString &text, bool backward, bool matchCase) = 0;
    // Shows the page at percent of its normal size.
    virtual void setZoomPercent(int percent) = 0;

signals:
    void StatusTextChange(const QString &text);
    void ProgressChange(qint32 progress, qint32 progressMax);
    void TitleChange(const QString &text);
    void BeforeNavigate2();
    // Set *cancel to stop the view from opening the window its own way.
    void NewWindow2(bool *cancel, const NewWindowInfo &info);
    void NavigateComplete2();
    void DocumentComplete();
    // A page finished loading as itself (not the engine's error page).
    void PageLoaded(const QUrl &url, const QString &title);
    // The address changed without a new document (#fragment, pushState).
    void LocationChange();
    // The page asked to be printed (window.print()).
    void PrintRequested();
    // The answer to the latest findText: the active match (from 1, 0 when
    // none) and how many matches there are.
    void FindTextFinished(int activeMatch, int matchCount);
    // The page asks to fill the screen (on) or to leave it; set *accept to
    // let it. Left unset, the page stays as it is.
    void FullScreenRequest(bool on, bool *accept);
    // A site's stored permission answers changed (one was given or forgotten).
    void PermissionsChanged();
    // The page may now be using the camera, microphone or screen (on), or
    // no longer (off).
    void CaptureChanged(bool on);

private:
    bool m_silent = false;
    bool m_registerAsBrowser = false;
};

using PageViewFactory = std::function<PageView *(QWidget *parent)>;
