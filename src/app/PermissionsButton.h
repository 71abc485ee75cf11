// The status bar's button for the selected tab's site: shown while the site
// has stored permission answers; a click lists them, each with "Forget",
// after which the site asks again.
#pragma once

#include <QPointer>
#include <QToolButton>
#include <functional>

class PageView;
class QFrame;

class PermissionsButton : public QToolButton
{
    Q_OBJECT
public:
    PermissionsButton(std::function<PageView *()> selectedView, QWidget *parent);

    // The list that a click opens, while it is open.
    QFrame *list() const { return m_list; }

public slots:
    // The selected tab or its address changed: looks again when the site did.
    void refresh();
    // The stored answers changed: looks again.
    void answersChanged();

private:
    QString site() const;
    void showList();

    std::function<PageView *()> m_selectedView;
    QPointer<QFrame> m_list;
    QString m_shownSite; // the site last looked up; a page's own moves keep it
};
