// The page commands a view runs with its own dialogs: save as, print, page
// setup, print preview and properties.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <functional>

class QDialog;
class QPrinter;
class QWebEngineView;
class WebEnginePageView;

class PageCommands
{
    Q_DECLARE_TR_FUNCTIONS(PageCommands)

public:
    // False when the command could not run; the user has been told why.
    // Every option shows the command's dialog.
    static bool exec(WebEnginePageView *view, int command, int option);

    // Runs a print, page-setup or print-preview dialog in place of its
    // exec(), given the dialog and the printer it works on; returns whether
    // it was accepted. Tests set it so Qt's own modal dialogs never block;
    // an empty function restores them.
    using PrintDialogHook = std::function<bool(QDialog *dialog, QPrinter *printer)>;
    static void setPrintDialogHook(PrintDialogHook hook);

    // The entries of the Save as... type list, in order: web page complete,
    // single file (MHTML), HTML only.
    static const QStringList SaveFilters;
    // The name Save as... proposes for a page title: the characters no file
    // system takes become blanks; an empty title gives "page".
    static QString fileNameFor(const QString &title);

    static const QString NoPageMessage;
    static const QString BusyMessage;

private:
    static bool saveAs(WebEnginePageView *view);
    static bool properties(WebEnginePageView *view);
    static bool print(WebEnginePageView *view);
    static bool pageSetup(WebEnginePageView *view);
    static bool printPreview(WebEnginePageView *view);
    static bool runDialog(QDialog *dialog, QPrinter *printer);
};
