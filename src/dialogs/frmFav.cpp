// Add-favourite dialog.
#include "dialogs/frmFav.h"

#include "app/PageView.h"
#include "app/frmWeb.h"
#include "controls/xpcmdbutton.h"
#include "dialogs/DialogForm.h"
#include "dialogs/FavEdits.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

// The buttons stand in a column at the right.
xpcmdbutton *button(QWidget *parent, const char *name, const QString &caption, int y)
{
    return DialogForm::button(
        parent, name, caption, QStringLiteral("MS Sans Serif"),
        QRect(DialogForm::px(6030), y, DialogForm::px(1275), DialogForm::px(330)));
}

// A captioned frame holding a label and a full-width text box.
QGroupBox *frame(QWidget *parent, const char *name, const QString &caption, int y,
                 const char *labelName, const QString &labelText, const char *boxName,
                 QLabel **label, QLineEdit **box)
{
    auto *f = new QGroupBox(caption, parent);
    f->setObjectName(QLatin1String(name));
    f->setGeometry(8, y, 384, 70);
    *label = new QLabel(labelText, f);
    (*label)->setObjectName(QLatin1String(labelName));
    (*label)->setGeometry(10, 20, 60, 16);
    *box = new QLineEdit(f);
    (*box)->setObjectName(QLatin1String(boxName));
    (*box)->setGeometry(10, 38, 364, 22);
    return f;
}

} // namespace

frmFav::frmFav(frmWeb *window) : m_window(window)
{
    DialogForm::setUp(this, QStringLiteral("frmFav"), QStringLiteral("Favorites"), 7485, 2325);

    Frame1 = frame(this, "Frame1", QStringLiteral("Name IT!"), 4, "Label2", QStringLiteral("Name:"),
                   "txtName", &Label2, &txtName);
    Frame2 = frame(this, "Frame2", QStringLiteral("Website Address"), 80, "Label1",
                   QStringLiteral("URL:"), "txtUrl", &Label1, &txtUrl);
    cmdAdd = button(this, "cmdAdd", QStringLiteral("Add"), 12);
    cmdCancel = button(this, "cmdCancel", QStringLiteral("Cancel"), 42);
    cmdReset = button(this, "cmdReset", QStringLiteral("Reset"), 124);

    connect(cmdAdd, &xpcmdbutton::Click, this, &frmFav::cmdAdd_Click);
    connect(cmdCancel, &xpcmdbutton::Click, this, &frmFav::cmdCancel_Click);
    connect(cmdReset, &xpcmdbutton::Click, this, &frmFav::cmdReset_Click);

    FillBoxes();
}

void frmFav::FillBoxes()
{
    // What the selected tab reports now, also for a page still loading.
    PageView *view = m_window ? m_window->selectedView() : nullptr;
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
    if (!m_window || !m_window->favMenu())
        return;
    // After a failure nothing was created; the user may cancel or free a place first.
    if (FavEdits::reportFailure(
            this, FavEdits::Add(*m_window->favMenu(), txtName->text(), txtUrl->text())))
        return;
    close();
}

void frmFav::cmdCancel_Click()
{
    close();
}
