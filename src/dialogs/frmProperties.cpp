// Options dialog: one frame holding the history section above the home-page
// section, and the OK, Apply and Cancel row below it.
#include "dialogs/frmProperties.h"

#include "app/BrowserShell.h"
#include "app/PageView.h"
#include "controls/xpcmdbutton.h"
#include "dialogs/DialogForm.h"
#include "platform/Prompts.h"
#include "store/Module1.h"

#include <QBoxLayout>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

QLabel *label(const char *name, const QString &text)
{
    auto *l = new QLabel(text);
    l->setObjectName(QLatin1String(name));
    return l;
}

xpcmdbutton *button(const char *name, const QString &caption)
{
    return DialogForm::button(name, caption, QStringLiteral("MS Sans Serif"));
}

QGroupBox *section(const char *name)
{
    auto *frame = new QGroupBox;
    frame->setObjectName(QLatin1String(name));
    return frame;
}

} // namespace

frmProperties::frmProperties(BrowserShell *shell) : m_shell(shell)
{
    DialogForm::setUp(this, QStringLiteral("frmProperties"), QStringLiteral("Properties"));

    xpgroupbox1 = new QFrame;
    xpgroupbox1->setObjectName(QStringLiteral("xpgroupbox1"));

    Label4 = label("Label4", QStringLiteral("Clear History"));
    Frame3 = section("Frame3");
    Label1 = label("Label1", QStringLiteral("All websites that you have visited will be gone "
                                            "without a trace. Just click CLEAR."));
    Label1->setWordWrap(true);
    Command1 = button("Command1", QStringLiteral("Clear"));
    auto *history = new QHBoxLayout(Frame3);
    history->addWidget(Label1, 1);
    history->addWidget(Command1);

    Label5 = label("Label5", QStringLiteral("Set Homepage"));
    Frame2 = section("Frame2");
    Label2 = label("Label2", QStringLiteral("You can change your start page."));
    Label3 = label("Label3", QStringLiteral("Address:"));
    txtAddress = new QLineEdit;
    txtAddress->setObjectName(QStringLiteral("txtAddress"));
    command4 = button("command4", QStringLiteral("Default"));
    command3 = button("command3", QStringLiteral("Current Webpage"));
    command2 = button("command2", QStringLiteral("Blank Url"));
    auto *address = new QHBoxLayout;
    address->addWidget(Label3);
    address->addWidget(txtAddress, 1);
    auto *choices = new QHBoxLayout;
    choices->addWidget(command4);
    choices->addWidget(command3);
    choices->addWidget(command2);
    auto *home = new QVBoxLayout(Frame2);
    home->addWidget(Label2);
    home->addLayout(address);
    home->addLayout(choices);

    auto *sections = new QVBoxLayout(xpgroupbox1);
    sections->addWidget(Label4);
    sections->addWidget(Frame3);
    sections->addWidget(Label5);
    sections->addWidget(Frame2);
    sections->addStretch();

    cmdOk = button("cmdOk", QStringLiteral("OK"));
    cmdApply = button("cmdApply", QStringLiteral("Apply"));
    cmdCancel = button("cmdCancel", QStringLiteral("Cancel"));
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(cmdOk);
    bottom->addWidget(cmdApply);
    bottom->addWidget(cmdCancel);

    auto *form = new QVBoxLayout(this);
    form->addWidget(xpgroupbox1, 1);
    form->addLayout(bottom);
    DialogForm::startAt(this, 5415, 6105);

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
    if (answer != Prompts::Yes)
        return;
    Module1::ClearHistory();
    if (m_shell)
        m_shell->addressListCleared();
}

void frmProperties::command4_Click()
{
    txtAddress->setText(Module1::DefaultHomePage);
}

void frmProperties::command3_Click()
{
    if (PageView *view = m_shell ? m_shell->selectedView() : nullptr)
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
