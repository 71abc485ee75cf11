// One favourite as the settings store keeps it: "name&address". The name is
// encoded so that a '&' in it cannot be taken for the separator.
#pragma once

#include <QString>

class FavRecord
{
public:
    // Splits at the first '&' and decodes the name; false (and nothing
    // written) when the value has no '&', which is how the list ends.
    static bool split(const QString &value, QString *name, QString *address);
    static QString join(const QString &name, const QString &address);

    // '%' -> "%25", '&' -> "%26"; decoding turns back exactly these two, so a
    // name stored before the encoding existed reads as it always did.
    static QString encodeName(const QString &name);
    static QString decodeName(const QString &stored);
};
