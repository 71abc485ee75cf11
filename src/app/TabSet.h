// The tab set of the main window: the tab strip with its close button and one
// page view per tab stacked behind it. Tab i shows view i; tabs and views are
// only appended, and a closed tab is only hidden. It opens, closes and shows
// tabs, handles the views' page events, and tells the window what to show
// (address, caption, status text, progress) through its signals.
#pragma once

#include "app/PageView.h"

#include <QPointer>
#include <QVector>
#include <QWidget>

class QMenu;
class QPushButton;
class QTabBar;

class TabSet : public QWidget
{
    Q_OBJECT
public:
    // Builds the strip with its two designer tabs and the first view.
    explicit TabSet(PageViewFactory factory, QWidget *parent = nullptr);
    ~TabSet() override;

    QTabBar *tabStrip() const { return TabStrip1; }
    const QVector<PageView *> &views() const { return Web; }
    int count() const { return int(Web.size()); }
    // The view of tab index, closed or not; null outside 0..count()-1.
    PageView *view(int index) const;
    bool isOpen(int index) const;
    // The selected tab and its view, looked up afresh on every call.
    int selectedIndex() const;
    PageView *selectedView() const;

    // The menu a right-click on the strip pops up (the window's mnuTab).
    void setTabMenu(QMenu *menu);
    // Start-up leaves the single first tab of the two the strip is designed with.
    void removeDesignerTab();
    // A tab's caption as given ('&' shows as itself).
    void setTabCaption(int index, const QString &text);

    // What the page events remember between a link and a new-window request.
    bool newWindowLinkPending() const { return NewWindowLinkPending; }
    QString lastLinkAddress() const { return LastLinkAddress; }

public slots:
    // New Tab: a blank page, selected, captioned with the home page address.
    // Returns the new tab's index.
    int openTab();
    // Closes the selected tab; the last open tab goes home instead.
    void closeSelectedTab();
    // A link opened behind the selected tab (Ctrl+click, middle click).
    int openBackgroundTab(const QUrl &url);
    // Shows tab index: its view in front, its address and caption, the focus.
    void TabStrip1_Click(int index);
    // The next or previous open tab, round the strip.
    void selectNextTab();
    void selectPreviousTab();

    // Page events, with the index of the view that raised them
    void Web_StatusTextChange(int index, const QString &text);
    void Web_ProgressChange(int index, qint32 progress, qint32 progressMax);
    void Web_TitleChange(int index, const QString &text);
    void Web_BeforeNavigate2(int index);
    void Web_NewWindow2(int index, bool *cancel, const NewWindowInfo &info);
    void Web_NavigateComplete2(int index);
    void Web_DocumentComplete(int index);
    void Web_LocationChange(int index);

    // Puts a bar (find in page) under the views, above the status bar.
    void addBelowViews(QWidget *bar);
    // Puts a bar between the tab row and the views.
    void addAboveViews(QWidget *bar);

    // A tab of an earlier session: appended behind the selected one (or in
    // place of tab index, when given), with its caption, address and
    // history; its page loads when the tab is first shown. Returns its index.
    int openRestoredTab(const QString &address, const QString &caption, const QByteArray &history,
                        int zoomPercent, int index = -1);
    // The area the views fill.
    QWidget *viewArea() const { return m_viewArea; }

signals:
    // What the window shows: the address box text, the window caption, the
    // selected view's status text and load progress.
    void addressChanged(const QString &address);
    void captionChanged(const QString &caption);
    void statusTextChanged(const QString &text);
    void progressChanged(qint32 progress, qint32 progressMax);
    // A view started a navigation (the progress bar shows) or finished one
    // (it hides).
    void navigationStarted();
    void navigationFinished();
    // The selected tab's page asked to be printed (window.print()).
    void printRequested();
    // A tab was appended, closed (hidden, its view kept), or shown in front.
    void tabOpened(int index);
    void tabClosed(int index);
    void tabShown(int index);
    // A tab is about to come to the front (its page may need waking first).
    void tabAboutToShow(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    PageView *loadView();
    int indexOf(QObject *view) const;
    void TabStrip1_MouseDown(Qt::MouseButton button, const QPoint &globalPos);

    PageViewFactory m_factory;
    QTabBar *TabStrip1 = nullptr;
    QPushButton *cmdClose = nullptr;
    QWidget *m_viewArea = nullptr;
    QPointer<QMenu> mnuTab;
    QVector<PageView *> Web;

    bool NewWindowLinkPending = false;
    QString LastLinkAddress;
};
