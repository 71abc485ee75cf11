// What the dialogs and commands may ask of the main window, and nothing more.
#pragma once

#include <QString>

class PageView;
class QWidget;

class BrowserShell
{
public:
    virtual ~BrowserShell() = default;

    // The view of the selected tab, looked up afresh on every call; null
    // only while the window is being built or torn down.
    virtual PageView *selectedView() const = 0;
    // The text in the address box now.
    virtual QString addressText() const = 0;
    // The favourites table in the store changed: the Favorites menu is
    // rebuilt from it.
    virtual void favouritesChanged() = 0;
    // The history was cleared in the store: the address box's list empties
    // (the text in the box stays) and the visited pages are forgotten.
    virtual void addressListCleared() = 0;
    // The window that dialogs are placed over and that the modal favourites
    // dialogs disable while they are open.
    virtual QWidget *shellWindow() = 0;
};
