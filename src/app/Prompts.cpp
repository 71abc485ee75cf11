// Real modal dialogs behind the Prompts seam.
#include "app/Prompts.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>

namespace {

class RealPrompts : public Prompts::Handler
{
public:
    int messageBox(QWidget *parent, const QString &text, int style, const QString &title) override
    {
        QMessageBox box(parent);
        box.setWindowTitle(title);
        box.setText(text);
        switch (style & 0x70) {
        case Prompts::Critical: box.setIcon(QMessageBox::Critical); break;
        case Prompts::Question: box.setIcon(QMessageBox::Question); break;
        case Prompts::Exclamation: box.setIcon(QMessageBox::Warning); break;
        case Prompts::Information: box.setIcon(QMessageBox::Information); break;
        default: box.setIcon(QMessageBox::NoIcon); break;
        }
        switch (style & 0x0f) {
        case Prompts::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case Prompts::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        default: box.setStandardButtons(QMessageBox::Ok); break;
        }
        switch (box.exec()) {
        case QMessageBox::Yes: return Prompts::Yes;
        case QMessageBox::No: return Prompts::No;
        case QMessageBox::Cancel: return Prompts::Cancel;
        default: return Prompts::Ok;
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

    bool startProgram(const QString &path) override { return QProcess::startDetached(path, {}); }
};

RealPrompts g_real;
Prompts::Handler *g_handler = nullptr;

} // namespace

Prompts::Handler *Prompts::handler() { return g_handler ? g_handler : &g_real; }
void Prompts::setHandler(Handler *handler) { g_handler = handler; }

int Prompts::MsgBox(QWidget *parent, const QString &text, int style, const QString &title)
{
    return handler()->messageBox(parent, text, style, title);
}

std::optional<QString> Prompts::InputBox(QWidget *parent, const QString &prompt,
                                         const QString &title, const QString &defaultText)
{
    return handler()->inputBox(parent, prompt, title, defaultText);
}

QString Prompts::SaveFileName(QWidget *parent, const QString &caption,
                              const QString &suggestedPath, const QStringList &filters,
                              QString *selectedFilter)
{
    return handler()->saveFileName(parent, caption, suggestedPath, filters, selectedFilter);
}

bool Prompts::StartProgram(const QString &path) { return handler()->startProgram(path); }
