// A plain window of the program holding one page view: where a page's own
// new-window request (a sign-in window, a popup) opens when it is not a tab.
#pragma once

#include <QRect>
#include <QWidget>

class WebEnginePageView;

class PopupWindow : public QWidget
{
    Q_OBJECT
public:
    explicit PopupWindow(const QRect &requestedGeometry = QRect(), QWidget *parent = nullptr);
    WebEnginePageView *view() const { return m_view; }

private:
    WebEnginePageView *m_view;
};
