// Favourites edits: the store first, then table and menu.
#include "dialogs/FavEdits.h"

#include "platform/Prompts.h"
#include "store/FavMenuItems.h"
#include "store/Module1.h"

#include <QAction>

const QString FavEdits::MessageTitle = QStringLiteral("Favorites");

namespace {

std::function<void()> g_storeWatcher;

void storeWritten()
{
    if (g_storeWatcher)
        g_storeWatcher();
}

bool isUserFavourite(const FavMenuItems &menu, int slot)
{
    return slot >= 1 && slot < menu.count();
}

} // namespace

void FavEdits::setStoreWatcher(std::function<void()> watcher)
{
    g_storeWatcher = std::move(watcher);
}

FavEdits::Result FavEdits::Add(FavMenuItems &menu, const QString &name, const QString &address)
{
    const int c = menu.count();
    // Refused before anything is created: the table has no slot beyond this.
    if (c > Module1::FavCapacity)
        return Full;
    if (!Module1::SaveFav(name, address, c))
        return StoreFailed;
    storeWritten();
    QAction *item = menu.load(c);
    if (!item)
        return StoreFailed;
    menu.setCaption(c, name);
    item->setVisible(true);
    Module1::SetFavUrl(c, address);
    return Done;
}

FavEdits::Result FavEdits::Delete(FavMenuItems &menu, int slot)
{
    if (!isUserFavourite(menu, slot))
        return NoSuchEntry;
    const int last = menu.count() - 1;
    const QString lastName = menu.caption(last);
    const QString lastAddress = Module1::GetFavUrl(last);
    if (slot < last) {
        // The last entry is written over the deleted one before its own key
        // goes, so it is in the store under one key or both at every moment.
        if (!Module1::SaveFav(lastName, lastAddress, slot))
            return StoreFailed;
        storeWritten();
    }
    if (!Module1::DeleteFav(last)) {
        // The last entry stays where it was: put the deleted one back over
        // its copy, so the store holds what the menu shows.
        if (slot < last)
            Module1::SaveFav(menu.caption(slot), Module1::GetFavUrl(slot), slot);
        return StoreFailed;
    }
    storeWritten();

    Module1::SetFavUrl(slot, lastAddress);
    Module1::SetFavUrl(last, QString());
    menu.setCaption(slot, lastName);
    menu.unload(last);
    return Done;
}

FavEdits::Result FavEdits::Rename(FavMenuItems &menu, int slot, const QString &name)
{
    if (!isUserFavourite(menu, slot))
        return NoSuchEntry;
    // The new value replaces the old one in place; the key is never absent.
    if (!Module1::SaveFav(name, Module1::GetFavUrl(slot), slot))
        return StoreFailed;
    storeWritten();
    menu.setCaption(slot, name);
    return Done;
}

FavEdits::Result FavEdits::ChangeAddress(FavMenuItems &menu, int slot, const QString &address)
{
    if (!isUserFavourite(menu, slot))
        return NoSuchEntry;
    if (!Module1::SaveFav(menu.caption(slot), address, slot))
        return StoreFailed;
    storeWritten();
    Module1::SetFavUrl(slot, address);
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

bool FavEdits::reportFailure(QWidget *parent, Result result)
{
    if (result == Done || result == NoSuchEntry)
        return false;
    Prompts::MsgBox(parent, message(result), Prompts::OkOnly | Prompts::Exclamation, MessageTitle);
    return true;
}
