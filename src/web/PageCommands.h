// The page commands a view runs with its own dialogs: save as, print, page
// setup, print preview and properties, on the engine's page behind the view.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class PageView;

class PageCommands
{
    Q_DECLARE_TR_FUNCTIONS(PageCommands)

public:
    // False when the command could not run (the user has been told why) or
    // the view has no engine page. Every option shows the command's dialog;
    // the print dialogs run through the Prompts seam.
    static bool exec(PageView *view, int command, int option);

    // The entries of the Save as... type list, in order: web page complete,
    // single file (MHTML), HTML only.
    static const QStringList SaveFilters;
    // The name Save as... proposes for a page title: the characters no file
    // system takes become blanks; an empty title gives "page".
    static QString fileNameFor(const QString &title);

    static const QString NoPageMessage;
    static const QString BusyMessage;

private:
    static bool saveAs(PageView *view);
    static bool properties(PageView *view);
    static bool print(PageView *view);
    static bool pageSetup(PageView *view);
    static bool printPreview(PageView *view);
};
