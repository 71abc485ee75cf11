// The local socket between a running Corvane and a later start.
#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTimer>

#include <memory>
#include <unistd.h>

namespace {

const QByteArray Magic = QByteArrayLiteral("CORVANE-OPEN ");
constexpr int MaxHeader = 32;
constexpr int ConnectTimeoutMs = 1000;
// A running program answers from its event loop; a page or a dialog busy
// for a moment delays it.
constexpr int AnswerTimeoutMs = 5000;
// A later start sends everything at once; anything slower is not one.
constexpr int ReceiveTimeoutMs = 5000;
// Leaves room in a Unix socket address (108 bytes).
constexpr int MaxSocketPath = 100;

QString socketIn(const QString &folder, const QString &appFolder)
{
    if (folder.isEmpty())
        return QString();
    QString canonical = QDir(appFolder).canonicalPath();
    if (canonical.isEmpty())
        canonical = QDir(appFolder).absolutePath();
    const QByteArray key = QByteArray::number(uint(geteuid())) + '\n' + canonical.toUtf8();
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex();
    const QString path = folder + QStringLiteral("/corvane-") + QString::fromLatin1(hash.left(16)) +
                         QStringLiteral(".socket");
    return path.toLocal8Bit().size() <= MaxSocketPath ? path : QString();
}

} // namespace

SingleInstance::SingleInstance(QObject *parent) : QObject(parent)
{
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server.nextPendingConnection())
            accept(socket);
    });
}

QString SingleInstance::socketPath(const QString &appFolder)
{
    // Qt's runtime folder is $XDG_RUNTIME_DIR when that is the user's own
    // with mode 0700, else such a folder made under the temporary folder.
    QString path =
        socketIn(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation), appFolder);
    if (path.isEmpty()) {
        // The runtime folder's name is too long for a socket address.
        const QString own =
            QDir::tempPath() + QStringLiteral("/corvane-") + QString::number(uint(geteuid()));
        QDir().mkdir(own, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QFileInfo info(own);
        if (info.isDir() && !info.isSymLink() && info.ownerId() == geteuid() &&
            info.permissions() == (QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                   QFile::ReadUser | QFile::WriteUser | QFile::ExeUser))
            path = socketIn(own, appFolder);
    }
    return path;
}

SingleInstance::HandOver SingleInstance::handOver(const QString &path, const QStringList &addresses)
{
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(ConnectTimeoutMs))
        return HandOver::NoProgram;
    socket.write(encode(addresses));
    socket.flush();
    while (!socket.canReadLine() && socket.waitForReadyRead(AnswerTimeoutMs)) {
    }
    return socket.readLine(8) == "OK\n" ? HandOver::Done : HandOver::NoAnswer;
}

bool SingleInstance::listen(const QString &path)
{
    // Bound in place, so a socket already there makes listening fail rather
    // than being replaced (Qt's access options bind elsewhere and rename over
    // it, taking the name from a running program). Only the user can enter
    // the folder it lies in.
    if (m_server.listen(path))
        return true;
    if (m_server.serverError() != QAbstractSocket::AddressInUseError)
        return false;
    QLocalSocket probe;
    probe.connectToServer(path);
    if (probe.waitForConnected(ConnectTimeoutMs))
        return false;
    QLocalServer::removeServer(path);
    return m_server.listen(path);
}

QByteArray SingleInstance::encode(const QStringList &addresses)
{
    QByteArray body;
    for (const QString &address : addresses)
        body += address.toUtf8() + '\n';
    return Magic + QByteArray::number(body.size()) + '\n' + body;
}

SingleInstance::Reading SingleInstance::decode(const QByteArray &received, QStringList *addresses)
{
    const qsizetype end = received.indexOf('\n');
    if (end < 0)
        return received.size() <= MaxHeader ? Reading::Incomplete : Reading::Malformed;
    const QByteArray count = received.left(end).mid(Magic.size());
    bool number = !count.isEmpty() && received.startsWith(Magic) && end <= MaxHeader;
    for (char c : count)
        number = number && c >= '0' && c <= '9';
    const qsizetype size = number ? count.toLongLong() : -1;
    if (size < 0 || size > MaxMessage || received.size() > end + 1 + size)
        return Reading::Malformed;
    if (received.size() < end + 1 + size)
        return Reading::Incomplete;

    const QByteArray body = received.mid(end + 1);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(body);
    if (utf8.hasError() || (!body.isEmpty() && !body.endsWith('\n')))
        return Reading::Malformed;
    QStringList lines = text.split(QLatin1Char('\n'));
    lines.removeLast();
    for (const QString &line : lines) {
        for (QChar c : line) {
            if (c.unicode() < 0x20)
                return Reading::Malformed;
        }
        if (line.isEmpty())
            return Reading::Malformed;
    }
    *addresses = lines;
    return Reading::Complete;
}

void SingleInstance::accept(QLocalSocket *socket)
{
    socket->setParent(this);
    socket->setReadBufferSize(64 * 1024);
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(ReceiveTimeoutMs, socket, [socket] {
        qWarning("Corvane: dropped a message to its socket that did not come whole");
        socket->abort();
    });
    auto received = std::make_shared<QByteArray>();
    connect(socket, &QLocalSocket::readyRead, socket, [this, socket, received] {
        received->append(socket->readAll());
        QStringList addresses;
        switch (decode(*received, &addresses)) {
        case Reading::Incomplete:
            return;
        case Reading::Malformed:
            qWarning("Corvane: dropped a malformed message to its socket (%lld bytes)",
                     qlonglong(received->size()));
            received->clear();
            socket->abort();
            return;
        case Reading::Complete:
            // The later start ends as soon as it reads the answer: it goes
            // out before the window spends its time opening the tabs.
            socket->write("OK\n");
            socket->flush();
            socket->disconnectFromServer();
            QMetaObject::invokeMethod(
                this, [this, addresses] { emit addressesReceived(addresses); },
                Qt::QueuedConnection);
            return;
        }
    });
}
