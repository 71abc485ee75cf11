// Change-URL dialog.
#include "dialogs/frmFavDelCh.h"

#include "app/frmWeb.h"
#include "controls/xpcmdbutton.h"
#include "controls/xpgroupbox.h"
#include "dialogs/DialogForm.h"
#include "dialogs/FavEdits.h"
#include "dialogs/frmFavDel.h"
#include "store/Module1.h"

#include <QLineEdit>
#include <QVBoxLayout>

namespace {

xpgroupbox *group(QWidget *parent, const char *name, const QString &caption, int y,
                  const char *boxName, QLineEdit **box)
{
    auto *g = new xpgroupbox(parent);
    g->setObjectName(QLatin1String(name));
    g->setFont(QFont(QStringLiteral("Arial")));
    g->setCaption(caption);
    g->setBackColor(xpgroupbox::ButtonFace);
    g->setGeometry(7, y, DialogForm::px(6210), DialogForm::px(645));
    *box = new QLineEdit(g);
    (*box)->setObjectName(QLatin1String(boxName));
    auto *layout = new QVBoxLayout(g);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(*box);
    return g;
}

} // namespace

frmFavDelCh::frmFavDelCh(frmFavDel *owner) : m_owner(owner)
{
    DialogForm::setUp(this, QStringLiteral("frmFavDelCh"), QStringLiteral("Change URL"), 6435,
                      2085);

    xpgroupbox1 = group(this, "xpgroupbox1", QStringLiteral("Old Name:"), 4, "txtOld", &txtOld);
    xpgroupbox2 = group(this, "xpgroupbox2", QStringLiteral("New Name:"), 52, "txtNew", &txtNew);
    cmdChange =
        DialogForm::button(this, "cmdChange", QStringLiteral("Change"), QStringLiteral("Arial"),
                           QRect(160, 102, DialogForm::px(1635), DialogForm::px(450)));
    cmdCancel = DialogForm::button(
        this, "cmdCancel", QStringLiteral("Cancel"), QStringLiteral("Arial"),
        QRect(420 - DialogForm::px(1515), 102, DialogForm::px(1515), DialogForm::px(450)));

    connect(txtNew, &QLineEdit::textChanged, this, &frmFavDelCh::txtNew_Change);
    connect(cmdChange, &xpcmdbutton::Click, this, &frmFavDelCh::cmdChange_Click);
    connect(cmdCancel, &xpcmdbutton::Click, this, &frmFavDelCh::cmdCancel_Click);

    const int i = selectedSlot();
    txtOld->setText(i >= 0 ? Module1::GetFavUrl(i) : QString());
    // The new box starts empty, and an empty address is never offered.
    txtNew_Change();
}

int frmFavDelCh::selectedSlot() const
{
    return m_owner ? m_owner->ListIndex() : -1;
}

void frmFavDelCh::txtNew_Change()
{
    cmdChange->setEnabled(!txtNew->text().isEmpty());
}

void frmFavDelCh::cmdChange_Click()
{
    const int i = selectedSlot();
    frmWeb *window = m_owner ? m_owner->mainWindow() : nullptr;
    if (i >= 1 && window && window->favMenu()) {
        if (FavEdits::reportFailure(this,
                                    FavEdits::ChangeAddress(*window->favMenu(), i, txtNew->text())))
            return;
    }
    close();
}

void frmFavDelCh::cmdCancel_Click()
{
    close();
}

void frmFavDelCh::done(int result)
{
    QDialog::done(result);
    if (m_owner)
        m_owner->setEnabled(true);
}
