// Opening and closing the dialogs of the menus.
#include "dialogs/DialogLauncher.h"

#include "app/BrowserShell.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmFav.h"
#include "dialogs/frmFavDel.h"
#include "dialogs/frmProperties.h"
#include "platform/Prompts.h"

#include <QEvent>
#include <QWindow>

DialogLauncher::DialogLauncher(BrowserShell *shell)
    : QObject(shell->shellWindow()), m_shell(shell), m_window(shell->shellWindow())
{
    m_window->installEventFilter(this);
}

DialogLauncher::~DialogLauncher()
{
    delete m_fav.data();
    delete m_favDel.data();
    delete m_properties.data();
    delete m_about.data();
}

frmFav *DialogLauncher::favDialog() const
{
    return m_fav;
}
frmFavDel *DialogLauncher::organiseDialog() const
{
    return m_favDel;
}
frmProperties *DialogLauncher::optionsDialog() const
{
    return m_properties;
}
frmAbout *DialogLauncher::aboutDialog() const
{
    return m_about;
}

// Places a dialog above all windows and shows it modeless; the main window
// stays usable. load() runs only while no instance is alive, so a second
// request brings the first one forward.
template <typename Dialog, typename Load>
static Dialog *showOnTop(QPointer<Dialog> &instance, Load load)
{
    if (!instance)
        instance = load();
    if (instance)
        Prompts::ShowOnTop(instance.data());
    return instance.data();
}

void DialogLauncher::updateMainWindow()
{
    // Closing the options dialog or the about box never frees a main window
    // that a favourites dialog still holds.
    m_window->setEnabled(!m_fav && !m_favDel);
}

template <typename Dialog> void DialogLauncher::openHoldingWindow(QPointer<Dialog> &instance)
{
    if (m_fav || m_favDel)
        return;
    m_window->setEnabled(false);
    instance = new Dialog(m_shell);
    // instance is one of this launcher's members, so it outlives the connection.
    connect(instance, &QDialog::finished, this, [this, &instance] {
        instance.clear();
        updateMainWindow();
    });
    Prompts::PlaceOver(instance, m_window);
    instance->show();
}

void DialogLauncher::AddToFav_Click()
{
    openHoldingWindow(m_fav);
}

void DialogLauncher::DelFav_Click()
{
    openHoldingWindow(m_favDel);
}

void DialogLauncher::prop_Click()
{
    showOnTop(m_properties, [this] {
        auto *dialog = new frmProperties(m_shell);
        connect(dialog, &QDialog::finished, this, [this] {
            m_properties.clear();
            updateMainWindow();
        });
        Prompts::PlaceOver(dialog, m_window);
        return dialog;
    });
}

void DialogLauncher::mnuAbout_Click()
{
    showOnTop(m_about, [this] {
        auto *dialog = new frmAbout;
        connect(dialog, &QDialog::finished, this, [this] { m_about.clear(); });
        Prompts::PlaceOver(dialog, m_window);
        return dialog;
    });
}

bool DialogLauncher::eventFilter(QObject *watched, QEvent *event)
{
    // A disabled main window keeps its close box working on most systems;
    // while a favourites dialog holds it, that box does nothing.
    if (watched == m_window && event->type() == QEvent::Close && !m_window->isEnabled()) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
