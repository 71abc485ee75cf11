// The finished downloads of earlier runs: Downloads.dat in the application
// folder, newest first, one download a line, each line a JSON object
//   {"name":"file.zip","folder":"/home/u/Downloads","size":1234,"finished":"2024-05-01T10:00:00Z"}
// ("size" in bytes, -1 when unknown; "finished" in UTC, ISO 8601). Only the
// last Limit downloads are kept. A line that does not read as such an object
// (damage, a hand edit) is skipped; a huge file is read only up to its first
// MaxBytes, so it costs no more than a full list.
#pragma once

#include <QDateTime>
#include <QString>
#include <QVector>

class DownloadList
{
public:
    static constexpr int Limit = 100;
    static constexpr qint64 MaxBytes = 1024 * 1024;

    struct Entry
    {
        QString name;
        QString folder;
        qint64 size = -1;
        QDateTime finished;
        QString path() const;
        bool operator==(const Entry &other) const;
    };

    // The entries in bytes, at most Limit, in file order.
    static QVector<Entry> parse(const QByteArray &bytes);
    // The file's bytes for entries (the first Limit of them).
    static QByteArray format(const QVector<Entry> &entries);

    static QString filePath();
    // The entries of the file; none when it is missing or unreadable.
    static QVector<Entry> load();
    // Replaces the file through QSaveFile; false when it could not be written.
    static bool save(const QVector<Entry> &entries);
};
