// The loopback HTTP server: fixed replies by path, basic sign-in, a record of requests.
#include "LoopbackServer.h"

#include <QTcpSocket>

LoopbackServer::LoopbackServer(QObject *parent) : QObject(parent)
{
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

void LoopbackServer::setPage(const QString &path, const QByteArray &html)
{
    Reply reply;
    reply.body = html;
    m_replies.insert(path, reply);
}

void LoopbackServer::setReply(const QString &path, const Reply &reply)
{
    m_replies.insert(path, reply);
}

void LoopbackServer::setAuthenticatedPage(const QString &path, const QByteArray &userColonPassword,
                                          const QByteArray &html)
{
    setPage(path, html);
    m_credentials.insert(path, "Basic " + userColonPassword.toBase64());
}

QUrl LoopbackServer::url(const QString &path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
}

void LoopbackServer::serve(QTcpSocket *socket)
{
    const QByteArray head = socket->property("head").toByteArray() + socket->readAll();
    if (!head.contains("\r\n\r\n")) {
        socket->setProperty("head", head);
        return;
    }
    const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
    const QString target =
        requestLine.size() > 1 ? QString::fromLatin1(requestLine.at(1)) : QString();
    const QString path = QUrl(target).path();
    requested << path;
    emit pathRequested(path);

    Reply reply;
    if (m_credentials.contains(path) &&
        !head.contains("Authorization: " + m_credentials.value(path) + "\r\n")) {
        reply.status = 401;
        reply.extraHeaders = "WWW-Authenticate: Basic realm=\"tests\"\r\n";
        reply.body = "<html><head><title>Denied</title></head><body>no</body></html>";
    } else if (m_replies.contains(path)) {
        reply = m_replies.value(path);
    } else {
        reply.status = 404;
        reply.body = "<html><head><title>Not found</title></head><body>Not found</body></html>";
    }
    QByteArray out = "HTTP/1.0 " + QByteArray::number(reply.status) +
                     (reply.status == 200 ? " OK" : " Error") + "\r\n";
    out += "Content-Type: " + reply.contentType + "\r\n";
    out += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    out += "Cache-Control: no-store\r\n";
    out += reply.extraHeaders;
    out += "Connection: close\r\n\r\n";
    out += reply.body;
    socket->write(out);
    socket->disconnectFromHost();
}
