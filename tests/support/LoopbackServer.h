// A tiny HTTP/1.0 server on 127.0.0.1 for tests: serves fixed replies by
// path (404 for others) and records every path asked for. A reply may go out
// slowly, be cut off part-way, and answer "Range: bytes=N-" from byte N.
#pragma once

#include <QHash>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
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
        int chunk = 0;     // > 0: the body goes out this many bytes every 10 ms
        qint64 cutAt = -1; // >= 0: the connection is cut once the body reaches this byte
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
    int closedEarly = 0; // replies the client stopped taking before they were all sent

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
        const qsizetype range = head.toLower().indexOf("\r\nrange: bytes=");
        const qint64 from = range < 0 ? 0 : head.mid(range + 16).split('-').value(0).toLongLong();
        const QByteArray size = QByteArray::number(reply.body.size());
        if (from > 0)
            reply.extraHeaders += "Content-Range: bytes " + QByteArray::number(from) + '-' +
                                  QByteArray::number(reply.body.size() - 1) + '/' + size + "\r\n";
        // A reply to be cut off goes out in chunks, so the cut reads as a
        // failed network, not as a wrong length.
        const bool chunked = reply.cutAt >= 0;
        const QByteArray length =
            chunked ? QByteArray("Transfer-Encoding: chunked\r\n")
                    : "Content-Length: " + QByteArray::number(reply.body.size() - from) + "\r\n";
        socket->write((chunked ? "HTTP/1.1 " : "HTTP/1.0 ") +
                      QByteArray::number(from > 0 ? 206 : reply.status) + " X\r\nContent-Type: " +
                      reply.contentType + "\r\n" + length + "Cache-Control: no-store\r\n" +
                      reply.extraHeaders + "Connection: close\r\n\r\n");
        if (reply.chunk <= 0 && !chunked) {
            socket->write(reply.body.mid(from));
            socket->disconnectFromHost();
            return;
        }
        auto *timer = new QTimer(socket);
        QObject::connect(timer, &QTimer::timeout, socket, [=, sent = from]() mutable {
            const qint64 end =
                chunked ? std::min<qint64>(reply.cutAt, size.toLongLong()) : reply.body.size();
            const qint64 n = std::max<qint64>(
                0, std::min<qint64>(reply.chunk > 0 ? reply.chunk : end, end - sent));
            const QByteArray part = reply.body.mid(sent, n);
            if (n > 0)
                socket->write(chunked ? QByteArray::number(n, 16) + "\r\n" + part + "\r\n" : part);
            sent += n;
            if (sent < end)
                return;
            timer->stop();
            if (sent < reply.body.size())
                socket->abort();
            else
                socket->disconnectFromHost();
        });
        QObject::connect(socket, &QTcpSocket::disconnected, timer, [this, timer] {
            closedEarly += timer->isActive();
            timer->stop();
        });
        timer->start(10);
    }

    QTcpServer m_server;
    QHash<QString, Reply> m_replies;
};
