// What both XP-style controls share: property notifications, long captions, accessible names.
#include "controls/xpcmdbutton.h"
#include "controls/xpgroupbox.h"

#include <QAccessible>
#include <QtTest>

class TestXpControl : public QObject
{
    Q_OBJECT

    static XpControl *make(const QString &kind, QWidget *parent)
    {
        return kind == "button" ? static_cast<XpControl *>(new xpcmdbutton(parent))
                                : new xpgroupbox(parent);
    }

private slots:
    void settersNotifyOnceAndNotWhenUnchanged_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QVariant>("value");
        const QFont big("Serif", 20);
        QTest::newRow("button Enabled") << "button" << QByteArray("Enabled") << QVariant(false);
        QTest::newRow("button State") << "button" << QByteArray("State") << QVariant(1);
        QTest::newRow("button Caption") << "button" << QByteArray("Caption") << QVariant("OK");
        QTest::newRow("button Font") << "button" << QByteArray("Font") << QVariant(big);
        QTest::newRow("box Enabled") << "box" << QByteArray("Enabled") << QVariant(false);
        QTest::newRow("box Font") << "box" << QByteArray("Font") << QVariant(big);
        QTest::newRow("box BackColor") << "box" << QByteArray("BackColor") << QVariant(255u);
        QTest::newRow("box Caption") << "box" << QByteArray("Caption") << QVariant("Old Name:");
    }
    void settersNotifyOnceAndNotWhenUnchanged()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, name);
        QFETCH(QVariant, value);
        QWidget form;
        XpControl *c = make(kind, &form);
        const QMetaObject *mo = c->metaObject();
        QSignalSpy notified(c, mo->property(mo->indexOfProperty(name)).notifySignal());
        QVERIFY(c->setProperty(name, value));
        QCOMPARE(c->property(name), value);
        QVERIFY(c->setProperty(name, value));
        QCOMPARE(notified.count(), 1);
    }

    // A caption far wider than the control is cut at the control's edges: it
    // neither spills over its neighbours nor covers the bottom of the frame.
    // Cut on the screen, it is told whole to accessibility tools.
    void longCaptionStaysInside_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("button") << "button";
        QTest::newRow("box") << "box";
    }
    void longCaptionStaysInside()
    {
        QFETCH(QString, kind);
        QWidget form;
        XpControl *c = make(kind, &form);
        c->setGeometry(100, 40, 60, 40);
        c->setCaption("OK");
        const QImage before = form.grab().toImage();
        c->setCaption(QString("A caption much longer than the control ").repeated(4));
        QCOMPARE(c->size(), QSize(60, 40));
        const QImage after = form.grab().toImage();
        const QRect r = c->geometry().adjusted(0, 0, 0, -1);
        for (int y = 0; y < after.height(); ++y)
            for (int x = 0; x < after.width(); ++x)
                if (!r.contains(x, y) && after.pixel(x, y) != before.pixel(x, y))
                    QFAIL(qPrintable(QString("changed at %1,%2").arg(x).arg(y)));
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(c);
        QCOMPARE(iface->role(), kind == "button" ? QAccessible::Button : QAccessible::Grouping);
        QCOMPARE(iface->text(QAccessible::Name), c->caption());
    }
};

QTEST_MAIN(TestXpControl)
#include "tst_xpcontrol.moc"
