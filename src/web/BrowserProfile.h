// The one on-disk web profile "Corvane" that every view of the process shares,
// so cookies, logins and site storage survive a restart.
#pragma once

#include <functional>

class QObject;
class QWebEngineProfile;

class BrowserProfile
{
public:
    // Created on first use under AppPaths::profileFolder(); lives as long as
    // the application object.
    static QWebEngineProfile *profile();

    // Starting the engine takes longer than building and painting the whole
    // window, so a start may hold it back until the window is on screen.
    // While it is held, the views and the profile's users wait with
    // whenStarted; startEngine lets it go and runs them in order.
    static void holdEngine();
    static bool engineHeld();
    static void startEngine();
    // Runs run at once when the engine is not held, else when it starts
    // (and not at all once context is gone).
    static void whenStarted(QObject *context, std::function<void()> run);
};
