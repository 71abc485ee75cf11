// One repaint per screen refresh for a window.
#include "app/FramePacer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cmath>

FramePacer::FramePacer(QWidget *window) : QObject(window), m_window(window)
{
    m_window->installEventFilter(this);
}

int FramePacer::intervalMs() const
{
    const QScreen *screen = m_window->screen();
    const qreal hertz = screen ? screen->refreshRate() : 0;
    // A screen that reports no sensible rate is taken as 60 Hz.
    return hertz >= 30 && hertz <= 500 ? int(std::floor(1000.0 / hertz)) : 16;
}

bool FramePacer::eventFilter(QObject *watched, QEvent *event)
{
    // Qt asks a window to repaint what changed with one UpdateRequest at a
    // time and posts no other until that one has been handled: holding it
    // back gathers every later change into the repaint that follows.
    if (watched != m_window || event->type() != QEvent::UpdateRequest)
        return false;
    if (m_releasing) {
        m_releasing = false;
        m_lastRepaint.start();
        return false;
    }
    if (m_deferred)
        return true;
    const qint64 since = m_lastRepaint.isValid() ? m_lastRepaint.elapsed() : -1;
    const int interval = intervalMs();
    if (since < 0 || since >= interval) {
        m_lastRepaint.start();
        return false;
    }
    m_deferred = true;
    QTimer::singleShot(int(interval - since), Qt::PreciseTimer, this, &FramePacer::repaintNow);
    return true;
}

void FramePacer::repaintNow()
{
    m_deferred = false;
    m_releasing = true;
    QCoreApplication::postEvent(m_window, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
}
