// The dialogs build their widgets in code, one helper call a control, so a
// form reads as the list of its controls.
#include "dialogs/DialogForm.h"

#include "controls/xpcmdbutton.h"

#include <QDialog>

void DialogForm::setUp(QDialog *dialog, const QString &name, const QString &title, int widthTwips,
                       int heightTwips)
{
    dialog->setObjectName(name);
    dialog->setWindowTitle(title);
    dialog->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFixedSize(px(widthTwips), px(heightTwips));
}

xpcmdbutton *DialogForm::button(QWidget *parent, const char *name, const QString &caption,
                                const QString &family, const QRect &geometry)
{
    auto *b = new xpcmdbutton(parent);
    b->setObjectName(QLatin1String(name));
    b->setFont(QFont(family));
    b->setCaption(caption);
    b->setGeometry(geometry);
    return b;
}
