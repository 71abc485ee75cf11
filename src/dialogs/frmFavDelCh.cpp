// Change-URL dialog.
#include "dialogs/frmFavDelCh.h"

#include "app/Prompts.h"
#include "app/frmWeb.h"
#include "controls/xpcmdbutton.h"
#include "controls/xpgroupbox.h"
#include "dialogs/FavEdits.h"
#include "dialogs/frmFavDel.h"
#include "store/Module1.h"

#include <QLineEdit>
#include <QVBoxLayout>

namespace {

constexpr int px(int twips)
{
    return twips / 15;
}

xpgroupbox *group(QWidget *parent, const char *name, const QString &caption, int y,
                  const char *boxName, QLineEdit **box)
{
    auto *g = new xpgroupbox(parent);
    g->setObjectName(QLatin1String(name));
    g->setFont(QFont(QStringLiteral("Arial")));
    g->setCaption(caption);
    g->setBackColor(xpgroupbox::ButtonFace);
    g->setGeometry(7, y, px(6210), px(645));
    *box = new QLineEdit(g);
    (*box)->setObjectName(QLatin1String(boxName));
    auto *layout = new QVBoxLayout(g);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(*box);
    return g;
}

xpcmdbutton *button(QWidget *parent, const char *name, const QString &caption,
                    const QRect &geometry)
{
    auto *b = new xpcmdbutton(parent);
    b->setObjectName(QLatin1String(name));
    b->setFont(QFont(QStringLiteral("Arial")));
    b->setCaption(caption);
    b->setGeometry(geometry);
    return b;
}

} // namespace

frmFavDelCh::frmFavDelCh(frmFavDel *owner) : m_owner(owner)
{
    setObjectName(QStringLiteral("frmFavDelCh"));
    setWindowTitle(QStringLiteral("Change URL"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(px(6435), px(2085));

    xpgroupbox1 = group(this, "xpgroupbox1", QStringLiteral("Old Name:"), 4, "txtOld", &txtOld);
    xpgroupbox2 = group(this, "xpgroupbox2", QStringLiteral("New Name:"), 52, "txtNew", &txtNew);
    cmdChange =
        button(this, "cmdChange", QStringLiteral("Change"), QRect(160, 102, px(1635), px(450)));
    cmdCancel = button(this, "cmdCancel", QStringLiteral("Cancel"),
                       QRect(420 - px(1515), 102, px(1515), px(450)));

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
        const FavEdits::Result result =
            FavEdits::ChangeAddress(*window->favMenu(), i, txtNew->text());
        if (result != FavEdits::Done && result != FavEdits::NoSuchEntry) {
            Prompts::MsgBox(this, FavEdits::message(result), Prompts::OkOnly | Prompts::Exclamation,
                            FavEdits::MessageTitle);
            return;
        }
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
