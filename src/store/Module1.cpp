// Home page and history files, favourites table and store, tab counting.
#include "store/Module1.h"

#include "store/AddressRules.h"
#include "store/AppPaths.h"
#include "store/FavMenuItems.h"
#include "store/FavRecord.h"
#include "store/RecordFile.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QPointer>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSettings>
#include <QTabBar>
#include <QtDebug>

#include <memory>

namespace {

const QString kHomePageFile = QStringLiteral("Hpage.dat");
const QString kHistoryFile = QStringLiteral("WebHis.dat");
const QString kFavoritesGroup = QStringLiteral("Favorites");

// A damaged file can be any size; nothing sensible lies beyond this.
constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;
// Longer fields are damage, not addresses (the engine itself refuses URLs
// over 2 MB); one such line would make the address list slow to measure.
constexpr qsizetype kMaxEntryChars = 64 * 1024;
// Enough for the first record of the home page file behind some damage.
constexpr qint64 kHomePageBytes = 1024 * 1024;
// Pending events run between batches so a long history keeps the window
// alive without paying for an event loop pass per entry.
constexpr qsizetype kHistoryBatch = 4096;

QString g_favUrls[Module1::FavCapacity + 1];
QString g_historyText;

// Reads at most limit bytes of a file; false when it cannot be read.
bool readFile(const QString &path, QByteArray *bytes, qint64 limit = kMaxFileBytes)
{
    // Only a regular file: a FIFO would wait for a writer for ever.
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.read(limit);
    return file.error() == QFileDevice::NoError;
}

// True when nothing but a regular file (or nothing at all) is at path.
bool mayWrite(const QString &path)
{
    const QFileInfo info(path);
    return !info.exists() || info.isFile();
}

// What is known of the end of the history file: its size and time when it
// was last read or written here, and what it needs before the next record.
// Another program changing the file makes the next append read it again.
struct HistoryEnd
{
    QString path;
    qint64 size = -1;
    QDateTime modified;
    RecordFile::AppendFix fix;
};
HistoryEnd g_historyEnd;

bool historyEndKnown(const QFileInfo &info)
{
    return g_historyEnd.path == info.absoluteFilePath() && g_historyEnd.size == info.size() &&
           g_historyEnd.modified == info.lastModified();
}

void rememberHistoryEnd(const QString &path, const RecordFile::AppendFix &fix)
{
    const QFileInfo info(path);
    g_historyEnd = {info.absoluteFilePath(), info.size(), info.lastModified(), fix};
}

// Makes the history file end where a new record may start: a record a crash
// cut short would otherwise swallow the next one, as a quoted field runs to
// the next quote, whatever lies between.
void mendHistoryEnd(QFile &file)
{
    RecordFile::AppendFix fix;
    if (historyEndKnown(QFileInfo(file.fileName()))) {
        fix = g_historyEnd.fix;
    } else {
        const qint64 size = file.size();
        const qint64 start = qMax<qint64>(0, size - kMaxFileBytes);
        if (!file.seek(start))
            return;
        fix = RecordFile::appendFix(file.read(size - start));
    }
    if (fix.cut > 0)
        file.resize(file.size() - fix.cut);
    if (!fix.suffix.isEmpty())
        file.write(fix.suffix);
}

bool validSlot(int slot, const char *what)
{
    if (slot >= 0 && slot <= Module1::FavCapacity)
        return true;
    qWarning("Module1::%s: favourites slot %d is outside 0..%d", what, slot, Module1::FavCapacity);
    return false;
}

QString favKey(int slot)
{
    return kFavoritesGroup + QLatin1Char('/') + QString::number(slot);
}

// QSettings writes the store under a lock file. A Corvane killed while it held
// the lock leaves the file behind, at times before it could write its process
// id into it, and the next writer would then wait 30 s for it to turn stale.
// An empty lock older than a second is stale here; the lock of a live writer
// is held for milliseconds.
constexpr int kStaleLockMs = 1000;

void clearStaleLock(const QString &lockPath)
{
    QLockFile lock(lockPath);
    lock.setStaleLockTime(kStaleLockMs);
    if (lock.tryLock(kStaleLockMs + 500))
        lock.unlock();
}

std::unique_ptr<QSettings> openSettingsForWriting()
{
    const QString lockPath = AppPaths::settingsPath() + QLatin1String(".lock");
    // The lock that guards removing a stale lock can be left behind too.
    clearStaleLock(lockPath + QLatin1String(".rmlock"));
    clearStaleLock(lockPath);
    return AppPaths::openSettings();
}

// A kill in the middle of a save can also leave the new store under its
// temporary name ("Corvane.conf.XXXXXX"). Such copies are removed at start-up
// once they are old enough not to belong to a save still under way.
constexpr qint64 kStaleSaveFileSecs = 60;

void removeStaleSaveFiles()
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

} // namespace

const QString Module1::DefaultHomePage = QStringLiteral("www.google.com");
const QString Module1::SearchServiceUrl = QStringLiteral("http://www.google.com/");

QString Module1::GetHomePage()
{
    QByteArray bytes;
    // The first record is all that is read, so the start of a huge file does.
    if (readFile(AppPaths::filePath(kHomePageFile), &bytes, kHomePageBytes)) {
        const QStringList fields = RecordFile::readFields(bytes, 1);
        // An address longer than any the engine takes is damage, like an
        // empty one.
        if (!fields.isEmpty() && !fields.first().isEmpty() &&
            fields.first().size() <= kMaxEntryChars)
            return fields.first();
    }
    SaveHomePage(DefaultHomePage);
    return DefaultHomePage;
}

void Module1::SaveHomePage(const QString &address)
{
    const QString path = AppPaths::filePath(kHomePageFile);
    if (!mayWrite(path))
        return;
    const QByteArray record = RecordFile::encodeRecord(address);
    QSaveFile file(path);
    // A writable file in a folder that is not still gets written in place.
    file.setDirectWriteFallback(true);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(record);
        if (file.commit())
            return;
    }
    // QSaveFile falls back only when the folder refuses with EACCES; a
    // folder marked immutable refuses with EPERM.
    QFile inPlace(path);
    if (inPlace.open(QIODevice::WriteOnly | QIODevice::Truncate))
        inPlace.write(record);
}

void Module1::LoadHistory(QComboBox *combo)
{
    const QPointer<QComboBox> list(combo);
    const QString path = AppPaths::filePath(kHistoryFile);
    if (!QFileInfo::exists(path)) {
        QFile create(path);
        if (create.open(QIODevice::Append))
            create.close();
    }
    QByteArray bytes;
    if (!readFile(path, &bytes))
        return;
    const QStringList fields = RecordFile::readFields(bytes);
    if (bytes.size() == QFileInfo(path).size())
        rememberHistoryEnd(path, RecordFile::appendFix(bytes));
    bytes = QByteArray();

    QStringList batch;
    batch.reserve(kHistoryBatch);
    for (qsizetype start = 0; start < fields.size(); start += kHistoryBatch) {
        // The window may be closed meanwhile; the list pointer then clears.
        QCoreApplication::processEvents();
        batch.clear();
        const qsizetype end = qMin(start + kHistoryBatch, fields.size());
        for (qsizetype i = start; i < end; ++i) {
            const QString &entry = fields.at(i);
            if (entry.size() > kMaxEntryChars)
                continue;
            batch.append(entry);
            g_historyText += entry;
            g_historyText += QLatin1String("\r\n");
        }
        if (list)
            list->addItems(batch);
    }
}

void Module1::AddToHistory(const QString &text)
{
    // An empty text is part of every history, so it is never written.
    if (text.isEmpty() || g_historyText.contains(text))
        return;
    const QString path = AppPaths::filePath(kHistoryFile);
    if (!mayWrite(path))
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append))
        return;
    mendHistoryEnd(file);
    // One write, so a kill leaves the record whole or not there at all
    // (short of one inside the write itself, which the next append mends).
    file.write(RecordFile::encodeRecord(AddressRules::historyEntry(text)));
    file.flush();
    file.close();
    rememberHistoryEnd(path, {});
}

void Module1::ClearHistory(QComboBox *combo)
{
    const QString path = AppPaths::filePath(kHistoryFile);
    if (mayWrite(path)) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.close();
    }
    if (combo) {
        // Only the list goes; the text in the box stays as the user left it.
        const QString text = combo->currentText();
        combo->clear();
        if (combo->isEditable())
            combo->setEditText(text);
    }
    // Forget what was loaded too, or an address typed again after clearing
    // would count as already saved.
    g_historyText.clear();
    g_historyEnd = {};
}

const QString &Module1::HistoryText()
{
    return g_historyText;
}

void Module1::SetFavUrl(int slot, const QString &address)
{
    if (validSlot(slot, "SetFavUrl"))
        g_favUrls[slot] = address;
}

QString Module1::GetFavUrl(int slot)
{
    if (!validSlot(slot, "GetFavUrl"))
        return QString();
    return g_favUrls[slot];
}

void Module1::LoadFavMenu(FavMenuItems &menu)
{
    removeStaleSaveFiles();
    const std::unique_ptr<QSettings> settings = AppPaths::openSettings();
    for (int key = 1; key <= FavCapacity; ++key) {
        // The table has no slot beyond FavCapacity, so neither has the menu.
        const int index = menu.count();
        if (index > FavCapacity)
            break;
        const QVariant stored = settings->value(favKey(key));
        // An unquoted value with commas, edited by hand, comes back as a list.
        const QString value = stored.typeId() == QMetaType::QStringList
                                  ? stored.toStringList().join(QLatin1Char(','))
                                  : stored.toString();
        QString name;
        QString address;
        if (!FavRecord::split(value, &name, &address))
            break;
        QAction *item = menu.load(index);
        if (!item)
            break;
        item->setVisible(true);
        menu.setCaption(index, name);
        SetFavUrl(index, address);
    }
}

bool Module1::SaveFav(const QString &name, const QString &address, int slot)
{
    if (slot < 1 || slot > FavCapacity) {
        qWarning("Module1::SaveFav: favourites slot %d is outside 1..%d", slot, FavCapacity);
        return false;
    }
    const std::unique_ptr<QSettings> settings = openSettingsForWriting();
    settings->setValue(favKey(slot), FavRecord::join(name, address));
    settings->sync();
    // A FormatError only says that lines of the old file could not be read
    // (they are dropped); the value was written all the same.
    return settings->status() != QSettings::AccessError;
}

bool Module1::DeleteFav(int slot)
{
    const std::unique_ptr<QSettings> settings = openSettingsForWriting();
    settings->remove(favKey(slot));
    settings->sync();
    return settings->status() != QSettings::AccessError;
}

int Module1::CountVisibleTabs(const QTabBar *tabs)
{
    if (!tabs)
        return 0;
    int visible = 0;
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->isTabVisible(i))
            ++visible;
    }
    return visible;
}

bool Module1::IsFirstVisibleTab(const QTabBar *tabs, int index)
{
    int first = 0; // also when no tab is visible
    if (tabs) {
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->isTabVisible(i)) {
                first = i;
                break;
            }
        }
    }
    return first == index;
}

int Module1::NextVisibleTab(const QTabBar *tabs)
{
    if (!tabs)
        return 0;
    for (int i = tabs->currentIndex() + 1; i < tabs->count(); ++i) {
        if (tabs->isTabVisible(i))
            return i;
    }
    return 0;
}

void Module1::reset()
{
    for (QString &url : g_favUrls)
        url.clear();
    g_historyText.clear();
    g_historyEnd = {};
    AppPaths::forgetUsablePaths();
}
