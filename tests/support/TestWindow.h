// The main window under test, in a sandbox with scripted prompts: on fake
// page views (start) or on the real engine showing pages of a loopback
// server (startAt), with the look-ups and the user's actions the window,
// menu and dialog tests share, and the shape of their data tables. A test
// class derives from it, calls openSandbox() in init() and closeAll() in
// cleanup(); the members are there for its test functions to use.
#pragma once

#include "FakePageView.h"
#include "LoopbackServer.h"
#include "ScriptedPrompts.h"
#include "TestSandbox.h"
#include "UserInput.h"
#include "app/frmWeb.h"
#include "controls/xpcmdbutton.h"
#include "dialogs/DialogLauncher.h"
#include "store/FavRecord.h"
#include "store/Module1.h"
#include "web/WebEnginePageView.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QWebEngineView>

class TestWindow
{
protected:
    // A fresh sandbox whose home page file holds "home.test", and fresh prompts.
    void openSandbox()
    {
        sandbox = std::make_unique<TestSandbox>();
        sandbox->writeFile("Hpage.dat", "\"home.test\"\r\n");
        prompts = std::make_unique<ScriptedPrompts>();
    }
    // Starts the main window as the program starts it, on fake views (or on
    // the engine's), and waits until it is on screen and active; restart()
    // is the next run of the program on the same stored data.
    void start(bool engine = false)
    {
        window.reset();
        views.clear();
        Module1::reset();
        window = std::make_unique<frmWeb>(engine ? PageViewFactory() : fakeViewFactory(&views));
        window->Form_Load();
        QVERIFY(UserInput::bringUp(window.get()));
    }
    void restart() { start(); }
    // Ends the window, then the prompts, then the sandbox.
    void closeAll()
    {
        window.reset();
        prompts.reset();
        sandbox.reset();
    }

    // The real engine window with server's page at path as its home page,
    // once that has loaded; waitForTitle waits until the window caption
    // names a page and that page has loaded.
    void startAt(const QString &path)
    {
        sandbox->writeFile("Hpage.dat", "\"" + server.address(path).toUtf8() + "\"\r\n");
        start(true);
        QVERIFY(waitForTitle(QString()));
    }
    bool waitForTitle(const QString &title) const
    {
        const QString caption = "Corvane - " + title;
        return QTest::qWaitFor(
            [&] {
                return window->windowTitle().startsWith(caption) &&
                       (title.isEmpty() || window->windowTitle() == caption) &&
                       !window->selectedView()->isLoading();
            },
            20000);
    }
    static QByteArray page(const QByteArray &title, const QByteArray &body = QByteArray())
    {
        return "<html><head><title>" + title + "</title></head><body>" + body + "</body></html>";
    }
    // The engine view of tab index, and the widget its page is drawn on.
    WebEnginePageView *engineView(int index) const
    {
        return qobject_cast<WebEnginePageView *>(window->tabs()->view(index));
    }
    QWidget *pageWidget(int index) const { return engineView(index)->engineView()->focusProxy(); }

    // A key on the keyboard, and a click on a button of the window.
    void key(int k, int modifiers = 0)
    {
        UserInput::key(window.get(), Qt::Key(k), Qt::KeyboardModifiers(modifiers));
    }
    void press(const char *button) { UserInput::click(window->findChild<QPushButton *>(button)); }
    // Chooses the window's menu item (or the item of that object name) with
    // the mouse: its menu on the menu bar, each submenu on the way, the item.
    bool chooseMenuItem(const QString &name) { return chooseMenuItem(window->action(name)); }
    bool chooseMenuItem(QAction *item)
    {
        QList<QAction *> path{item};
        while (auto *menu = qobject_cast<QMenu *>(path.first()->associatedObjects().value(0)))
            path.prepend(menu->menuAction());
        QMenuBar *bar = window->menuBar();
        UserInput::click(bar, Qt::LeftButton, {}, bar->actionGeometry(path.first()).center());
        for (int i = 1; i < path.size(); ++i) {
            QMenu *menu = path.at(i - 1)->menu();
            if (!QTest::qWaitFor([&] { return menu->isVisible(); }) ||
                !UserInput::clickMenuItem(menu, path.at(i)))
                return false;
        }
        return true;
    }
    // The entries of the address box's drop-down list.
    QStringList listed() const
    {
        QStringList all;
        for (int i = 0; i < window->addressBox()->count(); ++i)
            all << window->addressBox()->itemText(i);
        return all;
    }

    // The running test's data table: its columns (by type, in order), a row
    // (values in column order), and the values of the row under test.
    template <typename... T> static void columns()
    {
        int i = 0;
        (QTest::addColumn<T>(column(i++)), ...);
    }
    template <typename... T> static void row(const QByteArray &name, T... values)
    {
        (QTest::newRow(name.constData()) << ... << values);
    }
    template <typename... T> static std::tuple<T...> fetch()
    {
        return fetchAt<T...>(std::index_sequence_for<T...>());
    }
    template <typename... T, size_t... I> static std::tuple<T...> fetchAt(std::index_sequence<I...>)
    {
        return {*static_cast<T *>(QTest::qData(column(I), qMetaTypeId<T>()))...};
    }
    static const char *column(int i)
    {
        static const char *const names[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
        return names[i];
    }

    // Favourites an earlier run left: key k holds favName(k) and favAddress(k).
    static QString favName(int k) { return QString("Site %1").arg(k); }
    static QString favAddress(int k) { return QString("http://site%1.test/").arg(k); }
    void seedFavourites(int count) const
    {
        for (int k = 1; k <= count; ++k)
            store()->setValue("Favorites/" + QString::number(k),
                              FavRecord::join(favName(k), favAddress(k)));
    }
    // What the store holds: the keys of its favourites, in number order, and
    // the record under one of them.
    QStringList storeKeys() const
    {
        auto settings = store();
        settings->beginGroup("Favorites");
        QStringList keys = settings->childKeys();
        std::sort(keys.begin(), keys.end(), [](auto &a, auto &b) { return a.toInt() < b.toInt(); });
        return keys;
    }
    QString stored(int key) const
    {
        return store()->value("Favorites/" + QString::number(key)).toString();
    }
    std::unique_ptr<QSettings> store() const
    {
        return std::make_unique<QSettings>(sandbox->settingsPath(), QSettings::IniFormat);
    }
    // The favourites of the Favorites menu, top to bottom, as the user named them.
    QStringList captions() const
    {
        QStringList all;
        for (QAction *item : window->favoritesMenu()->actions())
            if (item->objectName() == "mnuItemSite")
                all << item->text().replace("&&", "&");
        return all;
    }

    DialogLauncher *launcher() const { return window->findChild<DialogLauncher *>(); }
    template <typename T> static T *child(QWidget *parent, const char *name)
    {
        return parent->findChild<T *>(name);
    }
    static QLineEdit *box(QWidget *dialog, const char *name)
    {
        return child<QLineEdit>(dialog, name);
    }
    // Clicks an XP command button of the dialog, enabled or not, as the mouse would.
    static void click(QWidget *dialog, const char *name)
    {
        QVERIFY2(child<xpcmdbutton>(dialog, name), name);
        UserInput::click(child<xpcmdbutton>(dialog, name));
    }
    // Closes a dialog the way a data row names it: "close box" closes the
    // window, "Esc" presses Escape in the dialog (escTarget's window),
    // anything else clicks button.
    static void closeBy(const QString &how, QWidget *dialog, const char *button, QWidget *escTarget)
    {
        if (how == "close box")
            QVERIFY(dialog->close());
        else if (how == "Esc")
            UserInput::key(escTarget, Qt::Key_Escape);
        else
            click(dialog, button);
    }

    std::unique_ptr<TestSandbox> sandbox;
    std::unique_ptr<ScriptedPrompts> prompts;
    std::unique_ptr<frmWeb> window;
    QList<FakePageView *> views; // made by the window, in order (fake views only)
    LoopbackServer server;       // pages on 127.0.0.1 for the whole test run
};
