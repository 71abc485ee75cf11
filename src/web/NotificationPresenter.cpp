// Site notifications on the desktop or in the window.
#include "web/NotificationPresenter.h"

#include "web/BrowserProfile.h"
#include "web/Engine.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QWebEngineNotification>
#include <QWebEngineProfile>
#include <QWidget>

const QString NotificationPresenter::Service = QStringLiteral("org.freedesktop.Notifications");

namespace {
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
constexpr int ToastMs = 5000;

// The toast tells its presenter when it is clicked.
class Toast : public QLabel
{
public:
    std::function<void()> onClick;
    using QLabel::QLabel;

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && onClick)
            onClick();
    }
};
} // namespace

NotificationPresenter::NotificationPresenter(QWidget *window,
                                             std::function<void(const QUrl &)> showSite)
    : QObject(window), m_window(window), m_showSite(std::move(showSite))
{
    Engine::whenStarted(this, [this] {
        BrowserProfile::profile()->setNotificationPresenter(
            [this](std::unique_ptr<QWebEngineNotification> notification) {
                present(std::move(notification));
            });
    });
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        bus.connect(Service, Path, Service, QStringLiteral("ActionInvoked"), this,
                    SLOT(onActionInvoked(uint, QString)));
        bus.connect(Service, Path, Service, QStringLiteral("NotificationClosed"), this,
                    SLOT(onClosed(uint, uint)));
    }
}

NotificationPresenter::~NotificationPresenter()
{
    if (!Engine::held())
        BrowserProfile::profile()->setNotificationPresenter({});
}

bool NotificationPresenter::serviceRuns() const
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return false;
    return bus.interface()->isServiceRegistered(Service).value() ||
           bus.interface()->activatableServiceNames().value().contains(Service);
}

void NotificationPresenter::present(std::unique_ptr<QWebEngineNotification> notification)
{
    QWebEngineNotification *shown = notification.get();
    auto kept = std::shared_ptr<QWebEngineNotification>(std::move(notification));
    // A page may close its notification before the desktop has shown it.
    connect(shown, &QWebEngineNotification::closed, this, [this, shown] {
        for (auto it = m_shown.begin(); it != m_shown.end(); ++it) {
            if (it.value().get() != shown)
                continue;
            if (it.key() != 0)
                QDBusConnection::sessionBus().call(
                    QDBusMessage::createMethodCall(Service, Path, Service,
                                                   QStringLiteral("CloseNotification"))
                        << it.key(),
                    QDBus::NoBlock);
            m_shown.erase(it);
            return;
        }
    });
    shown->show(); // the page's onshow
    if (serviceRuns()) {
        // Held under a temporary key until the desktop gives its id.
        const uint pending = 0x80000000u | uint(m_shown.size());
        m_shown.insert(pending, kept);
        QDBusMessage call =
            QDBusMessage::createMethodCall(Service, Path, Service, QStringLiteral("Notify"));
        call << QStringLiteral("Corvane") << uint(0) << QStringLiteral("corvane") << shown->title()
             << shown->message() << QStringList{QStringLiteral("default"), tr("Open")}
             << QVariantMap() << int(-1);
        auto *watcher =
            new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this,
                [this, watcher, pending, kept](QDBusPendingCallWatcher *) {
                    watcher->deleteLater();
                    const QDBusPendingReply<uint> reply = *watcher;
                    if (!m_shown.remove(pending))
                        return; // closed meanwhile
                    if (reply.isError()) {
                        showToast(kept.get());
                        m_shown.insert(0, kept);
                        return;
                    }
                    m_shown.insert(reply.value(), kept);
                });
        return;
    }
    m_shown.insert(0, kept);
    showToast(shown);
}

void NotificationPresenter::showToast(QWebEngineNotification *notification)
{
    delete m_toast;
    auto *toast = new Toast(m_window);
    m_toast = toast;
    toast->setObjectName(QStringLiteral("notificationToast"));
    toast->setTextFormat(Qt::PlainText);
    toast->setWordWrap(true);
    toast->setText(notification->title() + QLatin1Char('\n') + notification->message());
    toast->setFrameShape(QFrame::StyledPanel);
    toast->setAutoFillBackground(true);
    toast->setMargin(8);
    toast->setMaximumWidth(320);
    toast->adjustSize();
    toast->move(m_window->width() - toast->width() - 16, m_window->height() - toast->height() - 40);
    toast->onClick = [this, notification] {
        clicked(notification);
        if (m_toast)
            m_toast->deleteLater();
    };
    toast->show();
    toast->raise();
    const QPointer<QLabel> guard(toast);
    QTimer::singleShot(ToastMs, this, [this, guard, notification] {
        if (!guard)
            return;
        guard->deleteLater();
        if (m_shown.value(0).get() == notification) {
            m_shown.take(0)->close();
        }
    });
}

void NotificationPresenter::clicked(QWebEngineNotification *notification)
{
    notification->click();
    if (m_showSite)
        m_showSite(notification->origin());
}

void NotificationPresenter::onActionInvoked(uint id, const QString &)
{
    if (const auto notification = m_shown.value(id))
        clicked(notification.get());
}

void NotificationPresenter::onClosed(uint id, uint)
{
    if (const auto notification = m_shown.take(id))
        notification->close();
}
