// Tabs left unselected sleep on the real engine: a frozen tab's timer stops
// and runs on, a discarded page comes back when its tab is clicked, typed
// text keeps a page from being discarded; damaged delays read as defaults.
#include "TestWindow.h"
#include "store/SleepSettings.h"

#include <QtTest>

using State = QWebEnginePage::LifecycleState;

class TestTabSleeper : public QObject, protected TestWindow
{
    Q_OBJECT

    QWebEnginePage *page(int i) const { return engineView(i)->enginePage(); }
    // The test page's title: "<timer ticks>|<focus in its field>|<the field's text>".
    int ticks(int i) const { return page(i)->title().section('|', 0, 0).toInt(); }
    bool loaded(int i, const QString &titleEnd) const
    {
        return QTest::qWaitFor(
            [&] { return !page(i)->isLoading() && page(i)->title().endsWith(titleEnd); }, 20000);
    }

private slots:
    void init() { openSandbox(); }
    void cleanup() { closeAll(); }

    void sleepingTabs()
    {
        server.setPage("/t.html", "<input id=f><script>n=0;setInterval(()=>{with(document)"
                                  "title=++n+'|'+(activeElement==f)+'|'+f.value},10)</script>");
        sandbox->writeFile("../Corvane.conf",
                           "[Tabs]\nFreezeAfterSeconds=1\nDiscardAfterSeconds=1");
        startAt("/t.html");
        QVERIFY(loaded(0, "|"));
        // Clicks into the field until the page, just shown, takes one; then types.
        QTRY_VERIFY((UserInput::click(UserInput::focused(), Qt::LeftButton, {}, {20, 15}),
                     page(0)->title().contains("|true|")));
        UserInput::type(window.get(), "kept");
        keys("Ctrl+T"); // a new tab, and an address
        QVERIFY(window->views().size() == 2 && loaded(1, "about:blank"));
        keys("Ctrl+L");
        UserInput::type(window.get(), server.address("/t.html"));
        keys("Return");
        QTRY_COMPARE_WITH_TIMEOUT(page(0)->lifecycleState(), State::Frozen, 20000);
        const int frozenAt = ticks(0), shownAt = ticks(1);
        // 150 ticks in front; a hidden tab that is not frozen ticks at least once a second.
        QTRY_VERIFY_WITH_TIMEOUT(ticks(1) > shownAt + 150, 20000);
        QCOMPARE(ticks(0), frozenAt);
        keys("Ctrl+T");
        QTRY_COMPARE_WITH_TIMEOUT(page(1)->lifecycleState(), State::Discarded, 20000);
        QCOMPARE(page(1)->renderProcessPid(), 0);
        QCOMPARE(page(0)->lifecycleState(), State::Frozen); // hidden longer, but typed into
        const int asleepAt = ticks(1);                      // the woken page counts afresh
        UserInput::clickTab(window->tabStrip(), 1);
        QTRY_VERIFY(page(1)->renderProcessPid() != 0 && ticks(1) > 0 && ticks(1) < asleepAt &&
                    loaded(1, "|"));
        keys("Alt+Left");
        QVERIFY(loaded(1, "about:blank"));
        UserInput::clickTab(window->tabStrip(), 0);
        QTRY_VERIFY(ticks(0) > frozenAt && page(0)->title().endsWith("|kept"));
    }

    void damagedDelaysReadAsDefaults()
    {
        for (const char *bad : {"", "junk", "-5", "1.5", "+7", "7s", "1, 2", "99999999999"})
            QVERIFY2(SleepSettings::parseDelay(bad, 7) == 7, bad); // 7: the default given
        QCOMPARE(SleepSettings::parseDelay("0", 7), 0);
        QCOMPARE(SleepSettings::parseDelay(" 12 ", 7), 12);
    }
};

QTEST_MAIN(TestTabSleeper)
#include "tst_tabsleeper.moc"
