// The favourites menu items, kept in step with their indexes.
#include "store/FavMenuItems.h"

#include <QAction>
#include <QMenu>
#include <QtDebug>

namespace {
QString menuText(const QString &caption)
{
    QString text = caption;
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}
} // namespace

FavMenuItems::FavMenuItems(QMenu *menu, QObject *parent) : QObject(parent), m_menu(menu)
{
    createItem(0);
    setCaption(0, QStringLiteral("Google"));
}

FavMenuItems::~FavMenuItems() = default;

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

QAction *FavMenuItems::createItem(int index)
{
    auto *action = new QAction(m_menu ? static_cast<QObject *>(m_menu.data()) : this);
    action->setObjectName(QStringLiteral("mnuItemSite"));
    action->setProperty("index", index);
    connect(action, &QAction::triggered, this, [this, index] { emit triggered(index); });
    if (m_menu)
        m_menu->addAction(action);
    m_items.append(action);
    m_captions.append(QString());
    return action;
}

QAction *FavMenuItems::load(int index)
{
    if (index != count()) {
        qWarning("FavMenuItems::load: index %d is not the next free index %d", index, count());
        return nullptr;
    }
    return createItem(index);
}

void FavMenuItems::unload(int index)
{
    if (index <= 0 || index != count() - 1) {
        qWarning("FavMenuItems::unload: only the last user item can go, not %d", index);
        return;
    }
    QPointer<QAction> action = m_items.takeLast();
    m_captions.removeLast();
    delete action.data();
}

QString FavMenuItems::caption(int index) const
{
    if (index < 0 || index >= count())
        return QString();
    return m_captions.at(index);
}

void FavMenuItems::setCaption(int index, const QString &caption)
{
    if (index < 0 || index >= count()) {
        qWarning("FavMenuItems::setCaption: no item %d", index);
        return;
    }
    m_captions[index] = caption;
    if (QAction *action = m_items.at(index))
        action->setText(menuText(caption));
}
