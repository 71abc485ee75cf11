// Holds a window to one repaint per refresh of its screen. A window that
// shows web pages is composed whole on every repaint (the pages are drawn
// with the GPU); the shell's own changes during a load (progress bar, tab
// caption, address box) would each cost a composition, so those that come
// within one refresh interval are painted together.
#pragma once

#include <QElapsedTimer>
#include <QObject>

class QWidget;

class FramePacer : public QObject
{
    Q_OBJECT
public:
    // Paces window, a top-level widget; lives as its child.
    explicit FramePacer(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int intervalMs() const;
    void repaintNow();

    QWidget *m_window;
    QElapsedTimer m_lastRepaint;
    bool m_deferred = false;  // a repaint is held back
    bool m_releasing = false; // the held-back repaint is on its way
};
