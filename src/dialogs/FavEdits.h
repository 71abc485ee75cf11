// The changes the favourites dialogs make. Each one keeps menu item, address
// slot and store key of every favourite in step, and orders its writes so
// that a program killed half-way still finds every favourite but at most the
// one being edited on its next start.
#pragma once

#include <QString>
#include <functional>

class FavMenuItems;
class QWidget;

class FavEdits
{
public:
    enum Result {
        Done,
        Full,        // the menu already holds Module1::FavCapacity favourites
        StoreFailed, // the store could not be written; nothing was changed
        NoSuchEntry, // not a user favourite (the built-in entry 0 included)
    };

    // Appends a favourite after the last one.
    static Result Add(FavMenuItems &menu, const QString &name, const QString &address);
    // The last favourite takes the place of the deleted one.
    static Result Delete(FavMenuItems &menu, int slot);
    static Result Rename(FavMenuItems &menu, int slot, const QString &name);
    static Result ChangeAddress(FavMenuItems &menu, int slot, const QString &address);

    // The message the dialogs show for Full and StoreFailed.
    static QString message(Result result);
    static const QString MessageTitle; // "Favorites"
    // Shows that message over parent when the edit failed (Full or
    // StoreFailed) and returns whether it did.
    static bool reportFailure(QWidget *parent, Result result);

    // Test seam: called after every write to the store, while the edit is
    // under way; nullptr removes it.
    static void setStoreWatcher(std::function<void()> watcher);
};
