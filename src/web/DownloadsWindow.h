// The downloads list (Ctrl+J): a window of its own with one row per
// download, newest first, and Clear, which takes away the finished rows.
// Esc closes it; everything in it is reached with Tab.
#pragma once

#include <QWidget>

class DownloadRow;
class QPushButton;
class QVBoxLayout;

class DownloadsWindow : public QWidget
{
    Q_OBJECT
public:
    explicit DownloadsWindow(QWidget *parent);

    // Puts row at the top (the newest) or at the bottom (an older one).
    void addRow(DownloadRow *row, bool newest = true);
    QList<DownloadRow *> rows() const;
    // Shows the window in front, its newest row's first button focused.
    void bringUp();

signals:
    // The finished rows were taken away (their downloads are forgotten).
    void cleared();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void clearFinished();

    QVBoxLayout *m_rows = nullptr;
    QPushButton *m_clear = nullptr;
};
