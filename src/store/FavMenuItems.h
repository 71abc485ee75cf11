// The favourites items of the Favorites menu, a dense array indexed from 0
// like the address slots and the store keys. Item 0 is the built-in
// "Google"; user favourites are loaded after it and unloaded from the end.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class QAction;
class QMenu;

class FavMenuItems : public QObject
{
    Q_OBJECT
public:
    // Appends item 0 to the menu. Every item is a QAction named
    // "mnuItemSite" with its index in the dynamic property "index".
    explicit FavMenuItems(QMenu *menu, QObject *parent = nullptr);
    ~FavMenuItems() override;

    int count() const;
    QAction *item(int index) const; // nullptr outside 0..count()-1

    // Appends a new item with an empty caption; index must be count().
    // Returns nullptr (and warns) for any other index.
    QAction *load(int index);
    // Removes the last item; item 0 and items in the middle stay (with a
    // warning), so the indexes remain dense.
    void unload(int index);

    // Captions are names as the user gave them; a '&' is an ordinary
    // character, never an access key.
    QString caption(int index) const;
    void setCaption(int index, const QString &caption);

signals:
    void triggered(int index);

private:
    QAction *createItem(int index);

    QPointer<QMenu> m_menu;
    QList<QPointer<QAction>> m_items;
    QStringList m_captions;
};
