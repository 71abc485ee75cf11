// The menu commands that act on the address box, the selected page and the window.
#include "app/MenuCommands.h"

#include "app/BrowserShell.h"
#include "app/PageView.h"
#include "platform/Prompts.h"
#include "store/Module1.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>

const QString MenuCommands::HelpText =
    QStringLiteral("What for?!\rWhat is'nt clear?!\rIt's a simple Web-Browser!!!");
const QString MenuCommands::HelpTitle = QStringLiteral("Lamer's Window");
const QString MenuCommands::TabHelpText = QStringLiteral(
    "Easy. Just right-click on any link and then lcik 'Open In New Window'. The link will be "
    "opened in a new tab in Corvane!");
const QString MenuCommands::TabHelpTitle = QStringLiteral("Corvane");

namespace {

// The address box text cut at its selection; with nothing selected the
// selection is empty and starts at the caret.
struct Selection
{
    int start;
    QString before;
    QString selected;
    QString after;
};

Selection selectionOf(const QLineEdit *edit)
{
    const QString text = edit->text();
    int start = edit->cursorPosition();
    int length = 0;
    if (edit->hasSelectedText()) {
        start = edit->selectionStart();
        length = int(edit->selectedText().size());
    }
    return {start, text.left(start), text.mid(start, length), text.mid(start + length)};
}

} // namespace

MenuCommands::MenuCommands(BrowserShell *shell, QComboBox *addressBox, QObject *parent)
    : QObject(parent), m_shell(shell), m_addressBox(addressBox)
{
}

QLineEdit *MenuCommands::addressEdit() const
{
    return m_addressBox ? m_addressBox->lineEdit() : nullptr;
}

// ---------------------------------------------------------------- Edit menu
// These work on the address box alone, wherever the keyboard focus is; a
// line edit keeps its selection while a menu is open, so it is still there.

void MenuCommands::Copy_Click()
{
    if (QLineEdit *edit = addressEdit())
        QGuiApplication::clipboard()->setText(edit->selectedText());
}

void MenuCommands::Cut_Click()
{
    QLineEdit *edit = addressEdit();
    if (!edit)
        return;
    const Selection sel = selectionOf(edit);
    QGuiApplication::clipboard()->setText(sel.selected);
    m_addressBox->setEditText(sel.before + sel.after);
}

void MenuCommands::paste_Click()
{
    QLineEdit *edit = addressEdit();
    if (!edit)
        return;
    const Selection sel = selectionOf(edit);
    const QString pasted = QGuiApplication::clipboard()->text();
    m_addressBox->setEditText(sel.before + pasted + sel.after);
    edit->setSelection(sel.start, int(pasted.size()));
}

void MenuCommands::selall_Click()
{
    if (QLineEdit *edit = addressEdit())
        edit->setSelection(0, int(edit->text().size()));
}

// ---------------------------------------------------------------- File menu

void MenuCommands::execOnSelectedView(int command, int option)
{
    if (PageView *view = m_shell->selectedView())
        view->ExecWB(command, option);
}

void MenuCommands::save_as_Click()
{
    execOnSelectedView(PageView::SaveAs, PageView::DoDefault);
}
void MenuCommands::PrP_Click()
{
    execOnSelectedView(PageView::Properties, PageView::ShowHelp);
}
void MenuCommands::print_Click()
{
    execOnSelectedView(PageView::Print, PageView::ShowHelp);
}

void MenuCommands::Page_Setup_Click()
{
    execOnSelectedView(PageView::PageSetup, PageView::ShowHelp);
}

void MenuCommands::PrPr_Click()
{
    execOnSelectedView(PageView::PrintPreview, PageView::ShowHelp);
}

// ---------------------------------------------------------------- Tools menu

void MenuCommands::mnuTop_Click()
{
    QWidget *window = m_shell->shellWindow();
    QAction *top = window ? window->findChild<QAction *>(QStringLiteral("mnuTop")) : nullptr;
    if (!top)
        return;
    // Choosing the checkable item has already turned its mark over; a call
    // from anywhere else turns it here.
    if (sender() != top)
        top->setChecked(!top->isChecked());
    Prompts::KeepOnTop(window, top->isChecked());
}

// ---------------------------------------------------------------- Help menu

void MenuCommands::mnuHelp_Click()
{
    Prompts::MsgBox(m_shell->shellWindow(), HelpText, Prompts::Critical, HelpTitle);
}

void MenuCommands::mnuTabHlp_Click()
{
    Prompts::MsgBox(m_shell->shellWindow(), TabHelpText, Prompts::Information, TabHelpTitle);
}

// ---------------------------------------------------------------- Favorites

void MenuCommands::mnuItemSite_Click(int index)
{
    if (PageView *view = m_shell->selectedView())
        view->Navigate2(Module1::GetFavUrl(index));
}
