#include "app/MenuCommands.h"

#include "app/frmWeb.h"
#include "store/Module1.h"

MenuCommands::MenuCommands(frmWeb *window) : QObject(window), m_window(window) {}

void MenuCommands::ShowOnTop(QWidget *dialog)
{
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void MenuCommands::Copy_Click() {}
void MenuCommands::Cut_Click() {}
void MenuCommands::paste_Click() {}
void MenuCommands::selall_Click() {}
void MenuCommands::save_as_Click() {}
void MenuCommands::PrP_Click() {}
void MenuCommands::print_Click() {}
void MenuCommands::Page_Setup_Click() {}
void MenuCommands::PrPr_Click() {}
void MenuCommands::mnuTop_Click() {}
void MenuCommands::mnuHelp_Click() {}
void MenuCommands::mnuTabHlp_Click() {}

void MenuCommands::mnuItemSite_Click(int index)
{
    if (PageView *view = m_window->selectedView())
        view->Navigate2(Module1::GetFavUrl(index));
}
