// The child process of tst_crashsafety. It starts as Corvane does (favourites
// menu, then history) and then edits favourites and appends history, one
// change after another, until it is killed. Every change is announced on
// standard output before it starts ("begin ...") and confirmed when it has
// returned ("done"), so the test knows which one was in flight.
//
//   storeworker <app folder> <settings file> <seed>
//
// Texts travel as base64 so that names with any character fit on one line.
#include "dialogs/FavEdits.h"
#include "store/AppPaths.h"
#include "store/FavMenuItems.h"
#include "store/Module1.h"

#include <QApplication>
#include <QMenu>
#include <QRandomGenerator>
#include <QStringList>

#include <cstdio>

namespace {

void say(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

QByteArray b64(const QString &text)
{
    return text.toUtf8().toBase64();
}

// Names and addresses with the characters the two formats must carry.
QString tricky(QRandomGenerator &random, const QString &plain)
{
    static const QStringList extras{
        QStringLiteral(""),       QStringLiteral("&"),          QStringLiteral(" & more"),
        QStringLiteral("%26%25"), QStringLiteral(",a,b"),       QStringLiteral("\"q\""),
        QStringLiteral("\u4E2D"), QStringLiteral("caf\u00E9"),  QStringLiteral("=x;y"),
        QStringLiteral("\\back"), QStringLiteral("[Favorites]")};
    return plain + extras.at(random.bounded(int(extras.size())));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: storeworker <app folder> <settings file> <seed>\n");
        return 2;
    }
    AppPaths::setAppFolder(args.at(1));
    AppPaths::setSettingsPath(args.at(2));
    const quint32 seed = args.at(3).toUInt();
    QRandomGenerator random(seed);

    QMenu menu;
    FavMenuItems favourites(&menu);
    Module1::SetFavUrl(0, Module1::SearchServiceUrl);
    Module1::LoadFavMenu(favourites);
    Module1::LoadHistory(nullptr);
    say("ready " + QByteArray::number(favourites.count() - 1));

    for (int step = 0;; ++step) {
        const QString tag = QStringLiteral("s%1x%2").arg(seed).arg(step);
        const int users = favourites.count() - 1;
        const int pick = random.bounded(100);
        if (pick < 30) {
            // Texts that no earlier entry contains, so every one is written.
            const QString text =
                tricky(random, QStringLiteral("h") + tag + QStringLiteral(".tld/"));
            say("begin history " + b64(text));
            Module1::AddToHistory(text);
        } else if (users < 3 || (pick < 55 && users < Module1::FavCapacity)) {
            const QString name = tricky(random, QStringLiteral("N") + tag);
            const QString address =
                tricky(random, QStringLiteral("http://") + tag + QStringLiteral("/"));
            say("begin add " + b64(name) + ' ' + b64(address));
            if (FavEdits::Add(favourites, name, address) != FavEdits::Done)
                return 1;
        } else if (pick < 75) {
            const int slot = 1 + random.bounded(users);
            say("begin delete " + QByteArray::number(slot));
            if (FavEdits::Delete(favourites, slot) != FavEdits::Done)
                return 1;
        } else if (pick < 88) {
            const int slot = 1 + random.bounded(users);
            const QString name = tricky(random, QStringLiteral("R") + tag);
            say("begin rename " + QByteArray::number(slot) + ' ' + b64(name));
            if (FavEdits::Rename(favourites, slot, name) != FavEdits::Done)
                return 1;
        } else {
            const int slot = 1 + random.bounded(users);
            const QString address =
                tricky(random, QStringLiteral("http://c") + tag + QStringLiteral("/"));
            say("begin address " + QByteArray::number(slot) + ' ' + b64(address));
            if (FavEdits::ChangeAddress(favourites, slot, address) != FavEdits::Done)
                return 1;
        }
        say("done");
    }
}
