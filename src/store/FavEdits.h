// The changes the favourites dialogs make. Each one keeps the settings store
// and the favourites table in step (slot k is key k for every favourite), and
// orders its writes so that a program killed half-way still finds every
// favourite but at most the one being edited on its next start. The caller
// rebuilds its menu from the table afterwards and shows message() when an
// edit failed.
#pragma once

#include <QString>

class FavEdits
{
public:
    enum Result {
        Done,
        Full,        // the table already holds Module1::FavCapacity favourites
        StoreFailed, // the store could not be written; nothing was changed
        NoSuchEntry, // not a user favourite (the built-in slot 0 included)
    };

    // Puts a favourite after the last one.
    static Result Add(const QString &name, const QString &address);
    // The last favourite takes the place of the deleted one.
    static Result Delete(int slot);
    static Result Rename(int slot, const QString &name);
    static Result ChangeAddress(int slot, const QString &address);

    // What to tell the user about Full and StoreFailed; empty for the others.
    static QString message(Result result);
    static const QString MessageTitle; // "Favorites"
};
