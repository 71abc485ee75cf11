// The pure rules under what the store keeps: the record files' reader and
// writer (files of every shape a hand edit or a crash leaves, the exact bytes
// of a record, texts the 8-bit format cannot hold directly, mending a damaged
// end before an append), and what a typed address becomes in the address
// box, in the list and in the history file.
#include "DataTable.h"
#include "store/AddressRules.h"
#include "store/RecordFile.h"
#include "store/SettingsWriter.h"

#include <QtTest>

using Bytes = QByteArray;
using Fields = QStringList;

void typed(const char *text, const char *completed, const char *box, const char *entry)
{
    DataTable::row(*text ? text : "empty", QString(text), QStringList{completed, box, entry});
}

class TestStoreRules : public QObject, protected DataTable
{
    Q_OBJECT
private slots:
    void reads_data()
    {
        columns<Bytes, Fields>();
        row("line ends", Bytes("\"a\"\r\n\"b,c\"\n\r\n \td\re"), Fields{"a", "b,c", "", "d", "e"});
        row("quote ends field", Bytes("\"say \"hi\"\" x\r\n\"n\""), Fields{"say ", "n"});
        row("quote over lines", Bytes("\"a\r\nb\"\r\n\"c\r\n"), Fields{"a\r\nb", "c\r\n"});
        row("unquoted", Bytes("a  ,b, c\"d,\r\n"), Fields{"a  ", "b", "c\"d", ""});
        row("NUL bytes", Bytes("\"a\"\r\n\0\0\"b\0c\"\0", 13), Fields{"a", "bc"});
        row("Windows-1252", Bytes("caf\xE9 \x80\x81"), Fields{u"caf\u00E9 \u20AC\u0081"_qs});
        row("escapes", Bytes("a%22b%0D%0A%E4%B8%AD,%2522"), Fields{u"a\"b\r\n\u4E2D"_qs, "%22"});
        row("kept", Bytes("%0d%C3%A9%C0%AF%ED%A0%80%2"), Fields{"%0d%C3%A9%C0%AF%ED%A0%80%2"});
    }
    void reads()
    {
        const auto [bytes, fields] = fetch<Bytes, Fields>();
        QCOMPARE(RecordFile::readFields(bytes), fields);
    }

    // Which leftovers of a killed save the start-up sweep may remove.
    void temporaryCopies_data()
    {
        columns<QString, bool>();
        row("save's copy", QString("Corvane.conf.aZ09xY"), true);
        row("the store", QString("Corvane.conf"), false);
        row("its lock", QString("Corvane.conf.lock"), false);
        row("five characters", QString("Corvane.conf.abcde"), false);
        row("seven characters", QString("Corvane.conf.abcdefg"), false);
        row("not a letter", QString("Corvane.conf.abc-de"), false);
        row("not ASCII", QString(u"Corvane.conf.abcdéf"_qs), false);
        row("another file", QString("Corvane.cong.abcdef"), false);
        row("no dot", QString("Corvane.conf_abcdef"), false);
    }
    void temporaryCopies()
    {
        const auto [name, copy] = fetch<QString, bool>();
        QCOMPARE(SettingsWriter::isTemporaryCopy(name, QStringLiteral("Corvane.conf")), copy);
    }

    // The record of a text, and the text it reads back as when that is not
    // the text itself.
    void writes_data()
    {
        columns<QString, Bytes, QString>();
        row("about:blank is 15 bytes", "about:blank", Bytes("\"about:blank\"\r\n"), "");
        row("comma, quote, CR LF", "a,\"\r\n", Bytes("\"a,%22%0D%0A\"\r\n"), "");
        row("code page", u"caf\u00E9 \u20AC\u0081"_qs, Bytes("\"caf\xE9 \x80\x81\"\r\n"), "");
        row("outside", u"\u4E2D\u0080\uFEFF"_qs, Bytes("\"%E4%B8%AD%C2%80%EF%BB%BF\"\r\n"), "");
        row("half a pair", QString(QChar(0xD800)), Bytes("\"%EF%BF%BD\"\r\n"), u"\uFFFD"_qs);
        row("percents", "100% %e4 %22 %E4%B8%AD", Bytes("\"100% %e4 %2522 %25E4%B8%AD\"\r\n"), "");
        // Found by fuzzing: once the NUL was dropped, the '%' needed its escape.
        row("NUL after %", "a%" + QString(QChar(0)) + "22", Bytes("\"a%2522\"\r\n"), "a%22");
    }
    void writes()
    {
        const auto [text, bytes, back] = fetch<QString, Bytes, QString>();
        const Bytes record = RecordFile::encodeRecord(text);
        QCOMPARE(record, bytes);
        QCOMPARE(RecordFile::readFields(record), Fields{back.isEmpty() ? text : back});
    }

    // What a file needs before a record is appended, so that the record
    // reads back as a field of its own.
    void mendsEnd_data()
    {
        columns<Bytes, int, Bytes>();
        row("no line end", Bytes("\"a\"\r\nsite.tld"), 0, Bytes("\r\n"));
        row("torn record", Bytes("\"a\"\r\n \t\"http://b"), 11, Bytes());
        row("torn after CR", Bytes("\"a\"\r\"b"), 2, Bytes("\n"));
        row("torn with NUL", Bytes("\"a\"\r\n\"b\0\0c", 10), 5, Bytes());
        row("quote open over lines", Bytes("\"a\"b\"c\"\r\n\"open\r\n"), 0, Bytes("\"\r\n"));
        row("line closes and opens", Bytes("\"s\r\n  \"two\",\"f"), 2, Bytes("\r\n"));
    }
    void mendsEnd()
    {
        const auto [bytes, cut, suffix] = fetch<Bytes, int, Bytes>();
        const RecordFile::AppendFix fix = RecordFile::appendFix(bytes);
        QCOMPARE(fix.cut, cut);
        QCOMPARE(fix.suffix, suffix);
        const Bytes mended = bytes.left(bytes.size() - cut) + suffix;
        const Fields fields = RecordFile::readFields(mended + RecordFile::encodeRecord("new"));
        QCOMPARE(fields.last(), QStringLiteral("new"));
        if (cut == 0)
            QCOMPARE(fields.mid(0, fields.size() - 1), RecordFile::readFields(bytes));
    }

    // The completion GO! lists, the text it leaves in the box, and the
    // history entry ("-": not checked).
    void addresses_data()
    {
        columns<QString, QStringList>();
        // Bare, "www." and "http://" hosts, whatever their case.
        typed("site.tld", "http://www.site.tld", "site.tld", "http://www.site.tld/");
        typed("www.site.tld", "http://www.site.tld", "www.site.tld", "http://www.site.tld/");
        typed("http://site.tld", "http://site.tld", "site.tld", "http://www.site.tld/");
        typed("http://wwwsite.tld", "http://wwwsite.tld", "http://wwwsite.tld", "-");
        typed("http://wwwa.tld/", "-", "-", "http://www.wwwa.tld/");
        typed("HTTP://site.tld", "HTTP://site.tld", "site.tld", "http://www.site.tld/");
        typed("", "http://www.", "", "-");
        // The "/" only after a bare host, and never twice.
        typed("site.tld/a?b#c", "http://www.site.tld/a?b#c", "-", "http://www.site.tld/a?b#c");
        typed("site.tld:81", "http://www.site.tld:81", "site.tld:81", "http://www.site.tld:81/");
        // A scheme of its own is complete as it stands.
        typed("https://s.tld", "https://s.tld", "https://s.tld", "https://s.tld");
        typed("about:blank", "about:blank", "about:blank", "about:blank");
        typed("FTP://f.tld", "FTP://f.tld", "FTP://f.tld", "FTP://f.tld");
        typed("abc:/x", "http://www.abc:/x", "abc:/x", "-");
        // No "www." before a numeric or local host, but before look-alikes.
        typed("127.0.0.1:80/x", "http://127.0.0.1:80/x", "127.0.0.1:80/x", "http://127.0.0.1:80/x");
        typed("http://10.0.0.1", "http://10.0.0.1", "10.0.0.1", "-");
        typed("localhost:30", "http://localhost:30", "localhost:30", "http://localhost:30/");
        typed("[::1]:8080/", "http://[::1]:8080/", "[::1]:8080/", "-");
        typed("256.1.1.1", "http://www.256.1.1.1", "256.1.1.1", "-");
    }
    void addresses()
    {
        const auto [text, expected] = fetch<QString, QStringList>();
        const QStringList got{AddressRules::completeAddress(text), AddressRules::boxText(text),
                              AddressRules::historyEntry(text)};
        for (int i = 0; i < got.size(); ++i)
            QCOMPARE(expected.at(i) == "-" ? "-" : got.at(i), expected.at(i));
    }
};

QTEST_MAIN(TestStoreRules)
#include "tst_storerules.moc"
