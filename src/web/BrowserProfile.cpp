// The shared on-disk web profile, made on first use.
#include "web/BrowserProfile.h"

#include "store/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>
#include <QWebEngineProfile>

QWebEngineProfile *BrowserProfile::profile()
{
    static QPointer<QWebEngineProfile> s_profile;
    if (!s_profile) {
        const QString folder = AppPaths::profileFolder();
        QDir().mkpath(folder);
        s_profile = new QWebEngineProfile(QStringLiteral("Corvane"), QCoreApplication::instance());
        s_profile->setPersistentStoragePath(folder);
        s_profile->setCachePath(AppPaths::joinPath(folder, QStringLiteral("cache")));
        s_profile->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
    }
    return s_profile;
}
