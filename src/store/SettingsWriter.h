// Opens the settings store for a change, clearing first what a program
// killed in the middle of a save can leave beside it.
#pragma once

#include <QString>

#include <memory>

class QSettings;

class SettingsWriter
{
public:
    // The store, ready for a change that is written at sync(). A lock file
    // that a killed writer left is taken for stale after a second, where
    // the store's own rule would hold the save for 30 s.
    static std::unique_ptr<QSettings> open();

    // Removes copies of the store left under a save's temporary name
    // ("Corvane.conf.XXXXXX") once they are old enough not to belong to a
    // save still under way. Called once at start-up.
    static void removeStaleCopies();
    // Whether a file name is such a copy of the store named storeName.
    static bool isTemporaryCopy(const QString &name, const QString &storeName);

    // A sync() that reached the file: a FormatError only says that lines of
    // the old file could not be read (they are dropped), the values were
    // written all the same.
    static bool written(const QSettings &settings);
};
