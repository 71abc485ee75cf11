// The favourites items at the end of the Favorites menu, one per slot of the
// store's favourites table: item 0 is the built-in "Google", the user's
// favourites follow in slot order.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QMenu;

class FavMenuItems : public QObject
{
    Q_OBJECT
public:
    // Appends the items the table holds now to the menu.
    explicit FavMenuItems(QMenu *menu, QObject *parent = nullptr);
    ~FavMenuItems() override;

    // Makes the items match the table again: one per slot in use, each a
    // QAction named "mnuItemSite" with its slot in the dynamic property
    // "index" and the name as its text ('&' shown as itself, never an
    // access key). Items are added and removed at the end only.
    void rebuild();

    int count() const;
    QAction *item(int index) const; // nullptr outside 0..count()-1

signals:
    void triggered(int index);

private:
    QPointer<QMenu> m_menu;
    QList<QPointer<QAction>> m_items;
};
