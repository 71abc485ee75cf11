// The main window under test, in a sandbox with scripted prompts: on fake
// page views (start) or on the real engine showing pages of a loopback server
// (startAt), and the look-ups the window, menu and dialog tests share. A test
// class derives from it, calls openSandbox() in init() and closeAll() in
// cleanup(); the members are there for its test functions to use.
#pragma once

#include "FakePageView.h"
#include "LoopbackServer.h"
#include "ScriptedPrompts.h"
#include "TestSandbox.h"
#include "app/frmWeb.h"

#include <QList>
#include <QStringList>
#include <memory>

class DialogLauncher;
class QLineEdit;
class WebEnginePageView;

class TestWindow
{
protected:
    // A fresh sandbox whose home page file holds "home.test", and fresh prompts.
    void openSandbox();
    // Starts the main window on fake views as the program starts it, and
    // waits until it is on screen.
    void start();
    // The next run of the program on the same stored data.
    void restart();
    // Ends the window, then the prompts, then the sandbox.
    void closeAll();

    // The real engine window. server() serves pages on 127.0.0.1 for the
    // whole test run; startAt(path) makes that page the home page and starts
    // the window as the program does; waitForTitle waits until the window
    // caption names the page (the selected tab's, or the last one titled).
    LoopbackServer &server();
    void startAt(const QString &path);
    bool waitForTitle(const QString &title, int timeoutMs = 10000) const;
    // The engine view of tab index (null on fake views).
    WebEnginePageView *engineView(int index) const;
    // A small HTML page with a title and a body.
    static QByteArray page(const QByteArray &title, const QByteArray &body = QByteArray());

    // Favourites an earlier run left: key k holds favName(k) and favAddress(k).
    static QString favName(int k);
    static QString favAddress(int k);
    void seedFavourites(int count) const;
    // What the store holds: the keys of its favourites, in number order, and
    // the record under one of them.
    QStringList storeKeys() const;
    QString stored(int key) const;
    // The Favorites menu, top to bottom.
    QStringList captions() const;

    DialogLauncher *launcher() const;
    template <typename T> static T *child(QWidget *parent, const char *name)
    {
        return parent->findChild<T *>(QString::fromLatin1(name));
    }
    static QLineEdit *box(QWidget *dialog, const char *name);
    // Clicks an XP command button of the dialog, enabled or not, as the mouse would.
    static void click(QWidget *dialog, const char *name);
    // Closes a dialog the way a data row names it: "close box" closes the
    // window, "Esc" presses Escape in escTarget, anything else clicks button.
    static void closeBy(const QString &how, QWidget *dialog, const char *button,
                        QWidget *escTarget);

    std::unique_ptr<TestSandbox> sandbox;
    std::unique_ptr<ScriptedPrompts> prompts;
    std::unique_ptr<frmWeb> window;
    QList<FakePageView *> views; // made by the window, in order (fake views only)

private:
    std::unique_ptr<LoopbackServer> m_server;
};
