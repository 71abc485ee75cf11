// The shared procedures behind what the browser remembers: the home page
// and history files, the favourites address table and its settings records,
// and the tab-counting helpers. All state is process-wide and lives for the
// whole run; every change is written to disk when it is made.
#pragma once

#include <QString>

class FavMenuItems;
class QComboBox;
class QTabBar;

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

    // History file. LoadHistory fills the list and HistoryText from
    // WebHis.dat; AddToHistory appends the entry for a typed text unless the
    // text was loaded already; ClearHistory empties file, list and
    // HistoryText.
    static void LoadHistory(QComboBox *combo);
    static void AddToHistory(const QString &text);
    static void ClearHistory(QComboBox *combo);
    static const QString &HistoryText();

    // Favourites: slot 0 is the built-in entry, slots 1..FavCapacity the
    // user's. A slot outside 0..FavCapacity is refused with a warning.
    static void SetFavUrl(int slot, const QString &address);
    static QString GetFavUrl(int slot);
    static void LoadFavMenu(FavMenuItems &menu);
    // Writes key "slot" of section "Favorites"; false when the slot is not
    // 1..FavCapacity or the store could not be written.
    static bool SaveFav(const QString &name, const QString &address, int slot);
    static bool DeleteFav(int slot);

    // Read-only questions about which tabs are still open (visible).
    static int CountVisibleTabs(const QTabBar *tabs);
    static bool IsFirstVisibleTab(const QTabBar *tabs, int index);
    static int NextVisibleTab(const QTabBar *tabs); // after tabs->currentIndex(); 0 if none

    // Empties FavUrls and HistoryText and forgets where the stored files
    // were found, as at the start of a run.
    static void reset();
};
