// A process and everything it started (the engine's helper processes), read
// from /proc: the members, their proportional set size, their processor
// time, and their end.
#pragma once

#include <QHash>
#include <QList>
#include <QString>

class ProcessTree
{
public:
    // The process itself first, then all its descendants.
    static QList<qint64> members(qint64 root);
    // Sum of "Pss:" in /proc/<pid>/smaps_rollup over members(root), in KiB.
    static qint64 pssKiB(qint64 root);
    // Processor time (user and system, with that of ended children it
    // collected) spent so far by each of members(root), in seconds.
    static QHash<qint64, double> cpuSeconds(qint64 root);
    // "browser <MiB> + <n> helpers <MiB>", for a closer look at a figure.
    static QString describe(qint64 root);
    static bool isAlive(qint64 pid);
    // SIGKILLs those of the given processes still alive and waits (up to
    // timeoutMs) for them to be gone.
    static void killAll(const QList<qint64> &pids, int timeoutMs);
};
