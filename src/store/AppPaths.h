// Where Corvane keeps what it stores: the application folder (home page and
// history files), the settings store (favourites) and the web profile.
// Tests point all three at a temporary folder through the setters.
#pragma once

#include <QString>
#include <memory>

class QSettings;

class AppPaths
{
public:
    // The folder that holds Hpage.dat and WebHis.dat. It is the executable's
    // folder when that can be written, else the per-user data folder (an
    // installed copy); decided once per run.
    static QString appFolder();
    // appFolder() joined with a file name by exactly one separator.
    static QString filePath(const QString &fileName);
    // Joins folder and file name, adding a separator only when the folder
    // does not already end in one.
    static QString joinPath(const QString &folder, const QString &fileName);

    // The per-user settings store: organisation and application "Corvane".
    static std::unique_ptr<QSettings> openSettings();
    static QString settingsPath();

    // On-disk storage of the web profile (cookies, cache, logins).
    static QString profileFolder();

    // Test seams; an empty text goes back to the default.
    static void setAppFolder(const QString &folder);
    static void setSettingsPath(const QString &path);
    static void setProfileFolder(const QString &folder);

    // The application folder for an executable in exeFolder: that folder,
    // unless it cannot be written or belongs to an installed copy (marked
    // by share/corvane/installed-copy beside it); then userFolder.
    static QString chooseAppFolder(const QString &exeFolder, const QString &userFolder);

    // True when a file can be created in the folder.
    static bool isWritableFolder(const QString &folder);
};
