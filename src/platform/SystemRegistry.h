// The three registry calls the about box needs to find the System Information
// tool. On Windows they reach the real registry; elsewhere the registry holds
// no values. Tests replace it on every system with values of their own.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

class SystemRegistry
{
public:
    using Key = quintptr;

    // Predefined root keys and value types, with the platform's numbers.
    static constexpr Key LocalMachine = 0x80000002; // HKEY_LOCAL_MACHINE
    static constexpr quint32 TextValue = 1;         // REG_SZ
    static constexpr quint32 NumberValue = 4;       // REG_DWORD

    // Results, with the platform's numbers: 0 is success.
    static constexpr long Success = 0;
    static constexpr long NotFound = 2;   // ERROR_FILE_NOT_FOUND
    static constexpr long MoreData = 234; // ERROR_MORE_DATA

    // Opens path under root; *key receives the handle on success.
    static long OpenKey(Key root, const QString &path, quint32 access, Key *key);
    // Reads a value into buffer, which holds *size bytes. On success *type
    // is the value type and *size the number of bytes returned; a value
    // larger than the buffer gives MoreData.
    static long QueryValue(Key key, const QString &valueName, quint32 *type, char *buffer,
                           quint32 *size);
    static long CloseKey(Key key);

    // Test seam: from the first call until reset() the registry is an
    // in-memory one that holds exactly the values given here (names are
    // matched without regard to case, as the platform's are).
    static void setValue(Key root, const QString &path, const QString &valueName, quint32 type,
                         const QByteArray &data);
    static void reset();
    // Handles opened and not yet closed in the in-memory registry.
    static int openKeyCount();
};
