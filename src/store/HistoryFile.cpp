// Home page and history files: reading damaged files, appending whole records.
#include "store/HistoryFile.h"

#include "store/PrivateMode.h"

#include "store/AddressRules.h"
#include "store/AppPaths.h"
#include "store/Module1.h"
#include "store/RecordFile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString kHomePageFile = QStringLiteral("Hpage.dat");
const QString kHistoryFile = QStringLiteral("WebHis.dat");

// A damaged file can be any size; nothing sensible lies beyond this.
constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;
// Longer fields are damage, not addresses (the engine itself refuses URLs
// over 2 MB); one such line would make the address list slow to measure.
constexpr qsizetype kMaxEntryChars = 64 * 1024;
// Enough for the first record of the home page file behind some damage.
constexpr qint64 kHomePageBytes = 1024 * 1024;
// The window lets pending events run between batches, so a long history
// keeps it alive without paying for an event loop pass per entry.
constexpr qsizetype kHistoryBatch = 4096;

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

// True when nothing but a regular file (or nothing at all) is at path, and
// this is not a private browser, which leaves the files as they are.
bool mayWrite(const QString &path)
{
    if (PrivateMode::isOn())
        return false;
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

} // namespace

QString HistoryFile::homePage()
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
    saveHomePage(Module1::DefaultHomePage);
    return Module1::DefaultHomePage;
}

void HistoryFile::saveHomePage(const QString &address)
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

void HistoryFile::load(const std::function<void(const QStringList &entries)> &addBatch)
{
    const QString path = AppPaths::filePath(kHistoryFile);
    if (!QFileInfo::exists(path) && mayWrite(path)) {
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
        if (addBatch && !batch.isEmpty())
            addBatch(batch);
    }
}

void HistoryFile::add(const QString &text)
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

void HistoryFile::clear()
{
    const QString path = AppPaths::filePath(kHistoryFile);
    if (mayWrite(path)) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.close();
    }
    // Forget what was loaded too, or an address typed again after clearing
    // would count as already saved.
    g_historyText.clear();
    g_historyEnd = {};
}

const QString &HistoryFile::loadedText()
{
    return g_historyText;
}

void HistoryFile::reset()
{
    g_historyText.clear();
    g_historyEnd = {};
}
