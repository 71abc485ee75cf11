// What the user answered sites that asked for a permission, per site and
// feature, in the settings store: group "Permissions", key the site's
// origin (scheme, host, port) percent-encoded, "/", the feature name; value
// "allow" or "block". Anything else stored reads as "ask again".
#pragma once

#include <QList>
#include <QPair>
#include <QString>

class PermissionStore
{
public:
    enum class Answer { Ask, Allow, Block };

    // The origin of an address as the store keys it ("http://h:8080"); empty
    // for addresses without one (about:, data:, file:).
    static QString originOf(const QString &address);
    static QString keyOf(const QString &origin, const QString &feature);

    static Answer load(const QString &origin, const QString &feature);
    // Stores Allow or Block (Ask removes the entry); false when the origin
    // or feature is empty or the store could not be written.
    static bool save(const QString &origin, const QString &feature, Answer answer);
    // The features the origin has a stored Allow or Block for, by name.
    static QList<QPair<QString, Answer>> answersFor(const QString &origin);
};
