// Save as, print, page setup, print preview and properties on the engine's page.
#include "web/PageCommands.h"

#include "app/PageView.h"
#include "platform/Prompts.h"
#include "web/BrowserProfile.h"
#include "web/PagePrinter.h"
#include "web/PagePropertiesDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace {

// Where the last page was saved or printed to a file; the next dialog starts there.
QString g_lastFolder;

const QString Title = QStringLiteral("Corvane");

QString startFolder()
{
    if (!g_lastFolder.isEmpty() && QFileInfo(g_lastFolder).isDir())
        return g_lastFolder;
    const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return downloads.isEmpty() ? QDir::homePath() : downloads;
}

// A fresh tab (about:blank), a page process that died, or no address at all.
bool hasPage(const PageView *view)
{
    const QUrl url = view->enginePage()->url();
    return !view->showsCrashNotice() && !url.isEmpty() &&
           url != QUrl(QStringLiteral("about:blank"));
}

// The widget the engine prints the view's page from.
QWebEngineView *printingView(const PageView *view)
{
    return QWebEngineView::forPage(view->enginePage());
}

// While one printer dialog is up only a page script can ask for another
// (window.print() in a loop, say): those requests are dropped.
bool runPrintDialog(QDialog *dialog, QPrinter *printer)
{
    static bool open = false;
    if (open)
        return false;
    open = true;
    const bool accepted = Prompts::PrintDialog(dialog, printer);
    open = false;
    return accepted;
}

QWebEngineDownloadRequest::SavePageFormat formatFor(const QString &filter, const QString &path)
{
    const int kind = PageCommands::SaveFilters.indexOf(filter);
    if (kind == 1)
        return QWebEngineDownloadRequest::MimeHtmlSaveFormat;
    if (kind == 2)
        return QWebEngineDownloadRequest::SingleHtmlSaveFormat;
    if (kind == 0)
        return QWebEngineDownloadRequest::CompleteHtmlSaveFormat;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("mhtml") || suffix == QLatin1String("mht"))
        return QWebEngineDownloadRequest::MimeHtmlSaveFormat;
    return QWebEngineDownloadRequest::CompleteHtmlSaveFormat;
}

// Nothing of ours cancels a page save: the engine does, when it cannot
// write the file (a folder that is gone, say). A page saved complete or as
// HTML only where no file can be made still ends "completed", with nothing
// written: a completed save counts only when its file is there.
bool saveFailed(QWebEngineDownloadRequest::DownloadState state, const QString &path)
{
    return state == QWebEngineDownloadRequest::DownloadInterrupted ||
           state == QWebEngineDownloadRequest::DownloadCancelled ||
           (state == QWebEngineDownloadRequest::DownloadCompleted && !QFileInfo(path).isFile());
}

void reportSaveFailure(const QPointer<QWidget> &parent, const QString &path)
{
    Prompts::MsgBox(
        parent,
        PageCommands::tr("The page could not be saved as %1.").arg(QDir::toNativeSeparators(path)),
        Prompts::Exclamation, Title);
}

// The engine saves in the background and only its download request tells
// how it ended; a failure is reported, success needs no word.
void watchSave(QWidget *window, QWebEnginePage *page, const QString &path)
{
    auto *watch = new QObject(page);
    const QString wanted = QFileInfo(path).absoluteFilePath();
    QPointer<QWidget> parent(window);
    auto onRequest = [watch, wanted, parent](QWebEngineDownloadRequest *download) {
        const QString target =
            QFileInfo(QDir(download->downloadDirectory()), download->downloadFileName())
                .absoluteFilePath();
        if (!download->isSavePageDownload() || target != wanted)
            return;
        watch->deleteLater();
        if (saveFailed(download->state(), wanted)) {
            reportSaveFailure(parent, wanted);
            return;
        }
        QObject::connect(download, &QWebEngineDownloadRequest::stateChanged, download,
                         [parent, wanted](QWebEngineDownloadRequest::DownloadState state) {
                             if (saveFailed(state, wanted))
                                 reportSaveFailure(parent, wanted);
                         });
    };
    QObject::connect(BrowserProfile::profile(), &QWebEngineProfile::downloadRequested, watch,
                     onRequest);
}

// The printer serves one page at a time.
bool refuseWhilePrinting(QWidget *window)
{
    if (!PagePrinter::isBusy())
        return false;
    Prompts::MsgBox(window, PageCommands::BusyMessage, Prompts::Exclamation, Title);
    return true;
}

// Saving, printing and properties all need a page in the tab.
bool refuseWithoutPage(const PageView *view)
{
    if (hasPage(view))
        return false;
    Prompts::MsgBox(view->window(), PageCommands::NoPageMessage, Prompts::Information, Title);
    return true;
}

// Print and Print Preview name the document after the page.
void preparePrinter(QPrinter *printer, const PageView *view)
{
    printer->setDocName(view->LocationName());
    PagePrinter::prepare(printer);
}

} // namespace

const QStringList PageCommands::SaveFilters = {
    QStringLiteral("Web page, complete (*.html *.htm)"),
    QStringLiteral("Web page, single file (MHTML) (*.mhtml *.mht)"),
    QStringLiteral("HTML only (*.html *.htm)"),
};

const QString PageCommands::NoPageMessage =
    QStringLiteral("There is no page in this tab yet. Open a page first.");
const QString PageCommands::BusyMessage =
    QStringLiteral("A page is still being printed. Try again when it has finished.");

bool PageCommands::exec(PageView *view, int command, int option)
{
    Q_UNUSED(option);
    if (!view || !view->enginePage())
        return false;
    switch (command) {
    case PageView::SaveAs:
        return saveAs(view);
    case PageView::Properties:
        return properties(view);
    case PageView::Print:
        return print(view);
    case PageView::PageSetup:
        return pageSetup(view);
    case PageView::PrintPreview:
        return printPreview(view);
    default:
        return false;
    }
}

QString PageCommands::fileNameFor(const QString &title)
{
    QString name = title.simplified();
    for (QChar &c : name) {
        if (c.unicode() < 32 || QStringLiteral("\\/:*?\"<>|").contains(c))
            c = QLatin1Char(' ');
    }
    name = name.simplified().left(100);
    // A leading dot would hide the file; some systems drop trailing ones.
    auto strippable = [](QChar c) { return c == QLatin1Char('.') || c == QLatin1Char(' '); };
    while (!name.isEmpty() && strippable(name.front()))
        name.remove(0, 1);
    while (!name.isEmpty() && strippable(name.back()))
        name.chop(1);
    return name.isEmpty() ? QStringLiteral("page") : name;
}

bool PageCommands::saveAs(PageView *view)
{
    QWidget *window = view->window();
    if (refuseWithoutPage(view))
        return false;
    QString filter = SaveFilters.first();
    const QString suggested =
        QDir(startFolder()).filePath(fileNameFor(view->LocationName()) + QStringLiteral(".html"));
    QString path =
        Prompts::SaveFileName(window, tr("Save Web Page"), suggested, SaveFilters, &filter);
    if (path.isEmpty())
        return true;
    const auto format = formatFor(filter, path);
    if (QFileInfo(path).suffix().isEmpty()) {
        path += format == QWebEngineDownloadRequest::MimeHtmlSaveFormat ? QStringLiteral(".mhtml")
                                                                        : QStringLiteral(".html");
    }
    g_lastFolder = QFileInfo(path).absolutePath();
    QWebEnginePage *page = view->enginePage();
    watchSave(window, page, path);
    page->save(path, format);
    return true;
}

bool PageCommands::properties(PageView *view)
{
    QWidget *window = view->window();
    if (refuseWithoutPage(view))
        return false;
    auto *dialog =
        new PagePropertiesDialog(view->LocationName(), view->enginePage()->url(), window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // It describes the page as it is now: the window waits until it is closed.
    dialog->setWindowModality(Qt::WindowModal);
    dialog->queryDocument(view->enginePage());
    dialog->show();
    return true;
}

bool PageCommands::print(PageView *view)
{
    QWidget *window = view->window();
    if (refuseWhilePrinting(window) || refuseWithoutPage(view))
        return false;
    QPrinter *printer = PagePrinter::printer();
    {
        QPrintDialog dialog(printer, window);
        if (!runPrintDialog(&dialog, printer))
            return true;
    }
    if (printer->outputFormat() == QPrinter::PdfFormat) {
        // The dialog may leave a folder, or nothing, as the file to print to.
        const QString chosen = printer->outputFileName();
        if (chosen.isEmpty() || QFileInfo(chosen).isDir()) {
            const QString suggested =
                QDir(startFolder())
                    .filePath(fileNameFor(view->LocationName()) + QStringLiteral(".pdf"));
            const QString path = Prompts::SaveFileName(window, tr("Print to File"), suggested,
                                                       {tr("PDF files (*.pdf)")});
            if (path.isEmpty())
                return true;
            printer->setOutputFileName(path);
        }
        g_lastFolder = QFileInfo(printer->outputFileName()).absolutePath();
    }
    preparePrinter(printer, view);
    QPointer<QWidget> parent(window);
    const QString target = printer->outputFormat() == QPrinter::PdfFormat
                               ? QDir::toNativeSeparators(printer->outputFileName())
                               : printer->printerName();
    return PagePrinter::start(printingView(view), printer, [parent, target](bool ok) {
        if (!ok) {
            Prompts::MsgBox(parent, tr("The page could not be printed to %1.").arg(target),
                            Prompts::Exclamation, Title);
        }
    });
}

bool PageCommands::pageSetup(PageView *view)
{
    QWidget *window = view->window();
    if (refuseWhilePrinting(window))
        return false;
    QPrinter *printer = PagePrinter::printer();
    // Accepting writes the chosen paper, orientation and margins into the
    // printer, where the next Print and Print Preview find them.
    QPageSetupDialog dialog(printer, window);
    runPrintDialog(&dialog, printer);
    return true;
}

bool PageCommands::printPreview(PageView *view)
{
    QWidget *window = view->window();
    if (refuseWhilePrinting(window) || refuseWithoutPage(view))
        return false;
    QPrinter *printer = PagePrinter::printer();
    preparePrinter(printer, view);
    QPrintPreviewDialog dialog(printer, window);
    QPointer<QWebEngineView> engine(printingView(view));
    QPointer<QWidget> parent(window);
    // The preview wants its pages before the request returns, so wait for
    // the engine here.
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [engine, parent](QPrinter *target) {
                         if (!engine || !PagePrinter::printAndWait(engine, target)) {
                             Prompts::MsgBox(parent, tr("The page could not be printed."),
                                             Prompts::Exclamation, Title);
                         }
                     });
    runPrintDialog(&dialog, printer);
    return true;
}
