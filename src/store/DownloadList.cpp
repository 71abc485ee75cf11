// The finished-downloads file: reading, writing, the cap.
#include "store/DownloadList.h"

#include "store/AppPaths.h"
#include "store/PrivateMode.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {
const QString kFileName = QStringLiteral("Downloads.dat");
} // namespace

QString DownloadList::Entry::path() const
{
    return QDir(folder).filePath(name);
}

bool DownloadList::Entry::operator==(const Entry &other) const
{
    return name == other.name && folder == other.folder && size == other.size &&
           finished == other.finished;
}

QVector<DownloadList::Entry> DownloadList::parse(const QByteArray &bytes)
{
    QVector<Entry> entries;
    for (const QByteArray &line : bytes.left(MaxBytes).split('\n')) {
        if (entries.size() >= Limit)
            break;
        const QJsonObject object = QJsonDocument::fromJson(line).object();
        Entry entry;
        entry.name = object.value(QLatin1String("name")).toString();
        entry.folder = object.value(QLatin1String("folder")).toString();
        entry.size = qint64(object.value(QLatin1String("size")).toDouble(-1));
        entry.finished =
            QDateTime::fromString(object.value(QLatin1String("finished")).toString(), Qt::ISODate);
        // A name is one file in its folder, never a path of its own.
        if (entry.name.isEmpty() || entry.name.contains(QLatin1Char('/')) ||
            entry.name == QLatin1String("..") || !QDir::isAbsolutePath(entry.folder))
            continue;
        if (entry.size < 0)
            entry.size = -1;
        entries.append(entry);
    }
    return entries;
}

QByteArray DownloadList::format(const QVector<Entry> &entries)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < entries.size() && i < Limit; ++i) {
        const Entry &entry = entries.at(i);
        const QJsonObject object{
            {QLatin1String("name"), entry.name},
            {QLatin1String("folder"), entry.folder},
            {QLatin1String("size"), double(entry.size)},
            {QLatin1String("finished"), entry.finished.toUTC().toString(Qt::ISODate)}};
        bytes += QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
    }
    return bytes;
}

QString DownloadList::filePath()
{
    return AppPaths::filePath(kFileName);
}

QVector<DownloadList::Entry> DownloadList::load()
{
    QFile file(filePath());
    // Only a regular file: a FIFO would wait for a writer for ever.
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    return parse(file.read(MaxBytes));
}

bool DownloadList::save(const QVector<Entry> &entries)
{
    if (PrivateMode::isOn())
        return true; // a private browser's downloads are listed for its run only
    const QByteArray bytes = format(entries);
    QSaveFile file(filePath());
    // A writable file in a folder that is not still gets written in place.
    file.setDirectWriteFallback(true);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}
