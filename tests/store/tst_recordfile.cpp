// The record files' reader and writer, byte for byte: hand-written files of
// every shape, the exact bytes of a record, and round trips of texts the
// 8-bit format cannot hold directly.
#include "store/RecordFile.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {
QString fromUcs4(char32_t ch)
{
    const char32_t one[] = {ch};
    return QString::fromUcs4(one, 1);
}
} // namespace

class TestRecordFile : public QObject
{
    Q_OBJECT
private slots:
    void readsFields_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("fields");

        // Layout of fields and lines.
        QTest::newRow("empty file") << QByteArray() << QStringList();
        QTest::newRow("one record")
            << QByteArray("\"about:blank\"\r\n") << QStringList{"about:blank"};
        QTest::newRow("no final line end") << QByteArray("\"a\"") << QStringList{"a"};
        QTest::newRow("records in order")
            << QByteArray("\"a\"\r\n\"b\"\r\n\"c\"\r\n") << QStringList{"a", "b", "c"};
        QTest::newRow("lone LF") << QByteArray("\"a\"\n\"b\"\n") << QStringList{"a", "b"};
        QTest::newRow("lone CR") << QByteArray("\"a\"\r\"b\"\r") << QStringList{"a", "b"};
        QTest::newRow("mixed line ends")
            << QByteArray("a\r\nb\nc\rd") << QStringList{"a", "b", "c", "d"};
        QTest::newRow("blank line is one empty field")
            << QByteArray("\"a\"\r\n\r\n\"b\"\r\n") << QStringList{"a", "", "b"};
        QTest::newRow("only a blank line") << QByteArray("\r\n") << QStringList{""};
        QTest::newRow("only spaces") << QByteArray("  \t ") << QStringList{""};
        QTest::newRow("empty record") << QByteArray("\"\"\r\n") << QStringList{""};

        // Quoted fields.
        QTest::newRow("comma inside quotes")
            << QByteArray("\"http://x/?a=1,2\"\r\n") << QStringList{"http://x/?a=1,2"};
        QTest::newRow("spaces inside quotes kept")
            << QByteArray("\"  a b  \"\r\n") << QStringList{"  a b  "};
        QTest::newRow("spaces and tabs before field skipped")
            << QByteArray(" \t \"x\"\r\n\t y\r\n") << QStringList{"x", "y"};
        QTest::newRow("rest of line after quote skipped")
            << QByteArray("\"a\" junk\r\n\"b\"\r\n") << QStringList{"a", "b"};
        QTest::newRow("rest after quote up to comma skipped")
            << QByteArray("\"a\"junk,\"b\"\r\n") << QStringList{"a", "b"};
        QTest::newRow("quote inside ends field early")
            << QByteArray("\"say \"hi\"\" there\r\n\"next\"\r\n") << QStringList{"say ", "next"};
        QTest::newRow("quoted field runs over a line end")
            << QByteArray("\"a\r\nb\"\r\n\"c\"\r\n") << QStringList{"a\r\nb", "c"};
        QTest::newRow("unclosed quote runs to the end")
            << QByteArray("\"a\"\r\n\"bc\r\n") << QStringList{"a", "bc\r\n"};

        // Unquoted fields.
        QTest::newRow("unquoted fields split at commas")
            << QByteArray("a,b, c\r\n") << QStringList{"a", "b", "c"};
        QTest::newRow("unquoted keeps trailing spaces")
            << QByteArray("a  ,b\r\n") << QStringList{"a  ", "b"};
        QTest::newRow("quote inside unquoted field")
            << QByteArray("ab\"c\r\n") << QStringList{"ab\"c"};
        QTest::newRow("comma before line end")
            << QByteArray("a,\r\nb") << QStringList{"a", "", "b"};
        QTest::newRow("comma at end of file") << QByteArray("a,") << QStringList{"a", ""};
        QTest::newRow("two commas") << QByteArray(",,") << QStringList{"", "", ""};

        // Damage.
        QTest::newRow("NUL bytes ignored")
            << QByteArray("\"a\"\r\n\0\0\0\0\"b\"\r\n\0", 14) << QStringList{"a", "b"};
        QTest::newRow("NUL inside a record") << QByteArray("\"a\0b\"\r\n", 7) << QStringList{"ab"};
        QTest::newRow("only NUL bytes") << QByteArray(64, '\0') << QStringList();

        // Code page.
        QTest::newRow("Windows-1252 bytes")
            << QByteArray("\"caf\xE9 \x80 \x93q\x94\"\r\n")
            << QStringList{QStringLiteral("caf\u00E9 \u20AC \u201Cq\u201D")};
        QTest::newRow("undefined code page bytes")
            << QByteArray("\x81\x8D\x8F\x90\x9D")
            << QStringList{QStringLiteral("\u0081\u008D\u008F\u0090\u009D")};
        QTest::newRow("UTF-8 bytes read as code page")
            << QByteArray("\xC3\xA9") << QStringList{QStringLiteral("\u00C3\u00A9")};

        // Escapes the writer produces are turned back.
        QTest::newRow("quote and line ends")
            << QByteArray("\"a%22b%0D%0Ac\"") << QStringList{"a\"b\r\nc"};
        QTest::newRow("UTF-8 of a character outside the code page")
            << QByteArray("\"%E4%B8%AD%D0%96\"") << QStringList{QStringLiteral("\u4E2D\u0416")};
        QTest::newRow("four-byte UTF-8")
            << QByteArray("%F0%9F%98%80") << QStringList{fromUcs4(0x1F600)};
        QTest::newRow("%25 before an escape") << QByteArray("%2522") << QStringList{"%22"};
        QTest::newRow("%25 before UTF-8 run")
            << QByteArray("%25E4%B8%AD") << QStringList{"%E4%B8%AD"};

        // Everything else stays as it stands.
        QTest::newRow("lower-case escapes")
            << QByteArray("%0d%0a%e4%b8%ad") << QStringList{"%0d%0a%e4%b8%ad"};
        QTest::newRow("UTF-8 of a code page character")
            << QByteArray("%C3%A9%E2%82%AC") << QStringList{"%C3%A9%E2%82%AC"};
        QTest::newRow("other escapes") << QByteArray("%20%41%2F%26") << QStringList{"%20%41%2F%26"};
        QTest::newRow("plain %25") << QByteArray("100%25 off") << QStringList{"100%25 off"};
        QTest::newRow("run of %25") << QByteArray("%252525") << QStringList{"%252525"};
        QTest::newRow("truncated UTF-8 run") << QByteArray("%E4%B8") << QStringList{"%E4%B8"};
        QTest::newRow("continuation without lead") << QByteArray("%B8%AD") << QStringList{"%B8%AD"};
        QTest::newRow("overlong UTF-8")
            << QByteArray("%C0%AF%E0%80%AF") << QStringList{"%C0%AF%E0%80%AF"};
        QTest::newRow("UTF-8 surrogate") << QByteArray("%ED%A0%80") << QStringList{"%ED%A0%80"};
        QTest::newRow("beyond Unicode")
            << QByteArray("%F4%90%80%80") << QStringList{"%F4%90%80%80"};
        QTest::newRow("bad hex") << QByteArray("%2G%G2%") << QStringList{"%2G%G2%"};
        QTest::newRow("cut-off escape") << QByteArray("a%2") << QStringList{"a%2"};
    }
    void readsFields()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, fields);
        QCOMPARE(RecordFile::readFields(bytes), fields);
    }

    void stopsAfterFieldLimit()
    {
        const QByteArray bytes("\"a\",\"b\"\r\n\"c\"\r\n");
        QCOMPARE(RecordFile::readFields(bytes, 1), QStringList{"a"});
        QCOMPARE(RecordFile::readFields(bytes, 2), (QStringList{"a", "b"}));
        QCOMPARE(RecordFile::readFields(bytes, 0), QStringList());
    }

    void writesRecord_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("about:blank is 15 bytes")
            << "about:blank" << QByteArray("\"about:blank\"\r\n");
        QTest::newRow("empty") << "" << QByteArray("\"\"\r\n");
        QTest::newRow("comma unchanged") << "a,b" << QByteArray("\"a,b\"\r\n");
        QTest::newRow("quote") << "a\"b" << QByteArray("\"a%22b\"\r\n");
        QTest::newRow("CR LF") << "a\r\nb" << QByteArray("\"a%0D%0Ab\"\r\n");
        QTest::newRow("code page characters")
            << QStringLiteral("caf\u00E9 \u20AC\u0081") << QByteArray("\"caf\xE9 \x80\x81\"\r\n");
        QTest::newRow("outside the code page")
            << QStringLiteral("\u4E2D\u0080") << QByteArray("\"%E4%B8%AD%C2%80\"\r\n");
        QTest::newRow("emoji") << fromUcs4(0x1F600) << QByteArray("\"%F0%9F%98%80\"\r\n");
        QTest::newRow("half a surrogate pair")
            << QString(QChar(0xD800)) << QByteArray("\"%EF%BF%BD\"\r\n");
        // Found by fuzzing: a U+FEFF was taken for a byte-order mark and lost.
        QTest::newRow("zero-width no-break space")
            << QStringLiteral("a\uFEFF") << QByteArray("\"a%EF%BB%BF\"\r\n");
        QTest::newRow("noncharacter U+FFFE")
            << QString(QChar(0xFFFE)) << QByteArray("\"%EF%BF%BE\"\r\n");
        QTest::newRow("NUL dropped") << QString::fromUtf16(u"a\0b", 3) << QByteArray("\"ab\"\r\n");
        QTest::newRow("plain percent")
            << "100% %20 %25 %e4" << QByteArray("\"100% %20 %25 %e4\"\r\n");
        QTest::newRow("percent before escape") << "%22" << QByteArray("\"%2522\"\r\n");
        QTest::newRow("percent before UTF-8 run")
            << "x/%E4%B8%AD" << QByteArray("\"x/%25E4%B8%AD\"\r\n");
        QTest::newRow("percent before code page UTF-8") << "%C3%A9" << QByteArray("\"%C3%A9\"\r\n");
    }
    void writesRecord()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(RecordFile::encodeRecord(text), bytes);
    }

    void roundTrips_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("address") << "http://www.site.tld/";
        QTest::newRow("commas") << "a,b,,c,";
        QTest::newRow("quotes") << "\"quoted\" and \"\"";
        QTest::newRow("line ends") << "one\r\ntwo\nthree\r";
        QTest::newRow("leading and trailing blanks") << " \t x \t ";
        QTest::newRow("Cyrillic") << QStringLiteral("\u041F\u0440\u0438\u0432\u0435\u0442");
        QTest::newRow("CJK") << QStringLiteral("http://\u4F8B\u3048.jp/\u30C6\u30B9\u30C8");
        QTest::newRow("Arabic and Hebrew")
            << QStringLiteral("\u0645\u0631\u062D\u0628\u0627 \u05E9\u05DC\u05D5\u05DD");
        QTest::newRow("emoji") << QStringLiteral("a") + fromUcs4(0x1F600) + fromUcs4(0x1F9E1);
        QTest::newRow("C1 controls") << QStringLiteral("\u0080\u0081\u0085\u009F");
        QTest::newRow("escapes as text") << "%22%0D%0A%25%2522%E4%B8%AD%F0%9F%98%80";
        QTest::newRow("percent runs") << "%%%25%%2522%252525%";
        QTest::newRow("percent and quote") << "%\"%25\"%2\"";
        QTest::newRow("found by fuzzing: U+FEFF after a character")
            << QString::fromUtf16(u"\u0BFD\uFEFF", 2);
        QTest::newRow("U+FEFF first") << QStringLiteral("\uFEFFhttp://a/");

        QString everyCodePageCharacter;
        for (int byte = 1; byte < 256; ++byte)
            everyCodePageCharacter += QChar(RecordFile::cp1252Char(uchar(byte)));
        QTest::newRow("every code page character") << everyCodePageCharacter;
    }
    void roundTrips()
    {
        QFETCH(QString, text);
        QCOMPARE(RecordFile::readFields(RecordFile::encodeRecord(text)), QStringList{text});
    }

    // Found by fuzzing: a NUL (which cannot be stored) between a '%' and
    // "22" hid the escape the '%' needed once the NUL was dropped, and the
    // text came back with a quote in it.
    void nulCannotMakeAnEscape()
    {
        const QString text = QStringLiteral("a%") + QChar(0) + QStringLiteral("22b");
        QCOMPARE(RecordFile::readFields(RecordFile::encodeRecord(text)),
                 QStringList{QStringLiteral("a%22b")});
        // The two halves of a pair a NUL stood between are one character.
        const QString pair = QString(QChar(0xDB44)) + QChar(0) + QChar(0xDD8B);
        QCOMPARE(RecordFile::readFields(RecordFile::encodeRecord(pair)),
                 QStringList{QString(QChar(0xDB44)) + QChar(0xDD8B)});
    }

    // Texts built from the characters that matter to the format, many at a
    // time, all in one file.
    void randomTextsRoundTrip()
    {
        static const char32_t alphabet[] = {
            U'a', U'Z',  U'0',  U'2',  U'5', U'A', U'D',   U'E', U'F', U'8',   U'%',    U'"', U',',
            U' ', U'\t', U'\r', U'\n', U'/', 0xE9, 0x20AC, 0x81, 0x80, 0x4E2D, 0x1F600, 0x416};
        QRandomGenerator random(20261206);
        QStringList texts;
        QByteArray file;
        for (int i = 0; i < 2000; ++i) {
            QString text;
            const int length = random.bounded(0, 24);
            for (int k = 0; k < length; ++k)
                text += fromUcs4(alphabet[random.bounded(int(std::size(alphabet)))]);
            texts.append(text);
            file += RecordFile::encodeRecord(text);
        }
        QCOMPARE(RecordFile::readFields(file), texts);
    }

    // Whatever a damaged file holds, every field the reader finds is stored
    // and read back unchanged.
    void randomBytesGiveFieldsThatRoundTrip()
    {
        static const char alphabet[] = "\"\"\",,\r\n\t %%%25EDAC08xy\x80\x81\xE9\xFF";
        QRandomGenerator random(7);
        for (int round = 0; round < 200; ++round) {
            QByteArray bytes;
            const int length = random.bounded(0, 200);
            for (int i = 0; i < length; ++i)
                bytes += alphabet[random.bounded(int(sizeof alphabet))]; // includes the NUL
            const QStringList fields = RecordFile::readFields(bytes);
            QByteArray rewritten;
            for (const QString &field : fields)
                rewritten += RecordFile::encodeRecord(field);
            QCOMPARE(RecordFile::readFields(rewritten), fields);
        }
    }

    // What a file needs before a record is appended to it.
    void mendsEndBeforeAppend_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("cut");
        QTest::addColumn<QByteArray>("suffix");
        QTest::newRow("empty") << QByteArray() << 0 << QByteArray();
        QTest::newRow("whole records") << QByteArray("\"a\"\r\n\"b\"\r\n") << 0 << QByteArray();
        QTest::newRow("lone LF") << QByteArray("\"a\"\n") << 0 << QByteArray();
        QTest::newRow("lone CR") << QByteArray("\"a\"\r") << 0 << QByteArray("\n");
        QTest::newRow("no line end") << QByteArray("\"a\"\r\nsite.tld") << 0 << QByteArray("\r\n");
        QTest::newRow("torn record") << QByteArray("\"a\"\r\n\"http://b") << 9 << QByteArray();
        QTest::newRow("torn record, blanks before")
            << QByteArray("\"a\"\r\n \t\"http") << 7 << QByteArray();
        QTest::newRow("torn record after CR") << QByteArray("\"a\"\r\"b") << 2 << QByteArray("\n");
        QTest::newRow("torn record with NUL bytes")
            << QByteArray("\"a\"\r\n\"b\0\0c", 10) << 5 << QByteArray();
        QTest::newRow("trailing NUL bytes")
            << QByteArray("\"a\"\r\n\0\0\0", 8) << 0 << QByteArray();
        // Found by fuzzing: a quote left open over line ends swallowed the
        // appended record though the file ended in a line end.
        QTest::newRow("open quote over line ends")
            << QByteArray("\"a\"b\"c\"\r\n\"d\"\r\n\"unterminated\r\n") << 0
            << QByteArray("\"\r\n");
        // Found by fuzzing: cutting the whole last line reopened a quoted
        // field that the line closed.
        QTest::newRow("last line closes a field and opens one")
            << QByteArray("\"site.tld\r\n  \"two\",\"fields") << 7 << QByteArray("\r\n");
    }
    void mendsEndBeforeAppend()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, cut);
        QFETCH(QByteArray, suffix);
        const RecordFile::AppendFix fix = RecordFile::appendFix(bytes);
        QCOMPARE(fix.cut, cut);
        QCOMPARE(fix.suffix, suffix);
        const QByteArray mended = bytes.left(bytes.size() - cut) + suffix;
        const QStringList fields = RecordFile::readFields(mended + RecordFile::encodeRecord("new"));
        QCOMPARE(fields.last(), QStringLiteral("new"));
        if (cut == 0)
            QCOMPARE(fields.mid(0, fields.size() - 1), RecordFile::readFields(bytes));
    }

    void codePageTableIsOneToOne()
    {
        for (int byte = 0; byte < 256; ++byte)
            QCOMPARE(RecordFile::cp1252Byte(RecordFile::cp1252Char(uchar(byte))), byte);
        QCOMPARE(RecordFile::cp1252Byte(0x20AC), 0x80);
        QCOMPARE(RecordFile::cp1252Byte(0x0080), -1);
        QCOMPARE(RecordFile::cp1252Byte(0x0100), -1);
    }
};

QTEST_MAIN(TestRecordFile)
#include "tst_recordfile.moc"
