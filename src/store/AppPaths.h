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
    // appFolder() joined with a file name by exactly one separator, or the
    // same name in fallbackFolder() when that place cannot hold the file.
    static QString filePath(const QString &fileName);
    // Joins folder and file name, adding a separator only when the folder
    // does not already end in one.
    static QString joinPath(const QString &folder, const QString &fileName);

    // The per-user settings store: organisation and application "Corvane",
    // or Corvane.conf in fallbackFolder() when that file cannot be used.
    static std::unique_ptr<QSettings> openSettings();
    static QString settingsPath();
    // Moves the records of an older build's settings file (oldPath) into
    // newPath when newPath does not exist yet; the old file is kept as
    // oldPath + ".moved". Returns whether it moved anything.
    static bool takeOverSettings(const QString &oldPath, const QString &newPath);

    // Where a stored file goes when its own place cannot hold it (a folder
    // or a device in its way, a file that cannot be read and written): the
    // per-user data folder.
    static QString fallbackFolder();
    // True when path can hold a file that is read and written: it is a
    // regular file open to both, or it is missing in a writable folder.
    static bool isUsableFile(const QString &path);
    // path itself when usable, else the same name in fallbackFolder(). A
    // file that can still be read is copied there first, so what it held is
    // kept; a fallback that cannot be used either leaves path. Decided once
    // per run and path, like the application folder, so a run never splits
    // its writes between two places.
    static QString usablePath(const QString &path);
    // Starts deciding afresh, as a new run would.
    static void forgetUsablePaths();

    // A file of the per-user data folder (beside the web profile: session.dat,
    // history.db), or the same name elsewhere by usablePath()'s rules.
    static QString dataFilePath(const QString &fileName);

    // On-disk storage of the web profile (cookies, cache, logins).
    static QString profileFolder();

    // Test seams; an empty text goes back to the default.
    static void setAppFolder(const QString &folder);
    static void setSettingsPath(const QString &path);
    static void setProfileFolder(const QString &folder);
    static void setFallbackFolder(const QString &folder);

    // The application folder for an executable in exeFolder: that folder,
    // unless it cannot be written or belongs to an installed copy (marked
    // by share/corvane/installed-copy beside it); then userFolder.
    static QString chooseAppFolder(const QString &exeFolder, const QString &userFolder);

    // True when a file can be created in the folder.
    static bool isWritableFolder(const QString &folder);

private:
    static QString decideUsablePath(const QString &path);
};
