// Points every stored-data location of Corvane at a fresh temporary folder
// for the lifetime of the object, and puts everything back afterwards.
#pragma once

#include "store/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

class TestSandbox
{
public:
    TestSandbox() { pointAt(root()); }
    ~TestSandbox() { pointAt(QString()); }

    QString root() const { return m_dir.path(); }
    // Where Hpage.dat and WebHis.dat live.
    QString appFolder() const { return root() + "/app"; }
    // The favourites store file.
    QString settingsPath() const { return root() + "/Corvane.conf"; }
    // Where files go that cannot stay in place.
    QString fallbackFolder() const { return root() + "/fallback"; }
    // A file in appFolder().
    QString filePath(const QString &name) const { return appFolder() + '/' + name; }

    // Whole-file helpers for checking what was written, byte for byte.
    void writeFile(const QString &name, const QByteArray &bytes) const
    {
        QFile file(filePath(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(bytes);
    }
    QByteArray readFile(const QString &name) const
    {
        QFile file(filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    // Every location inside folder, or (empty folder) back to the program's own.
    void pointAt(const QString &folder)
    {
        const auto in = [&](const char *name) { return folder.isEmpty() ? folder : folder + name; };
        for (const char *name : {"/app", "/fallback"})
            QDir().mkpath(in(name));
        AppPaths::setAppFolder(in("/app"));
        AppPaths::setFallbackFolder(in("/fallback"));
        AppPaths::setSettingsPath(in("/Corvane.conf"));
        // The web profile lives as long as the process and writes to its
        // folder till the end: one folder for the run, removed at exit.
        static QTemporaryDir profile;
        AppPaths::setProfileFolder(folder.isEmpty() ? folder : profile.path());
    }

    QTemporaryDir m_dir;
};
