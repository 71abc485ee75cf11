// Reader and writer of the quoted-record files, with the Windows-1252 code
// page built in so that the files read the same on every system.
#include "store/RecordFile.h"

#include <cstring>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F. The five bytes the
// code page leaves undefined map to the control characters of the same
// number, as Windows itself reads them, so every byte has a character.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

template <typename Unit> int hexDigit(Unit c)
{
    // Only the upper-case digits that the writer produces: a lower-case
    // escape in an address was typed that way and stays as it is.
    if (c >= '0' && c <= '9')
        return int(c - '0');
    if (c >= 'A' && c <= 'F')
        return int(c - 'A') + 10;
    return -1;
}

// The byte written as two hex digits after position j, or -1.
template <typename Unit> int hexPairAfter(const Unit *s, qsizetype n, qsizetype j)
{
    if (j + 2 >= n)
        return -1;
    const int high = hexDigit(s[j + 1]);
    const int low = hexDigit(s[j + 2]);
    if (high < 0 || low < 0)
        return -1;
    return high * 16 + low;
}

// The length of the escape that starts at position j, where s[j] is a '%',
// and the character it stands for; 0 when the text there is no escape.
// "%25" counts only in front of what would itself be an escape, so a '%'
// that an address carried before the encoding existed is read unchanged.
template <typename Unit> qsizetype escapeAt(const Unit *s, qsizetype n, qsizetype j, char32_t *ch)
{
    // Skip a run of "%25" prefixes iteratively; a long run must not recurse.
    qsizetype base = j;
    while (hexPairAfter(s, n, base) == 0x25)
        base += 2; // the "25" stands for a '%' in front of what follows
    int first = hexPairAfter(s, n, base);
    qsizetype length = 0;
    char32_t decoded = 0;
    if (first == 0x22 || first == 0x0D || first == 0x0A) {
        decoded = char32_t(first);
        length = 3;
    } else if (first >= 0xC2 && first <= 0xF4) {
        int count;
        char32_t minimum;
        if (first <= 0xDF) {
            count = 2;
            decoded = char32_t(first & 0x1F);
            minimum = 0x80;
        } else if (first <= 0xEF) {
            count = 3;
            decoded = char32_t(first & 0x0F);
            minimum = 0x800;
        } else {
            count = 4;
            decoded = char32_t(first & 0x07);
            minimum = 0x10000;
        }
        for (int k = 1; k < count; ++k) {
            const qsizetype group = base + 3 * k;
            if (group >= n || s[group] != '%')
                return 0;
            const int next = hexPairAfter(s, n, group);
            if (next < 0x80 || next > 0xBF)
                return 0;
            decoded = (decoded << 6) | char32_t(next & 0x3F);
        }
        if (decoded < minimum || decoded > 0x10FFFF || (decoded >= 0xD800 && decoded <= 0xDFFF))
            return 0;
        // A character the code page holds is always written as its byte.
        if (RecordFile::cp1252Byte(decoded) >= 0)
            return 0;
        length = 3 * count;
    } else {
        return 0;
    }
    if (base != j) {
        *ch = U'%';
        return 3;
    }
    *ch = decoded;
    return length;
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

void appendHex(QByteArray &out, unsigned char byte)
{
    static const char digits[] = "0123456789ABCDEF";
    out.append('%');
    out.append(digits[byte >> 4]);
    out.append(digits[byte & 0x0F]);
}

// The UTF-8 bytes of a character from U+0080 up, each as %XX. Done by hand:
// QString::fromUcs4 would take a U+FEFF for a byte-order mark and drop it.
void appendUtf8Escapes(QByteArray &out, char32_t ch)
{
    if (ch < 0x800) {
        appendHex(out, static_cast<unsigned char>(0xC0 | (ch >> 6)));
    } else if (ch < 0x10000) {
        appendHex(out, static_cast<unsigned char>(0xE0 | (ch >> 12)));
        appendHex(out, static_cast<unsigned char>(0x80 | ((ch >> 6) & 0x3F)));
    } else {
        appendHex(out, static_cast<unsigned char>(0xF0 | (ch >> 18)));
        appendHex(out, static_cast<unsigned char>(0x80 | ((ch >> 12) & 0x3F)));
        appendHex(out, static_cast<unsigned char>(0x80 | ((ch >> 6) & 0x3F)));
    }
    appendHex(out, static_cast<unsigned char>(0x80 | (ch & 0x3F)));
}

} // namespace

char16_t RecordFile::cp1252Char(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControls[byte - 0x80];
    return char16_t(byte);
}

int RecordFile::cp1252Byte(char32_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return int(ch);
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == ch)
            return 0x80 + i;
    }
    return -1;
}

QString RecordFile::decodeText(const QByteArray &field)
{
    const auto *s = reinterpret_cast<const unsigned char *>(field.constData());
    const qsizetype n = field.size();

    bool plain = true;
    for (qsizetype i = 0; i < n && plain; ++i)
        plain = s[i] < 0x80 && s[i] != '%';
    if (plain)
        return QString::fromLatin1(field);

    QString text;
    text.reserve(n);
    for (qsizetype i = 0; i < n;) {
        if (s[i] == '%') {
            char32_t ch = 0;
            const qsizetype length = escapeAt(s, n, i, &ch);
            if (length > 0) {
                if (ch > 0xFFFF) {
                    text.append(QChar(QChar::highSurrogate(ch)));
                    text.append(QChar(QChar::lowSurrogate(ch)));
                } else {
                    text.append(QChar(char16_t(ch)));
                }
                i += length;
                continue;
            }
        }
        text.append(QChar(cp1252Char(s[i])));
        ++i;
    }
    return text;
}

QByteArray RecordFile::encodeText(const QString &given)
{
    // NUL characters cannot be stored; drop them first, so that whether a
    // '%' starts an escape is judged on the text as it will be written.
    QString text = given;
    text.remove(QChar(0));
    const char16_t *s = reinterpret_cast<const char16_t *>(text.constData());
    const qsizetype n = text.size();
    QByteArray out;
    out.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        char32_t ch = s[i];
        if (QChar::isHighSurrogate(ch) && i + 1 < n && QChar::isLowSurrogate(s[i + 1])) {
            ch = QChar::surrogateToUcs4(s[i], s[i + 1]);
            ++i;
        } else if (QChar::isSurrogate(ch)) {
            ch = 0xFFFD; // half a pair has no UTF-8 form
        }
        switch (ch) {
        case '"':
        case '\r':
        case '\n':
            appendHex(out, static_cast<unsigned char>(ch));
            continue;
        case '%': {
            char32_t unused;
            if (escapeAt(s, n, i, &unused) > 0)
                out.append("%25");
            else
                out.append('%');
            continue;
        }
        default:
            break;
        }
        const int byte = cp1252Byte(ch);
        if (byte >= 0) {
            out.append(char(byte));
            continue;
        }
        appendUtf8Escapes(out, ch);
    }
    return out;
}

QByteArray RecordFile::encodeRecord(const QString &text)
{
    QByteArray record = encodeText(text);
    record.prepend('"');
    record.append("\"\r\n");
    return record;
}

RecordFile::AppendFix RecordFile::appendFix(const QByteArray &bytes)
{
    AppendFix fix;
    QByteArray text = bytes;
    text.removeIf([](char c) { return c == '\0'; }); // as the reader sees it
    if (text.isEmpty())
        return fix;

    // Follow the reader to the end to learn whether a quoted field is open.
    const char *d = text.constData();
    const qsizetype n = text.size();
    qsizetype openQuote = -1;
    qsizetype pos = 0;
    while (pos < n) {
        while (pos < n && (d[pos] == ' ' || d[pos] == '\t'))
            ++pos;
        if (pos < n && d[pos] == '"') {
            const void *quote = std::memchr(d + pos + 1, '"', size_t(n - pos - 1));
            if (!quote) {
                openQuote = pos;
                break;
            }
            pos = static_cast<const char *>(quote) - d + 1;
        }
        while (pos < n && d[pos] != ',' && !isLineEnd(d[pos]))
            ++pos;
        ++pos; // the comma or the line end
    }

    if (openQuote >= 0) {
        const bool spansLines = std::memchr(d + openQuote, '\n', size_t(n - openQuote)) ||
                                std::memchr(d + openQuote, '\r', size_t(n - openQuote));
        if (!spansLines) {
            // Cut from the quote on, NUL bytes and all; what is before it
            // was read in full and stays.
            qsizetype raw = 0;
            for (qsizetype seen = 0; raw < bytes.size(); ++raw) {
                if (bytes.at(raw) != '\0' && seen++ == openQuote)
                    break;
            }
            // The blanks in front of it go too, or they would make a field.
            while (raw > 0 && (bytes.at(raw - 1) == ' ' || bytes.at(raw - 1) == '\t' ||
                               bytes.at(raw - 1) == '\0'))
                --raw;
            fix.cut = bytes.size() - raw;
            QByteArray before = bytes.left(raw);
            before.removeIf([](char c) { return c == '\0'; });
            if (!before.isEmpty() && !before.endsWith('\n'))
                fix.suffix = before.endsWith('\r') ? QByteArray("\n") : QByteArray("\r\n");
            return fix;
        }
        fix.suffix = "\"\r\n";
        return fix;
    }
    if (!text.endsWith('\n'))
        fix.suffix = text.endsWith('\r') ? QByteArray("\n") : QByteArray("\r\n");
    return fix;
}

QStringList RecordFile::readFields(const QByteArray &bytes)
{
    return readFields(bytes, -1);
}

QStringList RecordFile::readFields(const QByteArray &bytes, qsizetype maxFields)
{
    QByteArray cleaned;
    const QByteArray *source = &bytes;
    if (std::memchr(bytes.constData(), '\0', size_t(bytes.size())) != nullptr) {
        cleaned = bytes;
        cleaned.removeIf([](char c) { return c == '\0'; });
        source = &cleaned;
    }
    const char *d = source->constData();
    const qsizetype n = source->size();

    QStringList fields;
    qsizetype pos = 0;
    bool fieldDue = false; // a comma promises one more field, even at the end
    while ((pos < n || fieldDue) && (maxFields < 0 || fields.size() < maxFields)) {
        fieldDue = false;
        while (pos < n && (d[pos] == ' ' || d[pos] == '\t'))
            ++pos;
        qsizetype start = pos;
        qsizetype end;
        if (pos < n && d[pos] == '"') {
            start = pos + 1;
            const void *quote = std::memchr(d + start, '"', size_t(n - start));
            end = quote ? static_cast<const char *>(quote) - d : n;
            pos = quote ? end + 1 : n;
            while (pos < n && d[pos] != ',' && !isLineEnd(d[pos]))
                ++pos;
        } else {
            while (pos < n && d[pos] != ',' && !isLineEnd(d[pos]))
                ++pos;
            end = pos;
        }
        fields.append(decodeText(QByteArray::fromRawData(d + start, end - start)));
        if (pos < n) {
            if (d[pos] == ',') {
                fieldDue = true;
            } else if (d[pos] == '\r' && pos + 1 < n && d[pos + 1] == '\n') {
                ++pos;
            }
            ++pos;
        }
    }
    return fields;
}
