// Per-page permission requests and their answers.
#include "web/SitePermissions.h"

#include "store/PermissionStore.h"
#include "web/PermissionBar.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

namespace {
using Feature = QWebEnginePage::Feature;

QString originText(const QUrl &origin)
{
    return origin.toString(QUrl::RemovePath | QUrl::StripTrailingSlash);
}

// Every feature a site may ask for: its stored name and the words of its
// question ("<origin> wants to ...").
const struct
{
    Feature feature;
    const char *name;
    const char *words;
} Features[] = {
    {Feature::Notifications, "notifications", QT_TR_NOOP("show notifications")},
    {Feature::Geolocation, "location", QT_TR_NOOP("know your location")},
    {Feature::MediaAudioCapture, "microphone", QT_TR_NOOP("use your microphone")},
    {Feature::MediaVideoCapture, "camera", QT_TR_NOOP("use your camera")},
    {Feature::MediaAudioVideoCapture, "camera-microphone",
     QT_TR_NOOP("use your camera and microphone")},
    {Feature::MouseLock, "pointer-lock", QT_TR_NOOP("lock the mouse pointer")},
    {Feature::DesktopVideoCapture, "screen", QT_TR_NOOP("share your screen")},
    {Feature::DesktopAudioVideoCapture, "screen", QT_TR_NOOP("share your screen")},
};

bool isCapture(Feature feature)
{
    return feature == Feature::MediaAudioCapture || feature == Feature::MediaVideoCapture ||
           feature == Feature::MediaAudioVideoCapture || feature == Feature::DesktopVideoCapture ||
           feature == Feature::DesktopAudioVideoCapture;
}
} // namespace

QString SitePermissions::featureName(Feature feature)
{
    for (const auto &each : Features)
        if (each.feature == feature)
            return QString::fromLatin1(each.name);
    return QString();
}

QString SitePermissions::featureWords(Feature feature)
{
    for (const auto &each : Features)
        if (each.feature == feature)
            return tr(each.words);
    return QString();
}

bool SitePermissions::hasLocationSource()
{
    static const bool found = [] {
        QDBusConnection bus = QDBusConnection::systemBus();
        if (!bus.isConnected() || !bus.interface())
            return false;
        const QString service = QStringLiteral("org.freedesktop.GeoClue2");
        return bus.interface()->isServiceRegistered(service).value() ||
               bus.interface()->activatableServiceNames().value().contains(service);
    }();
    return found;
}

SitePermissions::SitePermissions(QWebEnginePage *page, PermissionBar *bar)
    : QObject(page), m_page(page), m_bar(bar)
{
    connect(page, &QWebEnginePage::featurePermissionRequested, this, &SitePermissions::requested);
    connect(page, &QWebEnginePage::featurePermissionRequestCanceled, this,
            &SitePermissions::cancelled);
    // A new document: what the old one asked goes unanswered no longer.
    connect(page, &QWebEnginePage::loadStarted, this, [this] {
        denyAll();
        setCapturing(false);
    });
    connect(bar, &PermissionBar::answered, this, &SitePermissions::answerFront);
    connect(page, &QWebEnginePage::urlChanged, this, &SitePermissions::applyStored);
}

void SitePermissions::applyStored(const QUrl &url)
{
    const QString site = PermissionStore::originOf(url.toString());
    if (site.isEmpty() || site == m_appliedSite)
        return;
    m_appliedSite = site;
    const QUrl origin(site);
    for (const auto &[name, answer] : PermissionStore::answersFor(site)) {
        for (const auto &each : Features) {
            if (name == QLatin1String(each.name))
                m_page->setFeaturePermission(origin, each.feature,
                                             answer == PermissionStore::Answer::Allow
                                                 ? QWebEnginePage::PermissionGrantedByUser
                                                 : QWebEnginePage::PermissionDeniedByUser);
        }
    }
}

SitePermissions::~SitePermissions()
{
    m_queue.clear(); // the page goes with us; nothing is left to answer
}

void SitePermissions::requested(const QUrl &origin, Feature feature)
{
    const QString name = featureName(feature);
    const QString site = PermissionStore::originOf(origin.toString());
    const Request request{origin, feature};
    if (name.isEmpty()) {
        answer(request, false);
        return;
    }
    if (feature == Feature::Geolocation && !hasLocationSource()) {
        answer(request, false, true);
        emit statusText(tr("This system has no location service: %1 was told no when it asked "
                           "for your location.")
                            .arg(originText(origin)));
        return;
    }
    switch (PermissionStore::load(site, name)) {
    case PermissionStore::Answer::Allow:
        answer(request, true);
        return;
    case PermissionStore::Answer::Block:
        answer(request, false);
        return;
    case PermissionStore::Answer::Ask:
        break;
    }
    // However often a page asks the same, it gets one question; the answer
    // goes to every one of its requests.
    for (const Request &open : std::as_const(m_queue))
        if (open.origin == origin && open.feature == feature)
            return;
    m_queue.append(request);
    if (m_queue.size() == 1)
        showFront();
}

void SitePermissions::cancelled(const QUrl &origin, Feature feature)
{
    for (qsizetype i = 0; i < m_queue.size(); ++i) {
        if (m_queue[i].origin == origin && m_queue[i].feature == feature) {
            m_queue.removeAt(i);
            if (i == 0)
                showFront();
            return;
        }
    }
}

void SitePermissions::answer(const Request &request, bool allow, bool once)
{
    m_page->setFeaturePermission(request.origin, request.feature,
                                 allow ? QWebEnginePage::PermissionGrantedByUser
                                       : QWebEnginePage::PermissionDeniedByUser);
    if (once)
        m_page->setFeaturePermission(request.origin, request.feature,
                                     QWebEnginePage::PermissionUnknown);
    if (allow && isCapture(request.feature))
        setCapturing(true);
}

void SitePermissions::answerFront(bool allow, bool remember)
{
    if (m_queue.isEmpty()) {
        m_bar->hide();
        return;
    }
    const Request request = m_queue.takeFirst();
    if (remember) {
        const QString site = PermissionStore::originOf(request.origin.toString());
        if (!site.isEmpty() && !PermissionStore::save(site, featureName(request.feature),
                                                      allow ? PermissionStore::Answer::Allow
                                                            : PermissionStore::Answer::Block))
            emit statusText(tr("The answer could not be stored; the site will ask again."));
        emit answersChanged();
    }
    answer(request, allow, !remember);
    showFront();
}

void SitePermissions::forget(const QUrl &origin, const QString &feature)
{
    if (PermissionStore::originOf(origin.toString()) == m_appliedSite)
        m_appliedSite.clear();
    for (const auto &each : Features)
        if (feature == QLatin1String(each.name))
            m_page->setFeaturePermission(origin, each.feature, QWebEnginePage::PermissionUnknown);
}

void SitePermissions::showFront()
{
    if (m_queue.isEmpty()) {
        m_bar->hide();
        return;
    }
    const Request &front = m_queue.first();
    m_bar->ask(tr("%1 wants to %2.").arg(originText(front.origin), featureWords(front.feature)));
}

void SitePermissions::denyAll()
{
    const QList<Request> open = std::exchange(m_queue, {});
    for (const Request &request : open)
        answer(request, false, true);
    m_bar->hide();
}

void SitePermissions::setCapturing(bool on)
{
    if (m_capturing == on)
        return;
    m_capturing = on;
    emit capturingChanged(on);
}
