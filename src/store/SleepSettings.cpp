// Reading the tab sleep delays from the settings store.
#include "store/SleepSettings.h"

#include "store/AppPaths.h"

#include <QSettings>

#include <memory>

SleepSettings SleepSettings::read()
{
    SleepSettings delays;
    const std::unique_ptr<QSettings> settings = AppPaths::openSettings();
    settings->beginGroup(QStringLiteral("Tabs"));
    // A value with a comma comes back as a list; toString() then gives an
    // empty text, which reads as damaged.
    delays.freezeAfterSeconds =
        parseDelay(settings->value(QStringLiteral("FreezeAfterSeconds")).toString(),
                   DefaultFreezeAfterSeconds);
    delays.discardAfterSeconds =
        parseDelay(settings->value(QStringLiteral("DiscardAfterSeconds")).toString(),
                   DefaultDiscardAfterSeconds);
    settings->endGroup();
    return delays;
}

int SleepSettings::parseDelay(const QString &text, int fallback)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty())
        return fallback;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return fallback;
    }
    bool ok = false;
    const int seconds = digits.toInt(&ok);
    return ok ? seconds : fallback;
}
