// Fuzz target for the reader of Hpage.dat and WebHis.dat. Any bytes must
// read without a crash or a run-away cost, and what was read must survive
// being written again: every field as a record of its own, all fields as a
// history file, and any text through the encoding.
#include "store/RecordFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// With CORVANE_FUZZ_REPEAT set (run.sh's scaling pass over the corpus)
// each input is repeated to about 128 KB before it is read, so that a
// cost growing faster than the input shows up as a timeout instead of
// hiding in the small inputs that fuzzing tries.
constexpr qsizetype kRepeatedBytes = qsizetype(1) << 17;
const bool g_repeat = std::getenv("CORVANE_FUZZ_REPEAT") != nullptr;

void require(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz_recordfile: %s\n", what);
        std::abort();
    }
}

// What the encoding promises to give back for a text: NUL characters are
// dropped (first, so what they separated is read as one text) and half a
// surrogate pair becomes U+FFFD.
QString expectedBack(const QString &given)
{
    QString text = given;
    text.remove(QChar(0));
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isNull())
            continue;
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
        } else if (c.isSurrogate()) {
            out += QChar(0xFFFD);
        } else {
            out += c;
        }
    }
    return out;
}

void checkRoundTrips(const QByteArray &bytes)
{
    const QStringList fields = RecordFile::readFields(bytes);
    // The home page reads only the first field; it must be the same one.
    require(RecordFile::readFields(bytes, 1) == fields.mid(0, 1), "first field differs");

    QByteArray history;
    for (const QString &field : fields) {
        const QByteArray record = RecordFile::encodeRecord(field);
        require(RecordFile::readFields(record) == QStringList{field}, "record does not read back");
        history += record;
    }
    require(RecordFile::readFields(history) == fields, "history does not read back");

    // A record appended to the file once it is mended reads back as its own
    // field, and mending keeps every field unless it cuts a torn record.
    const RecordFile::AppendFix fix = RecordFile::appendFix(bytes);
    const QByteArray mended = bytes.left(bytes.size() - fix.cut) + fix.suffix;
    require(!RecordFile::appendFix(mended).isNeeded(), "mending does not settle");
    if (fix.cut == 0)
        require(RecordFile::readFields(mended) == fields, "mending changed a field");
    const QString added = QStringLiteral("http://www.added.tld/");
    const QStringList after = RecordFile::readFields(mended + RecordFile::encodeRecord(added));
    require(!after.isEmpty() && after.last() == added, "appended record is lost");

    // The same bytes taken as text, as a user could type it.
    const QString text =
        QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()), bytes.size() / 2);
    const QByteArray encoded = RecordFile::encodeText(text);
    for (const char c : encoded)
        require(c != '"' && c != '\r' && c != '\n' && c != '\0', "encoded text breaks a record");
    require(RecordFile::decodeText(encoded) == expectedBack(text), "text does not decode back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (g_repeat && size > 0) {
        const QByteArray big = bytes.repeated(kRepeatedBytes / bytes.size() + 1);
        RecordFile::readFields(big);
        RecordFile::decodeText(big);
        RecordFile::encodeText(QString::fromLatin1(big));
        RecordFile::appendFix(big);
        return 0;
    }
    checkRoundTrips(bytes);
    return 0;
}
