// The real page view: one QWebEngineView on the shared "Corvane" profile,
// translating the engine's signals into the page-view events the shell uses.
#pragma once

#include "app/PageView.h"

#include <QWebEngineClientCertificateSelection>

#include <optional>

class PermissionBar;
class SitePermissions;
class QAuthenticator;
class QLabel;
class QStackedLayout;
class QWebEngineNewWindowRequest;
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

    // The engine's view, started for this call when the engine is held.
    QWebEngineView *engineView();
    // False until the engine runs (see BrowserProfile::holdEngine).
    bool hasEngine() const { return m_view != nullptr; }
    SitePermissions *permissions() const { return m_permissions; }
    // Lets this view's page take over a new-window request of another page.
    void adopt(QWebEngineNewWindowRequest &request);

    // Opens the page's context menu the way a right-click does (the engine's
    // own entries, less the duplicate "open link in new tab").
    void showContextMenu(const QPoint &pos);

protected:
    bool event(QEvent *event) override;

private:
    // Builds the engine's view and page, and loads what waited for them.
    void startEngine();
    QWebEngineView *engine() const;
    void restack();
    // Loads the restored page once the view is in front.
    void loadRestoredPage();
    void updateCover();
    void onNewWindowRequested(QWebEngineNewWindowRequest &request);
    void onRenderProcessTerminated(int status, int exitCode);
    void connectPage();
    void askCredentials(const QString &prompt, QAuthenticator *auth);
    void chooseClientCertificate(QWebEngineClientCertificateSelection selection);

    QWebEngineView *m_view = nullptr; // null until the engine runs
    QWidget *m_blank = nullptr;       // stands in for the page until then
    QWidget *m_surfaceHint = nullptr; // see the constructor
    std::optional<QUrl> m_pendingAddress;
    int m_zoomPercent = 100;
    QLabel *m_crashNotice = nullptr;
    QStackedLayout *m_stack = nullptr;
    QWidget *m_body = nullptr; // holds the permission bar, the page and the crash notice
    PermissionBar *m_permissionBar = nullptr;
    SitePermissions *m_permissions = nullptr;
    bool m_coverPending = false;
    bool m_loading = false;
    bool m_contextMenuNewWindow = false;
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
