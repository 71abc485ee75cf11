// Page zoom levels, remembered per host in the settings store: group "Zoom",
// one key per host holding a whole percentage. Pure data, no widgets; the
// window's ZoomControl asks and tells.
#pragma once

#include <QString>
#include <QVector>

class ZoomLevels
{
public:
    static constexpr int Default = 100;

    // The levels zooming steps through, in percent, ascending.
    static const QVector<int> &steps();
    // The next step above (stepIn) or below (stepOut) percent; at the end of
    // the table the level stays where it is.
    static int stepIn(int percent);
    static int stepOut(int percent);
    // A stored value read as a level: a whole number from the first step to
    // the last; anything else (text, fractions, out of range) reads as Default.
    static int fromStored(const QString &text);

    // The settings key of a host: the host percent-encoded, so that '/', '\',
    // '%', blanks and non-ASCII names each make one plain key.
    static QString keyOf(const QString &host);
    // The level stored for host; Default when there is none or it is unusable.
    static int load(const QString &host);
    // Stores the level for host; Default, or a level outside the steps' range,
    // removes its entry. False when the host is empty (nothing to key it by)
    // or the store could not be written.
    static bool save(const QString &host, int percent);
};
