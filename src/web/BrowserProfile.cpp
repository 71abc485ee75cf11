// The shared on-disk web profile, made on first use.
#include "web/BrowserProfile.h"

#include "store/AppPaths.h"
#include "store/PrivateMode.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

QWebEngineProfile *BrowserProfile::profile()
{
    static QPointer<QWebEngineProfile> s_profile;
    if (s_profile)
        return s_profile;
    if (PrivateMode::isOn()) {
        // No storage name: cookies, cache and site storage live in memory.
        s_profile = new QWebEngineProfile(QCoreApplication::instance());
    } else {
        const QString folder = AppPaths::profileFolder();
        QDir().mkpath(folder);
        s_profile = new QWebEngineProfile(QStringLiteral("Corvane"), QCoreApplication::instance());
        s_profile->setPersistentStoragePath(folder);
        s_profile->setCachePath(AppPaths::joinPath(folder, QStringLiteral("cache")));
        s_profile->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
    }
    // PDF documents open in the engine's own viewer in the tab (it is a
    // plugin); pages may ask to fill the screen.
    QWebEngineSettings *settings = s_profile->settings();
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, true);
    settings->setAttribute(QWebEngineSettings::PdfViewerEnabled, true);
    settings->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, true);
    return s_profile;
}
