// What the address box's suggestions can be told from memory, on the
// window's thread: the most visited pages and the database's last answer,
// narrowed down as the typed text grows.
#pragma once

#include "store/HistoryDatabase.h"

class SuggestionMemory
{
public:
    // The most visited pages in rank order; complete when they are all the
    // pages there are.
    void setTop(const QVector<RankedPage> &pages, bool complete);
    // The first pages in rank order that match typed, as the database
    // answered; complete when they are all that match.
    void remember(const QString &typed, const QVector<RankedPage> &pages, bool complete);
    void clear();
    // The first limit pages in rank order that match typed, when what is
    // known tells them for sure; false when only the database can.
    bool answer(const QString &typed, int limit, QVector<VisitedPage> &pages);
    // Whether the last answer came from so few known pages that a longer
    // word would need the database: worth asking it ahead, between keys.
    bool thin() const;

private:
    struct Known
    {
        QStringList words;         // every page matching all of them is below
        QVector<RankedPage> pages; // the first of those pages in rank order
        bool complete = false;     // they are all of them
    };
    // Known narrowed to words, when every page holding those words holds
    // the known words too and enough of them are known.
    static bool narrow(const Known &known, const QStringList &words, int limit, Known &narrowed);

    Known m_top;
    Known m_last;
};
