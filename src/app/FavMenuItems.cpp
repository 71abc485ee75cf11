// The Favorites menu's items, rebuilt from the favourites table.
#include "app/FavMenuItems.h"

#include "store/Module1.h"

#include <QAction>
#include <QMenu>

namespace {
QString menuText(const QString &name)
{
    QString text = name;
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}
} // namespace

FavMenuItems::FavMenuItems(QMenu *menu, QObject *parent) : QObject(parent), m_menu(menu)
{
    rebuild();
}

FavMenuItems::~FavMenuItems() = default;

void FavMenuItems::rebuild()
{
    const int wanted = Module1::FavCount();
    while (count() > wanted)
        delete m_items.takeLast().data();
    while (count() < wanted) {
        const int index = count();
        auto *action = new QAction(m_menu ? static_cast<QObject *>(m_menu.data()) : this);
        action->setObjectName(QStringLiteral("mnuItemSite"));
        action->setProperty("index", index);
        connect(action, &QAction::triggered, this, [this, index] { emit triggered(index); });
        if (m_menu)
            m_menu->addAction(action);
        m_items.append(action);
    }
    for (int index = 0; index < wanted; ++index) {
        if (QAction *action = m_items.at(index))
            action->setText(menuText(Module1::GetFavName(index)));
    }
}

int FavMenuItems::count() const
{
    return int(m_items.size());
}

QAction *FavMenuItems::item(int index) const
{
    if (index < 0 || index >= count())
        return nullptr;
    return m_items.at(index);
}
