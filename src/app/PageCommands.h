// The page commands a view runs with its own dialogs: save as, print, page
// setup, print preview and properties.
#pragma once

class WebEnginePageView;

class PageCommands
{
public:
    // False when the command could not run; the user has been told why.
    static bool exec(WebEnginePageView *view, int command, int option);
};
