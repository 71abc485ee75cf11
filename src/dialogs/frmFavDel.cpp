// Organise-favourites dialog: two rows of buttons, the address of the
// selected entry, and the list below them taking the room that is left.
#include "dialogs/frmFavDel.h"

#include "app/BrowserShell.h"
#include "controls/xpcmdbutton.h"
#include "dialogs/DialogForm.h"
#include "dialogs/frmFavDelCh.h"
#include "platform/Prompts.h"
#include "store/FavEdits.h"
#include "store/Module1.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>

frmFavDel::frmFavDel(BrowserShell *shell) : m_shell(shell)
{
    DialogForm::setUp(this, QStringLiteral("frmFavDel"), QStringLiteral("Delete Favorite"));

    const QString family = QStringLiteral("MS Sans Serif");
    cmdDel = DialogForm::button("cmdDel", QStringLiteral("Delete"), family);
    cmdChURL = DialogForm::button("cmdChURL", QStringLiteral("Change"), family);
    cmdClose = DialogForm::button("cmdClose", QStringLiteral("Close"), family);
    cmdRename = DialogForm::button("cmdRename", QStringLiteral("Rename"), family);
    txtUrl = new QLineEdit;
    txtUrl->setObjectName(QStringLiteral("txtUrl"));
    List1 = new QListWidget;
    List1->setObjectName(QStringLiteral("List1"));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);

    auto *form = new QGridLayout(this);
    form->addWidget(cmdDel, 0, 0);
    form->addWidget(cmdChURL, 0, 1);
    form->addWidget(cmdClose, 0, 2);
    form->addWidget(cmdRename, 1, 0);
    form->addWidget(txtUrl, 2, 0, 1, 3);
    form->addWidget(List1, 3, 0, 1, 3);
    form->setRowStretch(3, 1);
    DialogForm::startAt(this, 5265, 5460);

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

void frmFavDel::Refresh()
{
    cmdDel->setEnabled(false);
    cmdRename->setEnabled(false);
    cmdChURL->setEnabled(false);
    List1->clear();
    for (int p = 0; p < Module1::FavCount(); ++p)
        List1->addItem(Module1::GetFavName(p));
}

void frmFavDel::edited(FavEdits::Result result)
{
    if (result == FavEdits::Done) {
        if (m_shell)
            m_shell->favouritesChanged();
    } else {
        DialogForm::reportFailure(this, result);
    }
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
    if (i < 1)
        return;
    txtUrl->clear();
    edited(FavEdits::Delete(i));
    Refresh();
}

void frmFavDel::cmdRename_Click()
{
    const std::optional<QString> answer =
        Prompts::InputBox(this, QStringLiteral("Enter name:"), FavEdits::MessageTitle);
    // An empty answer, cancelling included, changes nothing.
    const int i = ListIndex();
    if (answer && !answer->isEmpty() && i >= 1)
        edited(FavEdits::Rename(i, *answer));
    Refresh();
}

void frmFavDel::cmdChURL_Click()
{
    const int i = ListIndex();
    if (i < 1 || m_change)
        return;
    setEnabled(false);
    m_change = new frmFavDelCh(i, Module1::GetFavUrl(i));
    // The list and its address box stay as they are: the entry keeps its name.
    connect(m_change, &frmFavDelCh::addressChanged, this, [this] { edited(FavEdits::Done); });
    connect(m_change, &QDialog::finished, this, [this] { setEnabled(true); });
    Prompts::PlaceOver(m_change, this);
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
