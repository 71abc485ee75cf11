// The benchmark's loopback web server: serves generated pages whose last
// element asks for a marker address, and notes when each marker arrives.
#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QTcpServer>

class QTcpSocket;

class BenchServer : public QObject
{
    Q_OBJECT
public:
    // Arrival times are read on the given clock, in nanoseconds.
    explicit BenchServer(const QElapsedTimer &clock, QObject *parent = nullptr);

    bool listen();
    quint16 port() const { return m_server.serverPort(); }

    // What a page does besides showing its text.
    enum class Kind {
        Plain,
        Heap,  // keeps about 20 MB of script data alive
        Timer, // runs a script timer every 10 ms
    };
    // http://127.0.0.1:<port>/page/<name> (/heap/<name>, /timer/<name>); the
    // page asks for /marker/<name> once its script has run.
    QString pageUrl(const QString &name, Kind kind = Kind::Plain) const;
    // The same address as a user types it (no scheme).
    QString typedAddress(const QString &name) const;

    // Runs the event loop until every named marker has arrived; the arrival
    // time of the last one, or -1 after timeoutMs.
    qint64 waitForMarkers(const QStringList &names, int timeoutMs);
    // Lets a marker that arrived count again at its next arrival.
    void forgetMarker(const QString &name) { m_arrivals.remove(name); }
    qint64 waitForMarker(const QString &name, int timeoutMs)
    {
        return waitForMarkers({name}, timeoutMs);
    }

    // An ordinary text page of about 20 KB, the same for every name, with
    // the script of its kind.
    static QByteArray pageHtml(const QString &name, Kind kind = Kind::Plain);

signals:
    void markerArrived(const QString &name);

private:
    void serve(QTcpSocket *socket);

    const QElapsedTimer &m_clock;
    QTcpServer m_server;
    QHash<QString, qint64> m_arrivals;
};
