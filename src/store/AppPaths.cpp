// Locations of Corvane's stored data, with overrides for tests.
#include "store/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {
QString g_appFolder;
QString g_settingsPath;
QString g_profileFolder;
QString g_fallbackFolder;
// Which path each stored file uses, decided at its first use in the run.
QHash<QString, QString> g_decidedPaths;

QString userDataFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty())
        folder = QDir::homePath() + QStringLiteral("/.local/share/Corvane");
    QDir().mkpath(folder);
    return folder;
}
} // namespace

bool AppPaths::isWritableFolder(const QString &folder)
{
    QTemporaryFile probe(joinPath(folder, QStringLiteral(".corvane-probe-XXXXXX")));
    return probe.open();
}

QString AppPaths::appFolder()
{
    if (!g_appFolder.isEmpty())
        return g_appFolder;
    static const QString decided =
        chooseAppFolder(QCoreApplication::applicationDirPath(), userDataFolder());
    return decided;
}

QString AppPaths::chooseAppFolder(const QString &exeFolder, const QString &userFolder)
{
    if (exeFolder.isEmpty())
        return userFolder;
    if (QFile::exists(joinPath(exeFolder, QStringLiteral("../share/corvane/installed-copy"))))
        return userFolder;
    if (!isWritableFolder(exeFolder))
        return userFolder;
    return exeFolder;
}

QString AppPaths::joinPath(const QString &folder, const QString &fileName)
{
    if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\')))
        return folder + fileName;
    return folder + QLatin1Char('/') + fileName;
}

QString AppPaths::filePath(const QString &fileName)
{
    return usablePath(joinPath(appFolder(), fileName));
}

QString AppPaths::settingsPath()
{
    if (!g_settingsPath.isEmpty())
        return usablePath(g_settingsPath);
    // On Linux the native store is the INI file ~/.config/Corvane/Corvane.conf.
    static const QString store = [] {
        const QString conf = QSettings(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Corvane"), QStringLiteral("Corvane"))
                                 .fileName();
        const QString ini = QSettings(QSettings::IniFormat, QSettings::UserScope,
                                      QStringLiteral("Corvane"), QStringLiteral("Corvane"))
                                .fileName();
        takeOverSettings(ini, conf);
        return conf;
    }();
    return usablePath(store);
}

bool AppPaths::takeOverSettings(const QString &oldPath, const QString &newPath)
{
    // The first builds wrote Corvane.ini; its favourites move over once.
    if (oldPath == newPath || QFileInfo::exists(newPath) || !QFileInfo(oldPath).isFile())
        return false;
    QDir().mkpath(QFileInfo(newPath).absolutePath());
    if (!QFile::copy(oldPath, newPath))
        return false;
    QFile::setPermissions(newPath, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                       QFile::WriteUser);
    QFile::rename(oldPath, oldPath + QStringLiteral(".moved"));
    return true;
}

QString AppPaths::fallbackFolder()
{
    if (!g_fallbackFolder.isEmpty())
        return g_fallbackFolder;
    return userDataFolder();
}

bool AppPaths::isUsableFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return isWritableFolder(info.absolutePath());
    // Opening a FIFO would wait for a writer; folders and devices never hold
    // a file of ours.
    if (!info.isFile())
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly);
}

QString AppPaths::usablePath(const QString &path)
{
    const auto known = g_decidedPaths.constFind(path);
    if (known != g_decidedPaths.cend())
        return known.value();
    const QString decided = decideUsablePath(path);
    g_decidedPaths.insert(path, decided);
    return decided;
}

void AppPaths::forgetUsablePaths()
{
    g_decidedPaths.clear();
}

QString AppPaths::decideUsablePath(const QString &path)
{
    // A fresh home has no ~/.config/Corvane yet: its folder is made, not
    // taken for one that cannot be written.
    if (!QFileInfo::exists(path))
        QDir().mkpath(QFileInfo(path).absolutePath());
    if (isUsableFile(path))
        return path;
    const QString folder = fallbackFolder();
    const QString fallback = joinPath(folder, QFileInfo(path).fileName());
    if (QFileInfo(fallback).absoluteFilePath() == QFileInfo(path).absoluteFilePath())
        return path;
    QDir().mkpath(folder);
    if (!QFileInfo::exists(fallback) && QFileInfo(path).isFile() && QFile::copy(path, fallback)) {
        // The copy takes the permissions of a read-only original.
        QFile::setPermissions(fallback, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                            QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther);
    }
    if (!isUsableFile(fallback))
        return path;
    return fallback;
}

std::unique_ptr<QSettings> AppPaths::openSettings()
{
    return std::make_unique<QSettings>(settingsPath(), QSettings::IniFormat);
}

QString AppPaths::dataFilePath(const QString &fileName)
{
    return joinPath(fallbackFolder(), fileName);
}

QString AppPaths::profileFolder()
{
    if (!g_profileFolder.isEmpty())
        return g_profileFolder;
    return joinPath(userDataFolder(), QStringLiteral("profile"));
}

void AppPaths::setAppFolder(const QString &folder)
{
    g_appFolder = folder;
}
void AppPaths::setSettingsPath(const QString &path)
{
    g_settingsPath = path;
}
void AppPaths::setProfileFolder(const QString &folder)
{
    g_profileFolder = folder;
}
void AppPaths::setFallbackFolder(const QString &folder)
{
    g_fallbackFolder = folder;
}
