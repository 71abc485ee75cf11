// Process-tree walking over /proc.
#include "ProcessTree.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QThread>

#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace {

// The parent of a process from /proc/<pid>/stat, or -1. The command name
// (field 2) is in parentheses and may hold spaces and parentheses itself,
// so the fields are counted from the last ')'.
qint64 parentOf(const QString &pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    const int close = line.lastIndexOf(')');
    if (close < 0)
        return -1;
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    return fields.size() >= 2 ? fields.at(1).toLongLong() : -1;
}

} // namespace

QList<qint64> ProcessTree::members(qint64 root)
{
    QMultiHash<qint64, qint64> children;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool numeric = false;
        const qint64 pid = entry.toLongLong(&numeric);
        if (numeric)
            children.insert(parentOf(entry), pid);
    }
    QList<qint64> tree{root};
    for (int i = 0; i < tree.size(); ++i)
        tree += children.values(tree.at(i));
    return tree;
}

namespace {
qint64 processPssKiB(qint64 pid)
{
    // Files under /proc report no size: read them whole, not up to atEnd().
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!rollup.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> lines = rollup.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("Pss:"))
            return line.mid(4).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}
} // namespace

qint64 ProcessTree::pssKiB(qint64 root)
{
    qint64 total = 0;
    for (qint64 pid : members(root))
        total += processPssKiB(pid);
    return total;
}

namespace {
// utime, stime, cutime and cstime of /proc/<pid>/stat (fields 14 to 17), in
// clock ticks; counted from the field after the command name, like parentOf.
qint64 processCpuTicks(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    const int close = line.lastIndexOf(')');
    if (close < 0)
        return 0;
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    qint64 ticks = 0;
    for (int field = 11; field <= 14 && field < fields.size(); ++field)
        ticks += fields.at(field).toLongLong();
    return ticks;
}
} // namespace

QHash<qint64, double> ProcessTree::cpuSeconds(qint64 root)
{
    const double perSecond = double(::sysconf(_SC_CLK_TCK));
    QHash<qint64, double> seconds;
    for (qint64 pid : members(root))
        seconds.insert(pid, double(processCpuTicks(pid)) / perSecond);
    return seconds;
}

QString ProcessTree::describe(qint64 root)
{
    const QList<qint64> tree = members(root);
    qint64 helpers = 0;
    for (qint64 pid : tree.mid(1))
        helpers += processPssKiB(pid);
    return QStringLiteral("browser %1 MiB + %2 helpers %3 MiB")
        .arg(processPssKiB(root) / 1024.0, 0, 'f', 1)
        .arg(tree.size() - 1)
        .arg(helpers / 1024.0, 0, 'f', 1);
}

bool ProcessTree::isAlive(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    // A zombie has ended; its parent just has not collected it.
    const QByteArray line = stat.readAll();
    const int close = line.lastIndexOf(')');
    return close >= 0 && line.mid(close + 2, 1) != "Z";
}

void ProcessTree::killAll(const QList<qint64> &pids, int timeoutMs)
{
    for (qint64 pid : pids) {
        if (isAlive(pid))
            ::kill(pid_t(pid), SIGKILL);
    }
    QElapsedTimer timer;
    timer.start();
    for (qint64 pid : pids) {
        while (isAlive(pid) && timer.elapsed() < timeoutMs)
            QThread::msleep(10);
    }
}
