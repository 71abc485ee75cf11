// The address list's substring index: the same answers as asking every
// entry, while the list grows, shrinks and changes under it.
#include "app/AddressListIndex.h"

#include <QComboBox>
#include <QtTest>

class TestAddressListIndex : public QObject
{
    Q_OBJECT

    // What the index stands in for.
    static bool scan(const QComboBox &box, const QString &text)
    {
        for (int i = 0; i < box.count(); ++i) {
            if (box.itemText(i).contains(text))
                return true;
        }
        return false;
    }

private slots:
    void answers_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("contained");

        const QStringList list{"http://www.site.com/", "127.0.0.1:8080/x", "about:blank"};
        QTest::newRow("whole entry") << list << "about:blank" << true;
        QTest::newRow("inside an entry") << list << "site.com" << true;
        QTest::newRow("case differs") << list << "SITE.com" << false;
        QTest::newRow("across two entries") << list << "com/127" << false;
        QTest::newRow("end of one, line end, start of next")
            << list << QStringLiteral("com/\n127") << false;
        QTest::newRow("empty text, entries") << list << "" << true;
        QTest::newRow("empty text, empty list") << QStringList() << "" << false;
        QTest::newRow("empty list") << QStringList() << "site" << false;
        QTest::newRow("entry with a line end, text inside one part")
            << QStringList{QStringLiteral("one\ntwo")} << "two" << true;
        QTest::newRow("entry with a line end, text with it")
            << QStringList{QStringLiteral("one\ntwo")} << QStringLiteral("e\nt") << true;
        QTest::newRow("non-Latin text") << QStringList{QStringLiteral("http://\u4F8B\u3048.jp/")}
                                        << QStringLiteral("\u4F8B\u3048") << true;
        QTest::newRow("accented text, other accent")
            << QStringList{QStringLiteral("caf\u00E9.fr")} << QStringLiteral("caf\u00E8") << false;
        QTest::newRow("replacement character against a broken entry")
            << QStringList{QString(QChar(0xD800)) + "x"} << QString(QChar::ReplacementCharacter)
            << false;
        QTest::newRow("broken text")
            << QStringList{QString(QChar(0xD800)) + "x"} << QString(QChar(0xD800)) << true;
        QTest::newRow("empty entry") << QStringList{QString(), "x"} << "x" << true;
    }
    void answers()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, text);
        QFETCH(bool, contained);
        QComboBox box;
        AddressListIndex index(box.model());
        box.addItems(entries);
        QCOMPARE(index.anyEntryContains(text), contained);
        QCOMPARE(scan(box, text), contained);
    }

    void followsChangesOfTheList()
    {
        QComboBox box;
        box.setEditable(true);
        AddressListIndex index(box.model());
        box.addItems({"alpha", "beta"});
        QVERIFY(index.anyEntryContains("beta"));

        box.addItem("gamma"); // appended after a question
        QVERIFY(index.anyEntryContains("gamma"));
        QVERIFY(!index.anyEntryContains("betagamma"));

        box.insertItem(0, "delta"); // not at the end
        QVERIFY(index.anyEntryContains("delta"));

        box.removeItem(box.findText("beta"));
        QVERIFY(!index.anyEntryContains("beta"));

        box.setItemText(0, "epsilon");
        QVERIFY(!index.anyEntryContains("delta"));
        QVERIFY(index.anyEntryContains("epsilon"));

        box.clear();
        QVERIFY(!index.anyEntryContains("alpha"));
        QVERIFY(!index.anyEntryContains(""));
        box.addItem("zeta");
        QVERIFY(index.anyEntryContains("zeta"));

        // Typing into the box changes no entry.
        box.setEditText("alpha");
        QVERIFY(!index.anyEntryContains("alpha"));
    }
};

QTEST_MAIN(TestAddressListIndex)
#include "tst_addresslistindex.moc"
