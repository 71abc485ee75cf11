// Find in page: the bar, its keys and one search at a time per page.
#include "app/FindBar.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>
#include <limits>

FindBar::FindBar(std::function<PageView *()> selectedView, QWidget *parent)
    : QWidget(parent), m_selectedView(std::move(selectedView))
{
    setObjectName(QStringLiteral("findBar"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);

    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("findText"));
    m_text->setPlaceholderText(tr("Find in page"));
    m_text->setAccessibleName(tr("Find in page"));
    m_text->setClearButtonEnabled(true);
    // A pasted text is searched whole, however long.
    m_text->setMaxLength(std::numeric_limits<int>::max());
    m_text->setMinimumWidth(200);
    m_text->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    row->addWidget(m_text);

    const auto button = [this, row](const char *name, const QString &text, const QString &tip) {
        auto *b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setText(text);
        b->setToolTip(tip);
        b->setAccessibleName(tip);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::TabFocus); // a click leaves the focus in the text
        row->addWidget(b);
        return b;
    };
    m_previous = button("findPrevious", tr("Previous"), tr("Previous match (Shift+F3)"));
    m_next = button("findNext", tr("Next"), tr("Next match (F3)"));
    m_matchCase = new QCheckBox(tr("Match case"), this);
    m_matchCase->setObjectName(QStringLiteral("findMatchCase"));
    m_matchCase->setFocusPolicy(Qt::TabFocus);
    row->addWidget(m_matchCase);
    m_result = new QLabel(this);
    m_result->setObjectName(QStringLiteral("findResult"));
    m_result->setTextFormat(Qt::PlainText);
    m_result->setContentsMargins(8, 0, 8, 0);
    row->addWidget(m_result, 1);
    m_close = button("findClose", QString(), tr("Close the find bar (Esc)"));
    m_close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    if (m_close->icon().isNull())
        m_close->setText(QStringLiteral("X"));

    const QList<QWidget *> inputs{m_text, m_previous, m_next, m_matchCase, m_close};
    for (QWidget *input : inputs)
        input->installEventFilter(this);
    connect(m_text, &QLineEdit::textChanged, this, [this] { search(false); });
    connect(m_previous, &QToolButton::clicked, this, &FindBar::findPrevious);
    connect(m_next, &QToolButton::clicked, this, &FindBar::findNext);
    connect(m_matchCase, &QCheckBox::toggled, this, &FindBar::restart);
    connect(m_close, &QToolButton::clicked, this, &FindBar::closeBar);

    QWidget *window = parent->window();
    const auto shortcut = [this, window](const QKeySequence &keys, void (FindBar::*slot)()) {
        auto *s = new QShortcut(keys, window);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, slot);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_F), &FindBar::openBar);
    shortcut(QKeySequence(Qt::Key_F3), &FindBar::findNext);
    shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), &FindBar::findPrevious);
    setVisible(false);
}

void FindBar::openBar()
{
    const bool wasOpen = isVisible();
    setVisible(true);
    m_text->setFocus(Qt::ShortcutFocusReason);
    m_text->selectAll();
    if (!wasOpen) {
        follow(m_selectedView());
        restart();
    }
}

void FindBar::findNext()
{
    if (!isVisible())
        openBar();
    else
        search(false);
}

void FindBar::findPrevious()
{
    if (!isVisible())
        openBar();
    else
        search(true);
}

void FindBar::closeBar()
{
    if (!isVisible())
        return;
    clearHighlight();
    follow(nullptr);
    setVisible(false);
    if (PageView *view = m_selectedView())
        view->setFocus(Qt::OtherFocusReason);
}

void FindBar::selectionChanged()
{
    if (!isVisible() || m_selectedView() == m_view)
        return;
    clearHighlight();
    follow(m_selectedView());
    restart();
    // The open bar keeps the keyboard, so Enter and Esc still reach it.
    m_text->setFocus(Qt::OtherFocusReason);
}

void FindBar::follow(PageView *view)
{
    if (m_view)
        disconnect(m_view, nullptr, this, nullptr);
    m_view = view;
    m_busy = false;
    m_pending = Pending::None;
    if (!view)
        return;
    connect(view, &PageView::FindTextFinished, this, &FindBar::onFindTextFinished);
    // A page loaded again (or whose process died) is searched afresh: an
    // answer still awaited from the old document may never come.
    connect(view, &PageView::DocumentComplete, this, &FindBar::restart);
}

void FindBar::search(bool backward)
{
    if (!m_view || !isVisible())
        return;
    if (m_text->text().isEmpty()) {
        clearHighlight();
        return;
    }
    if (m_busy) {
        m_pending = backward ? Pending::Previous : Pending::Next;
        return;
    }
    m_busy = true;
    m_view->findText(m_text->text(), backward, m_matchCase->isChecked());
}

// A fresh search of the page, not a step to the next match: the case
// setting changed, or the page is new to the bar.
void FindBar::restart()
{
    clearHighlight();
    search(false);
}

void FindBar::clearHighlight()
{
    if (m_view)
        m_view->findText(QString(), false, false);
    m_busy = false;
    m_pending = Pending::None;
    showResult(QString(), false);
}

void FindBar::onFindTextFinished(int activeMatch, int matchCount)
{
    if (sender() != m_view || !m_busy)
        return;
    m_busy = false;
    if (m_pending != Pending::None) {
        const bool backward = m_pending == Pending::Previous;
        m_pending = Pending::None;
        search(backward);
        return;
    }
    if (matchCount > 0)
        showResult(tr("%1 of %2").arg(activeMatch).arg(matchCount), false);
    else
        showResult(tr("No matches"), true);
}

void FindBar::showResult(const QString &text, bool alarm)
{
    m_result->setText(text);
    QPalette palette = this->palette();
    if (alarm)
        palette.setColor(QPalette::WindowText, QColor(0xc0, 0x00, 0x00));
    m_result->setPalette(palette);
    QFont font = m_result->font();
    font.setBold(alarm);
    m_result->setFont(font);
}

bool FindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    const bool escape = key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier;
    const bool enter =
        watched == m_text && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
    if (!escape && !enter)
        return QWidget::eventFilter(watched, event);
    // Esc in the bar is the bar's own, not the window's "stop loading".
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    if (escape)
        closeBar();
    else
        search(key->modifiers() & Qt::ShiftModifier);
    return true;
}
