// Page zoom for one window: Ctrl+Plus (or Ctrl+=, keypad +), Ctrl+Minus,
// Ctrl+0 and Ctrl+wheel over a page step it through the zoom levels. A level
// belongs to a host, so every tab on that host follows, and it is kept in
// the settings store across runs. While the selected page is not at 100 %
// a label at the right of the status bar shows the level; a click on it
// puts the page back to 100 %.
#pragma once

#include "app/PageView.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class QLabel;

class ZoomControl : public QObject
{
    Q_OBJECT
public:
    // The keys act on selectedView(); they are shortcuts of window.
    ZoomControl(std::function<PageView *()> selectedView, QWidget *window);

    // The level label, for the window to place in its status bar.
    QLabel *label() const { return m_label; }
    // Takes a new tab's view under this window's zoom.
    void addView(PageView *view);
    // The level pages on host are shown at.
    int levelOf(const QString &host);

public slots:
    void zoomIn();
    void zoomOut();
    void resetZoom();
    // The selected tab changed: the label follows its page.
    void selectionChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static QString hostOf(const PageView *view);
    void setLevel(const QString &host, int percent);
    void apply(PageView *view);
    void watchWheel(QWidget *widget);
    bool onWheel(QObject *watched, QEvent *event);
    void showLevel();

    std::function<PageView *()> m_selectedView;
    QList<QPointer<PageView>> m_views;
    QHash<QString, int> m_levels; // by host; pages with no host share one level
    QLabel *m_label = nullptr;
    int m_wheelDelta = 0; // wheel turn not yet worth a step
};
