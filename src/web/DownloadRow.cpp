// A row of the downloads list and its buttons.
#include "web/DownloadRow.h"

#include "web/DownloadItem.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>

DownloadRow::DownloadRow(DownloadItem *item, QWidget *parent) : QWidget(parent), m_item(item)
{
    build();
    connect(item, &DownloadItem::changed, this, &DownloadRow::refresh);
    connect(m_pause, &QPushButton::clicked, item, [item] {
        item->state() == DownloadItem::State::Paused ? item->resume() : item->pause();
    });
    connect(m_cancel, &QPushButton::clicked, item, &DownloadItem::cancel);
    connect(m_retry, &QPushButton::clicked, item, &DownloadItem::resume);
    refresh();
}

DownloadRow::DownloadRow(const DownloadList::Entry &entry, QWidget *parent)
    : QWidget(parent), m_entry(entry)
{
    build();
    refresh();
}

void DownloadRow::build()
{
    setObjectName(QStringLiteral("downloadRow"));
    auto *grid = new QGridLayout(this);
    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("downloadName"));
    m_name->setTextFormat(Qt::PlainText);
    QFont bold = m_name->font();
    bold.setBold(true);
    m_name->setFont(bold);
    m_state = new QLabel(this);
    m_state->setObjectName(QStringLiteral("downloadState"));
    m_state->setTextFormat(Qt::PlainText);
    m_state->setWordWrap(true);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("downloadProgress"));
    m_progress->setTextVisible(false);
    m_details = new QLabel(this);
    m_details->setObjectName(QStringLiteral("downloadDetails"));
    m_details->setTextFormat(Qt::PlainText);
    grid->addWidget(m_name, 0, 0);
    grid->addWidget(m_state, 0, 1, Qt::AlignRight);
    grid->addWidget(m_progress, 1, 0, 1, 2);
    grid->addWidget(m_details, 2, 0, 1, 2);

    auto *buttons = new QHBoxLayout;
    grid->addLayout(buttons, 3, 0, 1, 2);
    const auto add = [&](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    m_pause = add("downloadPauseButton", tr("Pause"));
    m_cancel = add("downloadCancelButton", tr("Cancel"));
    m_retry = add("downloadRetryButton", tr("Retry"));
    m_open = add("downloadOpenButton", tr("Open"));
    m_folder = add("downloadFolderButton", tr("Show in Folder"));
    buttons->addStretch(1);
    connect(m_open, &QPushButton::clicked, this,
            [this] { QDesktopServices::openUrl(QUrl::fromLocalFile(filePath())); });
    connect(m_folder, &QPushButton::clicked, this, [this] {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(filePath()).absolutePath()));
    });
}

QString DownloadRow::filePath() const
{
    return m_item ? m_item->path() : m_entry.path();
}

bool DownloadRow::isFinished() const
{
    return !m_item || m_item->isFinished();
}

void DownloadRow::refresh()
{
    const bool exists = QFileInfo(filePath()).isFile();
    if (!m_item) {
        // An earlier run's download: what was kept of it.
        m_name->setText(m_entry.name);
        const QString size =
            m_entry.size < 0
                ? tr("size unknown")
                : QLocale().formattedDataSize(m_entry.size, 1, QLocale::DataSizeTraditionalFormat);
        m_details->setText(
            tr("%1, %2, %3")
                .arg(QDir::toNativeSeparators(m_entry.folder), size,
                     QLocale().toString(m_entry.finished.toLocalTime(), QLocale::ShortFormat)));
        m_state->setText(exists ? tr("Completed") : tr("Moved or deleted"));
        for (QWidget *w : std::initializer_list<QWidget *>{m_name, m_details, m_state})
            w->setEnabled(exists);
        m_progress->hide();
        m_pause->hide();
        m_cancel->hide();
        m_retry->hide();
        m_open->setEnabled(exists);
        m_folder->setEnabled(QFileInfo(m_entry.folder).isDir());
        return;
    }
    using State = DownloadItem::State;
    const State state = m_item->state();
    m_name->setText(m_item->name());
    m_state->setText(m_item->stateText());
    m_details->setText(m_item->detailText());
    m_progress->setVisible(m_item->isActive() || m_item->canRetry());
    if (m_item->totalBytes() > 0) {
        m_progress->setRange(0, 1000);
        m_progress->setValue(int(m_item->receivedBytes() * 1000 / m_item->totalBytes()));
    } else {
        m_progress->setRange(0, 0); // size unknown: the bar only shows it is busy
    }
    m_pause->setVisible(m_item->isActive());
    m_pause->setText(state == State::Paused ? tr("Resume") : tr("Pause"));
    m_cancel->setVisible(m_item->isActive() || m_item->canRetry());
    m_retry->setVisible(m_item->canRetry());
    m_open->setVisible(state == State::Completed);
    m_folder->setVisible(state == State::Completed);
    m_open->setEnabled(exists);
    m_folder->setEnabled(exists);
    m_name->setEnabled(state != State::Completed || exists);
}
