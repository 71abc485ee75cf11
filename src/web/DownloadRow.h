// One row of the downloads list: a download of this run (name, progress bar,
// amounts, speed and time left, state, and the buttons that act on it) or a
// finished download of an earlier run (name, folder, size, date; greyed when
// its file is gone).
#pragma once

#include "store/DownloadList.h"
#include "web/DownloadItem.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

class DownloadRow : public QWidget
{
    Q_OBJECT
public:
    DownloadRow(DownloadItem *item, QWidget *parent);
    DownloadRow(const DownloadList::Entry &entry, QWidget *parent);

    DownloadItem *item() const { return m_item; }
    // Completed, cancelled, failed for good, or of an earlier run.
    bool isFinished() const;
    // Shows again what the item or the stored entry holds now.
    void refresh();

private:
    void build();
    QString filePath() const;

    QPointer<DownloadItem> m_item;
    DownloadList::Entry m_entry; // an earlier run's download
    QLabel *m_name = nullptr;
    QLabel *m_state = nullptr;
    QLabel *m_details = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_pause = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_retry = nullptr;
    QPushButton *m_open = nullptr;
    QPushButton *m_folder = nullptr;
};
