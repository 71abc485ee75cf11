// The suggestions under the address box while the user types: visited pages
// and favourites holding every typed word, in a list drawn over the window
// that never takes the keyboard focus. Up and Down choose one; Enter puts
// the chosen address into the box and lets the box's own Enter (GO!) run;
// Esc closes the list and keeps the typed text.
#pragma once

#include "store/HistoryDatabase.h"

#include <QObject>

class QComboBox;
class QListWidget;
class QListWidgetItem;
class VisitedHistory;

class AddressSuggestions : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxShown = 8;

    // Watches box, the editable address box inside window. Install it after
    // the window's own filter on the box, so it sees the keys first.
    AddressSuggestions(QComboBox *box, VisitedHistory *history, QWidget *window);

    QListWidget *list() const { return m_list; }
    // The favourites whose name or address holds every typed word, in menu order.
    static QVector<VisitedPage> matchingFavourites(const QString &typed);

signals:
    // A suggestion was clicked: its address is in the box, to be opened as
    // GO! opens typed text.
    void picked();
    // The list shows the answer for the text typed last (or closed on it).
    void answered();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void edited(const QString &text);
    void show(int id, const QVector<VisitedPage> &pages);
    void present(const QVector<VisitedPage> &pages);
    void close();
    void place();
    // Lays out rows of both kinds once, before the first keystroke needs it.
    void prepare();
    void choose(int step);
    void clicked(QListWidgetItem *item);

    QComboBox *m_box;
    VisitedHistory *m_history;
    QWidget *m_window;
    QListWidget *m_list;
    QString m_typed;
    int m_request = 0; // the answer awaited; 0 for none
    bool m_prepared = false;
};
