// Loopback HTTP server of the benchmark.
#include "BenchServer.h"

#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>

namespace {

const QByteArray PagePrefix = "/page/";
const QByteArray HeapPrefix = "/heap/";
const QByteArray TimerPrefix = "/timer/";
const QByteArray MarkerPrefix = "/marker/";

QByteArray response(const QByteArray &status, const QByteArray &type, const QByteArray &body)
{
    return "HTTP/1.1 " + status + "\r\nContent-Type: " + type +
           "\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n" + body;
}

} // namespace

BenchServer::BenchServer(const QElapsedTimer &clock, QObject *parent)
    : QObject(parent), m_clock(clock)
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

bool BenchServer::listen()
{
    return m_server.listen(QHostAddress::LocalHost, 0);
}

QString BenchServer::pageUrl(const QString &name, Kind kind) const
{
    const QByteArray &prefix = kind == Kind::Heap    ? HeapPrefix
                               : kind == Kind::Timer ? TimerPrefix
                                                     : PagePrefix;
    return QStringLiteral("http://127.0.0.1:%1%2%3").arg(port()).arg(QLatin1String(prefix), name);
}

QString BenchServer::typedAddress(const QString &name) const
{
    return QStringLiteral("127.0.0.1:%1/page/%2").arg(port()).arg(name);
}

QByteArray BenchServer::pageHtml(const QString &name, Kind kind)
{
    QByteArray html = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">"
                      "<title>Benchmark page</title>"
                      "<style>body{font-family:sans-serif;margin:2em}"
                      "td{border:1px solid #ccc;padding:2px 6px}</style></head><body>\n"
                      "<h1>Benchmark page</h1>\n";
    const QByteArray sentence = "Corvane opens this page from a server on the loopback "
                                "interface, so nothing leaves the machine while it is measured. ";
    for (int section = 1; section <= 12; ++section) {
        html += "<h2>Section " + QByteArray::number(section) + "</h2>\n<p>";
        for (int i = 0; i < 8; ++i)
            html += sentence;
        html += "</p>\n<ul>";
        for (int i = 1; i <= 5; ++i)
            html += "<li><a href=\"#s" + QByteArray::number(section) + "-" + QByteArray::number(i) +
                    "\">Item " + QByteArray::number(i) + "</a></li>";
        html += "</ul>\n";
    }
    html += "<table>";
    for (int row = 0; row < 20; ++row) {
        html += "<tr>";
        for (int col = 0; col < 5; ++col)
            html += "<td>" + QByteArray::number(row * 5 + col) + "</td>";
        html += "</tr>";
    }
    html += "</table>\n";
    if (kind == Kind::Heap) {
        // 20 arrays of 131,072 numbers, 8 bytes each: 20 MiB the page holds.
        html += "<script>var kept = [];\n"
                "for (var i = 0; i < 20; ++i) {\n"
                "  var a = new Array(131072);\n"
                "  for (var j = 0; j < a.length; ++j) a[j] = i * 1e6 + j + 0.5;\n"
                "  kept.push(a);\n"
                "}</script>\n";
    } else if (kind == Kind::Timer) {
        html += "<script>var ticks = 0; setInterval(function () { ++ticks; }, 10);</script>\n";
    }
    // The last element: its request tells that the parser got here.
    html += "<img alt=\"\" width=\"1\" height=\"1\" src=\"" + MarkerPrefix + name.toUtf8() +
            "\">\n</body></html>\n";
    return html;
}

qint64 BenchServer::waitForMarkers(const QStringList &names, int timeoutMs)
{
    auto latest = [&]() -> qint64 {
        qint64 last = 0;
        for (const QString &name : names) {
            const qint64 at = m_arrivals.value(name, -1);
            if (at < 0)
                return -1;
            last = qMax(last, at);
        }
        return last;
    };
    if (latest() >= 0)
        return latest();
    QEventLoop loop;
    connect(this, &BenchServer::markerArrived, &loop, [&] {
        if (latest() >= 0)
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return latest();
}

void BenchServer::serve(QTcpSocket *socket)
{
    const qint64 now = m_clock.nsecsElapsed();
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    if (!request.contains("\r\n\r\n"))
        return;
    const QList<QByteArray> words = request.left(request.indexOf("\r\n")).split(' ');
    const QByteArray path = words.size() >= 2 ? words.at(1) : QByteArray();

    const struct
    {
        const QByteArray &prefix;
        Kind kind;
    } pages[] = {{PagePrefix, Kind::Plain}, {HeapPrefix, Kind::Heap}, {TimerPrefix, Kind::Timer}};
    for (const auto &page : pages) {
        if (path.startsWith(page.prefix)) {
            const QString name = QString::fromUtf8(path.mid(page.prefix.size()));
            socket->write(
                response("200 OK", "text/html; charset=utf-8", pageHtml(name, page.kind)));
            socket->disconnectFromHost();
            return;
        }
    }
    if (path.startsWith(MarkerPrefix)) {
        const QString name = QString::fromUtf8(path.mid(MarkerPrefix.size()));
        if (!m_arrivals.contains(name))
            m_arrivals.insert(name, now);
        socket->write(response("204 No Content", "text/plain", QByteArray()));
        emit markerArrived(name);
    } else {
        socket->write(response("404 Not Found", "text/plain", "not here\n"));
    }
    socket->disconnectFromHost();
}
