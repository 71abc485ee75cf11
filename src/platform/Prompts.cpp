// The real dialogs and window-system calls behind the Prompts seam.
#include "platform/Prompts.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWindow>

namespace {

class RealPrompts : public Prompts::Handler
{
public:
    int messageBox(QWidget *parent, const QString &text, int style, const QString &title) override
    {
        QMessageBox box(parent);
        box.setWindowTitle(title);
        // Lines may be separated by a CR alone, which Qt does not break on.
        QString shown = text;
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        box.setText(shown);
        switch (style & 0x70) {
        case Prompts::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case Prompts::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case Prompts::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case Prompts::Information:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            box.setIcon(QMessageBox::NoIcon);
            break;
        }
        switch (style & 0x0f) {
        case Prompts::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case Prompts::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        default:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        }
        switch (box.exec()) {
        case QMessageBox::Yes:
            return Prompts::Yes;
        case QMessageBox::No:
            return Prompts::No;
        case QMessageBox::Cancel:
            return Prompts::Cancel;
        default:
            return Prompts::Ok;
        }
    }

    std::optional<QString> inputBox(QWidget *parent, const QString &prompt, const QString &title,
                                    const QString &defaultText) override
    {
        bool ok = false;
        const QString text =
            QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, defaultText, &ok);
        if (!ok)
            return std::nullopt;
        return text;
    }

    QString saveFileName(QWidget *parent, const QString &caption, const QString &suggestedPath,
                         const QStringList &filters, QString *selectedFilter) override
    {
        return QFileDialog::getSaveFileName(parent, caption, suggestedPath,
                                            filters.join(QStringLiteral(";;")), selectedFilter);
    }

    QString saveTarget(QWidget *parent, const QString &caption,
                       const QString &suggestedPath) override
    {
        return QFileDialog::getSaveFileName(parent, caption, suggestedPath, QString(), nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    }

    bool printDialog(QDialog *dialog, QPrinter *) override
    {
        return dialog->exec() == QDialog::Accepted;
    }

    std::optional<Prompts::Credentials> credentials(QWidget *parent, const QString &prompt) override
    {
        QDialog dialog(parent);
        dialog.setWindowTitle(QObject::tr("Authentication Required"));
        auto *form = new QFormLayout(&dialog);
        auto *text = new QLabel(prompt, &dialog);
        text->setWordWrap(true);
        text->setTextFormat(Qt::PlainText);
        form->addRow(text);
        auto *user = new QLineEdit(&dialog);
        user->setObjectName(QStringLiteral("user"));
        auto *password = new QLineEdit(&dialog);
        password->setObjectName(QStringLiteral("password"));
        password->setEchoMode(QLineEdit::Password);
        form->addRow(QObject::tr("User name:"), user);
        form->addRow(QObject::tr("Password:"), password);
        auto *buttons =
            new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
        QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        form->addRow(buttons);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return Prompts::Credentials{user->text(), password->text()};
    }

    bool startProgram(const QString &path, const QStringList &arguments) override
    {
        return QProcess::startDetached(path, arguments);
    }

    std::optional<int> chooseItem(QWidget *parent, const QString &prompt,
                                  const QStringList &items) override
    {
        QDialog dialog(parent);
        dialog.setWindowTitle(QObject::tr("Choose"));
        auto *form = new QVBoxLayout(&dialog);
        auto *text = new QLabel(prompt, &dialog);
        text->setWordWrap(true);
        text->setTextFormat(Qt::PlainText);
        form->addWidget(text);
        auto *list = new QListWidget(&dialog);
        list->setObjectName(QStringLiteral("choices"));
        list->addItems(items);
        form->addWidget(list);
        auto *buttons =
            new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
        QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
        ok->setEnabled(false); // nothing is chosen until the user chooses
        QObject::connect(list, &QListWidget::currentRowChanged, ok,
                         [ok](int row) { ok->setEnabled(row >= 0); });
        QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        form->addWidget(buttons);
        if (dialog.exec() != QDialog::Accepted || list->currentRow() < 0)
            return std::nullopt;
        return list->currentRow();
    }
};

RealPrompts g_real;
Prompts::Handler *g_handler = nullptr;

} // namespace

Prompts::Handler *Prompts::handler()
{
    return g_handler ? g_handler : &g_real;
}
void Prompts::setHandler(Handler *handler)
{
    g_handler = handler;
}

int Prompts::MsgBox(QWidget *parent, const QString &text, int style, const QString &title)
{
    return handler()->messageBox(parent, text, style, title);
}

std::optional<QString> Prompts::InputBox(QWidget *parent, const QString &prompt,
                                         const QString &title, const QString &defaultText)
{
    return handler()->inputBox(parent, prompt, title, defaultText);
}

QString Prompts::SaveFileName(QWidget *parent, const QString &caption, const QString &suggestedPath,
                              const QStringList &filters, QString *selectedFilter)
{
    return handler()->saveFileName(parent, caption, suggestedPath, filters, selectedFilter);
}

QString Prompts::SaveTarget(QWidget *parent, const QString &caption, const QString &suggestedPath)
{
    return handler()->saveTarget(parent, caption, suggestedPath);
}

bool Prompts::PrintDialog(QDialog *dialog, QPrinter *printer)
{
    return handler()->printDialog(dialog, printer);
}

std::optional<Prompts::Credentials> Prompts::AskCredentials(QWidget *parent, const QString &prompt)
{
    return handler()->credentials(parent, prompt);
}

bool Prompts::StartProgram(const QString &path, const QStringList &arguments)
{
    return handler()->startProgram(path, arguments);
}

std::optional<int> Prompts::ChooseItem(QWidget *parent, const QString &prompt,
                                       const QStringList &items)
{
    return handler()->chooseItem(parent, prompt, items);
}

void Prompts::KeepOnTop(QWidget *window, bool onTop)
{
    if (window)
        handler()->keepOnTop(window, onTop);
}

void Prompts::PlaceOver(QWidget *dialog, QWidget *owner)
{
    if (dialog && owner)
        handler()->placeOver(dialog, owner);
}

void Prompts::ShowOnTop(QWidget *dialog)
{
    if (!dialog)
        return;
    if (!dialog->isVisible())
        dialog->setWindowModality(Qt::NonModal);
    KeepOnTop(dialog, true);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void Prompts::Handler::keepOnTop(QWidget *window, bool onTop)
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

void Prompts::Handler::placeOver(QWidget *dialog, QWidget *owner)
{
    dialog->winId(); // the native window, to hang it on its owner's
    if (dialog->windowHandle() && owner->window()->windowHandle())
        dialog->windowHandle()->setTransientParent(owner->window()->windowHandle());
    QRect frame = dialog->frameGeometry();
    frame.moveCenter(owner->window()->frameGeometry().center());
    dialog->move(frame.topLeft());
}
