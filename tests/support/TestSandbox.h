// Points every stored-data location of Corvane at a fresh temporary folder
// for the lifetime of the object, and puts everything back afterwards.
#pragma once

#include <QString>
#include <QTemporaryDir>

class TestSandbox
{
public:
    TestSandbox();
    ~TestSandbox();

    QString root() const { return m_dir.path(); }
    QString appFolder() const;                   // where Hpage.dat and WebHis.dat live
    QString settingsPath() const;                // the favourites store file
    QString fallbackFolder() const;              // where files go that cannot stay in place
    QString filePath(const QString &name) const; // a file in appFolder()

    // Whole-file helpers for checking what was written, byte for byte.
    void writeFile(const QString &name, const QByteArray &bytes) const;
    QByteArray readFile(const QString &name) const;

private:
    QTemporaryDir m_dir;
};
