#include "app/MenuCommands.h"

#include "platform/Prompts.h"
#include "app/frmWeb.h"
#include "store/Module1.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QWindow>

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

MenuCommands::MenuCommands(frmWeb *window) : QObject(window), m_window(window)
{
    // A page's own window.print() is the Print... command of its tab.
    connect(window, &frmWeb::menuCommand, this, [this](const QString &name) {
        if (name == QLatin1String("print"))
            print_Click();
    });
}

QLineEdit *MenuCommands::addressEdit() const
{
    QComboBox *box = m_window->addressBox();
    return box ? box->lineEdit() : nullptr;
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
    m_window->addressBox()->setEditText(sel.before + sel.after);
}

void MenuCommands::paste_Click()
{
    QLineEdit *edit = addressEdit();
    if (!edit)
        return;
    const Selection sel = selectionOf(edit);
    const QString pasted = QGuiApplication::clipboard()->text();
    m_window->addressBox()->setEditText(sel.before + pasted + sel.after);
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
    if (PageView *view = m_window->selectedView())
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
    QAction *top = m_window->action(QStringLiteral("mnuTop"));
    if (!top)
        return;
    // Choosing the checkable item has already turned its mark over; a call
    // from anywhere else turns it here.
    if (sender() != top)
        top->setChecked(!top->isChecked());
    setStaysOnTop(m_window, top->isChecked());
}

void MenuCommands::setStaysOnTop(QWidget *window, bool onTop)
{
    const Qt::WindowFlags flags = window->windowFlags().setFlag(Qt::WindowStaysOnTopHint, onTop);
    if (flags == window->windowFlags())
        return;
    QWindow *handle = window->windowHandle();
    if (!handle) {
        // Not created yet: the flag takes effect when it is first shown.
        window->setWindowFlags(flags);
        return;
    }
    // QWidget::setWindowFlags would re-create the native window, hiding it
    // and the pages in it for a moment; the platform window can change its
    // stacking in place, keeping its place, size and activation.
    window->overrideWindowFlags(flags);
    handle->setFlags(flags);
}

void MenuCommands::ShowOnTop(QWidget *dialog)
{
    if (!dialog)
        return;
    if (!dialog->isVisible())
        dialog->setWindowModality(Qt::NonModal);
    setStaysOnTop(dialog, true);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

// ---------------------------------------------------------------- Help menu

void MenuCommands::mnuHelp_Click()
{
    Prompts::MsgBox(m_window, HelpText, Prompts::Critical, HelpTitle);
}

void MenuCommands::mnuTabHlp_Click()
{
    Prompts::MsgBox(m_window, TabHelpText, Prompts::Information, TabHelpTitle);
}

// ---------------------------------------------------------------- Favorites

void MenuCommands::mnuItemSite_Click(int index)
{
    if (PageView *view = m_window->selectedView())
        view->Navigate2(Module1::GetFavUrl(index));
}
