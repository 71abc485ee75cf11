// One Corvane per user and application folder: a later start hands its
// addresses over a local socket to the program already running, which opens
// them. The socket lies in the user's private runtime folder, so no other
// user can reach it.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QStringList>

class QLocalSocket;

class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(QObject *parent = nullptr);

    // The socket of the program that keeps its files in appFolder:
    // "corvane-<hash of user and folder>.socket" in $XDG_RUNTIME_DIR, or in
    // a 0700 folder of the user's own under the temporary folder when that
    // is unset or unsafe. Empty when there is no private place for it.
    static QString socketPath(const QString &appFolder);

    enum class HandOver { Done, NoProgram, NoAnswer };
    // Sends the addresses to the program listening at path and waits for
    // its answer. NoProgram: nothing answers there (none runs, or its socket
    // was left by a program that was killed).
    static HandOver handOver(const QString &path, const QStringList &addresses);

    // Listens at path for later starts; a socket left by a program that no
    // longer runs is replaced. False when a running program answers there
    // or no socket can be made.
    bool listen(const QString &path);

    // The message a later start sends: the line "CORVANE-OPEN <n>", then n
    // bytes of UTF-8, each address followed by '\n'; n is at most
    // MaxMessage. The running program answers "OK\n".
    static QByteArray encode(const QStringList &addresses);
    enum class Reading { Incomplete, Complete, Malformed };
    static Reading decode(const QByteArray &received, QStringList *addresses);
    static constexpr int MaxMessage = 1024 * 1024;

signals:
    // A well-formed message arrived; an empty list asks for a new tab on
    // the home page.
    void addressesReceived(const QStringList &addresses);

private:
    void accept(QLocalSocket *socket);

    QLocalServer m_server;
};
