// A page view that loads nothing: it records what the shell asked of it, and
// a test raises its page events (the PageView signals) as the engine would:
// the engine's side of a page has no user path, scripting it is what this
// view is for.
#pragma once

#include "app/PageView.h"

#include <QStringList>

class FakePageView : public PageView
{
    Q_OBJECT
public:
    explicit FakePageView(QWidget *parent = nullptr) : PageView(parent)
    {
        setFocusPolicy(Qt::StrongFocus);
    }

    // What the shell asked, in order: "Navigate2 <address>", "Stop", "GoBack",
    // "GoForward", "Refresh2", "ExecWB <command> <option>".
    QStringList calls;
    QString url;
    QString title;

    void Navigate2(const QString &address) override { calls << "Navigate2 " + address; }
    void Stop() override { calls << "Stop"; }
    bool GoBack() override { return record("GoBack"); }
    bool GoForward() override { return record("GoForward"); }
    void Refresh2() override { calls << "Refresh2"; }
    bool ExecWB(int command, int option) override
    {
        return record(QString("ExecWB %1 %2").arg(command).arg(option));
    }
    QString LocationURL() const override { return url; }
    QString LocationName() const override { return title; }
    bool isLoading() const override { return false; }
    void findText(const QString &, bool, bool) override {}
    void setZoomPercent(int) override {}

    // Shows an address and title, then completes the document.
    void complete(const QString &address, const QString &pageTitle)
    {
        url = address;
        title = pageTitle;
        emit DocumentComplete();
    }

private:
    bool record(const QString &call) { return !(calls << call).isEmpty(); }
};
