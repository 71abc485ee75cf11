#include "ScriptedPrompts.h"

ScriptedPrompts::ScriptedPrompts() { Prompts::setHandler(this); }
ScriptedPrompts::~ScriptedPrompts() { Prompts::setHandler(nullptr); }

int ScriptedPrompts::messageBox(QWidget *, const QString &text, int style, const QString &title)
{
    asked.append({QStringLiteral("message"), text, title, style});
    if (!messageAnswers.isEmpty())
        return messageAnswers.dequeue();
    return (style & 0x0f) == Prompts::YesNo ? Prompts::Yes : Prompts::Ok;
}

std::optional<QString> ScriptedPrompts::inputBox(QWidget *, const QString &prompt,
                                                 const QString &title, const QString &defaultText)
{
    asked.append({QStringLiteral("input"), prompt, title, 0});
    Q_UNUSED(defaultText);
    if (!inputAnswers.isEmpty())
        return inputAnswers.dequeue();
    return std::nullopt;
}

QString ScriptedPrompts::saveFileName(QWidget *, const QString &caption,
                                      const QString &suggestedPath, const QStringList &filters,
                                      QString *selectedFilter)
{
    asked.append({QStringLiteral("save"), suggestedPath, caption, 0});
    Q_UNUSED(filters);
    if (selectedFilter && !saveFilterAnswers.isEmpty())
        *selectedFilter = saveFilterAnswers.dequeue();
    if (!saveAnswers.isEmpty())
        return saveAnswers.dequeue();
    return QString();
}

bool ScriptedPrompts::startProgram(const QString &path)
{
    asked.append({QStringLiteral("start"), path, QString(), 0});
    if (!startAnswers.isEmpty())
        return startAnswers.dequeue();
    return false;
}

std::optional<Prompts::Credentials> ScriptedPrompts::credentials(QWidget *, const QString &prompt)
{
    asked.append({QStringLiteral("credentials"), prompt, QString(), 0});
    if (!credentialAnswers.isEmpty())
        return credentialAnswers.dequeue();
    return std::nullopt;
}
