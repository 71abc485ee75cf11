// The real page view: one tab's page on the shared "Corvane" profile, its
// engine view made when the engine runs (until then an empty page stands in
// its place, keeping what the view was asked to load). It translates the
// engine's events into the page-view events the shell uses.
#pragma once

#include "app/PageView.h"

#include <optional>

class PageEngine;
class PermissionBar;
class QLabel;
class QStackedLayout;
class QWebEnginePage;
class QWebEngineView;

class WebEnginePageView : public PageView
{
    Q_OBJECT
public:
    // The text the view reports while the pointer rests on the context menu's
    // "Open link in new window" item.
    static const QString NewWindowPrompt;

    explicit WebEnginePageView(QWidget *parent = nullptr);
    ~WebEnginePageView() override;

    void Navigate2(const QString &address) override;
    void Stop() override;
    bool GoBack() override;
    bool GoForward() override;
    void Refresh2() override;
    bool ExecWB(int command, int option) override;
    QString LocationURL() const override;
    QString LocationName() const override;
    bool isLoading() const override { return m_loading; }
    void discard() override;
    bool showsCrashNotice() const override;
    QWebEnginePage *enginePage() const override;
    void findText(const QString &text, bool backward, bool matchCase) override;
    void setZoomPercent(int percent) override;
    void revive() override;
    void exitFullScreen() override;
    QByteArray saveHistory() const override;
    bool canGoBack() const override;
    int zoomPercent() const override;
    void restorePage(const QByteArray &history, const QString &address, const QString &caption,
                     int zoomPercent) override;
    bool holdsRestoredPage() const override { return m_restored.has_value(); }
    void forgetPermission(const QString &origin, const QString &feature) override;

    // The engine's view and page, started for this call when the engine is held.
    QWebEngineView *engineView();
    PageEngine *pageEngine() const;
    // False until the engine runs (see Engine::hold).
    bool hasEngine() const { return m_engine != nullptr; }
    // Where the engine's page asks its questions (see SitePermissions).
    PermissionBar *permissionBar() const { return m_permissionBar; }

    // What the engine's page reports of its loads and its process.
    void pageLoadStarted();
    void pageUrlChanged();
    void pageLoadFinished(bool ok);
    void pageProcessEnded();

protected:
    bool event(QEvent *event) override;

private:
    // Builds the engine's view and page, and loads what waited for them.
    void startEngine();
    void restack();
    // Loads the restored page once the view is in front.
    void loadRestoredPage();
    void updateCover();

    PageEngine *m_engine = nullptr; // null until the engine runs
    QWidget *m_blank = nullptr;     // stands in for the page until then
    std::optional<QUrl> m_pendingAddress;
    int m_zoomPercent = 100;
    QLabel *m_crashNotice = nullptr;
    QStackedLayout *m_stack = nullptr;
    QWidget *m_body = nullptr; // holds the permission bar, the page and the crash notice
    PermissionBar *m_permissionBar = nullptr;
    bool m_coverPending = false;
    bool m_loading = false;
    int m_findRequest = 0; // the latest findText; older answers are dropped
    struct RestoredPage
    {
        QByteArray history;
        QString address;
        QString caption;
        int zoomPercent = 100;
    };
    std::optional<RestoredPage> m_restored; // waiting to be shown
};
