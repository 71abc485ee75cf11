// Where the web engine comes from and when it starts. The browser program
// does not link the engine: its library is loaded when the engine starts,
// which a start holds back until the window is on screen.
#pragma once

#include <QString>

#include <functional>

class EngineSide;
class QObject;
class QWidget;

class Engine
{
public:
    // Starting the engine takes longer than building and painting the whole
    // window, so a start may hold it back until the window is on screen.
    // While it is held, the views and the engine's other users wait with
    // whenStarted; start lets it go and runs them in order.
    static void hold();
    static bool held();
    static void start();
    // Runs run at once when the engine is not held, else when it starts
    // (and not at all once context is gone).
    static void whenStarted(QObject *context, std::function<void()> run);

    // The OpenGL context the engine's views share with the windows that show
    // them. Loading the driver for it takes longer than building the main
    // window, so prepareOpenGL (once the application object is there) makes
    // it on a thread of its own, which the window and the engine wait for
    // (finishOpenGL) before they use it. Where windows cannot show OpenGL (offscreen) it is made at
    // once and cannot be made. (Loading the engine's library beside the window's building gains
    // nothing: the two wait for each other in the dynamic loader, and the window shows later.)
    static void prepareOpenGL();
    // Readies window, just before it is first shown, to hold the engine's
    // views: a window that gains its first OpenGL widget is built anew by
    // Qt (it vanishes for a moment and loses the keyboard), so while the
    // engine is held a hidden one stands in until its views are there.
    static void prepareWindow(QWidget *window);

    // The engine's side, its library loaded on first use: linked into the
    // program, or "corvane-engine.so" beside it. A program without it
    // cannot show a page: it says so and ends with status 1.
    static EngineSide *side();

private:
    // Waits for the shared context and puts it in place.
    static void finishOpenGL();
    static QString libraryPath();
};
