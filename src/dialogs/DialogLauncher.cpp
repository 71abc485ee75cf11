#include "dialogs/DialogLauncher.h"

#include "app/frmWeb.h"

DialogLauncher::DialogLauncher(frmWeb *window) : QObject(window), m_window(window) {}

void DialogLauncher::AddToFav_Click() {}
void DialogLauncher::DelFav_Click() {}
void DialogLauncher::prop_Click() {}
void DialogLauncher::mnuAbout_Click() {}
