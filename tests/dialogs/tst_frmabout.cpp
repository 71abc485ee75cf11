// The about box driven from Help > About: its texts and version, how it is
// opened and closed, and finding the System Information tool through a
// registry given values by the test.
#include "TestWindow.h"
#include "app/frmWeb.h"
#include "dialogs/DialogLauncher.h"
#include "platform/SystemRegistry.h"
#include "dialogs/frmAbout.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QtEndian>
#include <QtTest>

namespace {
const QString InfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const QString LocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const QString Unavailable = "System Information Is Unavailable At This Time";

QByteArray text(const QByteArray &value)
{
    return value + '\0';
}
QByteArray number(qint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}
} // namespace

class TestFrmAbout : public QObject, protected TestWindow
{
    Q_OBJECT

    frmAbout *open()
    {
        window->action("mnuAbout")->trigger();
        frmAbout *dialog = launcher()->aboutDialog();
        if (dialog && !QTest::qWaitForWindowExposed(dialog))
            return nullptr;
        return dialog;
    }
    QStringList started() const
    {
        QStringList paths;
        for (const ScriptedPrompts::Asked &a : prompts->asked)
            if (a.kind == "start")
                paths << a.text;
        return paths;
    }
    QStringList messages() const
    {
        QStringList texts;
        for (const ScriptedPrompts::Asked &a : prompts->asked)
            if (a.kind == "message")
                texts << a.text;
        return texts;
    }

private slots:
    void initTestCase() { QCoreApplication::setApplicationVersion("2.5.36"); }
    void init()
    {
        SystemRegistry::reset();
        openSandbox();
        start();
    }
    void cleanup()
    {
        closeAll();
        SystemRegistry::reset();
        QCoreApplication::setApplicationVersion("2.5.36");
    }

    void showsTitleVersionAndTexts()
    {
        frmAbout *dialog = open();
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QString("About Corvane"));
        QCOMPARE(dialog->size(), QSize(5790 / 15, 3750 / 15));
        QCOMPARE(child<QLabel>(dialog, "lblTitle")->text(), QString("Corvane"));
        QCOMPARE(child<QLabel>(dialog, "lblVersion")->text(), QString("Version 2.5.36"));
        QCOMPARE(child<QLabel>(dialog, "lblDescription")->text(),
                 QString("Corvane is a alternate web browser to be used in replacement of the "
                         "slow and laggy browsers today! Corvane is simple, fast, efficient and "
                         "most importantly free!"));
        const QString disclaimer = child<QLabel>(dialog, "lblDisclaimer")->text();
        QVERIFY(
            disclaimer.startsWith("Corvane uses QtWebEngine, the Chromium-based engine of Qt."));
        QVERIFY(disclaimer.contains("https://www.qt.io/"));
        QVERIFY(!disclaimer.contains("IE"));
        QCOMPARE(child<QLabel>(dialog, "lblTitle")->font().family(), QString("OCR A Extended"));
        QCOMPARE(child<QLabel>(dialog, "lblVersion")->font().family(), QString("Trebuchet MS"));
        QCOMPARE(child<QLabel>(dialog, "lblDisclaimer")->font().family(), QString("Verdana"));
        QVERIFY(!child<QLabel>(dialog, "Image1")->pixmap().isNull());
        QCOMPARE(dialog->findChildren<QFrame *>("Line1").size(), 2);

        auto *ok = child<QPushButton>(dialog, "cmdOK");
        QCOMPARE(ok->text(), QString("OK"));
        QVERIFY(ok->isDefault());
        QCOMPARE(child<QPushButton>(dialog, "cmdSysInfo")->text(), QString("&System Info..."));
    }

    void versionText_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("shown");
        QTest::newRow("program") << "1.0.0"
                                 << "Version 1.0.0";
        QTest::newRow("three numbers") << "2.5.36"
                                       << "Version 2.5.36";
        QTest::newRow("leading zeros") << "02.05.036"
                                       << "Version 2.5.36";
        QTest::newRow("two numbers") << "3.1"
                                     << "Version 3.1.0";
        QTest::newRow("unset") << ""
                               << QString("Version %1.%2.%3")
                                      .arg(CORVANE_VERSION_MAJOR)
                                      .arg(CORVANE_VERSION_MINOR)
                                      .arg(CORVANE_VERSION_PATCH);
    }
    void versionText()
    {
        QFETCH(QString, version);
        QFETCH(QString, shown);
        QCoreApplication::setApplicationVersion(version);
        QCOMPARE(frmAbout::VersionText(), shown);
    }

    void opensOnTopOnceAndLeavesTheWindowUsable()
    {
        frmAbout *dialog = open();
        QVERIFY(dialog);
        QVERIFY(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!dialog->isModal());
        QVERIFY(window->isEnabled());
        QCOMPARE(open(), dialog);
        int shown = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            shown += qobject_cast<frmAbout *>(w) && w->isVisible() ? 1 : 0;
        QCOMPARE(shown, 1);
    }

    void closes_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK") << "OK";
        QTest::newRow("Enter") << "Enter";
        QTest::newRow("Esc") << "Esc";
        QTest::newRow("close box") << "close box";
    }
    void closes()
    {
        QFETCH(QString, how);
        frmAbout *dialog = open();
        QVERIFY(dialog);
        QPointer<frmAbout> guard(dialog);
        if (how == "OK") {
            QTest::mouseClick(child<QPushButton>(dialog, "cmdOK"), Qt::LeftButton);
        } else if (how == "Enter") {
            QTest::keyClick(dialog, Qt::Key_Return);
        } else if (how == "Esc") {
            QTest::keyClick(dialog, Qt::Key_Escape);
        } else {
            QVERIFY(dialog->close());
        }
        QTRY_VERIFY(!guard);
        QVERIFY(!launcher()->aboutDialog());
        QVERIFY(window->isEnabled());
        QVERIFY(prompts->asked.isEmpty());
    }

    void noRegistryMeansUnavailable()
    {
        // No values given: the registry of every system but Windows.
        frmAbout *dialog = open();
        QVERIFY(dialog);
        QTest::mouseClick(child<QPushButton>(dialog, "cmdSysInfo"), Qt::LeftButton);
        QVERIFY(started().isEmpty());
        QCOMPARE(messages(), QStringList{Unavailable});
        QCOMPARE(prompts->asked.last().title, QString("Corvane"));
        QCOMPARE(prompts->asked.last().style, int(Prompts::OkOnly));
        QVERIFY(dialog->isVisible());
    }

    void startSysInfo_data()
    {
        QTest::addColumn<QByteArray>("first");   // PATH under MSINFO; null = absent
        QTest::addColumn<QByteArray>("second");  // MSINFO under Shared Tools Location
        QTest::addColumn<bool>("createProgram"); // MSINFO32.EXE in the second folder
        QTest::addColumn<bool>("startWorks");
        QTest::addColumn<QString>("expectStarted"); // "first", "second" or ""
        QTest::addColumn<bool>("message");

        QTest::newRow("first value, program starts")
            << text("C:\\Tools\\msinfo32.exe") << QByteArray() << false << true << "first" << false;
        QTest::newRow("first value, program missing")
            << text("C:\\Missing\\msinfo32.exe") << QByteArray() << false << false << "first"
            << true;
        QTest::newRow("first value wins over second")
            << text("C:\\Tools\\msinfo32.exe") << text("FOLDER") << true << true << "first"
            << false;
        QTest::newRow("only second, no MSINFO32.EXE")
            << QByteArray() << text("FOLDER") << false << true << "" << true;
        QTest::newRow("only second, program there")
            << QByteArray() << text("FOLDER") << true << true << "second" << false;
        QTest::newRow("only second, start fails")
            << QByteArray() << text("FOLDER") << true << false << "second" << true;
        QTest::newRow("zero-length first, none second")
            << QByteArray("") << QByteArray() << false << true << "" << true;
        QTest::newRow("zero-length first, second there")
            << QByteArray("") << text("FOLDER") << true << true << "second" << false;
        QTest::newRow("zero-length second")
            << QByteArray() << QByteArray("") << false << true << "" << true;
    }
    void startSysInfo()
    {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        QFETCH(bool, createProgram);
        QFETCH(bool, startWorks);
        QFETCH(QString, expectStarted);
        QFETCH(bool, message);

        const QString folder = QDir::toNativeSeparators(sandbox->root() + "/msinfo");
        const QString program = folder + QDir::separator() + "MSINFO32.EXE";
        if (createProgram) {
            QVERIFY(QDir().mkpath(sandbox->root() + "/msinfo"));
            QFile exe(sandbox->root() + "/msinfo/MSINFO32.EXE");
            QVERIFY(exe.open(QIODevice::WriteOnly));
        }
        second.replace("FOLDER", folder.toLocal8Bit());
        // Something else under the same keys is no help.
        SystemRegistry::setValue(SystemRegistry::LocalMachine, InfoKey, "Other", 1, text("x"));
        if (!first.isNull())
            SystemRegistry::setValue(SystemRegistry::LocalMachine, InfoKey, "PATH", 1, first);
        if (!second.isNull())
            SystemRegistry::setValue(SystemRegistry::LocalMachine, LocationKey, "MSINFO", 1,
                                     second);
        prompts->startAnswers.enqueue(startWorks);

        frmAbout *dialog = open();
        QVERIFY(dialog);
        QTest::mouseClick(child<QPushButton>(dialog, "cmdSysInfo"), Qt::LeftButton);

        QStringList expected;
        if (expectStarted == "first")
            expected << QString::fromLocal8Bit(first.chopped(1));
        else if (expectStarted == "second")
            expected << program;
        QCOMPARE(started(), expected);
        QCOMPARE(messages(), message ? QStringList{Unavailable} : QStringList());
        QCOMPARE(SystemRegistry::openKeyCount(), 0);
        QVERIFY(dialog->isVisible());
    }

    void getKeyValue_data()
    {
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("value");

        QTest::newRow("text with its NUL") << 1u << text("C:\\Info") << true << "C:\\Info";
        QTest::newRow("text without NUL") << 1u << QByteArray("C:\\Info") << true << "C:\\Info";
        QTest::newRow("only a NUL") << 1u << QByteArray(1, '\0') << true << "";
        QTest::newRow("number") << 4u << number(1234) << true << "1234";
        QTest::newRow("negative number") << 4u << number(-1) << true << "-1";
        QTest::newRow("other type keeps the value")
            << 3u << QByteArray("\x01\x02") << true << "unchanged";
        QTest::newRow("zero length") << 1u << QByteArray("") << false << "";
        QTest::newRow("full buffer") << 1u << QByteArray(1024, 'a') << true << QString(1024, 'a');
        QTest::newRow("larger than the buffer") << 1u << QByteArray(1025, 'a') << false << "";
    }
    void getKeyValue()
    {
        QFETCH(quint32, type);
        QFETCH(QByteArray, data);
        QFETCH(bool, ok);
        QFETCH(QString, value);
        SystemRegistry::setValue(SystemRegistry::LocalMachine, "Software\\Test", "Value", type,
                                 data);
        QString out = "unchanged";
        // Names are matched without regard to case.
        QCOMPARE(
            frmAbout::GetKeyValue(SystemRegistry::LocalMachine, "SOFTWARE\\TEST", "value", &out),
            ok);
        QCOMPARE(out, value);
        QCOMPARE(SystemRegistry::openKeyCount(), 0);
    }

    void getKeyValueMissing_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("name");
        QTest::newRow("no such key") << "Software\\Nothing"
                                     << "Value";
        QTest::newRow("no such value") << "Software\\Test"
                                       << "Nothing";
    }
    void getKeyValueMissing()
    {
        QFETCH(QString, key);
        QFETCH(QString, name);
        SystemRegistry::setValue(SystemRegistry::LocalMachine, "Software\\Test", "Value", 1,
                                 text("x"));
        QString out = "unchanged";
        QVERIFY(!frmAbout::GetKeyValue(SystemRegistry::LocalMachine, key, name, &out));
        QVERIFY(out.isEmpty());
        QCOMPARE(SystemRegistry::openKeyCount(), 0);
    }
};

QTEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
