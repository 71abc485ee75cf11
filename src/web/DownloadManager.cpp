// Downloads: where to save each file, the downloads list, the status panel,
// the downloads file, and what happens to downloads when the program ends.
#include "web/DownloadManager.h"

#include "store/PrivateMode.h"

#include "platform/Prompts.h"
#include "store/AppPaths.h"
#include "store/SettingsWriter.h"
#include "web/BrowserProfile.h"
#include "web/DownloadItem.h"
#include "web/DownloadRow.h"
#include "web/DownloadsWindow.h"
#include "web/Engine.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWidget>

namespace {
const QString kLastFolderKey = QStringLiteral("Downloads/LastFolder");
const QString kTitle = QStringLiteral("Corvane");

bool usableFolder(const QString &folder)
{
    return !folder.isEmpty() && QFileInfo(folder).isDir() && AppPaths::isWritableFolder(folder);
}
} // namespace

DownloadManager::DownloadManager(QWidget *window)
    : QObject(window), m_window(window), m_list(new DownloadsWindow(window))
{
    Engine::whenStarted(this, [this] {
        connect(BrowserProfile::profile(), &QWebEngineProfile::downloadRequested, this,
                &DownloadManager::handle);
    });
    connect(m_list, &DownloadsWindow::cleared, this, &DownloadManager::forgetFinished);
    window->installEventFilter(this);
    m_finished = DownloadList::load();
    for (const DownloadList::Entry &entry : std::as_const(m_finished))
        m_list->addRow(new DownloadRow(entry, m_list), false);
}

DownloadManager::~DownloadManager()
{
    // The window's status panel may be gone already.
    blockSignals(true);
    cancelAll();
}

QString DownloadManager::progressText(const QString &fileName, qint64 received, qint64 total)
{
    if (total > 0)
        return tr("Downloading %1: %2%").arg(fileName).arg(received * 100 / total);
    return tr("Downloading %1: %2 KB").arg(fileName).arg(received / 1024);
}

QString DownloadManager::startFolder()
{
    const QString last = AppPaths::openSettings()->value(kLastFolderKey).toString();
    if (usableFolder(last))
        return last;
    const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (!downloads.isEmpty())
        QDir().mkpath(downloads);
    return usableFolder(downloads) ? downloads : QDir::homePath();
}

int DownloadManager::activeCount() const
{
    int count = 0;
    for (const auto &item : m_items)
        count += item && item->isActive();
    return count;
}

void DownloadManager::cancelAll()
{
    for (const auto &item : std::as_const(m_items))
        if (item && item->state() != DownloadItem::State::Completed)
            item->cancel();
}

bool DownloadManager::isTargetOfActive(const QString &path) const
{
    for (const auto &item : m_items)
        if (item && !item->isFinished() && QFileInfo(item->path()) == QFileInfo(path))
            return true;
    return false;
}

QString DownloadManager::choosePath(const QString &suggestedName)
{
    QString suggested = QDir(startFolder()).filePath(suggestedName);
    for (;;) {
        const QString path = Prompts::SaveTarget(m_window, tr("Save File"), suggested);
        if (path.isEmpty())
            return {};
        suggested = path;
        const QFileInfo target(path);
        const QString shown = QDir::toNativeSeparators(target.absoluteFilePath());
        QString refusal;
        if (target.fileName().isEmpty() || target.isDir())
            refusal = tr("%1 is a folder. Choose a file name.").arg(shown);
        else if (!usableFolder(target.absolutePath()))
            refusal = tr("Files cannot be saved in %1. Choose another folder.")
                          .arg(QDir::toNativeSeparators(target.absolutePath()));
        else if (isTargetOfActive(path))
            refusal = tr("%1 is being downloaded already. Choose another name.").arg(shown);
        if (!refusal.isEmpty()) {
            Prompts::MsgBox(m_window, refusal, Prompts::Exclamation, kTitle);
            continue;
        }
        if (target.exists() &&
            Prompts::MsgBox(m_window, tr("%1 already exists. Replace it?").arg(shown),
                            Prompts::YesNo | Prompts::Exclamation, kTitle) != Prompts::Yes)
            continue;
        return target.absoluteFilePath();
    }
}

void DownloadManager::handle(QWebEngineDownloadRequest *download)
{
    // "Save as" of a whole page arrives here already accepted.
    if (download->isSavePageDownload() ||
        download->state() != QWebEngineDownloadRequest::DownloadRequested)
        return;
    for (const auto &item : std::as_const(m_items))
        if (item && item->adopt(download))
            return;
    const QString path = choosePath(download->downloadFileName());
    if (path.isEmpty()) {
        download->cancel();
        emit statusText(tr("Download cancelled: %1").arg(download->downloadFileName()));
        return;
    }
    const QFileInfo target(path);
    if (!PrivateMode::isOn()) { // a private browser remembers no folder
        auto settings = SettingsWriter::open();
        settings->setValue(kLastFolderKey, target.absolutePath());
        settings->sync();
    }
    download->setDownloadDirectory(target.absolutePath());
    download->setDownloadFileName(target.fileName());
    download->accept();
    track(new DownloadItem(download, this));
}

void DownloadManager::track(DownloadItem *item)
{
    m_items.append(item);
    m_list->addRow(new DownloadRow(item, m_list));
    m_list->bringUp();
    const QString name = item->name();
    connect(item, &DownloadItem::changed, this, [this, item, name] {
        switch (item->state()) {
        case DownloadItem::State::Running:
        case DownloadItem::State::Paused:
            emit statusText(progressText(name, item->receivedBytes(), item->totalBytes()));
            break;
        case DownloadItem::State::Completed:
            emit statusText(tr("Download complete: %1").arg(name));
            break;
        case DownloadItem::State::Cancelled:
            emit statusText(tr("Download cancelled: %1").arg(name));
            break;
        case DownloadItem::State::Failed:
            emit statusText(tr("Download failed: %1").arg(name));
            break;
        }
    });
    connect(item, &DownloadItem::completed, this, [this, item] { record(item); });
}

void DownloadManager::record(const DownloadItem *item)
{
    DownloadList::Entry entry;
    entry.name = item->name();
    entry.folder = item->folder();
    entry.size = QFileInfo(item->path()).size();
    entry.finished = QDateTime::currentDateTimeUtc();
    m_finished.prepend(entry);
    m_finished.resize(std::min<qsizetype>(m_finished.size(), DownloadList::Limit));
    if (!DownloadList::save(m_finished))
        emit statusText(tr("The list of downloads could not be saved in %1")
                            .arg(QDir::toNativeSeparators(DownloadList::filePath())));
}

void DownloadManager::forgetFinished()
{
    // Every stored download is a finished row, and Clear took them all.
    m_finished.clear();
    DownloadList::save(m_finished);
    for (auto &item : m_items) {
        if (item && item->isFinished())
            delete item.data();
    }
    m_items.removeAll(nullptr);
}

bool DownloadManager::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Close) {
        const int active = activeCount();
        if (active > 0) {
            const QString text =
                active == 1 ? tr("1 download is still running. Quit anyway?")
                            : tr("%1 downloads are still running. Quit anyway?").arg(active);
            if (Prompts::MsgBox(m_window, text, Prompts::YesNo | Prompts::Question, kTitle) !=
                Prompts::Yes) {
                event->ignore();
                return true;
            }
            cancelAll();
        }
    }
    return QObject::eventFilter(watched, event);
}
