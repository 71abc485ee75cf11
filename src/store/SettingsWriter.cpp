// The settings store opened for writing, with recovery from killed writers.
#include "store/SettingsWriter.h"

#include "store/AppPaths.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
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

// QSaveFile's temporary copy of the store: its name and a dot, then six
// letters or digits. Matched by hand, not by a pattern: the first pattern
// match on a thread registers a thread-local with the dynamic loader, and at
// start-up that waits for whatever library another thread is loading.
bool SettingsWriter::isTemporaryCopy(const QString &name, const QString &storeName)
{
    if (name.size() != storeName.size() + 7 || !name.startsWith(storeName) ||
        name.at(storeName.size()) != QLatin1Char('.'))
        return false;
    for (qsizetype i = storeName.size() + 1; i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')))
            return false;
    }
    return true;
}

void SettingsWriter::removeStaleCopies()
{
    const QFileInfo store(AppPaths::settingsPath());
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QFileInfoList candidates = store.dir().entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo &file : candidates) {
        if (isTemporaryCopy(file.fileName(), store.fileName()) &&
            file.lastModified().toUTC().secsTo(now) > kStaleSaveFileSecs)
            QFile::remove(file.filePath());
    }
}

bool SettingsWriter::written(const QSettings &settings)
{
    return settings.status() != QSettings::AccessError;
}
