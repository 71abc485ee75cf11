// The front of the store: home page, history, favourites and tab counting.
#include "store/Module1.h"

#include "store/AppPaths.h"
#include "store/FavRecord.h"
#include "store/FavTable.h"
#include "store/HistoryFile.h"
#include "store/SettingsWriter.h"

#include <QSettings>
#include <QtDebug>

namespace {
QString favKey(int slot)
{
    return QStringLiteral("Favorites/") + QString::number(slot);
}
} // namespace

const QString Module1::DefaultHomePage = QStringLiteral("www.google.com");
const QString Module1::SearchServiceUrl = QStringLiteral("http://www.google.com/");

QString Module1::GetHomePage()
{
    return HistoryFile::homePage();
}

void Module1::SaveHomePage(const QString &address)
{
    HistoryFile::saveHomePage(address);
}

void Module1::LoadHistory(const std::function<void(const QStringList &entries)> &addBatch)
{
    HistoryFile::load(addBatch);
}

void Module1::AddToHistory(const QString &text)
{
    HistoryFile::add(text);
}

void Module1::ClearHistory()
{
    HistoryFile::clear();
}

const QString &Module1::HistoryText()
{
    return HistoryFile::loadedText();
}

int Module1::FavCount()
{
    return FavTable::count();
}

QString Module1::GetFavName(int slot)
{
    return FavTable::name(slot);
}

QString Module1::GetFavUrl(int slot)
{
    return FavTable::url(slot);
}

void Module1::SetFavUrl(int slot, const QString &address)
{
    FavTable::setUrl(slot, address);
}

void Module1::LoadFavMenu()
{
    SettingsWriter::removeStaleCopies();
    FavTable::load();
}

bool Module1::SaveFav(const QString &name, const QString &address, int slot)
{
    if (slot < 1 || slot > FavCapacity) {
        qWarning("Module1::SaveFav: favourites slot %d is outside 1..%d", slot, FavCapacity);
        return false;
    }
    const std::unique_ptr<QSettings> settings = SettingsWriter::open();
    settings->setValue(favKey(slot), FavRecord::join(name, address));
    settings->sync();
    return SettingsWriter::written(*settings);
}

bool Module1::DeleteFav(int slot)
{
    const std::unique_ptr<QSettings> settings = SettingsWriter::open();
    settings->remove(favKey(slot));
    settings->sync();
    return SettingsWriter::written(*settings);
}

int Module1::CountVisibleTabs(const QList<bool> &visible)
{
    return int(visible.count(true));
}

bool Module1::IsFirstVisibleTab(const QList<bool> &visible, int index)
{
    const qsizetype first = visible.indexOf(true);
    return (first < 0 ? 0 : first) == index;
}

int Module1::NextVisibleTab(const QList<bool> &visible, int current)
{
    const qsizetype next = visible.indexOf(true, qMax<qsizetype>(qsizetype(current) + 1, 0));
    return next < 0 ? 0 : int(next);
}

void Module1::reset()
{
    FavTable::reset();
    HistoryFile::reset();
    AppPaths::forgetUsablePaths();
}
