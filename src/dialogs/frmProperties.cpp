// Options dialog: home page and history.
#include "dialogs/frmProperties.h"

#include "app/PageView.h"
#include "platform/Prompts.h"
#include "app/frmWeb.h"
#include "controls/xpcmdbutton.h"
#include "dialogs/DialogForm.h"
#include "store/Module1.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

QLabel *label(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(geometry);
    return l;
}

xpcmdbutton *button(QWidget *parent, const char *name, const QString &caption,
                    const QRect &geometry)
{
    return DialogForm::button(parent, name, caption, QStringLiteral("MS Sans Serif"), geometry);
}

} // namespace

frmProperties::frmProperties(frmWeb *window) : m_window(window)
{
    DialogForm::setUp(this, QStringLiteral("frmProperties"), QStringLiteral("Properties"), 5415,
                      6105);

    xpgroupbox1 = new QFrame(this);
    xpgroupbox1->setObjectName(QStringLiteral("xpgroupbox1"));
    xpgroupbox1->setGeometry(8, 8, 345, 348);

    Label4 = label(xpgroupbox1, "Label4", QStringLiteral("Clear History"), QRect(8, 6, 200, 16));
    Frame3 = new QGroupBox(xpgroupbox1);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    Frame3->setGeometry(8, 24, 329, 100);
    Label1 = label(Frame3, "Label1",
                   QStringLiteral("All websites that you have visited will be gone without a "
                                  "trace. Just click CLEAR."),
                   QRect(10, 14, 200, 76));
    Label1->setWordWrap(true);
    Command1 = button(Frame3, "Command1", QStringLiteral("Clear"), QRect(228, 40, 88, 24));

    Label5 = label(xpgroupbox1, "Label5", QStringLiteral("Set Homepage"), QRect(8, 136, 200, 16));
    Frame2 = new QGroupBox(xpgroupbox1);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(8, 154, 329, 180);
    Label2 = label(Frame2, "Label2", QStringLiteral("You can change your start page."),
                   QRect(10, 16, 300, 18));
    Label3 = label(Frame2, "Label3", QStringLiteral("Address:"), QRect(10, 62, 56, 18));
    txtAddress = new QLineEdit(Frame2);
    txtAddress->setObjectName(QStringLiteral("txtAddress"));
    txtAddress->setGeometry(68, 58, 250, 24);
    command4 = button(Frame2, "command4", QStringLiteral("Default"), QRect(10, 120, 90, 24));
    command3 =
        button(Frame2, "command3", QStringLiteral("Current Webpage"), QRect(107, 120, 116, 24));
    command2 = button(Frame2, "command2", QStringLiteral("Blank Url"), QRect(230, 120, 88, 24));

    cmdOk = button(this, "cmdOk", QStringLiteral("OK"), QRect(97, 370, 80, 26));
    cmdApply = button(this, "cmdApply", QStringLiteral("Apply"), QRect(185, 370, 80, 26));
    cmdCancel = button(this, "cmdCancel", QStringLiteral("Cancel"), QRect(273, 370, 80, 26));

    connect(Command1, &xpcmdbutton::Click, this, &frmProperties::Command1_Click);
    connect(command4, &xpcmdbutton::Click, this, &frmProperties::command4_Click);
    connect(command3, &xpcmdbutton::Click, this, &frmProperties::command3_Click);
    connect(command2, &xpcmdbutton::Click, this, &frmProperties::command2_Click);
    connect(cmdApply, &xpcmdbutton::Click, this, &frmProperties::cmdApply_Click);
    connect(cmdOk, &xpcmdbutton::Click, this, &frmProperties::cmdOk_Click);
    connect(cmdCancel, &xpcmdbutton::Click, this, &frmProperties::cmdCancel_Click);

    Form_Load();
}

void frmProperties::Form_Load()
{
    // On a first run this also stores the default as the home page.
    txtAddress->setText(Module1::GetHomePage());
}

void frmProperties::Apply()
{
    Module1::SaveHomePage(txtAddress->text());
}

void frmProperties::Command1_Click()
{
    const int answer = Prompts::MsgBox(this, QStringLiteral("Delete All History?"), Prompts::YesNo,
                                       QStringLiteral("Corvane History"));
    if (answer == Prompts::Yes)
        Module1::ClearHistory(m_window ? m_window->addressBox() : nullptr);
}

void frmProperties::command4_Click()
{
    txtAddress->setText(Module1::DefaultHomePage);
}

void frmProperties::command3_Click()
{
    if (!m_window)
        return;
    if (PageView *view = m_window->selectedView())
        txtAddress->setText(view->LocationURL());
}

void frmProperties::command2_Click()
{
    txtAddress->setText(QStringLiteral("about:blank"));
}

void frmProperties::cmdApply_Click()
{
    Apply();
}

void frmProperties::cmdOk_Click()
{
    Apply();
    close();
}

void frmProperties::cmdCancel_Click()
{
    close();
}
