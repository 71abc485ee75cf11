// The main window under test, in a sandbox with scripted prompts: on fake
// page views (start) or on the real engine showing pages of a loopback
// server (startAt), with the look-ups and the user's actions the window and
// menu tests share. A test class derives from it, calls openSandbox() in
// init() and closeAll() in cleanup(); the members are there for its tests.
#pragma once

#include "DataTable.h"
#include "FakePageView.h"
#include "LoopbackServer.h"
#include "ScriptedPrompts.h"
#include "TestSandbox.h"
#include "UserInput.h"
#include "app/frmWeb.h"
#include "store/FavRecord.h"
#include "store/Module1.h"
#include "web/WebEnginePageView.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QWebEngineView>

class TestWindow : protected DataTable
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
    // the engine's), and waits until it is on screen and active; started
    // again, it is the next run of the program on the same stored data.
    void start(bool engine = false)
    {
        window.reset();
        views.clear();
        Module1::reset();
        const PageViewFactory fakes = [this](QWidget *parent) -> PageView * {
            views.append(new FakePageView(parent));
            return views.last();
        };
        window = std::make_unique<frmWeb>(engine ? PageViewFactory() : fakes);
        window->Form_Load();
        QVERIFY(UserInput::bringUp(window.get()));
    }
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
    // The events run in short turns of the event loop: the PDF viewer names
    // its page only when the loop comes back round often, and qWaitFor's
    // turns, which last as long as events keep coming, starve it.
    bool waitForTitle(const QString &title) const
    {
        for (QDeadlineTimer limit(20000); !limit.hasExpired(); QTest::qWait(20))
            if (showsTitle(title))
                return true;
        return false;
    }
    // Whether the window's caption names the selected page's title (any,
    // when empty) and the page has finished loading.
    bool showsTitle(const QString &title) const
    {
        const QString caption = "Corvane - " + title;
        const QString now = window->windowTitle();
        return now.startsWith(caption) && (title.isEmpty() || now == caption) &&
               !window->selectedView()->isLoading();
    }
    // Types the address of server's page at path into the address box, as
    // Ctrl+L starts it, presses Enter and waits for the title.
    bool go(const QString &path, const QString &title)
    {
        keys("Ctrl+L");
        UserInput::type(window.get(), server.address(path));
        keys("Return");
        return waitForTitle(title);
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
    // What a script gives back in the page of tab 0 (null when it never answers).
    QVariant js(const QString &script) const
    {
        auto result = std::make_shared<std::optional<QVariant>>(); // outlives a late answer
        engineView(0)->enginePage()->runJavaScript(script,
                                                   [result](const QVariant &v) { *result = v; });
        return QTest::qWaitFor([&] { return result->has_value(); }, 20000) ? **result : QVariant();
    }

    // Clicks the selected tab's page at pos (its centre when null) until done
    // holds: a page just loaded on a busy machine may not take a click yet,
    // and a user would click again.
    bool clickPageUntil(const std::function<bool()> &done, QPoint pos = {}) const
    {
        for (int tries = 0; tries < 6; ++tries) {
            UserInput::click(pageWidget(window->selectedIndex()), Qt::LeftButton, {}, pos);
            if (QTest::qWaitFor(done, 5000))
                return true;
        }
        return false;
    }
    bool clickPageUntilTitle(const QString &title) const
    {
        return clickPageUntil([&] { return showsTitle(title); });
    }

    // A key on the keyboard, and a click on a button of the window.
    void key(int k, int modifiers = 0)
    {
        UserInput::key(window.get(), Qt::Key(k), Qt::KeyboardModifiers(modifiers));
    }
    // Keys named as in "Ctrl+F, Shift+F3", one after another.
    void keys(const QString &names)
    {
        for (const QString &name : names.split(", ")) { // a sequence holds four keys at most
            const QKeyCombination combination = QKeySequence(name)[0];
            key(combination.key(), combination.keyboardModifiers());
        }
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
    // The kinds of question asked so far, in order, as in "print message".
    QString asked() const
    {
        QStringList kinds;
        for (const auto &question : prompts->asked)
            kinds << question.kind;
        return kinds.join(' ');
    }
    // The entries of the address box's drop-down list.
    QStringList listed() const
    {
        QStringList all;
        for (int i = 0; i < window->addressBox()->count(); ++i)
            all << window->addressBox()->itemText(i);
        return all;
    }

    // Favourites an earlier run left: key k holds "Site k" and favAddress(k).
    static QString favAddress(int k) { return QString("http://site%1.test/").arg(k); }
    void seedFavourites(int count) const
    {
        QSettings store(sandbox->settingsPath(), QSettings::IniFormat);
        for (int k = 1; k <= count; ++k)
            store.setValue("Favorites/" + QString::number(k),
                           FavRecord::join(QString("Site %1").arg(k), favAddress(k)));
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

    std::unique_ptr<TestSandbox> sandbox;
    std::unique_ptr<ScriptedPrompts> prompts;
    std::unique_ptr<frmWeb> window;
    QList<FakePageView *> views; // made by the window, in order (fake views only)
    LoopbackServer server;       // pages on 127.0.0.1 for the whole test run
};
