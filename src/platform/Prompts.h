// The one door to everything modal: message boxes, the input box, file
// dialogs and starting another program. Tests install a Handler that answers
// without blocking; without one the real Qt dialogs are shown.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

class Prompts
{
public:
    // Message-box styles and answers, as numbers (OK only, Yes/No, icons).
    enum Style {
        OkOnly = 0,
        OkCancel = 1,
        YesNo = 4,
        Critical = 16,
        Question = 32,
        Exclamation = 48,
        Information = 64,
    };
    enum Answer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

    struct Credentials
    {
        QString user;
        QString password;
    };

    class Handler
    {
    public:
        virtual ~Handler() = default;
        virtual int messageBox(QWidget *parent, const QString &text, int style,
                               const QString &title) = 0;
        virtual std::optional<QString> inputBox(QWidget *parent, const QString &prompt,
                                                const QString &title,
                                                const QString &defaultText) = 0;
        // Returns the chosen path, or empty when cancelled. filters are the
        // entries of the type list; *selectedFilter receives the chosen one.
        virtual QString saveFileName(QWidget *parent, const QString &caption,
                                     const QString &suggestedPath, const QStringList &filters,
                                     QString *selectedFilter) = 0;
        virtual bool startProgram(const QString &path) = 0;
        // A site or proxy asks who the user is: user name and password, or
        // nothing when the user cancels. The real one shows a small dialog.
        virtual std::optional<Credentials> credentials(QWidget *parent, const QString &prompt);
    };

    static int MsgBox(QWidget *parent, const QString &text, int style, const QString &title);
    static std::optional<QString> InputBox(QWidget *parent, const QString &prompt,
                                           const QString &title,
                                           const QString &defaultText = QString());
    static QString SaveFileName(QWidget *parent, const QString &caption,
                                const QString &suggestedPath, const QStringList &filters,
                                QString *selectedFilter = nullptr);
    static bool StartProgram(const QString &path);
    static std::optional<Credentials> AskCredentials(QWidget *parent, const QString &prompt);

    // nullptr restores the real dialogs. The handler is not owned.
    static void setHandler(Handler *handler);
    static Handler *handler();
};
