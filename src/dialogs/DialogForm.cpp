// The dialogs build their widgets in code and lay them out with Qt layouts,
// so a larger font or a longer caption makes room for itself.
#include "dialogs/DialogForm.h"

#include "controls/xpcmdbutton.h"
#include "platform/Prompts.h"

#include <QDialog>
#include <QLayout>

void DialogForm::setUp(QDialog *dialog, const QString &name, const QString &title)
{
    dialog->setObjectName(name);
    dialog->setWindowTitle(title);
    dialog->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
}

void DialogForm::startAt(QDialog *dialog, int widthTwips, int heightTwips)
{
    QSize size = QSize(px(widthTwips), px(heightTwips)).expandedTo(dialog->sizeHint());
    // Wrapped texts need more height the narrower they are laid out.
    if (QLayout *layout = dialog->layout(); layout && layout->hasHeightForWidth())
        size.setHeight(qMax(size.height(), layout->totalHeightForWidth(size.width())));
    dialog->resize(size);
}

xpcmdbutton *DialogForm::button(const char *name, const QString &caption, const QString &family)
{
    auto *b = new xpcmdbutton;
    b->setObjectName(QLatin1String(name));
    b->setFont(QFont(family));
    b->setCaption(caption);
    b->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    return b;
}

bool DialogForm::reportFailure(QWidget *parent, FavEdits::Result result)
{
    if (result != FavEdits::Full && result != FavEdits::StoreFailed)
        return false;
    Prompts::MsgBox(parent, FavEdits::message(result), Prompts::OkOnly | Prompts::Exclamation,
                    FavEdits::MessageTitle);
    return true;
}
