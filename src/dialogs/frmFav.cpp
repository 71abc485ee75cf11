// Add-favourite dialog: two captioned frames at the left, the buttons in a
// column at the right.
#include "dialogs/frmFav.h"

#include "app/BrowserShell.h"
#include "app/PageView.h"
#include "controls/xpcmdbutton.h"
#include "dialogs/DialogForm.h"
#include "store/FavEdits.h"

#include <QBoxLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

// A captioned frame holding a label above a full-width text box.
QGroupBox *frame(const char *name, const QString &caption, const char *labelName,
                 const QString &labelText, const char *boxName, QLabel **label, QLineEdit **box)
{
    auto *f = new QGroupBox(caption);
    f->setObjectName(QLatin1String(name));
    *label = new QLabel(labelText);
    (*label)->setObjectName(QLatin1String(labelName));
    *box = new QLineEdit;
    (*box)->setObjectName(QLatin1String(boxName));
    auto *column = new QVBoxLayout(f);
    column->addWidget(*label);
    column->addWidget(*box);
    return f;
}

} // namespace

frmFav::frmFav(BrowserShell *shell) : m_shell(shell)
{
    DialogForm::setUp(this, QStringLiteral("frmFav"), QStringLiteral("Favorites"));

    Frame1 = frame("Frame1", QStringLiteral("Name IT!"), "Label2", QStringLiteral("Name:"),
                   "txtName", &Label2, &txtName);
    Frame2 = frame("Frame2", QStringLiteral("Website Address"), "Label1", QStringLiteral("URL:"),
                   "txtUrl", &Label1, &txtUrl);
    const QString family = QStringLiteral("MS Sans Serif");
    cmdAdd = DialogForm::button("cmdAdd", QStringLiteral("Add"), family);
    cmdCancel = DialogForm::button("cmdCancel", QStringLiteral("Cancel"), family);
    cmdReset = DialogForm::button("cmdReset", QStringLiteral("Reset"), family);

    auto *frames = new QVBoxLayout;
    frames->addWidget(Frame1);
    frames->addWidget(Frame2);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(cmdAdd);
    buttons->addWidget(cmdCancel);
    buttons->addStretch();
    buttons->addWidget(cmdReset);
    auto *form = new QHBoxLayout(this);
    form->addLayout(frames, 1);
    form->addLayout(buttons);
    DialogForm::startAt(this, 7485, 2325);

    connect(cmdAdd, &xpcmdbutton::Click, this, &frmFav::cmdAdd_Click);
    connect(cmdCancel, &xpcmdbutton::Click, this, &frmFav::cmdCancel_Click);
    connect(cmdReset, &xpcmdbutton::Click, this, &frmFav::cmdReset_Click);

    FillBoxes();
}

void frmFav::FillBoxes()
{
    // What the selected tab reports now, also for a page still loading.
    PageView *view = m_shell ? m_shell->selectedView() : nullptr;
    if (!view)
        return;
    txtName->setText(view->LocationName());
    txtUrl->setText(view->LocationURL());
}

void frmFav::cmdReset_Click()
{
    FillBoxes();
}

void frmFav::cmdAdd_Click()
{
    // After a failure nothing was created; the user may cancel or free a place first.
    if (DialogForm::reportFailure(this, FavEdits::Add(txtName->text(), txtUrl->text())))
        return;
    if (m_shell)
        m_shell->favouritesChanged();
    close();
}

void frmFav::cmdCancel_Click()
{
    close();
}
