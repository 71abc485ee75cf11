// The one door to everything modal and to the world outside the window:
// message boxes, the input box, file and printer dialogs, the sign-in prompt,
// starting another program, keeping a window on top and placing a dialog over
// its owner. Tests install a Handler that answers without blocking; without
// one the real dialogs and window-system calls are used.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QDialog;
class QPrinter;
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

    // Every question has to be answered by a handler; only the calls that
    // never wait for the user have a real default.
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
        // The same with no type list and without the dialog's own question
        // when an existing file is picked: the caller asks that itself.
        virtual QString saveTarget(QWidget *parent, const QString &caption,
                                   const QString &suggestedPath)
        {
            return saveFileName(parent, caption, suggestedPath, {}, nullptr);
        }
        // A print, page-setup or print-preview dialog, already built over the
        // printer it sets up: runs it and tells whether it was accepted.
        virtual bool printDialog(QDialog *dialog, QPrinter *printer) = 0;
        // A site or proxy asks who the user is: user name and password, or
        // nothing when the user cancels.
        virtual std::optional<Credentials> credentials(QWidget *parent, const QString &prompt) = 0;
        virtual bool startProgram(const QString &path, const QStringList &arguments) = 0;
        // One of items, or nothing when the user declines; none is chosen
        // to begin with.
        virtual std::optional<int> chooseItem(QWidget *parent, const QString &prompt,
                                              const QStringList &items) = 0;

        // Keeps a window above all others, or returns it to the normal
        // stacking order, without moving, resizing, hiding or activating it.
        virtual void keepOnTop(QWidget *window, bool onTop);
        // Centres a dialog over its owner's window and hangs it on that
        // window, so the window system keeps it in front of its owner.
        virtual void placeOver(QWidget *dialog, QWidget *owner);
    };

    static int MsgBox(QWidget *parent, const QString &text, int style, const QString &title);
    static std::optional<QString> InputBox(QWidget *parent, const QString &prompt,
                                           const QString &title,
                                           const QString &defaultText = QString());
    static QString SaveFileName(QWidget *parent, const QString &caption,
                                const QString &suggestedPath, const QStringList &filters,
                                QString *selectedFilter = nullptr);
    static QString SaveTarget(QWidget *parent, const QString &caption,
                              const QString &suggestedPath);
    static bool PrintDialog(QDialog *dialog, QPrinter *printer);
    static std::optional<Credentials> AskCredentials(QWidget *parent, const QString &prompt);
    static bool StartProgram(const QString &path, const QStringList &arguments = {});
    static std::optional<int> ChooseItem(QWidget *parent, const QString &prompt,
                                         const QStringList &items);
    static void KeepOnTop(QWidget *window, bool onTop);
    static void PlaceOver(QWidget *dialog, QWidget *owner);
    // Shows a dialog modeless above all windows (the main window stays
    // usable); showing it again only brings it forward.
    static void ShowOnTop(QWidget *dialog);

    // nullptr restores the real dialogs. The handler is not owned.
    static void setHandler(Handler *handler);
    static Handler *handler();
};
