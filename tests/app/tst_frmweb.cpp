// The main window with scripted page views: controls and menus, start-up,
// tabs, the address box and the reaction to page events, in exact order.
#include "FakePageView.h"
#include "ScriptedPrompts.h"
#include "TestSandbox.h"
#include "UserInput.h"
#include "app/frmWeb.h"
#include "app/FavMenuItems.h"
#include "store/Module1.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTabBar>
#include <QtTest>

class TestFrmWeb : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSandbox> sandbox;
    std::unique_ptr<frmWeb> window;
    QList<FakePageView *> views;

    void start(const QByteArray &homeFile = "\"home.test\"\r\n")
    {
        if (!homeFile.isNull())
            sandbox->writeFile("Hpage.dat", homeFile);
        window = std::make_unique<frmWeb>(fakeViewFactory(&views));
        window->Form_Load();
    }
    FakePageView *view(int i) const { return views.at(i); }
    int openTabCount() const
    {
        int n = 0;
        for (int i = 0; i < window->tabStrip()->count(); ++i)
            n += window->tabStrip()->isTabVisible(i);
        return n;
    }
    QString tabCaption(int i) const
    {
        return window->tabStrip()->tabText(i).replace("&&", "&");
    }

private slots:
    void init()
    {
        Module1::reset();
        views.clear();
        sandbox = std::make_unique<TestSandbox>();
    }
    void cleanup()
    {
        window.reset();
        sandbox.reset();
    }

    void menuTree_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("visible");
        QTest::newRow("new_b") << "new_b" << QString("New Tab") + QString(15, ' ') << "Ctrl+T" << true;
        QTest::newRow("save_as") << "save_as" << "Save as..." << "Ctrl+S" << true;
        QTest::newRow("PrP") << "PrP" << "Properties" << "" << true;
        QTest::newRow("print") << "print" << "Print..." << "" << true;
        QTest::newRow("Page_Setup") << "Page_Setup" << "Page Setup..." << "" << true;
        QTest::newRow("PrPr") << "PrPr" << "Print Preview..." << "" << true;
        QTest::newRow("Close") << "Close" << "Close" << "" << true;
        QTest::newRow("Cut") << "Cut" << "Cut" << "" << true;
        QTest::newRow("Copy") << "Copy" << "Copy" << "" << true;
        QTest::newRow("paste") << "paste" << QString("Paste") + QString(24, ' ') << "" << true;
        QTest::newRow("selall") << "selall" << "Select All" << "" << true;
        QTest::newRow("AddToFav") << "AddToFav" << "Add to Favorites..." << "" << true;
        QTest::newRow("DelFav") << "DelFav" << "Organize Favorite..." << "" << true;
        QTest::newRow("mnuTop") << "mnuTop" << "Always on Top" << "" << true;
        QTest::newRow("prop") << "prop" << "Options" << "" << true;
        QTest::newRow("cmdClosee") << "cmdClosee" << "Close" << "" << true;
        QTest::newRow("mnuHelp") << "mnuHelp" << "Help" << "F1" << false;
        QTest::newRow("spsp") << "spsp" << "" << "" << false;
        QTest::newRow("mnuTabHlp") << "mnuTabHlp" << "How Do  Open A Link In A New Tab?" << "" << true;
        QTest::newRow("mnuAbout") << "mnuAbout" << QString("About") + QString(12, ' ') << "F12" << true;
    }
    void menuTree()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, keys);
        QFETCH(bool, visible);
        start();
        QAction *a = window->action(name);
        QVERIFY2(a, qPrintable(name));
        QCOMPARE(a->text(), caption);
        QCOMPARE(a->shortcut().toString(), keys);
        QCOMPARE(a->isVisible(), visible);
    }

    void menusAndControlsByName()
    {
        start();
        for (const char *name : {"File", "asss", "Edit", "Favorites", "Tools", "mnuTab", "mnuHelpGen"})
            QVERIFY2(window->findChild<QMenu *>(name), name);
        QVERIFY(!window->findChild<QMenu *>("mnuTab")->menuAction()->isVisible());
        const QList<QPair<const char *, const char *>> buttons = {
            {"cmdBack", "Back"}, {"cmdForward", "Forward"}, {"cmdStop", "Stop"},
            {"cmdRefresh", "Refresh"}, {"newww", "New Tab"}, {"cmdHome", "Home"},
            {"cmdGoogle", "Go To GOOGLE"}, {"cmdgo", "GO!"}, {"cmdClose", "X"}};
        for (const auto &b : buttons) {
            auto *button = window->findChild<QPushButton *>(b.first);
            QVERIFY2(button, b.first);
            QCOMPARE(button->text(), QString(b.second));
        }
        QVERIFY(!window->findChild<QPushButton *>("cmdHome")->isVisible());
        QCOMPARE(window->findChild<QLabel *>("Label1")->text(), QString("Address"));
        QVERIFY(window->findChild<QComboBox *>("Combo1"));
        QVERIFY(window->findChild<QWidget *>("StatusBar1"));
        QCOMPARE(window->statusPanel()->text(), QString("Status"));
        QCOMPARE(window->favMenu()->count(), 1);
        QCOMPARE(Module1::GetFavName(0), QString("Google"));
    }

    void firstStartCreatesHomeAndHistory()
    {
        start(QByteArray());
        QCOMPARE(sandbox->readFile("Hpage.dat"), QByteArray("\"www.google.com\"\r\n"));
        QVERIFY(QFile::exists(sandbox->filePath("WebHis.dat")));
        QCOMPARE(window->tabStrip()->count(), 1);
        QCOMPARE(tabCaption(0), QString("www.google.com"));
        QCOMPARE(window->addressBox()->currentText(), QString("www.google.com"));
        QCOMPARE(window->addressBox()->count(), 0);
        QCOMPARE(view(0)->calls, QStringList{"Navigate2 www.google.com"});
        QVERIFY(view(0)->Silent());
        QVERIFY(!window->action("mnuTop")->isChecked());
        QVERIFY(!window->progressBar()->isVisible());
        QCOMPARE(Module1::GetFavUrl(0), QString("http://www.google.com/"));
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowIcon().pixmap(48, 48).size(), QSize(48, 48));
    }

    void storedHistoryAndFavouritesLoad()
    {
        sandbox->writeFile("WebHis.dat", "\"http://www.a.tld/\"\r\n\"http://b.tld/x,y\"\r\n");
        {
            QSettings s(sandbox->settingsPath(), QSettings::IniFormat);
            s.setValue("Favorites/1", "One&http://one.tld/");
            s.setValue("Favorites/2", "Two&http://two.tld/");
        }
        start();
        QCOMPARE(window->addressBox()->count(), 2);
        QCOMPARE(window->addressBox()->itemText(1), QString("http://b.tld/x,y"));
        QCOMPARE(window->favMenu()->count(), 3);
        QCOMPARE(Module1::GetFavName(2), QString("Two"));
        QCOMPARE(Module1::GetFavUrl(2), QString("http://two.tld/"));
        QCOMPARE(window->addressBox()->currentText(), QString("home.test"));
    }

    void widerAndTallerWindowMovesRightHandControls()
    {
        start();
        window->resize(800, 600);
        QTest::qWait(0);
        QCoreApplication::processEvents();
        auto *close = window->findChild<QPushButton *>("cmdClose");
        auto *google = window->findChild<QPushButton *>("cmdGoogle");
        auto *go = window->findChild<QPushButton *>("cmdgo");
        auto *combo = window->addressBox();
        auto pos = [this](QWidget *w) { return w->mapTo(window.get(), QPoint(0, 0)); };
        const QPoint close0 = pos(close), google0 = pos(google);
        const int combo0 = combo->width(), view0 = view(0)->width(), viewH = view(0)->height();
        window->resize(900, 700);
        QTRY_COMPARE(pos(close).x(), close0.x() + 100);
        QCOMPARE(pos(google).x(), google0.x() + 100);
        QCOMPARE(combo->width(), combo0 + 100);
        QVERIFY(pos(go).x() - (pos(combo).x() + combo->width()) < 8);
        QCOMPARE(view(0)->width(), view0 + 100);
        QCOMPARE(view(0)->height(), viewH + 100);
        QCOMPARE(pos(close).y(), close0.y());
        // A tiny window fails nothing.
        window->resize(40, 30);
        QCoreApplication::processEvents();
        QVERIFY(combo->width() > 0);
    }

    void newTabNumbersAndCaptions()
    {
        start();
        QTest::mouseClick(window->findChild<QPushButton *>("newww"), Qt::LeftButton);
        QCOMPARE(window->tabStrip()->count(), 2);
        QCOMPARE(views.size(), 2);
        QCOMPARE(window->selectedIndex(), 1);
        QCOMPARE(tabCaption(1), QString("home.test"));
        QCOMPARE(view(1)->calls, QStringList{"Navigate2 about:blank"});
        QVERIFY(view(1)->Silent());
        QVERIFY(view(1)->isVisible());
        window->action("new_b")->trigger();
        QCOMPARE(window->selectedIndex(), 2);
        QCOMPARE(view(2)->calls, QStringList{"Navigate2 about:blank"});
        // Every view fills the same area.
        QCOMPARE(view(2)->geometry(), view(0)->geometry());
    }

    void closingTabs()
    {
        start();
        window->newww_Click();
        window->newww_Click();
        view(0)->complete("http://zero.tld/", "Zero");
        view(1)->complete("http://one.tld/", "One");
        view(2)->complete("http://two.tld/", "Two");
        window->tabStrip()->setCurrentIndex(0);
        QCOMPARE(window->addressBox()->currentText(), QString("http://zero.tld/"));

        // The first visible tab closes to the next one on its right.
        QTest::mouseClick(window->findChild<QPushButton *>("cmdClose"), Qt::LeftButton);
        QCOMPARE(window->selectedIndex(), 1);
        QVERIFY(!window->tabStrip()->isTabVisible(0));
        QVERIFY(!view(0)->isVisible());
        QCOMPARE(view(0)->discards, 1);
        QCOMPARE(window->addressBox()->currentText(), QString("http://one.tld/"));
        QCOMPARE(window->windowTitle(), QString("Corvane - One"));

        // A new tab after a close takes the next index, never a closed one.
        window->newww_Click();
        QCOMPARE(window->selectedIndex(), 3);
        QCOMPARE(views.size(), 4);

        // Closing a later tab lets the strip pick a neighbour.
        window->cmdClose_Click();
        QCOMPARE(openTabCount(), 2);
        QVERIFY(window->selectedIndex() == 2 || window->selectedIndex() == 1);
        window->cmdClose_Click();
        QCOMPARE(openTabCount(), 1);

        // The last tab is never closed: it goes home...
        const int last = window->selectedIndex();
        const int before = view(last)->calls.size();
        window->cmdClose_Click();
        QCOMPARE(openTabCount(), 1);
        QCOMPARE(view(last)->calls.mid(before), QStringList{"Navigate2 home.test"});
        // ...and once there, closing only refreshes the box and caption.
        view(last)->complete("home.test", "Home");
        window->addressBox()->setEditText("typed");
        window->cmdClose_Click();
        QCOMPARE(view(last)->calls.mid(before), QStringList{"Navigate2 home.test"});
        QCOMPARE(window->addressBox()->currentText(), QString("home.test"));
        QCOMPARE(window->windowTitle(), QString("Corvane - Home"));
    }

    void tabMenuClosesTheSelectedTab()
    {
        start();
        window->newww_Click();
        window->newww_Click();
        window->tabStrip()->setCurrentIndex(1);
        // Right-click on tab 2 and choose Close: the selected tab 1 goes.
        QTimer::singleShot(50, this, [this] {
            QMenu *menu = window->findChild<QMenu *>("mnuTab");
            QTRY_VERIFY(menu->isVisible());
            menu->setActiveAction(window->action("cmdClosee"));
            QTest::keyClick(menu, Qt::Key_Return);
        });
        const QRect tab2 = window->tabStrip()->tabRect(2);
        QTest::mouseClick(window->tabStrip(), Qt::RightButton, {}, tab2.center());
        QVERIFY(!window->tabStrip()->isTabVisible(1));
        QVERIFY(window->tabStrip()->isTabVisible(2));
    }

    void switchingTabsFollowsTheSelectedView()
    {
        start();
        window->newww_Click();
        view(0)->complete("http://zero.tld/", "Zero");
        view(1)->complete("http://one.tld/", "One");
        QTest::mouseClick(window->tabStrip(), Qt::LeftButton, {},
                          window->tabStrip()->tabRect(0).center());
        QCOMPARE(window->selectedIndex(), 0);
        QCOMPARE(window->addressBox()->currentText(), QString("http://zero.tld/"));
        QCOMPARE(window->windowTitle(), QString("Corvane - Zero"));
        window->selectNextTab();
        QCOMPARE(window->selectedIndex(), 1);
        window->selectNextTab();
        QCOMPARE(window->selectedIndex(), 0);
        window->selectPreviousTab();
        QCOMPARE(window->selectedIndex(), 1);
    }

    void goCompletesListsAndOpens_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("listed");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QByteArray>("history");
        QTest::newRow("bare") << "site.tld" << "http://www.site.tld" << "site.tld"
                              << QByteArray("\"http://www.site.tld/\"\r\n");
        QTest::newRow("www") << "www.site.tld" << "http://www.site.tld" << "www.site.tld"
                             << QByteArray("\"http://www.site.tld/\"\r\n");
        QTest::newRow("http") << "http://site.tld" << "http://site.tld" << "site.tld"
                              << QByteArray("\"http://www.site.tld/\"\r\n");
        QTest::newRow("http www") << "http://www.site.tld" << "http://www.site.tld"
                                  << "http://www.site.tld" << QByteArray("\"http://www.site.tld/\"\r\n");
        QTest::newRow("https") << "https://site.tld" << "https://site.tld" << "https://site.tld"
                               << QByteArray("\"https://site.tld\"\r\n");
        QTest::newRow("WWW") << "WWW.site.tld" << "http://WWW.site.tld" << "WWW.site.tld"
                             << QByteArray("\"http://WWW.site.tld/\"\r\n");
        QTest::newRow("loopback") << "127.0.0.1:8080/x" << "http://127.0.0.1:8080/x"
                                  << "127.0.0.1:8080/x" << QByteArray("\"http://127.0.0.1:8080/x\"\r\n");
    }
    void goCompletesListsAndOpens()
    {
        QFETCH(QString, typed);
        QFETCH(QString, listed);
        QFETCH(QString, box);
        QFETCH(QByteArray, history);
        start();
        view(0)->calls.clear();
        QVERIFY(UserInput::bringUp(window.get()));
        UserInput::key(window.get(), Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(UserInput::focused(), window->addressBox());
        UserInput::type(window.get(), typed);
        UserInput::key(window.get(), Qt::Key_Return);
        QCOMPARE(window->addressBox()->count(), 1);
        QCOMPARE(window->addressBox()->itemText(0), listed);
        QCOMPARE(window->addressBox()->currentText(), box);
        QCOMPARE(view(0)->calls, (QStringList{"Stop", "Navigate2 " + box}));
        QCOMPARE(sandbox->readFile("WebHis.dat"), history);
        QVERIFY(view(0)->hasFocus() || !window->isActiveWindow());
    }

    void knownAddressOnlyNavigates()
    {
        sandbox->writeFile("WebHis.dat", "\"http://www.site.tld/\"\r\n");
        start();
        for (const QString &typed : {QString("site.tld"), QString("www.site.tld"), QString("site")}) {
            window->addressBox()->setEditText(typed);
            QTest::mouseClick(window->findChild<QPushButton *>("cmdgo"), Qt::LeftButton);
        }
        QCOMPARE(window->addressBox()->count(), 1);
        QCOMPARE(sandbox->readFile("WebHis.dat"), QByteArray("\"http://www.site.tld/\"\r\n"));
        QCOMPARE(view(0)->calls.last(), QString("Navigate2 site"));
    }

    void otherKeysInTheBoxDoNotNavigate()
    {
        start();
        view(0)->calls.clear();
        window->addressBox()->setFocus();
        QTest::keyClicks(window->addressBox()->lineEdit(), "abc");
        QTest::keyClick(window->addressBox()->lineEdit(), Qt::Key_Tab);
        QVERIFY(view(0)->calls.isEmpty());
    }

    void pickingFromTheListOpensItUnchanged()
    {
        sandbox->writeFile("WebHis.dat", "\"http://www.a.tld/\"\r\n\"http://www.b.tld/\"\r\n");
        start();
        view(0)->calls.clear();
        QComboBox *box = window->addressBox();
        box->setCurrentIndex(1);
        emit box->activated(1);
        QCOMPARE(view(0)->calls, QStringList{"Navigate2 http://www.b.tld/"});
        QCOMPARE(box->lineEdit()->selectedText(), QString("http://www.b.tld/"));
        QCOMPARE(box->count(), 2);
        QCOMPARE(sandbox->readFile("WebHis.dat"),
                 QByteArray("\"http://www.a.tld/\"\r\n\"http://www.b.tld/\"\r\n"));
    }

    void navigationButtons()
    {
        start();
        view(0)->calls.clear();
        window->cmdBack_Click();
        window->cmdForward_Click();
        QCOMPARE(view(0)->calls, (QStringList{"Stop", "GoBack", "Stop", "GoForward"}));
        view(0)->calls.clear();
        window->cmdRefresh_Click();
        QVERIFY(window->progressBar()->isVisible());
        QCOMPARE(view(0)->calls, (QStringList{"Stop", "Refresh2"}));
        window->cmdStop_Click();
        QVERIFY(!window->progressBar()->isVisible());
        view(0)->calls.clear();
        window->cmdGoogle_Click();
        QCOMPARE(view(0)->calls, QStringList{"Navigate2 www.google.com"});
        view(0)->calls.clear();
        sandbox->writeFile("Hpage.dat", "\"changed.test\"\r\n");
        window->cmdHome_Click();
        QCOMPARE(view(0)->calls, QStringList{"Navigate2 changed.test"});
    }

    void statusTextAndLinkMemory()
    {
        start();
        window->newww_Click(); // tab 1 selected
        view(0)->raiseStatusText("http://hidden.tld/");
        QCOMPARE(window->statusPanel()->text(), QString("Status"));
        QCOMPARE(window->lastLinkAddress(), QString("http://hidden.tld/"));
        view(1)->raiseStatusText("HTTPS://Secure.tld/A");
        QCOMPARE(window->statusPanel()->text(), QString("HTTPS://Secure.tld/A"));
        QCOMPARE(window->lastLinkAddress(), QString("HTTPS://Secure.tld/A"));
        view(1)->raiseStatusText("ftp://no.tld/");
        QCOMPARE(window->lastLinkAddress(), QString("HTTPS://Secure.tld/A"));
        QVERIFY(!window->newWindowLinkPending());
        view(0)->raiseStatusText("OPENS SELECTED LINK IN A NEW WINDOW.");
        QVERIFY(window->newWindowLinkPending());
    }

    void progressFromTheSelectedViewOnly()
    {
        start();
        QProgressBar *bar = window->progressBar();
        view(0)->raiseBeforeNavigate();
        QVERIFY(bar->isVisible());
        view(0)->raiseProgress(30, 200);
        QCOMPARE(bar->maximum(), 200);
        QCOMPARE(bar->value(), 30);
        view(0)->raiseProgress(-1, 200);
        view(0)->raiseProgress(500, 200);
        QCOMPARE(bar->value(), 30);
        // A maximum of 0 is refused on its own; the progress still shows.
        view(0)->raiseProgress(10, 0);
        QCOMPARE(bar->maximum(), 200);
        QCOMPARE(bar->value(), 10);
        window->newww_Click();
        view(0)->raiseProgress(90, 100);
        QCOMPARE(bar->value(), 10);
        view(0)->raiseNavigateComplete();
        QVERIFY(!bar->isVisible());
    }

    void titlesNameTabAndWindow()
    {
        start();
        window->newww_Click();
        view(0)->raiseTitle("12345678901234567890");
        QCOMPARE(tabCaption(0), QString("12345678901234567890"));
        QCOMPARE(window->windowTitle(), QString("Corvane - 12345678901234567890"));
        view(1)->raiseTitle("123456789012345678901");
        QCOMPARE(tabCaption(1), QString("12345678901234567890..."));
        view(1)->raiseTitle("Fish & Chips");
        QCOMPARE(tabCaption(1), QString("Fish & Chips"));
    }

    void documentCompleteOnlyMovesTheSelectedTab()
    {
        start();
        window->newww_Click();
        window->addressBox()->setEditText("typing");
        window->progressBar()->setVisible(true);
        view(0)->complete("http://zero.tld/", "Zero");
        QCOMPARE(window->addressBox()->currentText(), QString("typing"));
        QVERIFY(!window->progressBar()->isVisible());
        view(1)->complete("http://one.tld/", "One");
        QCOMPARE(window->addressBox()->currentText(), QString("http://one.tld/"));
        QCOMPARE(window->windowTitle(), QString("Corvane - One"));
    }

    void contextMenuNewWindowBecomesATab_data()
    {
        QTest::addColumn<QString>("link");
        QTest::newRow("http") << "http://link.tld/page";
        QTest::newRow("https") << "https://link.tld/secure";
    }
    void contextMenuNewWindowBecomesATab()
    {
        QFETCH(QString, link);
        start();
        view(0)->calls.clear();
        view(0)->raiseStatusText(link);
        view(0)->raiseStatusText("Opens selected link in a new window.");
        QVERIFY(view(0)->raiseNewWindow(NewWindowInfo::Kind::ContextMenuNewWindow, QUrl(link)));
        QVERIFY(!window->newWindowLinkPending());
        QCOMPARE(view(0)->calls, QStringList{"Stop"});
        QCOMPARE(window->tabStrip()->count(), 2);
        QCOMPARE(window->selectedIndex(), 1);
        QCOMPARE(tabCaption(1), link);
        QCOMPARE(view(1)->calls, QStringList{"Navigate2 " + link});
        QVERIFY(view(1)->RegisterAsBrowser());
        QCOMPARE(window->addressBox()->currentText(), link);
        QCOMPARE(window->windowTitle(), link);
    }

    void pageRequestsAreNeverReplaced()
    {
        start();
        view(0)->raiseStatusText("http://link.tld/");
        view(0)->raiseStatusText("Opens selected link in a new window.");
        // The menu was dismissed; then the page opens a window of its own.
        QVERIFY(!view(0)->raiseNewWindow(NewWindowInfo::Kind::PageRequest,
                                         QUrl("http://popup.tld/")));
        QVERIFY(!window->newWindowLinkPending());
        QCOMPARE(window->tabStrip()->count(), 1);
        // Without the flag the menu item takes its own course too.
        QVERIFY(!view(0)->raiseNewWindow(NewWindowInfo::Kind::ContextMenuNewWindow,
                                         QUrl("http://link.tld/")));
        QCOMPARE(window->tabStrip()->count(), 1);
    }

    void ctrlClickOpensABackgroundTab()
    {
        start();
        QVERIFY(view(0)->raiseNewWindow(NewWindowInfo::Kind::BackgroundTab,
                                        QUrl("http://bg.tld/")));
        QCOMPARE(window->tabStrip()->count(), 2);
        QCOMPARE(window->selectedIndex(), 0);
        QCOMPARE(view(1)->calls.last(), QString("Navigate2 http://bg.tld/"));
        QVERIFY(view(1)->isVisible());
    }

    void closedTabRenamesNothing()
    {
        start();
        window->newww_Click();
        window->tabStrip()->setCurrentIndex(0);
        window->cmdClose_Click();
        view(1)->raiseTitle("Open");
        view(0)->raiseTitle("Closed");
        QCOMPARE(window->windowTitle(), QString("Corvane - Open"));
    }

    void fileCloseEndsTheProgramWhileLoading()
    {
        start();
        view(0)->raiseBeforeNavigate();
        QTimer::singleShot(0, this, [this] { window->action("Close")->trigger(); });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
        watchdog.start(5000);
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!window->isVisible());
    }

    void keyboardCommands()
    {
        start();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        view(0)->setFocus();
        QTest::keyClick(window.get(), Qt::Key_L, Qt::ControlModifier);
        QTRY_VERIFY(window->addressBox()->lineEdit()->hasFocus());
        QCOMPARE(window->addressBox()->lineEdit()->selectedText(), QString("home.test"));
        view(0)->calls.clear();
        QTest::keyClick(window.get(), Qt::Key_F5);
        QCOMPARE(view(0)->calls, (QStringList{"Stop", "Refresh2"}));
        view(0)->calls.clear();
        QTest::keyClick(window.get(), Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(view(0)->calls, (QStringList{"Stop", "GoBack"}));
        QTest::keyClick(window.get(), Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(window->tabStrip()->count(), 2);
        QTest::keyClick(window.get(), Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(openTabCount(), 1);
    }
};

QTEST_MAIN(TestFrmWeb)
#include "tst_frmweb.moc"
