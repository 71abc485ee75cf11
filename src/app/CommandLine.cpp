// Parsing of Corvane's command line.
#include "app/CommandLine.h"

#include "store/AddressRules.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include <cstdio>

namespace {

bool hasControlCharacter(const QString &text)
{
    for (QChar c : text) {
        if (c.category() == QChar::Other_Control)
            return true;
    }
    return false;
}

// An argument as it can be shown on one line of a message.
QString shown(const QString &argument)
{
    QString text = argument.left(60);
    for (QChar &c : text) {
        if (!c.isPrint())
            c = QLatin1Char('?');
    }
    return argument.size() > text.size() ? text + QStringLiteral("...") : text;
}

// Names a file even when there is none: it starts like a path, or it ends in
// an extension that no top-level domain has.
bool looksLikePath(const QString &text)
{
    if (text.startsWith(QLatin1Char('/')) || text.startsWith(QLatin1String("./")) ||
        text.startsWith(QLatin1String("../")) || text == QLatin1String(".") ||
        text == QLatin1String(".."))
        return true;
    static const QStringList extensions = {QStringLiteral(".html"),  QStringLiteral(".htm"),
                                           QStringLiteral(".xhtml"), QStringLiteral(".shtml"),
                                           QStringLiteral(".svg"),   QStringLiteral(".txt"),
                                           QStringLiteral(".pdf")};
    for (const QString &extension : extensions) {
        if (!text.contains(QLatin1Char('/')) && text.endsWith(extension, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

// A host name has a dot in it ("site.tld", an IPv4 address) or is local
// ("localhost", "[::1]"); a first part without one is a folder name.
bool startsWithHost(const QString &text)
{
    const QString first = text.section(QRegularExpression(QStringLiteral("[/?#]")), 0, 0);
    return first.contains(QLatin1Char('.')) || AddressRules::isLocalOrNumericHost(text);
}

} // namespace

QString CommandLine::addressFor(const QString &argument, const QString &currentFolder,
                                QString *problem)
{
    const QString text = argument.trimmed();
    QString reason;
    QUrl url;
    const QFileInfo file(QDir(currentFolder), text);
    if (text.isEmpty())
        reason = QStringLiteral("empty address");
    else if (text.size() > MaxAddressLength)
        reason = QStringLiteral("longer than 64 KB");
    else if (hasControlCharacter(text))
        reason = QStringLiteral("control characters in an address");
    else if (AddressRules::hasScheme(text))
        url = QUrl(text);
    else if (file.exists())
        url = QUrl::fromLocalFile(QDir::cleanPath(file.absoluteFilePath()));
    else if (looksLikePath(text) || !startsWithHost(text))
        reason = QStringLiteral("no such file");
    else
        url = QUrl(AddressRules::completeAddress(text), QUrl::StrictMode);

    const bool needsHost = url.scheme().startsWith(QLatin1String("http"), Qt::CaseInsensitive);
    if (reason.isEmpty() && (!url.isValid() || (needsHost && url.host().isEmpty())))
        reason = QStringLiteral("not an address");
    if (!reason.isEmpty()) {
        if (problem)
            *problem = QStringLiteral("skipped \"%1\": %2").arg(shown(argument), reason);
        return QString();
    }
    // Encoded, an address is one line of plain ASCII wherever it goes.
    return url.toString(QUrl::FullyEncoded);
}

CommandLine CommandLine::parse(const QStringList &arguments, const QString &currentFolder)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Corvane, a small tabbed web browser."));
    // "-platform xcb" and the like are Qt's own options, taken whole.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption newWindow(
        QStringLiteral("new-window"),
        QStringLiteral("Start a browser of its own instead of opening the addresses in a new "
                       "tab of the running one."));
    parser.addOption(newWindow);
    const QCommandLineOption privateWindow(
        QStringLiteral("private"),
        QStringLiteral("Start a private browser of its own: it keeps nothing it sees (cookies, "
                       "history, typed addresses, tabs) once it ends."));
    parser.addOption(privateWindow);
    for (const char *name : {"platform", "display", "style"}) {
        QCommandLineOption qtOption(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        qtOption.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qtOption);
    }
    parser.addPositionalArgument(
        QStringLiteral("address"),
        QStringLiteral("A web address, a host name such as site.tld, or a local file. The first "
                       "opens instead of the home page, each further one in a tab of its own."),
        QStringLiteral("[address...]"));

    CommandLine result;
    result.usage = parser.helpText();
    if (!parser.parse(arguments)) {
        result.outcome = Outcome::BadUsage;
        result.error = parser.errorText();
        return result;
    }
    if (parser.isSet(help))
        result.outcome = Outcome::ShowHelp;
    else if (parser.isSet(version))
        result.outcome = Outcome::ShowVersion;
    result.privateWindow = parser.isSet(privateWindow);
    result.newWindow = parser.isSet(newWindow) || result.privateWindow;
    for (const QString &argument : parser.positionalArguments()) {
        QString problem;
        const QString address = addressFor(argument, currentFolder, &problem);
        if (address.isEmpty())
            result.problems.append(problem);
        else
            result.addresses.append(address);
    }
    return result;
}

int CommandLine::report() const
{
    switch (outcome) {
    case Outcome::ShowHelp:
        std::fputs(usage.toLocal8Bit().constData(), stdout);
        return 0;
    case Outcome::ShowVersion:
        std::printf("Corvane %s\n", CORVANE_VERSION);
        return 0;
    case Outcome::BadUsage:
        std::fprintf(stderr, "corvane: %s\n%s", error.toLocal8Bit().constData(),
                     usage.toLocal8Bit().constData());
        return 2;
    case Outcome::Start:
        break;
    }
    for (const QString &line : problems)
        std::fprintf(stderr, "corvane: %s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
    return -1;
}
