// Change-URL dialog: two XP group boxes, one text box in each, and the
// buttons below them.
#include "dialogs/frmFavDelCh.h"

#include "controls/xpcmdbutton.h"
#include "controls/xpgroupbox.h"
#include "dialogs/DialogForm.h"
#include "store/FavEdits.h"

#include <QBoxLayout>
#include <QLineEdit>

namespace {

xpgroupbox *group(const char *name, const QString &caption, const char *boxName, QLineEdit **box)
{
    auto *g = new xpgroupbox;
    g->setObjectName(QLatin1String(name));
    g->setFont(QFont(QStringLiteral("Arial")));
    g->setCaption(caption);
    g->setBackColor(xpgroupbox::ButtonFace);
    *box = new QLineEdit;
    (*box)->setObjectName(QLatin1String(boxName));
    // The group box keeps its contents clear of its caption and frame.
    auto *layout = new QVBoxLayout(g);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(*box);
    return g;
}

} // namespace

frmFavDelCh::frmFavDelCh(int slot, const QString &oldAddress) : m_slot(slot)
{
    DialogForm::setUp(this, QStringLiteral("frmFavDelCh"), QStringLiteral("Change URL"));

    xpgroupbox1 = group("xpgroupbox1", QStringLiteral("Old Name:"), "txtOld", &txtOld);
    xpgroupbox2 = group("xpgroupbox2", QStringLiteral("New Name:"), "txtNew", &txtNew);
    const QString family = QStringLiteral("Arial");
    cmdChange = DialogForm::button("cmdChange", QStringLiteral("Change"), family);
    cmdCancel = DialogForm::button("cmdCancel", QStringLiteral("Cancel"), family);

    // Change in the middle of the bottom row, Cancel at its right.
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdChange);
    buttons->addStretch(1);
    buttons->addWidget(cmdCancel);
    auto *form = new QVBoxLayout(this);
    form->addWidget(xpgroupbox1);
    form->addWidget(xpgroupbox2);
    form->addLayout(buttons);
    DialogForm::startAt(this, 6435, 2085);

    connect(txtNew, &QLineEdit::textChanged, this, &frmFavDelCh::txtNew_Change);
    connect(cmdChange, &xpcmdbutton::Click, this, &frmFavDelCh::cmdChange_Click);
    connect(cmdCancel, &xpcmdbutton::Click, this, &frmFavDelCh::cmdCancel_Click);

    txtOld->setText(oldAddress);
    // The new box starts empty, and an empty address is never offered.
    txtNew_Change();
}

void frmFavDelCh::txtNew_Change()
{
    cmdChange->setEnabled(!txtNew->text().isEmpty());
}

void frmFavDelCh::cmdChange_Click()
{
    const FavEdits::Result result = FavEdits::ChangeAddress(m_slot, txtNew->text());
    // After a failure the dialog stays, for another try or Cancel.
    if (DialogForm::reportFailure(this, result))
        return;
    if (result == FavEdits::Done)
        emit addressChanged(m_slot);
    close();
}

void frmFavDelCh::cmdCancel_Click()
{
    close();
}
