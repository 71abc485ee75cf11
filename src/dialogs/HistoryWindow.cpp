// The history window: a search field over the visited pages grouped by day.
#include "dialogs/HistoryWindow.h"

#include "store/VisitedHistory.h"

#include <QDateTime>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QSet>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int AddressRole = Qt::UserRole;

QString dayCaption(const QDate &day)
{
    const QDate today = QDate::currentDate();
    if (day == today)
        return HistoryWindow::tr("Today");
    if (day == today.addDays(-1))
        return HistoryWindow::tr("Yesterday");
    return QLocale().toString(day, QLocale::LongFormat);
}
} // namespace

HistoryWindow::HistoryWindow(VisitedHistory *history, std::function<void(const QString &)> open,
                             QWidget *parent)
    : QWidget(parent, Qt::Window), m_history(history), m_open(std::move(open))
{
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(tr("History"));
    resize(720, 520);

    auto *label = new QLabel(tr("&Search:"), this);
    label->setObjectName(QStringLiteral("historySearchLabel"));
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("historySearch"));
    m_search->setPlaceholderText(tr("Words of a title or an address"));
    m_search->setClearButtonEnabled(true);
    label->setBuddy(m_search);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("historyList"));
    m_list->setColumnCount(3);
    m_list->setHeaderLabels({tr("Title"), tr("Address"), tr("Visited")});
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setRootIsDecorated(true);
    m_list->setUniformRowHeights(true);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);

    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("historyNote"));

    auto *layout = new QVBoxLayout(this);
    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(label);
    searchRow->addWidget(m_search, 1);
    layout->addLayout(searchRow);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_note);

    connect(m_search, &QLineEdit::textChanged, this, &HistoryWindow::refresh);
    connect(m_list, &QTreeWidget::itemActivated, this, &HistoryWindow::openCurrent);
    connect(history, &VisitedHistory::found, this, &HistoryWindow::fill);
    connect(history, &VisitedHistory::changed, this, [this] {
        if (isVisible())
            refresh();
    });
    m_search->installEventFilter(this);
    m_list->installEventFilter(this);
}

void HistoryWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refresh();
    m_search->setFocus(Qt::OtherFocusReason);
    m_search->selectAll();
}

void HistoryWindow::refresh()
{
    m_request = m_history->find(m_search->text(), MaxShown);
}

void HistoryWindow::fill(int id, const QVector<VisitedPage> &pages)
{
    if (id != m_request)
        return;
    QSet<QString> chosen;
    for (QTreeWidgetItem *item : m_list->selectedItems())
        chosen.insert(item->data(0, AddressRole).toString());
    m_list->clear();
    QTreeWidgetItem *day = nullptr;
    QDate dayShown;
    for (const VisitedPage &page : pages) {
        const QDateTime when = QDateTime::fromMSecsSinceEpoch(page.lastVisit);
        if (!day || when.date() != dayShown) {
            dayShown = when.date();
            day = new QTreeWidgetItem(m_list, {dayCaption(dayShown)});
            day->setFirstColumnSpanned(true);
            day->setExpanded(true);
        }
        auto *item =
            new QTreeWidgetItem(day, {page.title.isEmpty() ? page.url : page.title, page.url,
                                      QLocale().toString(when.time(), QLocale::ShortFormat)});
        item->setData(0, AddressRole, page.url);
        item->setToolTip(0, page.title);
        item->setToolTip(1, page.url);
        item->setSelected(chosen.contains(page.url));
    }
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        m_list->topLevelItem(i)->setExpanded(true);
    if (QTreeWidgetItem *first = m_list->topLevelItem(0); first && !m_list->currentItem())
        m_list->setCurrentItem(first->child(0), 0, QItemSelectionModel::NoUpdate);
    m_note->setText(pages.isEmpty()           ? tr("No visited pages found.")
                    : pages.size() < MaxShown ? tr("%n page(s)", nullptr, int(pages.size()))
                                              : tr("The newest %1 pages; type words to find "
                                                   "older ones.")
                                                    .arg(MaxShown));
    emit listed();
}

void HistoryWindow::openCurrent()
{
    QTreeWidgetItem *item = m_list->currentItem();
    if (item && item->parent() == nullptr) // a day: open its newest page
        item = item->child(0);
    if (item)
        m_open(item->data(0, AddressRole).toString());
}

void HistoryWindow::removeChosen()
{
    QStringList urls;
    for (QTreeWidgetItem *item : m_list->selectedItems()) {
        if (item->parent()) {
            urls << item->data(0, AddressRole).toString();
            continue;
        }
        for (int i = 0; i < item->childCount(); ++i)
            urls << item->child(i)->data(0, AddressRole).toString();
    }
    urls.removeDuplicates();
    if (!urls.isEmpty())
        m_history->remove(urls);
}

bool HistoryWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (watched == m_search) {
        // From the field, Down goes into the list and Enter opens its first page.
        if (key == Qt::Key_Down && m_list->topLevelItemCount() > 0) {
            m_list->setFocus(Qt::TabFocusReason);
            if (!m_list->currentItem() || !m_list->currentItem()->isSelected())
                m_list->setCurrentItem(m_list->topLevelItem(0)->child(0));
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openCurrent();
            return true;
        }
    } else if (watched == m_list && key == Qt::Key_Delete) {
        removeChosen();
        return true;
    }
    if (key == Qt::Key_Escape) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
