// The tabs closed in this run that Ctrl+Shift+T brings back, most recent
// first. A closed tab keeps its view, index and history, so bringing it back
// only shows and selects it again.
#pragma once

#include <QList>
#include <QObject>
#include <functional>

class PageView;
class QTabBar;

class ClosedTabs : public QObject
{
    Q_OBJECT
public:
    // The most tabs remembered; older ones stay closed for good.
    static constexpr int Capacity = 25;

    // viewAt gives the view of tab i of strip.
    ClosedTabs(QTabBar *strip, std::function<PageView *(int)> viewAt, QObject *parent);

    // Tab index has just been closed (hidden).
    void closed(int index);
    // Shows the most recently closed tab again, selected, with its page;
    // false when no closed tab is remembered.
    bool reopen();
    // The remembered tab indexes, most recent first.
    const QList<int> &indexes() const { return m_indexes; }

private:
    QTabBar *m_strip;
    std::function<PageView *(int)> m_viewAt;
    QList<int> m_indexes;
};
