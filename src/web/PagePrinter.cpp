// The shared printer and the one print job the engine runs at a time.
#include "web/PagePrinter.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QPrinter>
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
