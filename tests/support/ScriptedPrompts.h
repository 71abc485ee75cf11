// Answers the program's modal questions for a test from the answers the test
// queued, and records what was asked. A question with no answer queued fails
// the running test at once instead of showing a real dialog; a message box with only an OK button
// needs no answer. Installed on construction, removed on destruction.
#pragma once

#include "platform/Prompts.h"

#include <QDialog>
#include <QQueue>
#include <QTest>
#include <functional>

class ScriptedPrompts : public Prompts::Handler
{
public:
    ScriptedPrompts() { Prompts::setHandler(this); }
    ~ScriptedPrompts() override { Prompts::setHandler(nullptr); }

    struct Asked
    {
        QString kind; // "message", "input", "save", "print", "credentials", "start", "choose"
        QString text; // the message, prompt, suggested path, dialog class or program
    };
    QList<Asked> asked;

    // Answers, used in order.
    QQueue<int> messageAnswers; // for Yes/No and OK/Cancel boxes
    QQueue<std::optional<QString>> inputAnswers;
    QQueue<QString> saveAnswers;       // a path; empty = cancelled
    QQueue<QString> saveFilterAnswers; // the chosen type, if any
    QStringList saveFilters;           // the type list the last save dialog offered
    QQueue<bool> startAnswers;
    QQueue<std::optional<int>> chooseAnswers; // the row chosen, or none
    // Plays the user in every print, page-setup and print-preview dialog
    // (given the dialog and its printer) and says whether it was accepted.
    std::function<bool(QDialog *, QPrinter *)> printDialogAnswer;

    int messageBox(QWidget *, const QString &text, int style, const QString &) override
    {
        const int buttons = style & 0x0f;
        if (buttons == Prompts::OkOnly && messageAnswers.isEmpty())
            messageAnswers.enqueue(Prompts::Ok);
        return answer(messageAnswers, {"message", text},
                      int(buttons == Prompts::YesNo ? Prompts::No : Prompts::Cancel));
    }
    std::optional<QString> inputBox(QWidget *, const QString &prompt, const QString &,
                                    const QString &) override
    {
        return answer(inputAnswers, {"input", prompt}, std::optional<QString>());
    }
    QString saveFileName(QWidget *, const QString &, const QString &suggestedPath,
                         const QStringList &filters, QString *selectedFilter) override
    {
        saveFilters = filters;
        if (selectedFilter && !saveFilterAnswers.isEmpty())
            *selectedFilter = saveFilterAnswers.dequeue();
        return answer(saveAnswers, {"save", suggestedPath}, QString());
    }
    bool printDialog(QDialog *dialog, QPrinter *printer) override
    {
        const QString name = QString::fromLatin1(dialog->metaObject()->className());
        return ask({"print", name}, bool(printDialogAnswer)) && printDialogAnswer(dialog, printer);
    }
    std::optional<Prompts::Credentials> credentials(QWidget *, const QString &prompt) override
    {
        ask({"credentials", prompt}, false); // no test asks for a password
        return std::nullopt;
    }
    bool startProgram(const QString &path, const QStringList &arguments) override
    {
        const QString command = (QStringList{path} + arguments).join(' ');
        return answer(startAnswers, {"start", command}, false);
    }
    std::optional<int> chooseItem(QWidget *, const QString &prompt, const QStringList &) override
    {
        return answer(chooseAnswers, {"choose", prompt}, std::optional<int>());
    }

private:
    // Records the question; one left without an answer fails the test.
    bool ask(const Asked &question, bool answered)
    {
        asked.append(question);
        if (!answered)
            QTest::qFail(qPrintable("no answer for " + question.kind + ": " + question.text),
                         __FILE__, __LINE__);
        return answered;
    }
    template <typename T> T answer(QQueue<T> &answers, const Asked &question, T none)
    {
        return ask(question, !answers.isEmpty()) ? answers.dequeue() : none;
    }
};
