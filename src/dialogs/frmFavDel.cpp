// Organise-favourites dialog.
#include "dialogs/frmFavDel.h"

#include "platform/Prompts.h"
#include "app/frmWeb.h"
#include "controls/xpcmdbutton.h"
#include "dialogs/DialogForm.h"
#include "dialogs/DialogLauncher.h"
#include "dialogs/FavEdits.h"
#include "dialogs/frmFavDelCh.h"
#include "store/FavMenuItems.h"
#include "store/Module1.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QListWidget>

namespace {

// The buttons are all of one size.
xpcmdbutton *button(QWidget *parent, const char *name, const QString &caption, int x, int y)
{
    return DialogForm::button(parent, name, caption, QStringLiteral("MS Sans Serif"),
                              QRect(x, y, DialogForm::px(1380), DialogForm::px(330)));
}

} // namespace

frmFavDel::frmFavDel(frmWeb *window) : m_window(window)
{
    DialogForm::setUp(this, QStringLiteral("frmFavDel"), QStringLiteral("Delete Favorite"), 5265,
                      5460);

    cmdDel = button(this, "cmdDel", QStringLiteral("Delete"), 7, 8);
    cmdChURL = button(this, "cmdChURL", QStringLiteral("Change"), 130, 8);
    cmdClose = button(this, "cmdClose", QStringLiteral("Close"), 252, 8);
    cmdRename = button(this, "cmdRename", QStringLiteral("Rename"), 7, 36);
    txtUrl = new QLineEdit(this);
    txtUrl->setObjectName(QStringLiteral("txtUrl"));
    txtUrl->setGeometry(7, 66, DialogForm::px(5055), 22);
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setGeometry(7, 94, DialogForm::px(5055), DialogForm::px(3960));

    // A selection made with the mouse or the keys; clearing the list
    // selects nothing and is left alone.
    connect(List1, &QListWidget::itemSelectionChanged, this, &frmFavDel::List1_Click);
    connect(cmdDel, &xpcmdbutton::Click, this, &frmFavDel::cmdDel_Click);
    connect(cmdRename, &xpcmdbutton::Click, this, &frmFavDel::cmdRename_Click);
    connect(cmdChURL, &xpcmdbutton::Click, this, &frmFavDel::cmdChURL_Click);
    connect(cmdClose, &xpcmdbutton::Click, this, &frmFavDel::cmdClose_Click);

    Refresh();
}

frmFavDel::~frmFavDel()
{
    delete m_change.data();
}

frmFavDelCh *frmFavDel::changeDialog() const
{
    return m_change;
}

int frmFavDel::ListIndex() const
{
    const QList<QListWidgetItem *> selected = List1->selectedItems();
    return selected.isEmpty() ? -1 : List1->row(selected.first());
}

QString frmFavDel::ListText(int i) const
{
    const QListWidgetItem *line = List1->item(i);
    return line ? line->text() : QString();
}

void frmFavDel::Refresh()
{
    cmdDel->setEnabled(false);
    cmdRename->setEnabled(false);
    cmdChURL->setEnabled(false);
    List1->clear();
    const FavMenuItems *menu = m_window ? m_window->favMenu() : nullptr;
    if (!menu)
        return;
    for (int p = 0; p < menu->count(); ++p)
        List1->addItem(menu->caption(p));
}

void frmFavDel::List1_Click()
{
    const int i = ListIndex();
    if (i < 0)
        return;
    txtUrl->setText(Module1::GetFavUrl(i));
    // The built-in entry can be looked at but not changed.
    const bool userFavourite = i != 0;
    cmdDel->setEnabled(userFavourite);
    cmdRename->setEnabled(userFavourite);
    cmdChURL->setEnabled(userFavourite);
}

void frmFavDel::cmdDel_Click()
{
    const int i = ListIndex();
    if (i < 1 || !m_window || !m_window->favMenu())
        return;
    txtUrl->clear();
    FavEdits::reportFailure(this, FavEdits::Delete(*m_window->favMenu(), i));
    Refresh();
}

void frmFavDel::cmdRename_Click()
{
    const std::optional<QString> answer =
        Prompts::InputBox(this, QStringLiteral("Enter name:"), QStringLiteral("Favorites"));
    // An empty answer, cancelling included, changes nothing.
    const int i = ListIndex();
    if (answer && !answer->isEmpty() && i >= 1 && m_window && m_window->favMenu())
        FavEdits::reportFailure(this, FavEdits::Rename(*m_window->favMenu(), i, *answer));
    Refresh();
}

void frmFavDel::cmdChURL_Click()
{
    if (ListIndex() < 1 || m_change)
        return;
    setEnabled(false);
    m_change = new frmFavDelCh(this);
    DialogLauncher::placeOver(m_change, this);
    m_change->show();
}

void frmFavDel::cmdClose_Click()
{
    close();
}

void frmFavDel::closeEvent(QCloseEvent *event)
{
    // While the change-URL dialog is open this one takes no input, and that
    // includes its close box.
    if (!isEnabled()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
