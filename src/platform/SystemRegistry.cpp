// The registry behind the about box: the platform's own on Windows, an
// in-memory one elsewhere and under test.
#include "platform/SystemRegistry.h"

#include <QHash>

#include <cstring>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

struct Value
{
    quint32 type = 0;
    QByteArray data;
};

// Keys by "root\path" and values by name, both in lower case.
QHash<QString, QHash<QString, Value>> g_values;
QHash<SystemRegistry::Key, QString> g_openKeys;
SystemRegistry::Key g_nextHandle = 1;
bool g_replaced = false;

QString keyId(SystemRegistry::Key root, const QString &path)
{
    return QString::number(root, 16) + QLatin1Char('\\') + path.toLower();
}

bool inMemory()
{
#ifdef Q_OS_WIN
    return g_replaced;
#else
    return true;
#endif
}

#ifdef Q_OS_WIN
// The predefined roots are sign-extended handles on 64-bit Windows.
HKEY platformKey(SystemRegistry::Key key)
{
    if (key == SystemRegistry::LocalMachine)
        return HKEY_LOCAL_MACHINE;
    return reinterpret_cast<HKEY>(key);
}
#endif

} // namespace

long SystemRegistry::OpenKey(Key root, const QString &path, quint32 access, Key *key)
{
    if (!inMemory()) {
#ifdef Q_OS_WIN
        HKEY opened = nullptr;
        const LONG result = RegOpenKeyExA(platformKey(root), path.toLocal8Bit().constData(), 0,
                                          REGSAM(access), &opened);
        if (result == ERROR_SUCCESS && key)
            *key = reinterpret_cast<Key>(opened);
        return result;
#endif
    }
    Q_UNUSED(access);
    const QString id = keyId(root, path);
    if (!g_values.contains(id))
        return NotFound;
    const Key handle = g_nextHandle++;
    g_openKeys.insert(handle, id);
    if (key)
        *key = handle;
    return Success;
}

long SystemRegistry::QueryValue(Key key, const QString &valueName, quint32 *type, char *buffer,
                                quint32 *size)
{
    if (!inMemory()) {
#ifdef Q_OS_WIN
        DWORD valueType = 0;
        DWORD bytes = size ? *size : 0;
        const LONG result =
            RegQueryValueExA(platformKey(key), valueName.toLocal8Bit().constData(), nullptr,
                             &valueType, reinterpret_cast<LPBYTE>(buffer), &bytes);
        if (type)
            *type = valueType;
        if (size)
            *size = bytes;
        return result;
#endif
    }
    const auto open = g_openKeys.constFind(key);
    if (open == g_openKeys.constEnd())
        return NotFound;
    const QHash<QString, Value> &values = g_values.value(*open);
    const auto found = values.constFind(valueName.toLower());
    if (found == values.constEnd())
        return NotFound;
    const quint32 bytes = quint32(found->data.size());
    if (type)
        *type = found->type;
    if (!size)
        return Success;
    if (bytes > *size) {
        *size = bytes;
        return MoreData;
    }
    if (buffer && bytes > 0)
        std::memcpy(buffer, found->data.constData(), bytes);
    *size = bytes;
    return Success;
}

long SystemRegistry::CloseKey(Key key)
{
    if (!inMemory()) {
#ifdef Q_OS_WIN
        return RegCloseKey(platformKey(key));
#endif
    }
    return g_openKeys.remove(key) ? Success : NotFound;
}

void SystemRegistry::setValue(Key root, const QString &path, const QString &valueName, quint32 type,
                              const QByteArray &data)
{
    g_replaced = true;
    g_values[keyId(root, path)].insert(valueName.toLower(), Value{type, data});
}

void SystemRegistry::reset()
{
    g_replaced = false;
    g_values.clear();
    g_openKeys.clear();
}

int SystemRegistry::openKeyCount()
{
    return int(g_openKeys.size());
}
