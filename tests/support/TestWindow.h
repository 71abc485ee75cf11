// The main window on fake page views that the dialog and menu tests drive, in
// a sandbox with scripted prompts, and the look-ups those tests share. A test
// class derives from it, calls openSandbox() in init() and closeAll() in
// cleanup(); the members are there for its test functions to use.
#pragma once

#include "FakePageView.h"
#include "ScriptedPrompts.h"
#include "TestSandbox.h"
#include "app/frmWeb.h"

#include <QList>
#include <QStringList>
#include <memory>

class DialogLauncher;
class QLineEdit;

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
    QList<FakePageView *> views; // made by the window, in order
};
