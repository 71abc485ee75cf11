// The shared procedures behind what the browser remembers: the home page
// and history files, the favourites table and its settings records, and the
// tab-counting helpers. All state is process-wide and lives for the whole
// run; every change is written to disk when it is made. Nothing here knows
// a widget: the window fills its address box and menu from what these give.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class Module1
{
public:
    static const QString DefaultHomePage;  // "www.google.com"
    static const QString SearchServiceUrl; // "http://www.google.com/"
    static constexpr int FavCapacity = 200;

    // Home page file. GetHomePage reads Hpage.dat afresh on every call and
    // falls back to (and stores) DefaultHomePage when it has no address.
    static QString GetHomePage();
    static void SaveHomePage(const QString &address);

    // History file. LoadHistory reads WebHis.dat into HistoryText and hands
    // the entries to addBatch in file order, a batch at a time; the window
    // appends each batch to its list and lets events run between them.
    // AddToHistory appends the entry for a typed text unless the text was
    // loaded already. ClearHistory empties the file and HistoryText; the
    // caller empties its list.
    static void LoadHistory(const std::function<void(const QStringList &entries)> &addBatch);
    static void AddToHistory(const QString &text);
    static void ClearHistory();
    static const QString &HistoryText();

    // Favourites table: slot 0 is the built-in "Google", slots
    // 1..FavCapacity the user's. A slot outside 0..FavCapacity is refused
    // with a warning.
    static int FavCount();               // slots in use, slot 0 included
    static QString GetFavName(int slot); // as the user gave it; '&' is literal
    static QString GetFavUrl(int slot);
    static void SetFavUrl(int slot, const QString &address);
    // Reads the Favorites records into the table, up to the first missing
    // key or value without '&', and clears what killed saves left behind.
    static void LoadFavMenu();
    // Writes key "slot" of section "Favorites"; false when the slot is not
    // 1..FavCapacity or the store could not be written.
    static bool SaveFav(const QString &name, const QString &address, int slot);
    // Removes key "slot"; false when the removal could not be written (a
    // missing key is no failure).
    static bool DeleteFav(int slot);

    // Which tabs are still open: visible[i] says whether tab i is.
    static int CountVisibleTabs(const QList<bool> &visible);
    // Whether index is the first open tab; tab 0 counts as first when none is.
    static bool IsFirstVisibleTab(const QList<bool> &visible, int index);
    // The first open tab after current; 0 when there is none.
    static int NextVisibleTab(const QList<bool> &visible, int current);

    // Empties the favourites table and HistoryText and forgets where the
    // stored files were found, as at the start of a run.
    static void reset();
};
