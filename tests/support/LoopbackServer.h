// A tiny HTTP/1.0 server on 127.0.0.1 for tests: serves fixed pages by path
// and records every path asked for.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTcpServer>
#include <QUrl>

class LoopbackServer : public QObject
{
    Q_OBJECT
public:
    explicit LoopbackServer(QObject *parent = nullptr);

    struct Reply
    {
        QByteArray body;
        QByteArray contentType = "text/html; charset=utf-8";
        int status = 200;
        QByteArray extraHeaders;
    };
    void setPage(const QString &path, const QByteArray &html);
    void setReply(const QString &path, const Reply &reply);
    // A page that answers 401 until asked with basic "user:password".
    void setAuthenticatedPage(const QString &path, const QByteArray &userColonPassword,
                              const QByteArray &html);
    // http://127.0.0.1:<port><path>
    QUrl url(const QString &path) const;
    QString address(const QString &path) const { return url(path).toString(); }
    quint16 port() const { return m_server.serverPort(); }
    QStringList requested;

signals:
    void pathRequested(const QString &path);

private:
    void serve(class QTcpSocket *socket);
    QTcpServer m_server;
    QHash<QString, Reply> m_replies;
    QHash<QString, QByteArray> m_credentials;
};
