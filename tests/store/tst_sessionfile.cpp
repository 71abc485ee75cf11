// The session file's bytes: what is written reads back the same, and every
// shortened, changed or padded file reads as damaged, never as a session.
#include "store/SessionFile.h"

#include <QtTest>

class TestSessionFile : public QObject
{
    Q_OBJECT
    static Session sample()
    {
        Session session;
        session.tabs = {
            {"http://a.test/?q=%26&x", "A & \"b\"\n\u00e9", 150, QByteArray("\0\1h", 3)},
            {"", "", 100, {}},
            {"file:///tmp/x y.html", QString(300, 'c'), 25, QByteArray(5000, 'h')}};
        session.selected = 2;
        session.cleanEnd = true;
        return session;
    }

private slots:
    void readsBackWhatItWrote()
    {
        const Session session = sample();
        SessionFile::Status status = SessionFile::Status::Damaged;
        QCOMPARE(SessionFile::decode(SessionFile::encode(session), &status), session);
        QCOMPARE(status, SessionFile::Status::Ok);
        Session none;
        QCOMPARE(SessionFile::decode(SessionFile::encode(none)), none);
    }

    void anyOtherBytesAreDamaged()
    {
        const QByteArray good = SessionFile::encode(sample());
        SessionFile::Status status = SessionFile::Status::Ok;
        for (qsizetype size = 0; size < good.size(); ++size) {
            QVERIFY(!SessionFile::decode(good.left(size), &status));
            QCOMPARE(status, SessionFile::Status::Damaged);
        }
        for (qsizetype at = 0; at < good.size(); at += 7) {
            QByteArray changed = good;
            changed[at] = char(changed[at] ^ 0x10);
            QVERIFY(!SessionFile::decode(changed));
        }
        QVERIFY(!SessionFile::decode(good + '\0'));
        QByteArray later = good;
        later[SessionFile::Magic.size() + 3] = 2;
        QVERIFY(!SessionFile::decode(later, &status));
        QCOMPARE(status, SessionFile::Status::UnknownVersion);
    }

    void selectionOutsideTheTabsIsTheFirst()
    {
        Session session = sample();
        session.selected = 7;
        QCOMPARE(SessionFile::decode(SessionFile::encode(session))->selected, 0);
    }
};

QTEST_GUILESS_MAIN(TestSessionFile)
#include "tst_sessionfile.moc"
