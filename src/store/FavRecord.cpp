// Encoding of a favourites record value.
#include "store/FavRecord.h"

bool FavRecord::split(const QString &value, QString *name, QString *address)
{
    const qsizetype separator = value.indexOf(QLatin1Char('&'));
    if (separator < 0)
        return false;
    if (name)
        *name = decodeName(value.left(separator));
    if (address)
        *address = value.mid(separator + 1);
    return true;
}

QString FavRecord::join(const QString &name, const QString &address)
{
    return encodeName(name) + QLatin1Char('&') + address;
}

QString FavRecord::encodeName(const QString &name)
{
    QString stored;
    stored.reserve(name.size());
    for (QChar c : name) {
        if (c == QLatin1Char('%'))
            stored += QLatin1String("%25");
        else if (c == QLatin1Char('&'))
            stored += QLatin1String("%26");
        else
            stored += c;
    }
    return stored;
}

QString FavRecord::decodeName(const QString &stored)
{
    if (!stored.contains(QLatin1Char('%')))
        return stored;
    QString name;
    name.reserve(stored.size());
    for (qsizetype i = 0; i < stored.size(); ++i) {
        if (stored.at(i) == QLatin1Char('%') && i + 2 < stored.size() &&
            stored.at(i + 1) == QLatin1Char('2')) {
            const QChar last = stored.at(i + 2);
            if (last == QLatin1Char('5') || last == QLatin1Char('6')) {
                name += last == QLatin1Char('5') ? QLatin1Char('%') : QLatin1Char('&');
                i += 2;
                continue;
            }
        }
        name += stored.at(i);
    }
    return name;
}
