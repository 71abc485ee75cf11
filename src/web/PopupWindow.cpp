// A window of its own for a page's new-window request that is not a tab.
#include "web/PopupWindow.h"

#include "web/WebEnginePageView.h"

#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>

PopupWindow::PopupWindow(const QRect &requestedGeometry, QWidget *parent)
    : QWidget(parent, Qt::Window), m_view(new WebEnginePageView(this))
{
    setObjectName(QStringLiteral("PopupWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setWindowTitle(QStringLiteral("Corvane"));
    if (requestedGeometry.isValid() && requestedGeometry.width() > 50 &&
        requestedGeometry.height() > 50)
        resize(requestedGeometry.size());
    else
        resize(800, 600);
    connect(m_view, &PageView::TitleChange, this,
            [this](const QString &title) { setWindowTitle(QStringLiteral("Corvane - ") + title); });
    connect(m_view->engineView()->page(), &QWebEnginePage::windowCloseRequested, this,
            &QWidget::close);
}
