// The sandbox: every stored-data location in a temporary folder.
#include "TestSandbox.h"

#include "store/AppPaths.h"

#include <QDir>
#include <QFile>

TestSandbox::TestSandbox()
{
    QDir(m_dir.path()).mkpath(QStringLiteral("app"));
    QDir(m_dir.path()).mkpath(QStringLiteral("profile"));
    QDir(m_dir.path()).mkpath(QStringLiteral("fallback"));
    AppPaths::setAppFolder(appFolder());
    AppPaths::setFallbackFolder(fallbackFolder());
    AppPaths::setSettingsPath(settingsPath());
    AppPaths::setProfileFolder(m_dir.filePath(QStringLiteral("profile")));
}

TestSandbox::~TestSandbox()
{
    AppPaths::setAppFolder(QString());
    AppPaths::setSettingsPath(QString());
    AppPaths::setProfileFolder(QString());
    AppPaths::setFallbackFolder(QString());
}

QString TestSandbox::appFolder() const
{
    return m_dir.filePath(QStringLiteral("app"));
}
QString TestSandbox::fallbackFolder() const
{
    return m_dir.filePath(QStringLiteral("fallback"));
}
QString TestSandbox::settingsPath() const
{
    return m_dir.filePath(QStringLiteral("Corvane.conf"));
}
QString TestSandbox::filePath(const QString &name) const
{
    return appFolder() + QLatin1Char('/') + name;
}

void TestSandbox::writeFile(const QString &name, const QByteArray &bytes) const
{
    QFile f(filePath(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QByteArray TestSandbox::readFile(const QString &name) const
{
    QFile f(filePath(name));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}
