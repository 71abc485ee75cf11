// The scripted page view: calls recorded, events raised on request.
#include "FakePageView.h"

FakePageView::FakePageView(QWidget *parent) : PageView(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void FakePageView::Navigate2(const QString &address)
{
    calls << QStringLiteral("Navigate2 ") + address;
}

void FakePageView::Stop()
{
    calls << QStringLiteral("Stop");
}

bool FakePageView::GoBack()
{
    calls << QStringLiteral("GoBack");
    return canGoBack;
}

bool FakePageView::GoForward()
{
    calls << QStringLiteral("GoForward");
    return canGoForward;
}

void FakePageView::Refresh2()
{
    calls << QStringLiteral("Refresh2");
}

bool FakePageView::ExecWB(int command, int option)
{
    calls << QStringLiteral("ExecWB %1 %2").arg(command).arg(option);
    return true;
}

void FakePageView::complete(const QString &address, const QString &pageTitle)
{
    url = address;
    title = pageTitle;
    emit DocumentComplete();
}

bool FakePageView::raiseNewWindow(NewWindowInfo::Kind kind, const QUrl &requested)
{
    bool cancel = false;
    NewWindowInfo info;
    info.kind = kind;
    info.requestedUrl = requested;
    emit NewWindow2(&cancel, info);
    return cancel;
}

PageViewFactory fakeViewFactory(QList<FakePageView *> *made)
{
    return [made](QWidget *parent) -> PageView * {
        auto *view = new FakePageView(parent);
        if (made)
            made->append(view);
        return view;
    };
}
