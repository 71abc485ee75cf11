// The engine library's entry point and what it makes.
#include "web/WebEngineSide.h"

#include "web/BrowserProfile.h"
#include "web/EnginePage.h"
#include "web/WebEngineWindow.h"

extern "C" __attribute__((visibility("default"))) EngineSide *corvane_engine_side()
{
    static WebEngineSide side;
    return &side;
}

void WebEngineSide::start()
{
    BrowserProfile::profile();
}

PageEngine *WebEngineSide::createPage(WebEnginePageView *owner, QWidget *body)
{
    return new EnginePage(owner, body);
}

WindowEngine *WebEngineSide::attach(QWidget *window, QWidget *viewArea,
                                    std::function<void(const QUrl &origin)> showSite,
                                    std::function<void(const QString &text)> status)
{
    return new WebEngineWindow(window, viewArea, std::move(showSite), std::move(status));
}
