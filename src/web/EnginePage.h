// One tab's QWebEngineView and page on the shared profile, driven by its
// page view: its context menu, new windows, sign-in prompts, client
// certificates and the questions sites ask.
#pragma once

#include "web/PageEngine.h"

#include <QObject>
#include <QWebEngineClientCertificateSelection>

class QAuthenticator;
class QWebEngineNewWindowRequest;
class SitePermissions;
class WebEnginePageView;

class EnginePage : public QObject, public PageEngine
{
    Q_OBJECT
public:
    EnginePage(WebEnginePageView *owner, QWidget *body);
    ~EnginePage() override;

    QWidget *widget() const override;
    QWebEngineView *view() const override { return m_view; }
    QWebEnginePage *page() const override;
    void load(const QUrl &url) override;
    void stop() override;
    bool goBack() override;
    bool goForward() override;
    bool canGoBack() const override;
    void reload() override;
    QUrl url() const override;
    QString title() const override;
    bool exec(int command, int option) override;
    void discard() override;
    void revive() override;
    void exitFullScreen() override;
    QByteArray saveHistory() const override;
    bool restoreHistory(const QByteArray &history) override;
    int zoomPercent() const override;
    void setZoomPercent(int percent) override;
    void findText(const QString &text, bool backward, bool matchCase,
                  std::function<void(int active, int count)> found) override;
    void forgetPermission(const QString &origin, const QString &feature) override;

    // Lets this page take over a new-window request of another page.
    void adopt(QWebEngineNewWindowRequest &request);
    // Opens the page's context menu the way a right-click does (the engine's
    // own entries, less the duplicate "open link in new tab").
    void showContextMenu(const QPoint &pos);

private:
    void connectPage();
    void onNewWindowRequested(QWebEngineNewWindowRequest &request);
    void askCredentials(const QString &prompt, QAuthenticator *auth);
    void chooseClientCertificate(QWebEngineClientCertificateSelection selection);

    WebEnginePageView *m_owner;
    QWebEngineView *m_view;
    SitePermissions *m_permissions = nullptr;
    bool m_contextMenuNewWindow = false;
};
