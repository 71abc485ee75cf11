// What the engine's library gives the rest of the program: the browser
// program does not link the engine, so that its window is on screen before
// the engine's libraries are loaded (see Engine).
#pragma once

#include <QString>
#include <QUrl>

#include <functional>

class PageEngine;
class QWidget;
class WebEnginePageView;
class WindowEngine;

class EngineSide
{
public:
    virtual ~EngineSide() = default;

    // Starts the engine's profile.
    virtual void start() = 0;
    // The engine's view and page for owner, made in the widget body.
    virtual PageEngine *createPage(WebEnginePageView *owner, QWidget *body) = 0;
    // The engine's parts of a main window; viewArea stacks its tabs' views,
    // showSite brings a tab of the origin to the front, status shows a line
    // in the window's status panel. Owned by window.
    virtual WindowEngine *attach(QWidget *window, QWidget *viewArea,
                                 std::function<void(const QUrl &origin)> showSite,
                                 std::function<void(const QString &text)> status) = 0;
};

// The engine library's entry point, extern "C" corvane_engine_side: the one
// EngineSide of the process.
using EngineSideEntry = EngineSide *(*)();
