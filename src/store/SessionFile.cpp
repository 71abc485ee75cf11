// Reading and writing the session file's bytes.
#include "store/SessionFile.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QIODevice>

const QByteArray SessionFile::Magic = QByteArrayLiteral("CORVANE-SESSION\n");

namespace {
QByteArray digest(const QByteArray &payload)
{
    return QCryptographicHash::hash(payload, QCryptographicHash::Sha1);
}
} // namespace

QByteArray SessionFile::encode(const Session &session)
{
    QByteArray payload;
    {
        QDataStream out(&payload, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_4);
        const int count = std::min<int>(int(session.tabs.size()), MaxTabs);
        out << quint8(session.cleanEnd ? 1 : 0) << qint32(session.selected) << quint32(count);
        for (int i = 0; i < count; ++i) {
            const SessionTab &tab = session.tabs.at(i);
            out << tab.address << tab.caption << qint32(tab.zoomPercent) << tab.history;
        }
    }
    QByteArray bytes = Magic;
    QDataStream out(&bytes, QIODevice::Append);
    out.setVersion(QDataStream::Qt_6_4);
    out << Version << payload << digest(payload);
    return bytes;
}

std::optional<Session> SessionFile::decode(const QByteArray &bytes, Status *status)
{
    const auto fail = [status](Status why) {
        if (status)
            *status = why;
        return std::nullopt;
    };
    if (!bytes.startsWith(Magic))
        return fail(Status::Damaged);
    QDataStream in(bytes.mid(Magic.size()));
    in.setVersion(QDataStream::Qt_6_4);
    quint32 version = 0;
    in >> version;
    if (in.status() != QDataStream::Ok)
        return fail(Status::Damaged);
    if (version != Version)
        return fail(Status::UnknownVersion);
    QByteArray payload, sum;
    in >> payload >> sum;
    if (in.status() != QDataStream::Ok || !in.atEnd() || sum != digest(payload))
        return fail(Status::Damaged);

    QDataStream body(payload);
    body.setVersion(QDataStream::Qt_6_4);
    quint8 clean = 0;
    qint32 selected = 0;
    quint32 count = 0;
    body >> clean >> selected >> count;
    if (body.status() != QDataStream::Ok || clean > 1 || count > quint32(MaxTabs))
        return fail(Status::Damaged);
    Session session;
    session.cleanEnd = clean == 1;
    for (quint32 i = 0; i < count; ++i) {
        SessionTab tab;
        qint32 zoom = 100;
        body >> tab.address >> tab.caption >> zoom >> tab.history;
        if (body.status() != QDataStream::Ok)
            return fail(Status::Damaged);
        tab.zoomPercent = zoom;
        session.tabs.append(tab);
    }
    if (!body.atEnd())
        return fail(Status::Damaged);
    session.selected = selected >= 0 && selected < session.tabs.size() ? selected : 0;
    if (status)
        *status = Status::Ok;
    return session;
}
