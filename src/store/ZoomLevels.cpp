// Zoom steps and the per-host zoom entries of the settings store.
#include "store/ZoomLevels.h"

#include "store/AppPaths.h"
#include "store/PrivateMode.h"

#include <QSettings>
#include <QUrl>
#include <algorithm>

namespace {
const QString Group = QStringLiteral("Zoom/");

bool inRange(int percent)
{
    return percent >= ZoomLevels::steps().first() && percent <= ZoomLevels::steps().last();
}
} // namespace

const QVector<int> &ZoomLevels::steps()
{
    static const QVector<int> table{25,  33,  50,  67,  75,  80,  90,  100, 110,
                                    125, 150, 175, 200, 250, 300, 400, 500};
    return table;
}

int ZoomLevels::stepIn(int percent)
{
    const auto next = std::upper_bound(steps().cbegin(), steps().cend(), percent);
    return next == steps().cend() ? steps().last() : *next;
}

int ZoomLevels::stepOut(int percent)
{
    const auto next = std::lower_bound(steps().cbegin(), steps().cend(), percent);
    return next == steps().cbegin() ? steps().first() : *(next - 1);
}

int ZoomLevels::fromStored(const QString &text)
{
    bool ok = false;
    const int percent = text.trimmed().toInt(&ok);
    return ok && inRange(percent) ? percent : Default;
}

QString ZoomLevels::keyOf(const QString &host)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(host));
}

int ZoomLevels::load(const QString &host)
{
    if (host.isEmpty())
        return Default;
    // A hand-edited value with commas comes back as a list: unusable. One
    // saved in this run comes back as the number it was given.
    const QVariant stored = AppPaths::openSettings()->value(Group + keyOf(host));
    return stored.typeId() == QMetaType::QStringList ? Default : fromStored(stored.toString());
}

bool ZoomLevels::save(const QString &host, int percent)
{
    if (host.isEmpty())
        return false;
    if (PrivateMode::isOn())
        return true; // kept for the run only, by the window
    const auto settings = AppPaths::openSettings();
    if (percent == Default || !inRange(percent))
        settings->remove(Group + keyOf(host));
    else
        settings->setValue(Group + keyOf(host), percent);
    settings->sync();
    return settings->status() != QSettings::AccessError;
}
