// The favourites table and its load from the settings store.
#include "store/FavTable.h"

#include "store/AppPaths.h"
#include "store/FavRecord.h"
#include "store/Module1.h"

#include <QSettings>
#include <QtDebug>
#include <memory>

namespace {

constexpr int kSlots = Module1::FavCapacity + 1;

QString g_names[kSlots];
QString g_urls[kSlots];
int g_count = 1;

bool validSlot(int slot, const char *what)
{
    if (slot >= 0 && slot < kSlots)
        return true;
    qWarning("Module1::%s: favourites slot %d is outside 0..%d", what, slot, kSlots - 1);
    return false;
}

QString builtInName()
{
    return QStringLiteral("Google");
}

} // namespace

int FavTable::count()
{
    return g_count;
}

QString FavTable::name(int slot)
{
    if (!validSlot(slot, "GetFavName"))
        return QString();
    return slot == 0 ? builtInName() : g_names[slot];
}

QString FavTable::url(int slot)
{
    if (!validSlot(slot, "GetFavUrl"))
        return QString();
    return g_urls[slot];
}

void FavTable::setName(int slot, const QString &name)
{
    if (validSlot(slot, "SetFavName") && slot != 0)
        g_names[slot] = name;
}

void FavTable::setUrl(int slot, const QString &address)
{
    if (validSlot(slot, "SetFavUrl"))
        g_urls[slot] = address;
}

bool FavTable::append(const QString &name, const QString &address)
{
    if (g_count >= kSlots)
        return false;
    g_names[g_count] = name;
    g_urls[g_count] = address;
    ++g_count;
    return true;
}

void FavTable::removeLast()
{
    if (g_count <= 1)
        return;
    --g_count;
    g_names[g_count].clear();
    g_urls[g_count].clear();
}

void FavTable::load()
{
    while (g_count > 1)
        removeLast();
    const std::unique_ptr<QSettings> settings = AppPaths::openSettings();
    // The table has no slot beyond FavCapacity, so a key beyond it is never read.
    for (int key = 1; key < kSlots; ++key) {
        const QVariant stored =
            settings->value(QStringLiteral("Favorites/") + QString::number(key));
        // An unquoted value with commas, edited by hand, comes back as a list.
        const QString value = stored.typeId() == QMetaType::QStringList
                                  ? stored.toStringList().join(QLatin1Char(','))
                                  : stored.toString();
        QString name;
        QString address;
        if (!FavRecord::split(value, &name, &address))
            break;
        append(name, address);
    }
}

void FavTable::reset()
{
    for (int slot = 0; slot < kSlots; ++slot) {
        g_names[slot].clear();
        g_urls[slot].clear();
    }
    g_count = 1;
}
