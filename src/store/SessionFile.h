// The session file: the window's open tabs, in order, with the selected one,
// each tab's address, caption, zoom and Back/Forward history, and whether the
// program that wrote it ended cleanly. Pure functions from and to bytes.
//
// Format, version 1 (all integers big-endian, as QDataStream writes them):
//   16 bytes   "CORVANE-SESSION\n"
//   quint32    version (1)
//   QByteArray payload (quint32 length, then the bytes)
//   QByteArray SHA-1 of the payload (20 bytes)
// The payload, a QDataStream at Qt_6_4:
//   quint8 clean end (0 or 1), qint32 selected tab, quint32 tab count
//   (at most MaxTabs), then per tab: QString address, QString caption,
//   qint32 zoom in percent, QByteArray history (the engine's own stream of
//   QWebEngineHistory; may be empty).
// Nothing may follow the checksum.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

#include <optional>

struct SessionTab
{
    QString address;
    QString caption;
    int zoomPercent = 100;
    QByteArray history;

    bool operator==(const SessionTab &o) const
    {
        return address == o.address && caption == o.caption && zoomPercent == o.zoomPercent &&
               history == o.history;
    }
};

struct Session
{
    QVector<SessionTab> tabs;
    int selected = 0; // index into tabs
    bool cleanEnd = false;

    bool operator==(const Session &o) const
    {
        return tabs == o.tabs && selected == o.selected && cleanEnd == o.cleanEnd;
    }
};

class SessionFile
{
public:
    static constexpr quint32 Version = 1;
    static constexpr int MaxTabs = 10000;
    static const QByteArray Magic;

    enum class Status { Ok, Damaged, UnknownVersion };

    static QByteArray encode(const Session &session);
    // The session the bytes hold, or nothing with *status saying why. A
    // selected index outside the tabs reads as the first tab.
    static std::optional<Session> decode(const QByteArray &bytes, Status *status = nullptr);
};
