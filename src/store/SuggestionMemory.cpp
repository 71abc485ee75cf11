// Suggestions from memory: narrowing known pages down to the words typed.
#include "store/SuggestionMemory.h"

#include <algorithm>

namespace {
// Each further letter keeps about one page in twenty of those matching: so
// many known pages still tell the first few of the next keystroke. More are
// not copied: a few kilobytes, not the most visited pages over again.
constexpr int ThinBelow = 256;
constexpr int KeptAtMost = ThinBelow;
} // namespace

void SuggestionMemory::setTop(const QVector<RankedPage> &pages, bool complete)
{
    m_top = {{}, pages, complete};
    // Read once now, between keys: memory the window's thread reads the
    // first time costs that time, several milliseconds for all of them.
    Known read;
    narrow(m_top, {QStringLiteral("\x01")}, 0, read); // found nowhere: all are read
}

void SuggestionMemory::remember(const QString &typed, const QVector<RankedPage> &pages,
                                bool complete)
{
    m_last = {HistoryDatabase::words(typed), pages, complete};
}

void SuggestionMemory::clear()
{
    m_top = {};
    m_last = {};
}

bool SuggestionMemory::narrow(const Known &known, const QStringList &words, int limit,
                              Known &narrowed)
{
    if (known.pages.isEmpty() && !known.complete)
        return false;
    // A page holding every new word holds every known one when each known
    // word is part of a new one ("kiw" of "kiwi"): the pages that match
    // are among the known ones, or ranked below all of them.
    const bool within =
        std::all_of(known.words.cbegin(), known.words.cend(), [&](const QString &k) {
            return std::any_of(words.cbegin(), words.cend(),
                               [&](const QString &w) { return w.contains(k); });
        });
    if (!within)
        return false;
    narrowed.words = words;
    narrowed.complete = known.complete;
    narrowed.pages.clear();
    for (const RankedPage &row : known.pages) {
        if (std::all_of(words.cbegin(), words.cend(),
                        [&](const QString &w) { return row.search.contains(w); })) {
            if (narrowed.pages.size() == KeptAtMost) {
                narrowed.complete = false; // the first of them, not all
                break;
            }
            narrowed.pages.append(row);
        }
    }
    // Pages not known may come between the last known match and the next:
    // the first limit are sure only when as many are known.
    return narrowed.complete || narrowed.pages.size() >= limit;
}

bool SuggestionMemory::answer(const QString &typed, int limit, QVector<VisitedPage> &pages)
{
    const QStringList words = HistoryDatabase::words(typed);
    if (words.isEmpty() || limit <= 0)
        return false;
    Known narrowed;
    if (!narrow(m_last, words, limit, narrowed) && !narrow(m_top, words, limit, narrowed))
        return false;
    pages.clear();
    for (int i = 0; i < narrowed.pages.size() && i < limit; ++i)
        pages.append(narrowed.pages.at(i).page);
    m_last = std::move(narrowed);
    return true;
}

bool SuggestionMemory::thin() const
{
    return !m_last.words.isEmpty() && !m_last.complete && m_last.pages.size() < ThinBelow;
}
