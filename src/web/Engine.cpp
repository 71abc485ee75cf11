// The engine's library, loaded when the engine starts, and what waits for it.
#include "web/Engine.h"

#include "web/EngineSide.h"

#include "platform/Prompts.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QPointer>

#include <cstdio>
#include <unistd.h>
#include <utility>
#include <vector>

// Defined where the engine is linked into the program (the tests); the
// browser program loads it from the library instead.
extern "C" EngineSide *corvane_engine_side() __attribute__((weak));

namespace {
bool s_held = false;
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
}

void Engine::whenStarted(QObject *context, std::function<void()> run)
{
    if (s_held)
        waiting().push_back({context, std::move(run)});
    else
        run();
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
