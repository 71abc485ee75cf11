// The one on-disk web profile "Corvane" that every view of the process shares,
// so cookies, logins and site storage survive a restart.
#pragma once

class QWebEngineProfile;

class BrowserProfile
{
public:
    // Created on first use under AppPaths::profileFolder(); lives as long as
    // the application object. A private browser's lives in memory only.
    static QWebEngineProfile *profile();
};
