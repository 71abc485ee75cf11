// The history window (Ctrl+H): the visited pages grouped by day, newest
// first, with a search field that filters as the user types. Enter or a
// double click opens the chosen page in the selected tab, Delete removes the
// chosen pages (a day chosen: all its pages).
#pragma once

#include "store/HistoryDatabase.h"

#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;
class VisitedHistory;

class HistoryWindow : public QWidget
{
    Q_OBJECT
public:
    // The newest pages shown at most; the search field finds older ones.
    static constexpr int MaxShown = 2000;

    HistoryWindow(VisitedHistory *history, std::function<void(const QString &)> open,
                  QWidget *parent = nullptr);

    QLineEdit *searchField() const { return m_search; }
    QTreeWidget *pageList() const { return m_list; }

signals:
    // The list shows the answer for the latest search.
    void listed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void refresh();
    void fill(int id, const QVector<VisitedPage> &pages);
    void openCurrent();
    void removeChosen();

    VisitedHistory *m_history;
    std::function<void(const QString &)> m_open;
    QLineEdit *m_search;
    QTreeWidget *m_list;
    QLabel *m_note;
    int m_request = 0;
};
