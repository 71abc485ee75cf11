// The first paint of a window, and what waits for it.
#include "app/FirstPaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>

FirstPaint::FirstPaint(QWidget *window, std::function<void()> then, int fallbackMs)
    : QObject(window), m_window(window), m_then(std::move(then))
{
    // Any widget of the window may be the first to draw.
    QCoreApplication::instance()->installEventFilter(this);
    QTimer::singleShot(fallbackMs, this, [this] { finish(false); });
}

bool FirstPaint::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && !m_done && watched->isWidgetType() && m_window &&
        static_cast<QWidget *>(watched)->window() == m_window) {
        QCoreApplication::instance()->removeEventFilter(this);
        // The picture goes to the screen once this round of painting is over.
        QTimer::singleShot(0, this, [this] { finish(true); });
    }
    return QObject::eventFilter(watched, event);
}

void FirstPaint::finish(bool painted)
{
    if (m_done)
        return;
    m_done = true;
    QCoreApplication::instance()->removeEventFilter(this);
    if (painted && qEnvironmentVariableIsSet("CORVANE_REPORT_PAINT")) {
        std::printf("PAINTED\n");
        std::fflush(stdout);
    }
    if (m_then)
        m_then();
    deleteLater();
}
