// A tiny HTTP/1.0 server on 127.0.0.1 for tests: serves fixed replies by
// path (404 for others) and records every path asked for.
#pragma once

#include <QHash>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

class LoopbackServer
{
public:
    struct Reply
    {
        QByteArray body;
        QByteArray contentType = "text/html; charset=utf-8";
        int status = 200; // 0: the request is never answered, its load stays open
        QByteArray extraHeaders;
    };

    LoopbackServer()
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket,
                                 [this, socket] { serve(socket); });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    void setPage(const QString &path, const QByteArray &html) { m_replies[path].body = html; }
    void setReply(const QString &path, const Reply &reply) { m_replies.insert(path, reply); }
    // http://127.0.0.1:<port><path>
    QString address(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
    }
    quint16 port() const { return m_server.serverPort(); }
    QStringList requested;

private:
    void serve(QTcpSocket *socket)
    {
        const QByteArray head = socket->property("head").toByteArray() + socket->readAll();
        socket->setProperty("head", head);
        if (!head.contains("\r\n\r\n"))
            return;
        const QString path = QUrl(QString::fromLatin1(head.split(' ').value(1))).path();
        requested << path;
        Reply reply = m_replies.value(path, {"<title>Not found</title>", "text/html", 404, {}});
        if (reply.status == 0)
            return;
        socket->write("HTTP/1.0 " + QByteArray::number(reply.status) +
                      " X\r\nContent-Type: " + reply.contentType + "\r\nContent-Length: " +
                      QByteArray::number(reply.body.size()) + "\r\nCache-Control: no-store\r\n" +
                      reply.extraHeaders + "Connection: close\r\n\r\n" + reply.body);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QString, Reply> m_replies;
};
