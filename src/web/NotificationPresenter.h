// Shows the notifications of sites the user allowed to send them: on the
// desktop through the freedesktop notification service on the session bus,
// or, where none runs, as a toast in the window's corner for five seconds.
// Clicking one tells the page (its onclick runs) and brings its tab to the
// front; a notification closed on either side is closed on the other.
#pragma once

#include <QHash>
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QUrl>
#include <functional>
#include <memory>

class QWebEngineNotification;
class QWidget;

class NotificationPresenter : public QObject
{
    Q_OBJECT
public:
    static const QString Service; // "org.freedesktop.Notifications"

    // showSite brings the window and a tab of the origin to the front.
    NotificationPresenter(QWidget *window, std::function<void(const QUrl &origin)> showSite);
    ~NotificationPresenter() override;

    // The toast shown in the window (no service), while it shows.
    QLabel *toast() const { return m_toast; }

private slots:
    void onActionInvoked(uint id, const QString &action);
    void onClosed(uint id, uint reason);

private:
    void present(std::unique_ptr<QWebEngineNotification> notification);
    bool serviceRuns() const;
    void sendToDesktop(QWebEngineNotification *notification);
    void showToast(QWebEngineNotification *notification);
    void clicked(QWebEngineNotification *notification);

    QWidget *m_window;
    std::function<void(const QUrl &)> m_showSite;
    // Every notification on show, by the desktop's id (toasts: by 0).
    QHash<uint, std::shared_ptr<QWebEngineNotification>> m_shown;
    QPointer<QLabel> m_toast;
};
