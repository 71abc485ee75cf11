// Which tabs are still open: counting, the first open tab and the next one
// to the right, on a real tab bar with closed (hidden) tabs.
#include "store/Module1.h"

#include <QTabBar>
#include <QtTest>

class TestVisibleTabs : public QObject
{
    Q_OBJECT
private slots:
    void countsAndFinds_data()
    {
        QTest::addColumn<int>("tabs");
        QTest::addColumn<QList<int>>("hidden");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("visible");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("next");

        QTest::newRow("one tab") << 1 << QList<int>{} << 0 << 1 << 0 << 0;
        QTest::newRow("all open, first selected") << 3 << QList<int>{} << 0 << 3 << 0 << 1;
        QTest::newRow("all open, last selected") << 3 << QList<int>{} << 2 << 3 << 0 << 0;
        QTest::newRow("first closed") << 4 << QList<int>{0} << 1 << 3 << 1 << 2;
        QTest::newRow("skips closed tabs") << 5 << QList<int>{0, 2, 3} << 1 << 2 << 1 << 4;
        QTest::newRow("nothing open to the right") << 5 << QList<int>{3, 4} << 2 << 3 << 0 << 0;
        QTest::newRow("only the selected open") << 4 << QList<int>{0, 1, 3} << 2 << 1 << 2 << 0;
    }
    void countsAndFinds()
    {
        QFETCH(int, tabs);
        QFETCH(QList<int>, hidden);
        QFETCH(int, current);
        QFETCH(int, visible);
        QFETCH(int, first);
        QFETCH(int, next);

        QTabBar bar;
        for (int i = 0; i < tabs; ++i)
            bar.addTab(QString("tab %1").arg(i));
        bar.setCurrentIndex(current);
        for (int i : hidden)
            bar.setTabVisible(i, false);
        QCOMPARE(bar.currentIndex(), current);

        QCOMPARE(Module1::CountVisibleTabs(&bar), visible);
        for (int i = 0; i < tabs; ++i)
            QCOMPARE(Module1::IsFirstVisibleTab(&bar, i), i == first);
        QCOMPARE(Module1::NextVisibleTab(&bar), next);
    }

    void noTabOpen()
    {
        QTabBar bar;
        bar.addTab("a");
        bar.addTab("b");
        bar.setTabVisible(0, false);
        bar.setTabVisible(1, false);
        QCOMPARE(Module1::CountVisibleTabs(&bar), 0);
        // With nothing open, the first open tab counts as tab 0.
        QVERIFY(Module1::IsFirstVisibleTab(&bar, 0));
        QVERIFY(!Module1::IsFirstVisibleTab(&bar, 1));
    }

    void noTabBar()
    {
        QCOMPARE(Module1::CountVisibleTabs(nullptr), 0);
        QVERIFY(Module1::IsFirstVisibleTab(nullptr, 0));
        QCOMPARE(Module1::NextVisibleTab(nullptr), 0);
    }
};

QTEST_MAIN(TestVisibleTabs)
#include "tst_visibletabs.moc"
