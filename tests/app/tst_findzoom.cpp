// Find in page and per-host zoom on the real engine, driven by keys, clicks
// and the wheel through the main window.
#include "LoopbackServer.h"
#include "TestSandbox.h"
#include "UserInput.h"
#include "app/frmWeb.h"
#include "store/Module1.h"
#include "web/WebEnginePageView.h"

#include <QClipboard>
#include <QLabel>
#include <QWebEngineView>
#include <QtTest>

class TestFindZoom : public QObject
{
    Q_OBJECT
    TestSandbox sandbox;
    LoopbackServer server;
    std::unique_ptr<frmWeb> window;

public:
    TestFindZoom() { server.setPage("/three", "<title>/three</title><p>apple Apple APPLE</p>"); }

private:
    // The next run of the program, with path as its home page.
    void start(const QString &path)
    {
        window.reset();
        Module1::reset();
        sandbox.writeFile("Hpage.dat", "\"" + server.address(path).toUtf8() + "\"\r\n");
        window = std::make_unique<frmWeb>();
        window->Form_Load();
        QVERIFY(UserInput::bringUp(window.get()));
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), "Corvane - " + path, 10000);
        QTRY_VERIFY(!window->selectedView()->isLoading());
    }
    // Presses keys named as in "Ctrl+F, Shift+F3", one after another.
    void press(const QString &keys)
    {
        const QKeySequence sequence(keys);
        for (int i = 0; i < sequence.count(); ++i)
            UserInput::key(window.get(), sequence[i].key(), sequence[i].keyboardModifiers());
    }
    QString found() const { return window->findChild<QLabel *>("findResult")->text(); }
    // True once the selected page, measured in CSS pixels, is as wide as at percent.
    bool showsAt(int percent)
    {
        auto *view = qobject_cast<WebEnginePageView *>(window->selectedView());
        auto width = std::make_shared<int>(-1);
        const auto measured = [&] {
            view->engineView()->page()->runJavaScript(
                "innerWidth", [width](const QVariant &v) { *width = v.toInt(); });
            return qAbs(*width - view->width() * 100.0 / percent) <= 1;
        };
        return QTest::qWaitFor(measured, 10000);
    }

private slots:
    void findCountsWrapsAndCloses()
    {
        start("/three");
        press("Ctrl+F");
        UserInput::type(window.get(), "apple");
        QTRY_COMPARE(found(), QString("1 of 3"));
        const QStringList steps{"Return",       "2", "F3",       "3", "Return", "1",
                                "Shift+Return", "3", "Shift+F3", "2"};
        for (int i = 0; i < steps.size(); i += 2) {
            press(steps[i]);
            QTRY_COMPARE(found(), steps[i + 1] + " of 3");
        }
        press("Ctrl+T"); // the bar searches whichever tab is selected
        QTRY_COMPARE(found(), QString("No matches"));
        press("Ctrl+W");
        QTRY_VERIFY(found().endsWith(" of 3"));
        QGuiApplication::clipboard()->setText(QString(100000, 'w'));
        press("Ctrl+A, Ctrl+V");
        QTRY_COMPARE_WITH_TIMEOUT(found(), QString("No matches"), 60000);
        press("Esc");
        QTRY_VERIFY(!window->findChild<QWidget *>("findBar")->isVisible());
        QCOMPARE(found(), QString());
        QVERIFY(window->selectedView()->isAncestorOf(UserInput::focused()));
    }

    void zoomIsPerHostAndKept()
    {
        start("/three");
        QVERIFY(!window->findChild<QLabel *>("zoomLabel")->isVisible());
        press("Ctrl++, Ctrl+Num++, Ctrl+=, Ctrl+-"); // 110, 125, 150, 125
        QVERIFY(showsAt(125));
        start("/three");
        QVERIFY(showsAt(125));
        press("Ctrl+0"); // 100, then three notches of the wheel: 150
        const QPoint spot = window->selectedView()->mapTo(window.get(), QPoint(50, 50));
        QWheelEvent wheel(spot, window->mapToGlobal(spot), {}, {0, 360}, {}, Qt::ControlModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(window->windowHandle(), &wheel); // to the widget drawn there
        QVERIFY(showsAt(150));
        UserInput::click(window->findChild<QLabel *>("zoomLabel"));
        QVERIFY(showsAt(100));
    }
};

QTEST_MAIN(TestFindZoom)
#include "tst_findzoom.moc"
