// Answers the program's modal questions for a test, in order, and records
// what was asked. Installed on construction, removed on destruction.
#pragma once

#include "platform/Prompts.h"

#include <QQueue>
#include <QStringList>

class ScriptedPrompts : public Prompts::Handler
{
public:
    ScriptedPrompts();
    ~ScriptedPrompts() override;

    struct Asked
    {
        QString kind; // "message", "input", "save", "start"
        QString text;
        QString title;
        int style = 0;
    };
    QList<Asked> asked;

    // Answers used in order; when a queue runs dry: Ok/Yes for messages,
    // cancel for input and file dialogs, failure for starting programs.
    QQueue<int> messageAnswers;
    QQueue<std::optional<QString>> inputAnswers;
    QQueue<QString> saveAnswers;       // a path; empty = cancelled
    QQueue<QString> saveFilterAnswers; // the chosen type, if any
    QQueue<bool> startAnswers;
    QQueue<std::optional<Prompts::Credentials>> credentialAnswers;

    int messageBox(QWidget *parent, const QString &text, int style, const QString &title) override;
    std::optional<QString> inputBox(QWidget *parent, const QString &prompt, const QString &title,
                                    const QString &defaultText) override;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &suggestedPath,
                         const QStringList &filters, QString *selectedFilter) override;
    bool startProgram(const QString &path) override;
    std::optional<Prompts::Credentials> credentials(QWidget *parent, const QString &prompt) override;
};
