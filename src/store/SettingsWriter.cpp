// The settings store opened for writing, with recovery from killed writers.
#include "store/SettingsWriter.h"

#include "store/AppPaths.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSettings>

namespace {

// QSettings writes the store under a lock file. A Corvane killed while it held
// the lock leaves the file behind, at times before it could write its process
// id into it, and the next writer would then wait 30 s for it to turn stale.
// An empty lock older than a second is stale here; the lock of a live writer
// is held for milliseconds.
constexpr int kStaleLockMs = 1000;

// A temporary copy younger than this may belong to a save under way.
constexpr qint64 kStaleSaveFileSecs = 60;

void clearStaleLock(const QString &lockPath)
{
    QLockFile lock(lockPath);
    lock.setStaleLockTime(kStaleLockMs);
    if (lock.tryLock(kStaleLockMs + 500))
        lock.unlock();
}

} // namespace

std::unique_ptr<QSettings> SettingsWriter::open()
{
    const QString lockPath = AppPaths::settingsPath() + QLatin1String(".lock");
    // The lock that guards removing a stale lock can be left behind too.
    clearStaleLock(lockPath + QLatin1String(".rmlock"));
    clearStaleLock(lockPath);
    return AppPaths::openSettings();
}

void SettingsWriter::removeStaleCopies()
{
    const QFileInfo store(AppPaths::settingsPath());
    const QRegularExpression temporaryName(QLatin1Char('^') +
                                           QRegularExpression::escape(store.fileName()) +
                                           QLatin1String("\\.[A-Za-z0-9]{6}$"));
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QFileInfoList candidates = store.dir().entryInfoList(
        {store.fileName() + QLatin1String(".??????")}, QDir::Files | QDir::Hidden);
    for (const QFileInfo &file : candidates) {
        if (temporaryName.match(file.fileName()).hasMatch() &&
            file.lastModified().toUTC().secsTo(now) > kStaleSaveFileSecs)
            QFile::remove(file.filePath());
    }
}

bool SettingsWriter::written(const QSettings &settings)
{
    return settings.status() != QSettings::AccessError;
}
