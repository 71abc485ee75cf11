// Bringing closed tabs back.
#include "app/ClosedTabs.h"

#include "app/PageView.h"

#include <QTabBar>

ClosedTabs::ClosedTabs(QTabBar *strip, std::function<PageView *(int)> viewAt, QObject *parent)
    : QObject(parent), m_strip(strip), m_viewAt(std::move(viewAt))
{
}

void ClosedTabs::closed(int index)
{
    m_indexes.removeAll(index);
    m_indexes.prepend(index);
    while (m_indexes.size() > Capacity)
        m_indexes.removeLast();
}

bool ClosedTabs::reopen()
{
    while (!m_indexes.isEmpty()) {
        const int index = m_indexes.takeFirst();
        PageView *view = m_viewAt(index);
        if (!view || index >= m_strip->count() || m_strip->isTabVisible(index))
            continue;
        // Shown again, the view's page comes back from its history entry.
        m_strip->setTabVisible(index, true);
        view->setVisible(true);
        view->revive();
        m_strip->setCurrentIndex(index);
        view->raise();
        return true;
    }
    return false;
}
