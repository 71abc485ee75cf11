// Completion rules for typed addresses, shared by GO! and the history file.
#include "store/AddressRules.h"

#include <QHostAddress>
#include <QStringList>

namespace {

const QString kHttp = QStringLiteral("http://");
const QString kHttpWww = QStringLiteral("http://www.");
const QString kWww = QStringLiteral("www.");

bool startsWithNoCase(const QString &text, const QString &prefix)
{
    return text.startsWith(prefix, Qt::CaseInsensitive);
}

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool isIPv4(const QString &host)
{
    const QStringList parts = host.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QString &part : parts) {
        if (part.isEmpty() || part.size() > 3)
            return false;
        for (QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        }
        if (part.toInt() > 255)
            return false;
    }
    return true;
}

// The host of an address without scheme: before any path, query or
// fragment, after any user name, without the port.
QString hostOf(const QString &address)
{
    qsizetype end = address.size();
    for (QChar stop : {QLatin1Char('/'), QLatin1Char('?'), QLatin1Char('#')}) {
        const qsizetype at = address.indexOf(stop);
        if (at >= 0 && at < end)
            end = at;
    }
    QString host = address.left(end);
    const qsizetype at = host.lastIndexOf(QLatin1Char('@'));
    if (at >= 0)
        host = host.mid(at + 1);
    if (host.startsWith(QLatin1Char('['))) {
        const qsizetype close = host.indexOf(QLatin1Char(']'));
        return close < 0 ? host : host.left(close + 1);
    }
    const qsizetype colon = host.indexOf(QLatin1Char(':'));
    return colon < 0 ? host : host.left(colon);
}

// True when an http address has nothing after its host and port.
bool isBareHost(const QString &entry)
{
    const qsizetype authority = entry.indexOf(QLatin1String("://"));
    const qsizetype from = authority < 0 ? 0 : authority + 3;
    for (qsizetype i = from; i < entry.size(); ++i) {
        const QChar c = entry.at(i);
        if (c == QLatin1Char('/') || c == QLatin1Char('?') || c == QLatin1Char('#'))
            return false;
    }
    return true;
}

} // namespace

bool AddressRules::hasScheme(const QString &text)
{
    static const QStringList withoutSlashes = {
        QStringLiteral("about:"),      QStringLiteral("file:"),   QStringLiteral("data:"),
        QStringLiteral("javascript:"), QStringLiteral("mailto:"), QStringLiteral("view-source:")};
    for (const QString &scheme : withoutSlashes) {
        if (startsWithNoCase(text, scheme))
            return true;
    }
    // name "://", where the name is a letter followed by letters, digits,
    // '+', '-' or '.'.
    if (text.isEmpty() || !isAsciiLetter(text.at(0)))
        return false;
    for (qsizetype i = 1; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isAsciiLetter(c) || c.isDigit() || c == QLatin1Char('+') || c == QLatin1Char('-') ||
            c == QLatin1Char('.'))
            continue;
        return c == QLatin1Char(':') && text.mid(i + 1, 2) == QLatin1String("//");
    }
    return false;
}

bool AddressRules::isLocalOrNumericHost(const QString &text)
{
    const QString address = startsWithNoCase(text, kHttp) ? text.mid(kHttp.size()) : text;
    const QString host = hostOf(address);
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    if (host.size() > 2 && host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']'))) {
        QHostAddress ip;
        return ip.setAddress(host.mid(1, host.size() - 2)) &&
               ip.protocol() == QAbstractSocket::IPv6Protocol;
    }
    return isIPv4(host);
}

QString AddressRules::historyEntry(const QString &text)
{
    QString entry;
    if (startsWithNoCase(text, kHttpWww))
        entry = text;
    else if (startsWithNoCase(text, kHttp))
        entry = isLocalOrNumericHost(text) ? text : kHttpWww + text.mid(kHttp.size());
    else if (hasScheme(text))
        return text;
    else if (startsWithNoCase(text, kWww) || isLocalOrNumericHost(text))
        entry = kHttp + text;
    else
        entry = kHttpWww + text;
    if (isBareHost(entry))
        entry += QLatin1Char('/');
    return entry;
}

QString AddressRules::completeAddress(const QString &typed)
{
    if (startsWithNoCase(typed, kHttp) || hasScheme(typed))
        return typed;
    if (startsWithNoCase(typed, kWww) || isLocalOrNumericHost(typed))
        return kHttp + typed;
    return kHttpWww + typed;
}

QString AddressRules::boxText(const QString &typed)
{
    if (startsWithNoCase(typed, kHttp) && !startsWithNoCase(typed, QStringLiteral("http://www")))
        return typed.mid(kHttp.size());
    return typed;
}
