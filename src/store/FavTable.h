// The favourites table for one run: name and address per slot. Slot 0 is the
// built-in "Google"; slots 1..count()-1 hold the user's favourites in menu
// order, as the settings store holds them under the same numbers.
#pragma once

#include <QString>

class FavTable
{
public:
    // Slots in use, slot 0 included.
    static int count();
    // Slots outside 0..Module1::FavCapacity are refused with a warning (an
    // empty text when read); what is given is kept as it stands.
    static QString name(int slot);
    static QString url(int slot);
    static void setName(int slot, const QString &name);
    static void setUrl(int slot, const QString &address);

    // Puts a favourite after the last one; false when the table is full.
    static bool append(const QString &name, const QString &address);
    // Empties the last user slot; slot 0 always stays.
    static void removeLast();

    // Fills slots 1.. from the settings store: key k for slot k, up to the
    // first key that is missing or holds no '&', and never beyond the
    // table. Slot 0 keeps its address.
    static void load();

    // Only slot 0, with no address, as at the start of a run.
    static void reset();
};
