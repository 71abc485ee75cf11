// The find bar under the pages: finds text in the selected page as it is
// typed. Ctrl+F (or F3 while it is closed) opens it with its text selected;
// Enter and F3 go to the next match, Shift+Enter and Shift+F3 to the
// previous one; Esc or its close button closes it, clears the highlight and
// gives the page the focus back. It follows the selected tab while open.
#pragma once

#include "app/PageView.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;

class FindBar : public QWidget
{
    Q_OBJECT
public:
    // The keys are shortcuts of parent's window, which must be set.
    FindBar(std::function<PageView *()> selectedView, QWidget *parent);

public slots:
    void openBar();
    void findNext();
    void findPrevious();
    void closeBar();
    // The selected tab changed: an open bar searches its page instead.
    void selectionChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Pending { None, Next, Previous };
    void search(bool backward);
    void restart();
    void clearHighlight();
    void follow(PageView *view);
    void onFindTextFinished(int activeMatch, int matchCount);
    void showResult(const QString &text, bool alarm);

    std::function<PageView *()> m_selectedView;
    QPointer<PageView> m_view; // the page searched
    // One search at a time: a big page takes seconds to count its matches,
    // and the engine finishes every search it was given, even one replaced
    // by a newer. What is asked meanwhile waits here, the latest only.
    bool m_busy = false;
    Pending m_pending = Pending::None;

    QLineEdit *m_text = nullptr;
    QToolButton *m_previous = nullptr;
    QToolButton *m_next = nullptr;
    QCheckBox *m_matchCase = nullptr;
    QLabel *m_result = nullptr;
    QToolButton *m_close = nullptr;
};
