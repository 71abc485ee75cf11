#include "app/PageCommands.h"

#include "app/Prompts.h"
#include "app/WebEnginePageView.h"

bool PageCommands::exec(WebEnginePageView *view, int command, int option)
{
    Q_UNUSED(command);
    Q_UNUSED(option);
    Prompts::MsgBox(view->window(), QObject::tr("This command is not available yet."),
                    Prompts::Information, QStringLiteral("Corvane"));
    return false;
}
