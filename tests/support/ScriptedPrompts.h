// Answers the program's modal questions for a test from the answers the test
// queued, and records what was asked. A question with no answer queued fails
// the running test at once (and is listed in unanswered) instead of showing a
// real dialog; a message box with only an OK button needs no answer. Installed
// on construction, removed on destruction.
#pragma once

#include "platform/Prompts.h"

#include <QQueue>
#include <QStringList>
#include <functional>

class ScriptedPrompts : public Prompts::Handler
{
public:
    ScriptedPrompts();
    ~ScriptedPrompts() override;

    struct Asked
    {
        QString kind; // "message", "input", "save", "start", "credentials"
        QString text;
        QString title;
        int style = 0;
    };
    QList<Asked> asked;
    // The questions nobody answered, as "kind: text".
    QStringList unanswered;

    // Answers, used in order.
    QQueue<int> messageAnswers; // for Yes/No and OK/Cancel boxes
    QQueue<std::optional<QString>> inputAnswers;
    QQueue<QString> saveAnswers;       // a path; empty = cancelled
    QQueue<QString> saveFilterAnswers; // the chosen type, if any
    QQueue<bool> startAnswers;
    QQueue<std::optional<Prompts::Credentials>> credentialAnswers;
    // Plays the user in every print, page-setup and print-preview dialog
    // (given the dialog and its printer) and says whether it was accepted.
    std::function<bool(QDialog *, QPrinter *)> printDialogAnswer;

    int messageBox(QWidget *parent, const QString &text, int style, const QString &title) override;
    std::optional<QString> inputBox(QWidget *parent, const QString &prompt, const QString &title,
                                    const QString &defaultText) override;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &suggestedPath,
                         const QStringList &filters, QString *selectedFilter) override;
    bool printDialog(QDialog *dialog, QPrinter *printer) override;
    std::optional<Prompts::Credentials> credentials(QWidget *parent,
                                                    const QString &prompt) override;
    bool startProgram(const QString &path) override;

private:
    void fail(const QString &kind, const QString &text);
};
