// About box.
#include "dialogs/frmAbout.h"

#include "dialogs/DialogForm.h"
#include "platform/Prompts.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVersionNumber>
#include <QtEndian>

#include <cstring>

const QString frmAbout::AppTitle = QStringLiteral("Corvane");

const QString frmAbout::DisclaimerText =
    QStringLiteral("Corvane uses QtWebEngine, the Chromium-based engine of Qt. "
                   "Learn more about the engine at https://www.qt.io/. "
                   "Corvane is written by its author; its pages are shown by the work of "
                   "The Qt Company and the Chromium project.");

static void registerAppResources()
{
    // Linked from a static library where nothing refers to them, the
    // application's resources are registered by hand.
    Q_INIT_RESOURCE(app);
}

namespace {

// Where the System Information tool is recorded.
const QString gREGKEYSYSINFOLOC = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString gREGVALSYSINFOLOC = QStringLiteral("MSINFO");
const QString gREGKEYSYSINFO = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString gREGVALSYSINFO = QStringLiteral("PATH");

// Query value and read control: the values are only read, and asking for
// more is refused to users who may not change the machine's settings.
constexpr quint32 KeyReadAccess = 0x20019;
constexpr quint32 BufferSize = 1024;

QLabel *label(const char *name, const QString &text, const QString &family, int pointSize)
{
    auto *l = new QLabel(text);
    l->setObjectName(QLatin1String(name));
    QFont font(family);
    font.setPointSize(pointSize);
    l->setFont(font);
    return l;
}

} // namespace

frmAbout::frmAbout(QWidget *parent) : QDialog(parent)
{
    static const bool registered = (registerAppResources(), true);
    Q_UNUSED(registered);
    DialogForm::setUp(this, QStringLiteral("frmAbout"), QStringLiteral("About Corvane"));
    setWindowIcon(QIcon(QStringLiteral(":/app/corvane.png")));

    Image1 = new QLabel;
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(QIcon(QStringLiteral(":/app/corvane.png")).pixmap(48, 48));
    lblTitle = label("lblTitle", QStringLiteral("Application Title"),
                     QStringLiteral("OCR A Extended"), 16);
    lblVersion = label("lblVersion", QStringLiteral("Version"), QStringLiteral("Trebuchet MS"), 9);
    lblDescription =
        label("lblDescription",
              QStringLiteral("Corvane is a alternate web browser to be used in replacement of the "
                             "slow and laggy browsers today! Corvane is simple, fast, efficient "
                             "and most importantly free!"),
              QStringLiteral("OCR A Extended"), 8);
    lblDescription->setWordWrap(true);

    // An etched separator: grey above, white one row below.
    auto *separator = new QVBoxLayout;
    separator->setSpacing(0);
    for (int index : {1, 0}) {
        QFrame *line = new QFrame;
        line->setObjectName(QStringLiteral("Line1"));
        line->setProperty("index", index);
        line->setFixedHeight(1);
        line->setAutoFillBackground(true);
        QPalette palette = line->palette();
        palette.setColor(QPalette::Window, index == 1 ? QColor(128, 128, 128) : Qt::white);
        line->setPalette(palette);
        Line1[index] = line;
        separator->addWidget(line);
    }

    lblDisclaimer = label("lblDisclaimer", DisclaimerText, QStringLiteral("Verdana"), 7);
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    cmdOK = new QPushButton(QStringLiteral("OK"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    // Enter presses it; Esc rejects the dialog, which closes it the same way.
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."));
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setAutoDefault(false);

    auto *heading = new QVBoxLayout;
    heading->addWidget(lblTitle);
    heading->addWidget(lblVersion);
    auto *top = new QHBoxLayout;
    top->addLayout(heading, 1);
    top->addWidget(Image1, 0, Qt::AlignTop);
    auto *buttons = new QVBoxLayout;
    buttons->addSpacing(14);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch();
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(lblDisclaimer, 1);
    bottom->addLayout(buttons);
    auto *form = new QVBoxLayout(this);
    form->addLayout(top);
    form->addWidget(lblDescription);
    form->addLayout(separator);
    form->addLayout(bottom, 1);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

    Form_Load();
    DialogForm::startAt(this, 5790, 3750);
}

void frmAbout::Form_Load()
{
    setWindowTitle(QStringLiteral("About ") + AppTitle);
    lblVersion->setText(VersionText());
    lblTitle->setText(AppTitle);
}

QString frmAbout::VersionText()
{
    QVersionNumber version = QVersionNumber::fromString(QCoreApplication::applicationVersion());
    if (version.isNull())
        version =
            QVersionNumber(CORVANE_VERSION_MAJOR, CORVANE_VERSION_MINOR, CORVANE_VERSION_PATCH);
    return QStringLiteral("Version %1.%2.%3")
        .arg(version.majorVersion())
        .arg(version.minorVersion())
        .arg(version.microVersion());
}

void frmAbout::cmdOK_Click()
{
    close();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    QString SysInfoPath;
    if (GetKeyValue(SystemRegistry::LocalMachine, gREGKEYSYSINFO, gREGVALSYSINFO, &SysInfoPath)) {
        if (Prompts::StartProgram(SysInfoPath))
            return;
    } else if (GetKeyValue(SystemRegistry::LocalMachine, gREGKEYSYSINFOLOC, gREGVALSYSINFOLOC,
                           &SysInfoPath)) {
        const QString program = SysInfoPath + QDir::separator() + QStringLiteral("MSINFO32.EXE");
        if (QFileInfo::exists(program) && Prompts::StartProgram(program))
            return;
    }
    Prompts::MsgBox(this, QStringLiteral("System Information Is Unavailable At This Time"),
                    Prompts::OkOnly, AppTitle);
}

bool frmAbout::GetKeyValue(SystemRegistry::Key KeyRoot, const QString &KeyName,
                           const QString &SubKeyRef, QString *KeyVal)
{
    SystemRegistry::Key hKey = 0;
    if (SystemRegistry::OpenKey(KeyRoot, KeyName, KeyReadAccess, &hKey) ==
        SystemRegistry::Success) {
        QByteArray tmpVal(BufferSize, '\0');
        quint32 KeyValSize = BufferSize;
        quint32 KeyValType = 0;
        const long rc =
            SystemRegistry::QueryValue(hKey, SubKeyRef, &KeyValType, tmpVal.data(), &KeyValSize);
        // A value of no bytes has no text to keep; it counts as missing.
        if (rc == SystemRegistry::Success && KeyValSize > 0 && KeyValSize <= BufferSize) {
            // Stored text normally ends with its NUL, which is not part of it.
            const QByteArray kept = tmpVal.at(KeyValSize - 1) == '\0' ? tmpVal.left(KeyValSize - 1)
                                                                      : tmpVal.left(KeyValSize);
            switch (KeyValType) {
            case SystemRegistry::TextValue:
                if (KeyVal)
                    *KeyVal = QString::fromLocal8Bit(kept);
                break;
            case SystemRegistry::NumberValue: {
                // Fewer than four bytes leave the rest of the NUL-filled buffer.
                const qint32 number = qFromLittleEndian<qint32>(tmpVal.constData());
                if (KeyVal)
                    *KeyVal = QString::number(number);
                break;
            }
            default:
                break; // other types leave the value as it was
            }
            SystemRegistry::CloseKey(hKey);
            return true;
        }
        SystemRegistry::CloseKey(hKey);
    }
    if (KeyVal)
        KeyVal->clear();
    return false;
}
