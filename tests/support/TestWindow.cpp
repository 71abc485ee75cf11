// The window is built as the program builds it (Form_Load), so each test sees
// what a user would see at start-up; the store is read and written through
// QSettings on the sandbox's file, as the program keeps it.
#include "TestWindow.h"

#include "app/FavMenuItems.h"
#include "controls/xpcmdbutton.h"
#include "dialogs/DialogLauncher.h"
#include "store/FavRecord.h"
#include "store/Module1.h"
#include "web/WebEnginePageView.h"

#include <QLineEdit>
#include <QSettings>
#include <QtTest>
#include <algorithm>

void TestWindow::openSandbox()
{
    sandbox = std::make_unique<TestSandbox>();
    sandbox->writeFile("Hpage.dat", "\"home.test\"\r\n");
    prompts = std::make_unique<ScriptedPrompts>();
}

void TestWindow::start()
{
    views.clear();
    Module1::reset();
    window = std::make_unique<frmWeb>(fakeViewFactory(&views));
    window->Form_Load();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestWindow::restart()
{
    window.reset();
    start();
}

void TestWindow::closeAll()
{
    window.reset();
    prompts.reset();
    sandbox.reset();
}

LoopbackServer &TestWindow::server()
{
    if (!m_server)
        m_server = std::make_unique<LoopbackServer>();
    return *m_server;
}

void TestWindow::startAt(const QString &path)
{
    sandbox->writeFile("Hpage.dat", "\"" + server().address(path).toUtf8() + "\"\r\n");
    views.clear();
    Module1::reset();
    window = std::make_unique<frmWeb>();
    window->Form_Load();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

bool TestWindow::waitForTitle(const QString &title, int timeoutMs) const
{
    return QTest::qWaitFor(
        [&] { return window->windowTitle() == QStringLiteral("Corvane - ") + title; }, timeoutMs);
}

WebEnginePageView *TestWindow::engineView(int index) const
{
    return qobject_cast<WebEnginePageView *>(window->tabs()->view(index));
}

QByteArray TestWindow::page(const QByteArray &title, const QByteArray &body)
{
    return "<html><head><title>" + title + "</title></head><body>" + body + "</body></html>";
}

QString TestWindow::favName(int k)
{
    return QString("Site %1").arg(k);
}

QString TestWindow::favAddress(int k)
{
    return QString("http://site%1.test/").arg(k);
}

void TestWindow::seedFavourites(int count) const
{
    QSettings settings(sandbox->settingsPath(), QSettings::IniFormat);
    for (int k = 1; k <= count; ++k)
        settings.setValue(QString("Favorites/%1").arg(k),
                          FavRecord::join(favName(k), favAddress(k)));
    settings.sync();
}

QStringList TestWindow::storeKeys() const
{
    QSettings settings(sandbox->settingsPath(), QSettings::IniFormat);
    settings.beginGroup("Favorites");
    QStringList keys = settings.childKeys();
    std::sort(keys.begin(), keys.end(),
              [](const QString &a, const QString &b) { return a.toInt() < b.toInt(); });
    return keys;
}

QString TestWindow::stored(int key) const
{
    return QSettings(sandbox->settingsPath(), QSettings::IniFormat)
        .value(QString("Favorites/%1").arg(key))
        .toString();
}

QStringList TestWindow::captions() const
{
    QStringList all;
    for (int i = 0; i < window->favMenu()->count(); ++i)
        all << window->favMenu()->item(i)->text().replace("&&", "&");
    return all;
}

DialogLauncher *TestWindow::launcher() const
{
    return window->findChild<DialogLauncher *>();
}

QLineEdit *TestWindow::box(QWidget *dialog, const char *name)
{
    return child<QLineEdit>(dialog, name);
}

void TestWindow::click(QWidget *dialog, const char *name)
{
    auto *button = child<xpcmdbutton>(dialog, name);
    QVERIFY2(button, name);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
}

void TestWindow::closeBy(const QString &how, QWidget *dialog, const char *button,
                         QWidget *escTarget)
{
    if (how == "close box")
        QVERIFY(dialog->close());
    else if (how == "Esc")
        QTest::keyClick(escTarget, Qt::Key_Escape);
    else
        click(dialog, button);
}
