// Favourites edits: the store first, then the table.
#include "store/FavEdits.h"

#include "store/FavTable.h"
#include "store/Module1.h"

const QString FavEdits::MessageTitle = QStringLiteral("Favorites");

namespace {
bool isUserFavourite(int slot)
{
    return slot >= 1 && slot < FavTable::count();
}
} // namespace

FavEdits::Result FavEdits::Add(const QString &name, const QString &address)
{
    const int slot = FavTable::count();
    // Refused before anything is written: the table has no slot beyond this.
    if (slot > Module1::FavCapacity)
        return Full;
    if (!Module1::SaveFav(name, address, slot))
        return StoreFailed;
    FavTable::append(name, address);
    return Done;
}

FavEdits::Result FavEdits::Delete(int slot)
{
    if (!isUserFavourite(slot))
        return NoSuchEntry;
    const int last = FavTable::count() - 1;
    const QString lastName = FavTable::name(last);
    const QString lastAddress = FavTable::url(last);
    // The last entry is written over the deleted one before its own key
    // goes, so it is in the store under one key or both at every moment.
    if (slot < last && !Module1::SaveFav(lastName, lastAddress, slot))
        return StoreFailed;
    if (!Module1::DeleteFav(last)) {
        // The last entry stays where it was: put the deleted one back over
        // its copy, so the store holds what the table does.
        if (slot < last)
            Module1::SaveFav(FavTable::name(slot), FavTable::url(slot), slot);
        return StoreFailed;
    }
    FavTable::setName(slot, lastName);
    FavTable::setUrl(slot, lastAddress);
    FavTable::removeLast();
    return Done;
}

FavEdits::Result FavEdits::Rename(int slot, const QString &name)
{
    if (!isUserFavourite(slot))
        return NoSuchEntry;
    // The new value replaces the old one in place; the key is never absent.
    if (!Module1::SaveFav(name, FavTable::url(slot), slot))
        return StoreFailed;
    FavTable::setName(slot, name);
    return Done;
}

FavEdits::Result FavEdits::ChangeAddress(int slot, const QString &address)
{
    if (!isUserFavourite(slot))
        return NoSuchEntry;
    if (!Module1::SaveFav(FavTable::name(slot), address, slot))
        return StoreFailed;
    FavTable::setUrl(slot, address);
    return Done;
}

QString FavEdits::message(Result result)
{
    switch (result) {
    case Full:
        return QStringLiteral("The Favorites menu is full: it holds %1 favorites, as many as it "
                              "can. Delete one with Organize Favorite... before adding another.")
            .arg(Module1::FavCapacity);
    case StoreFailed:
        return QStringLiteral("Your favorites could not be saved, so nothing was changed.");
    case Done:
    case NoSuchEntry:
        break;
    }
    return QString();
}
