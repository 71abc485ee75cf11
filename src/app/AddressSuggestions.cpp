// Suggestions while typing in the address box: asking, merging and choosing.
#include "app/AddressSuggestions.h"

#include "store/FavTable.h"
#include "store/VisitedHistory.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QSet>

namespace {
constexpr int AddressRole = Qt::UserRole;
}

AddressSuggestions::AddressSuggestions(QComboBox *box, VisitedHistory *history, QWidget *window)
    : QObject(window), m_box(box), m_history(history), m_window(window)
{
    setObjectName(QStringLiteral("addressSuggestions"));
    // A child of the window drawn over the page, not a window of its own:
    // the keyboard focus stays in the address box while it shows.
    m_list = new QListWidget(window);
    m_list->setObjectName(QStringLiteral("suggestionList"));
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->viewport()->setFocusPolicy(Qt::NoFocus);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setTextElideMode(Qt::ElideRight);
    m_list->setFrameShape(QFrame::Box);
    m_list->hide();
    connect(m_list, &QListWidget::itemClicked, this, &AddressSuggestions::clicked);

    connect(box->lineEdit(), &QLineEdit::textEdited, this, &AddressSuggestions::edited);
    // The page or a tab switch writing the box ends the typing.
    connect(box, &QComboBox::editTextChanged, this, [this](const QString &text) {
        if (text != m_typed)
            close();
    });
    connect(history, &VisitedHistory::suggested, this, &AddressSuggestions::show);
    box->installEventFilter(this);
    window->installEventFilter(this);
}

QVector<VisitedPage> AddressSuggestions::matchingFavourites(const QString &typed)
{
    const QStringList words = HistoryDatabase::words(typed);
    QVector<VisitedPage> found;
    if (words.isEmpty())
        return found;
    for (int slot = 0; slot < FavTable::count(); ++slot) {
        const QString url = FavTable::url(slot);
        const QString text = HistoryDatabase::searchText(FavTable::name(slot), url);
        if (!url.isEmpty() && std::all_of(words.cbegin(), words.cend(),
                                          [&](const QString &w) { return text.contains(w); }))
            found.append({url, FavTable::name(slot), 0, 0});
    }
    return found;
}

void AddressSuggestions::edited(const QString &text)
{
    m_typed = text;
    if (HistoryDatabase::words(text).isEmpty()) {
        m_request = 0; // an answer still on its way is for older text
        close();
        emit answered();
        return;
    }
    // Known at once, the list changes in the same frame as the box's text.
    QVector<VisitedPage> pages;
    if (m_history->suggestFromMemory(text, MaxShown, pages)) {
        m_request = 0; // no answer of the database is awaited
        present(pages);
        return;
    }
    m_request = m_history->suggest(text, MaxShown);
}

void AddressSuggestions::show(int id, const QVector<VisitedPage> &pages)
{
    if (id == m_request)
        present(pages);
}

void AddressSuggestions::present(const QVector<VisitedPage> &pages)
{
    if (!m_box->hasFocus() && !m_box->lineEdit()->hasFocus()) {
        close(); // the user went elsewhere meanwhile
        emit answered();
        return;
    }
    const QVector<VisitedPage> favourites = matchingFavourites(m_typed);
    QSet<QString> listed;
    m_list->clear();
    auto add = [&](const VisitedPage &page, bool favourite) {
        if (m_list->count() == MaxShown || listed.contains(page.url))
            return;
        listed.insert(page.url);
        const QString title = page.title.isEmpty() ? page.url : page.title;
        auto *item = new QListWidgetItem(title + QLatin1Char('\n') + page.url, m_list);
        item->setData(AddressRole, page.url);
        item->setToolTip(page.url);
        if (favourite) {
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
        }
    };
    for (const VisitedPage &page : favourites)
        add(page, true);
    for (const VisitedPage &page : pages)
        add(page, false);
    if (m_list->count() == 0) {
        close();
    } else {
        m_list->setCurrentRow(-1);
        place();
        m_list->show();
        m_list->raise();
    }
    emit answered();
}

void AddressSuggestions::place()
{
    const QPoint below = m_box->mapTo(m_window, QPoint(0, m_box->height()));
    int height = 2 * m_list->frameWidth();
    for (int row = 0; row < m_list->count(); ++row)
        height += m_list->sizeHintForRow(row);
    m_list->setGeometry(below.x(), below.y(), m_box->width(),
                        std::min(height, m_window->height() - below.y()));
}

void AddressSuggestions::prepare()
{
    m_history->warmUp(); // typing may start any moment now
    // The first row laid out loads the fonts and the style's metrics.
    m_prepared = true;
    m_list->ensurePolished();
    for (const bool favourite : {false, true}) {
        auto *item = new QListWidgetItem(QStringLiteral("Wg\nWg"), m_list);
        if (favourite) {
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
        }
    }
    for (int row = 0; row < m_list->count(); ++row)
        m_list->sizeHintForRow(row);
    m_list->clear();
}

void AddressSuggestions::close()
{
    m_list->hide();
    m_list->clear();
}

void AddressSuggestions::choose(int step)
{
    // Past either end the choice goes back to none: the typed text.
    int row = m_list->currentRow() + step;
    if (m_list->currentRow() < 0 && step < 0)
        row = m_list->count() - 1;
    if (row < 0 || row >= m_list->count())
        row = -1;
    m_list->setCurrentRow(row);
    if (row < 0)
        m_list->clearSelection();
}

void AddressSuggestions::clicked(QListWidgetItem *item)
{
    const QString address = item->data(AddressRole).toString();
    close();
    m_box->setEditText(address);
    emit picked();
}

bool AddressSuggestions::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window) {
        if (event->type() == QEvent::Resize && m_list->isVisible())
            place();
        return false;
    }
    const bool open = m_list->isVisible();
    switch (event->type()) {
    case QEvent::FocusIn:
        if (!m_prepared)
            prepare();
        break;
    case QEvent::FocusOut:
        close();
        break;
    case QEvent::ShortcutOverride: {
        // Esc would stop the page, Enter and the arrows belong to the list.
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (open && (key == Qt::Key_Escape || key == Qt::Key_Up || key == Qt::Key_Down)) {
            event->accept();
            return true;
        }
        break;
    }
    case QEvent::KeyPress: {
        if (!open)
            break;
        const auto *keyEvent = static_cast<QKeyEvent *>(event);
        const int key = keyEvent->key();
        if (keyEvent->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) {
            close(); // Alt+Down opens the typed-address list instead
            break;
        }
        if (key == Qt::Key_Down || key == Qt::Key_Up) {
            choose(key == Qt::Key_Down ? 1 : -1);
            return true;
        }
        if (key == Qt::Key_Escape) {
            close();
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // The window's own Enter runs GO! on what the box then holds.
            if (QListWidgetItem *item = m_list->currentItem())
                m_box->setEditText(item->data(AddressRole).toString());
            close();
        }
        break;
    }
    default:
        break;
    }
    return false;
}
