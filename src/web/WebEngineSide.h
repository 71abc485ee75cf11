// The engine's side of the program, as its library gives it (EngineSide).
#pragma once

#include "web/EngineSide.h"

class WebEngineSide : public EngineSide
{
public:
    void start() override;
    PageEngine *createPage(WebEnginePageView *owner, QWidget *body) override;
    WindowEngine *attach(QWidget *window, QWidget *viewArea,
                         std::function<void(const QUrl &origin)> showSite,
                         std::function<void(const QString &text)> status) override;
};
