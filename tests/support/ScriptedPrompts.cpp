// Scripted answers to the program's modal questions.
#include "ScriptedPrompts.h"

#include <QDialog>
#include <QtTest>

ScriptedPrompts::ScriptedPrompts()
{
    Prompts::setHandler(this);
}
ScriptedPrompts::~ScriptedPrompts()
{
    Prompts::setHandler(nullptr);
}

void ScriptedPrompts::fail(const QString &kind, const QString &text)
{
    const QString question = kind + QStringLiteral(": ") + text;
    unanswered.append(question);
    const QByteArray message = "no scripted answer for " + question.toUtf8();
    QTest::qFail(message.constData(), __FILE__, __LINE__);
}

int ScriptedPrompts::messageBox(QWidget *, const QString &text, int style, const QString &title)
{
    asked.append({QStringLiteral("message"), text, title, style});
    if (!messageAnswers.isEmpty())
        return messageAnswers.dequeue();
    const int buttons = style & 0x0f;
    if (buttons == Prompts::OkOnly)
        return Prompts::Ok;
    fail(QStringLiteral("message"), text);
    return buttons == Prompts::YesNo ? Prompts::No : Prompts::Cancel;
}

std::optional<QString> ScriptedPrompts::inputBox(QWidget *, const QString &prompt,
                                                 const QString &title, const QString &)
{
    asked.append({QStringLiteral("input"), prompt, title, 0});
    if (!inputAnswers.isEmpty())
        return inputAnswers.dequeue();
    fail(QStringLiteral("input"), prompt);
    return std::nullopt;
}

QString ScriptedPrompts::saveFileName(QWidget *, const QString &caption,
                                      const QString &suggestedPath, const QStringList &,
                                      QString *selectedFilter)
{
    asked.append({QStringLiteral("save"), suggestedPath, caption, 0});
    if (selectedFilter && !saveFilterAnswers.isEmpty())
        *selectedFilter = saveFilterAnswers.dequeue();
    if (!saveAnswers.isEmpty())
        return saveAnswers.dequeue();
    fail(QStringLiteral("save"), suggestedPath);
    return QString();
}

bool ScriptedPrompts::printDialog(QDialog *dialog, QPrinter *printer)
{
    if (printDialogAnswer)
        return printDialogAnswer(dialog, printer);
    fail(QStringLiteral("print"), QString::fromLatin1(dialog->metaObject()->className()));
    return false;
}

std::optional<Prompts::Credentials> ScriptedPrompts::credentials(QWidget *, const QString &prompt)
{
    asked.append({QStringLiteral("credentials"), prompt, QString(), 0});
    if (!credentialAnswers.isEmpty())
        return credentialAnswers.dequeue();
    fail(QStringLiteral("credentials"), prompt);
    return std::nullopt;
}

bool ScriptedPrompts::startProgram(const QString &path)
{
    asked.append({QStringLiteral("start"), path, QString(), 0});
    if (!startAnswers.isEmpty())
        return startAnswers.dequeue();
    fail(QStringLiteral("start"), path);
    return false;
}
