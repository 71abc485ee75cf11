// Waits for a window's first paint on screen, then runs what waited for it.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

class FirstPaint : public QObject
{
    Q_OBJECT
public:
    // Runs then once window has been painted and its picture handed to the
    // screen, or after fallbackMs if it never is (a window started hidden).
    // With CORVANE_REPORT_PAINT set it prints "PAINTED" on standard output
    // at that moment, for the benchmark. Deletes itself afterwards.
    FirstPaint(QWidget *window, std::function<void()> then, int fallbackMs = 1000);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void finish(bool painted);

    QPointer<QWidget> m_window;
    std::function<void()> m_then;
    bool m_done = false;
};
