// How long a tab that is not selected stays awake: the delays before its
// page is frozen and before it is discarded, from the settings store.
#pragma once

#include <QString>

class SleepSettings
{
public:
    static constexpr int DefaultFreezeAfterSeconds = 5 * 60;
    static constexpr int DefaultDiscardAfterSeconds = 30 * 60;

    // Seconds a tab spends hidden before each step; 0 turns the step off.
    int freezeAfterSeconds = DefaultFreezeAfterSeconds;
    int discardAfterSeconds = DefaultDiscardAfterSeconds;

    // Keys FreezeAfterSeconds and DiscardAfterSeconds of group Tabs in
    // AppPaths::openSettings(); a key that is missing or does not read as a
    // delay gives its default.
    static SleepSettings read();

    // A stored delay: a whole number of seconds, 0 or more, that fits an
    // int, with spaces around it allowed; anything else (empty, negative,
    // fractional, junk, too large) gives fallback.
    static int parseDelay(const QString &text, int fallback);
};
