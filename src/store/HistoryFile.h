// The home page file Hpage.dat and the history file WebHis.dat in the
// application folder, and the history text loaded at start-up. Each call
// opens, reads or writes, and closes its file at once; a file that cannot be
// used is skipped silently, as the callers carry on regardless.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class HistoryFile
{
public:
    // The first record of Hpage.dat, read afresh on every call; when it has
    // no usable address, Module1::DefaultHomePage, which is then stored.
    static QString homePage();
    static void saveHomePage(const QString &address);

    // Reads WebHis.dat (creating it when missing) and hands its entries to
    // addBatch in file order, a few thousand at a time; each batch is in
    // loadedText() before addBatch sees it.
    static void load(const std::function<void(const QStringList &entries)> &addBatch);
    // Appends the history entry of text, unless loadedText() contains the
    // text or the text is empty.
    static void add(const QString &text);
    // Empties the file and loadedText().
    static void clear();
    // Every entry load() read, each followed by CR LF.
    static const QString &loadedText();

    // Forgets the loaded text and what is known of the file's end.
    static void reset();
};
