// The record format shared by Hpage.dat and WebHis.dat: a field reader for
// files written by any build (or by hand) and the writer of one record.
// Both files are 8-bit Windows-1252 text; characters the code page cannot
// hold, and the quote and line ends that would break a record, are written
// as percent-encoded UTF-8 so that every record reads back as written.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class RecordFile
{
public:
    // Every field of the bytes, in order, decoded. Spaces and tabs before a
    // field are skipped; a field that starts with a double quote runs to the
    // next double quote and the rest of its line up to a comma or line end
    // is skipped; any other field runs to the next comma or line end. CR LF,
    // a lone LF and a lone CR each end a line; a blank line is one empty
    // field. NUL bytes are ignored (they are never part of a record).
    static QStringList readFields(const QByteArray &bytes);
    // The same, stopping after maxFields fields (a negative limit reads all).
    static QStringList readFields(const QByteArray &bytes, qsizetype maxFields);

    // '"', the encoded text, '"', CR LF.
    static QByteArray encodeRecord(const QString &text);

    // What a file holding bytes needs before a record is appended, so that
    // the record reads back as a field of its own: the number of bytes to cut
    // from its end (a quote opened on the last line and never closed starts
    // a record a crash cut short), then the bytes to add (a line end after a
    // last line without one; a closing quote and line end when a quoted
    // field still runs over line ends at the end).
    struct AppendFix
    {
        qsizetype cut = 0;
        QByteArray suffix;
        bool isNeeded() const { return cut > 0 || !suffix.isEmpty(); }
    };
    static AppendFix appendFix(const QByteArray &bytes);

    // Windows-1252 bytes to text, turning back the percent sequences that
    // encodeText writes and nothing else.
    static QString decodeText(const QByteArray &field);
    // Text to Windows-1252 bytes. '"', CR and LF become %22, %0D, %0A; a
    // character outside the code page becomes its UTF-8 bytes as %XX; a '%'
    // that would otherwise start one of those sequences becomes %25; NUL
    // characters are dropped.
    static QByteArray encodeText(const QString &text);

    // The Windows-1252 byte of a character, or -1 when the code page has none.
    static int cp1252Byte(char32_t ch);
    static char16_t cp1252Char(unsigned char byte);
};
