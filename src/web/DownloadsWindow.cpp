// The downloads window: its rows, Clear, Close and Esc.
#include "web/DownloadsWindow.h"

#include "web/DownloadRow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>

DownloadsWindow::DownloadsWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("DownloadsWindow"));
    setWindowTitle(tr("Downloads"));
    // Left open, it does not keep the program running once the main window closes.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(560, 420);

    auto *layout = new QVBoxLayout(this);
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("downloadList"));
    scroll->setWidgetResizable(true);
    scroll->setFocusPolicy(Qt::NoFocus);
    auto *inner = new QWidget(scroll);
    m_rows = new QVBoxLayout(inner);
    auto *empty = new QLabel(tr("Files you download are listed here."), inner);
    empty->setObjectName(QStringLiteral("downloadsEmpty"));
    m_rows->addWidget(empty);
    m_rows->addStretch(1);
    scroll->setWidget(inner);
    layout->addWidget(scroll);

    auto *buttons = new QHBoxLayout;
    m_clear = new QPushButton(tr("C&lear"), this);
    m_clear->setObjectName(QStringLiteral("downloadClearButton"));
    m_clear->setToolTip(tr("Take the finished downloads off the list"));
    auto *close = new QPushButton(tr("Close"), this);
    close->setObjectName(QStringLiteral("downloadsCloseButton"));
    buttons->addWidget(m_clear);
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(m_clear, &QPushButton::clicked, this, &DownloadsWindow::clearFinished);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void DownloadsWindow::addRow(DownloadRow *row, bool newest)
{
    findChild<QLabel *>(QStringLiteral("downloadsEmpty"))->hide();
    // The stretch stays last, under the oldest row.
    m_rows->insertWidget(newest ? 1 : m_rows->count() - 1, row);
}

QList<DownloadRow *> DownloadsWindow::rows() const
{
    QList<DownloadRow *> all;
    for (int i = 0; i < m_rows->count(); ++i)
        if (auto *row = qobject_cast<DownloadRow *>(m_rows->itemAt(i)->widget()))
            all.append(row);
    return all;
}

void DownloadsWindow::bringUp()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void DownloadsWindow::showEvent(QShowEvent *event)
{
    // Files of finished downloads may have been moved or deleted meanwhile.
    for (DownloadRow *row : rows())
        row->refresh();
    QWidget::showEvent(event);
}

void DownloadsWindow::clearFinished()
{
    for (DownloadRow *row : rows())
        if (row->isFinished())
            delete row;
    findChild<QLabel *>(QStringLiteral("downloadsEmpty"))->setVisible(rows().isEmpty());
    emit cleared();
}
