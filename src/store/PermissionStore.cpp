// Per-site permission answers in the settings store.
#include "store/PermissionStore.h"

#include "store/AppPaths.h"
#include "store/PrivateMode.h"
#include "store/SettingsWriter.h"

#include <QSettings>
#include <QUrl>

namespace {
const QString Group = QStringLiteral("Permissions");

PermissionStore::Answer fromStored(const QVariant &value)
{
    if (value.typeId() == QMetaType::QStringList)
        return PermissionStore::Answer::Ask; // commas in a hand-edited value
    const QString text = value.toString().trimmed();
    if (text == QLatin1String("allow"))
        return PermissionStore::Answer::Allow;
    if (text == QLatin1String("block"))
        return PermissionStore::Answer::Block;
    return PermissionStore::Answer::Ask;
}
} // namespace

QString PermissionStore::originOf(const QString &address)
{
    const QUrl url(address);
    if (url.host().isEmpty() ||
        (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
        return QString();
    const int port = url.port(url.scheme() == QLatin1String("https") ? 443 : 80);
    return QStringLiteral("%1://%2:%3").arg(url.scheme(), url.host()).arg(port);
}

QString PermissionStore::keyOf(const QString &origin, const QString &feature)
{
    return Group + QLatin1Char('/') + QString::fromLatin1(QUrl::toPercentEncoding(origin)) +
           QLatin1Char('/') + feature;
}

PermissionStore::Answer PermissionStore::load(const QString &origin, const QString &feature)
{
    if (origin.isEmpty() || feature.isEmpty())
        return Answer::Ask;
    return fromStored(AppPaths::openSettings()->value(keyOf(origin, feature)));
}

bool PermissionStore::save(const QString &origin, const QString &feature, Answer answer)
{
    if (origin.isEmpty() || feature.isEmpty())
        return false;
    if (PrivateMode::isOn())
        return true; // the engine keeps the answer for this run only
    const auto settings = SettingsWriter::open();
    if (answer == Answer::Ask)
        settings->remove(keyOf(origin, feature));
    else
        settings->setValue(keyOf(origin, feature), answer == Answer::Allow ? "allow" : "block");
    settings->sync();
    return SettingsWriter::written(*settings);
}

QList<QPair<QString, PermissionStore::Answer>> PermissionStore::answersFor(const QString &origin)
{
    QList<QPair<QString, Answer>> answers;
    if (origin.isEmpty())
        return answers;
    const auto settings = AppPaths::openSettings();
    settings->beginGroup(Group + QLatin1Char('/') +
                         QString::fromLatin1(QUrl::toPercentEncoding(origin)));
    for (const QString &feature : settings->childKeys()) {
        const Answer answer = fromStored(settings->value(feature));
        if (answer != Answer::Ask)
            answers.append({feature, answer});
    }
    return answers;
}
