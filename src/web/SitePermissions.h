// Answers what one page's sites ask for (notifications, camera, microphone,
// screen, pointer lock, location): at once from the stored answers, else
// through the page's permission bar, one question at a time with the rest
// queued. Questions still open when the page navigates away, or when the
// tab closes, are answered "denied".
#pragma once

#include <QList>
#include <QObject>
#include <QUrl>
#include <QWebEnginePage>

class PermissionBar;

class SitePermissions : public QObject
{
    Q_OBJECT
public:
    SitePermissions(QWebEnginePage *page, PermissionBar *bar);
    ~SitePermissions() override;

    // The name a feature is stored under and the words of its question
    // ("use your camera"); empty for a feature Corvane never grants.
    static QString featureName(QWebEnginePage::Feature feature);
    static QString featureWords(QWebEnginePage::Feature feature);
    // Whether the engine has a source of positions here: none without a
    // location service on the system bus.
    static bool hasLocationSource();

    // Answers every open question "denied" and hides the bar.
    void denyAll();
    // Makes the engine ask again about the feature (by name) for origin: it
    // keeps every answer given for the rest of the run.
    void forget(const QUrl &origin, const QString &feature);
    // Whether the page may be capturing camera, microphone or screen: one
    // such request was allowed since its last navigation.
    bool capturing() const { return m_capturing; }

signals:
    void statusText(const QString &text);
    // An answer was stored (or forgotten): the status bar's button follows.
    void answersChanged();
    void capturingChanged(bool capturing);

private:
    struct Request
    {
        QUrl origin;
        QWebEnginePage::Feature feature;
    };
    void requested(const QUrl &origin, QWebEnginePage::Feature feature);
    void cancelled(const QUrl &origin, QWebEnginePage::Feature feature);
    // once: the engine forgets the answer as soon as it has passed it on.
    void answer(const Request &request, bool allow, bool once = false);
    void answerFront(bool allow, bool remember);
    void showFront();
    void setCapturing(bool on);
    // Tells the engine the stored answers of the site at url before its
    // page asks (a page reads Notification.permission without asking).
    void applyStored(const QUrl &url);

    QWebEnginePage *m_page;
    PermissionBar *m_bar;
    QList<Request> m_queue; // the front one is on the bar
    bool m_capturing = false;
    QString m_appliedSite; // whose stored answers the engine was last told
};
