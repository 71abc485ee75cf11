// The shared printer and the one print job the engine runs at a time.
#include "web/PagePrinter.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPageRanges>
#include <QPointer>
#include <QPrinter>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

QPrinter *g_printer = nullptr;
// The view whose page is being printed; it clears itself if the view goes
// before the engine reports back.
QPointer<QWebEngineView> g_printing;

void deletePrinter()
{
    delete g_printer;
    g_printer = nullptr;
}

// A PDF printer, or any printer told to print to a file.
bool writesFile(const QPrinter *printer)
{
    return printer->outputFormat() == QPrinter::PdfFormat || !printer->outputFileName().isEmpty();
}

// The engine writes the file itself, text as text, on the printer's paper
// and margins and in its page range.
void printToFile(QWebEngineView *view, QPrinter *printer, const std::function<void(bool)> &done)
{
    const QString path = printer->outputFileName();
    const QPageRanges ranges =
        printer->printRange() == QPrinter::PageRange ? printer->pageRanges() : QPageRanges();
    QWebEnginePage *page = view->page();
    auto *finish = new QObject(view);
    auto end = [finish, done](bool ok) {
        finish->deleteLater();
        g_printing = nullptr;
        if (done)
            done(ok);
    };
    QObject::connect(page, &QWebEnginePage::pdfPrintingFinished, finish,
                     [end, path](const QString &file, bool ok) {
                         if (file == path)
                             end(ok);
                     });
    if (path.isEmpty()) {
        // Nowhere to write: fail as the engine does, once this call is over.
        QMetaObject::invokeMethod(
            finish, [end] { end(false); }, Qt::QueuedConnection);
        return;
    }
    page->printToPdf(path, printer->pageLayout(), ranges);
}

} // namespace

QPrinter *PagePrinter::printer()
{
    if (!g_printer) {
        g_printer = new QPrinter(QPrinter::ScreenResolution);
        qAddPostRoutine(deletePrinter);
    }
    return g_printer;
}

bool PagePrinter::isBusy()
{
    return !g_printing.isNull();
}

void PagePrinter::prepare(QPrinter *printer)
{
    printer->setResolution(printer->outputFormat() == QPrinter::PdfFormat ? PdfResolution
                                                                          : PaperResolution);
}

bool PagePrinter::start(QWebEngineView *view, QPrinter *printer,
                        const std::function<void(bool)> &done)
{
    if (isBusy() || !view)
        return false;
    g_printing = view;
    if (writesFile(printer)) {
        printToFile(view, printer, done);
        return true;
    }
    QObject::connect(
        view, &QWebEngineView::printFinished, view,
        [done](bool ok) {
            g_printing = nullptr;
            if (done)
                done(ok);
        },
        Qt::SingleShotConnection);
    view->print(printer);
    return true;
}

bool PagePrinter::printAndWait(QWebEngineView *view, QPrinter *printer)
{
    if (isBusy() || !view)
        return false;
    g_printing = view;
    QEventLoop loop;
    bool finished = false;
    bool result = false;
    QObject::connect(view, &QWebEngineView::printFinished, &loop, [&](bool ok) {
        finished = true;
        result = ok;
        loop.quit();
    });
    QObject::connect(view, &QObject::destroyed, &loop, [&] {
        finished = true;
        loop.quit();
    });
    view->print(printer);
    // The engine may answer before the loop runs (a refused job).
    if (!finished)
        loop.exec();
    g_printing = nullptr;
    return result;
}
