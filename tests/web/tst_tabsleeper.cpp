// Tabs left unselected sleep on the real engine: a frozen tab's timer stops
// and runs on, a discarded page comes back when its tab is clicked, typed
// text keeps a page from being discarded; damaged delays read as defaults.
#include "LoopbackServer.h"
#include "TestSandbox.h"
#include "UserInput.h"
#include "app/WebEnginePageView.h"
#include "app/frmWeb.h"
#include "store/SleepSettings.h"

#include <QComboBox>
#include <QWebEngineView>
#include <QtTest>

using State = QWebEnginePage::LifecycleState;

class TestTabSleeper : public QObject
{
    Q_OBJECT
    LoopbackServer server;
    std::unique_ptr<TestSandbox> sandbox;
    std::unique_ptr<frmWeb> window;

    QWebEnginePage *page(int i) const
    {
        return static_cast<WebEnginePageView *>(window->views()[i])->engineView()->page();
    }
    // The page's title: "<timer ticks>|<focus in its field>|<the field's text>".
    int ticks(int i) const { return page(i)->title().section('|', 0, 0).toInt(); }
    bool loaded(int i, const QString &titleEnd) const
    {
        return QTest::qWaitFor(
            [&] { return !page(i)->isLoading() && page(i)->title().endsWith(titleEnd); });
    }
    bool newTab(int tab) // Ctrl+T, as the user opens one
    {
        UserInput::key(window.get(), Qt::Key_T, Qt::ControlModifier);
        return loaded(tab, "about:blank");
    }

private slots:
    void init() { sandbox = std::make_unique<TestSandbox>(); }
    void cleanup() { window.reset(), sandbox.reset(); }
    void sleepingTabs()
    {
        server.setPage("/t.html", "<input id=f style='height:300px'><script>n=0;setInterval(() => "
                                  "document.title=++n+'|'+(document.activeElement==f)+'|'+f.value,"
                                  "10)</script>");
        sandbox->writeFile("../Corvane.conf",
                           "[Tabs]\nFreezeAfterSeconds=1\nDiscardAfterSeconds=1");
        sandbox->writeFile("Hpage.dat", server.address("/t.html").toUtf8());
        window = std::make_unique<frmWeb>();
        window->Form_Load();
        QVERIFY(UserInput::bringUp(window.get()) && loaded(0, "|"));
        // Clicks into the field until the page, just shown, takes one; then types.
        QTRY_VERIFY((UserInput::click(UserInput::focused(), Qt::LeftButton, {}, {40, 40}),
                     page(0)->title().contains("|true|")));
        UserInput::type(window.get(), "kept");
        QVERIFY(loaded(0, "|kept") && newTab(1));
        UserInput::key(window.get(), Qt::Key_L, Qt::ControlModifier);
        UserInput::type(window.get(), server.address("/t.html"));
        UserInput::key(window.get(), Qt::Key_Return);
        QVERIFY(loaded(1, "|"));
        QTRY_COMPARE_WITH_TIMEOUT(page(0)->lifecycleState(), State::Frozen, 20000);
        const int frozenAt = ticks(0), shownAt = ticks(1);
        // 150 ticks in front; a hidden tab that is not frozen ticks at least once a second.
        QTRY_VERIFY_WITH_TIMEOUT(ticks(1) > shownAt + 150, 20000);
        QCOMPARE(ticks(0), frozenAt);
        QVERIFY(newTab(2));
        QTRY_COMPARE_WITH_TIMEOUT(page(1)->lifecycleState(), State::Discarded, 20000);
        QCOMPARE(page(1)->renderProcessPid(), 0);
        QCOMPARE(page(0)->lifecycleState(), State::Frozen); // hidden longer, but typed into
        UserInput::clickTab(window->tabStrip(), 1);
        QTRY_VERIFY(page(1)->renderProcessPid() != 0 && loaded(1, "|"));
        QCOMPARE(window->addressBox()->currentText(), server.address("/t.html"));
        UserInput::key(window.get(), Qt::Key_Left, Qt::AltModifier);
        QVERIFY(loaded(1, "about:blank"));
        UserInput::clickTab(window->tabStrip(), 0);
        QTRY_VERIFY(ticks(0) > frozenAt && page(0)->title().endsWith("|kept"));
    }

    void damagedDelaysReadAsDefaults_data()
    {
        QTest::addColumn<QByteArray>("stored"); // null: no such keys
        QTest::addColumn<int>("seconds");       // -1: the defaults
        for (const char *bad : {"", "junk", "-5", "1.5", "+7", "7s", "1, 2", "99999999999"})
            QTest::newRow(bad) << QByteArray(bad) << -1;
        QTest::newRow("missing") << QByteArray() << -1;
        QTest::newRow("zero") << QByteArray("0") << 0;
        QTest::newRow("spaced") << QByteArray(" 12 ") << 12;
        QTest::newRow("quoted") << QByteArray("\"42\"") << 42;
    }
    void damagedDelaysReadAsDefaults()
    {
        QFETCH(QByteArray, stored);
        QFETCH(int, seconds);
        sandbox->writeFile("../Corvane.conf", stored.isNull()
                                                  ? ""
                                                  : "[Tabs]\nFreezeAfterSeconds=" + stored +
                                                        "\nDiscardAfterSeconds=" + stored);
        QCOMPARE(SleepSettings::read().freezeAfterSeconds, seconds < 0 ? 300 : seconds);
        QCOMPARE(SleepSettings::read().discardAfterSeconds, seconds < 0 ? 1800 : seconds);
    }
};

QTEST_MAIN(TestTabSleeper)
#include "tst_tabsleeper.moc"
