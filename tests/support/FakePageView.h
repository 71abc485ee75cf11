// A page view that loads nothing: it records what the shell asked of it and
// raises each page event only when a test says so.
#pragma once

#include "app/PageView.h"

#include <QStringList>

class FakePageView : public PageView
{
    Q_OBJECT
public:
    explicit FakePageView(QWidget *parent = nullptr);

    void Navigate2(const QString &address) override;
    void Stop() override;
    bool GoBack() override;
    bool GoForward() override;
    void Refresh2() override;
    bool ExecWB(int command, int option) override;
    QString LocationURL() const override { return url; }
    QString LocationName() const override { return title; }
    bool isLoading() const override { return false; }
    void discard() override { ++discards; }
    void findText(const QString &text, bool, bool) override { finds << text; }
    void setZoomPercent(int) override {}

    // What the shell asked, in order: "Navigate2 <address>", "Stop", ...
    QStringList calls;
    QString url;
    QString title;
    int discards = 0;
    QStringList finds; // what findText was asked for, in order
    bool canGoBack = false;
    bool canGoForward = false;

    // Raise events as the engine would.
    void raiseStatusText(const QString &text) { emit StatusTextChange(text); }
    void raiseProgress(qint32 progress, qint32 max) { emit ProgressChange(progress, max); }
    void raiseTitle(const QString &text)
    {
        title = text;
        emit TitleChange(text);
    }
    void raiseBeforeNavigate() { emit BeforeNavigate2(); }
    void raiseNavigateComplete() { emit NavigateComplete2(); }
    // Shows an address and title, then completes the document.
    void complete(const QString &address, const QString &pageTitle);
    // Returns whether the shell cancelled the request.
    bool raiseNewWindow(NewWindowInfo::Kind kind, const QUrl &requested = QUrl());
};

// The factory a frmWeb under test uses; the views it made are kept in order.
PageViewFactory fakeViewFactory(QList<FakePageView *> *made = nullptr);
