// The engine's library, its shared OpenGL context, and what waits for the engine to start.
#include "web/Engine.h"

#include "web/EngineSide.h"

#include "platform/Prompts.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLibrary>
#include <QOpenGLContext>
#include <QOpenGLWidget>
#include <QPointer>
#include <QThread>

#include <cstdio>
#include <unistd.h>
#include <utility>
#include <vector>

// Defined where the engine is linked into the program (the tests); the
// browser program loads it from the library instead.
extern "C" EngineSide *corvane_engine_side() __attribute__((weak));

// Qt's own setter of the shared context, which it calls itself only when
// told before the application object is made (Qt::AA_ShareOpenGLContexts),
// and then makes the context on the spot.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);

namespace {
bool s_held = false;
QThread *s_openGLThread = nullptr;         // see Engine::prepareOpenGL
QOpenGLContext *s_openGLContext = nullptr; // what it made, once it has ended
QPointer<QWidget> s_surfaceHint;
struct Waiting
{
    QPointer<QObject> context;
    std::function<void()> run;
};
std::vector<Waiting> &waiting()
{
    static std::vector<Waiting> list;
    return list;
}
} // namespace

void Engine::hold()
{
    s_held = true;
}

bool Engine::held()
{
    return s_held;
}

void Engine::start()
{
    if (!s_held)
        return;
    s_held = false;
    side()->start();
    // A waiting task may add others; they run at once now.
    const std::vector<Waiting> due = std::exchange(waiting(), {});
    for (const Waiting &task : due)
        if (task.context)
            task.run();
    // The engine's views are in their windows now.
    delete s_surfaceHint.data();
}

void Engine::whenStarted(QObject *context, std::function<void()> run)
{
    if (s_held)
        waiting().push_back({context, std::move(run)});
    else
        run();
}

namespace {
// Whether the platform's windows can show OpenGL widgets: offscreen and
// minimal windows cannot, even where the offscreen platform makes contexts.
bool windowsDrawWithOpenGL()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}
} // namespace

void Engine::prepareOpenGL()
{
    if (s_openGLThread || QOpenGLContext::globalShareContext())
        return;
    // As Qt does, the context is put in place even where it cannot be made
    // (offscreen): the engine then draws in software.
    const auto make = [] {
        auto *context = new QOpenGLContext; // kept to the end, as Qt keeps its own
        context->setFormat(QSurfaceFormat::defaultFormat());
        context->create();
        return context;
    };
    if (!windowsDrawWithOpenGL()) {
        qt_gl_set_global_share_context(make());
        return;
    }
    QThread *mainThread = QThread::currentThread();
    s_openGLThread = QThread::create([mainThread, make] {
        QOpenGLContext *context = make();
        context->moveToThread(mainThread);
        s_openGLContext = context;
    });
    s_openGLThread->start();
}

void Engine::finishOpenGL()
{
    if (!s_openGLThread)
        return;
    s_openGLThread->wait();
    delete std::exchange(s_openGLThread, nullptr);
    if (!QOpenGLContext::globalShareContext())
        qt_gl_set_global_share_context(s_openGLContext);
}

void Engine::prepareWindow(QWidget *window)
{
    finishOpenGL();
    const QOpenGLContext *shared = QOpenGLContext::globalShareContext();
    // Without a shared context the engine draws in software and needs
    // nothing of the window.
    if (!s_held || s_surfaceHint || !shared || !shared->isValid() || !windowsDrawWithOpenGL())
        return;
    s_surfaceHint = new QOpenGLWidget(window);
    s_surfaceHint->hide();
}

QString Engine::libraryPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/corvane-engine.so");
}

EngineSide *Engine::side()
{
    static EngineSide *s_side = nullptr;
    if (s_side)
        return s_side;
    // The engine wants the shared context in place when it is loaded.
    finishOpenGL();
    EngineSideEntry entry = corvane_engine_side;
    if (!entry) {
        // Loaded for good: the library is never unloaded.
        QLibrary library(libraryPath());
        entry = reinterpret_cast<EngineSideEntry>(library.resolve("corvane_engine_side"));
        if (!entry) {
            const QString message =
                QCoreApplication::translate("Engine", "Corvane cannot start its web engine: %1")
                    .arg(library.errorString());
            std::fprintf(stderr, "corvane: %s\n", qPrintable(message));
            std::fflush(stderr);
            Prompts::MsgBox(nullptr, message, Prompts::Critical, QStringLiteral("Corvane"));
            // Nothing is loaded yet; what the program keeps on disk is whole.
            ::_exit(1);
        }
    }
    s_side = entry();
    return s_side;
}
