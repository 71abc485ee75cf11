// Tabs left unselected sleep on the real engine: a frozen tab's timer stops
// and runs on, a discarded page comes back when its tab is clicked, typed
// text keeps a page from being discarded; damaged delays read as defaults.
#include "LoopbackServer.h"
#include "TestSandbox.h"
#include "UserInput.h"
#include "app/frmWeb.h"
#include "store/SleepSettings.h"

#include <QWebEngineView>
#include <QtTest>

using State = QWebEnginePage::LifecycleState;

class TestTabSleeper : public QObject
{
    Q_OBJECT
    LoopbackServer server;
    TestSandbox sandbox;
    std::unique_ptr<frmWeb> window;

    auto *page(int i) const { return window->views()[i]->findChild<QWebEngineView *>()->page(); }
    // The test page's title: "<timer ticks>|<focus in its field>|<the field's text>".
    int ticks(int i) const { return page(i)->title().section('|', 0, 0).toInt(); }
    bool loaded(int i, const QString &titleEnd) const
    {
        return QTest::qWaitFor(
            [&] { return !page(i)->isLoading() && page(i)->title().endsWith(titleEnd); }, 20000);
    }

private slots:
    void sleepingTabs()
    {
        server.setPage("/t.html", "<input id=f><script>n=0;setInterval(()=>{with(document)"
                                  "title=++n+'|'+(activeElement==f)+'|'+f.value},10)</script>");
        sandbox.writeFile("../Corvane.conf", "[Tabs]\nFreezeAfterSeconds=1\nDiscardAfterSeconds=1");
        sandbox.writeFile("Hpage.dat", server.address("/t.html").toUtf8());
        (window = std::make_unique<frmWeb>())->Form_Load();
        QVERIFY(UserInput::bringUp(window.get()) && loaded(0, "|"));
        // Clicks into the field until the page, just shown, takes one; then types.
        QTRY_VERIFY((UserInput::click(UserInput::focused(), Qt::LeftButton, {}, {20, 15}),
                     page(0)->title().contains("|true|")));
        UserInput::type(window.get(), "kept");
        UserInput::key(window.get(), Qt::Key_T, Qt::ControlModifier); // a new tab, and an address
        QVERIFY(window->views().size() == 2 && loaded(1, "about:blank"));
        UserInput::key(window.get(), Qt::Key_L, Qt::ControlModifier);
        UserInput::type(window.get(), server.address("/t.html"));
        UserInput::key(window.get(), Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(page(0)->lifecycleState(), State::Frozen, 20000);
        const int frozenAt = ticks(0), shownAt = ticks(1);
        // 150 ticks in front; a hidden tab that is not frozen ticks at least once a second.
        QTRY_VERIFY_WITH_TIMEOUT(ticks(1) > shownAt + 150, 20000);
        QCOMPARE(ticks(0), frozenAt);
        UserInput::key(window.get(), Qt::Key_T, Qt::ControlModifier);
        QTRY_COMPARE_WITH_TIMEOUT(page(1)->lifecycleState(), State::Discarded, 20000);
        QCOMPARE(page(1)->renderProcessPid(), 0);
        QCOMPARE(page(0)->lifecycleState(), State::Frozen); // hidden longer, but typed into
        const int asleepAt = ticks(1);                      // the woken page counts afresh
        UserInput::clickTab(window->tabStrip(), 1);
        QTRY_VERIFY(page(1)->renderProcessPid() != 0 && ticks(1) > 0 && ticks(1) < asleepAt &&
                    loaded(1, "|"));
        UserInput::key(window.get(), Qt::Key_Left, Qt::AltModifier);
        QVERIFY(loaded(1, "about:blank"));
        UserInput::clickTab(window->tabStrip(), 0);
        QTRY_VERIFY(ticks(0) > frozenAt && page(0)->title().endsWith("|kept"));
    }

    void damagedDelaysReadAsDefaults_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("seconds"); // 7: the value given for one that is damaged
        for (const char *bad : {"", "junk", "-5", "1.5", "+7", "7s", "1, 2", "99999999999"})
            QTest::newRow(bad) << QString(bad) << 7;
        QTest::newRow("zero") << QString("0") << 0;
        QTest::newRow("spaced") << QString(" 12 ") << 12;
    }
    void damagedDelaysReadAsDefaults()
    {
        QFETCH(QString, stored);
        QFETCH(int, seconds);
        QCOMPARE(SleepSettings::parseDelay(stored, 7), seconds);
    }
};

QTEST_MAIN(TestTabSleeper)
#include "tst_tabsleeper.moc"
