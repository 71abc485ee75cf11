// The program's one printer and its one print job. Print..., Page Setup...
// and Print Preview... share the printer, so the page set up once is the page
// every later print uses; the engine prints one page at a time into it.
#pragma once

#include <functional>

class QPrinter;
class QWebEngineView;

class PagePrinter
{
public:
    // Created on first use; lives until the application object goes.
    static QPrinter *printer();

    // True while a page is being printed (or rendered for a preview).
    static bool isBusy();

    // Starts printing the view's page; done(ok) runs when the engine has
    // finished. False, and nothing started, while another job runs. A
    // printer that writes a file (PDF format, or an output file name) has
    // the engine write the PDF, keeping the text; paper gets page pictures.
    static bool start(QWebEngineView *view, QPrinter *printer,
                      const std::function<void(bool)> &done);

    // Prints and waits for the engine in a local event loop, for callers that
    // need the pages before they return (the preview's paint request).
    static bool printAndWait(QWebEngineView *view, QPrinter *printer);

    // The resolution the engine rasterises pages at: enough for paper on a
    // real printer, screen resolution for a PDF file (a few hundred KB
    // instead of megabytes, and far faster).
    static void prepare(QPrinter *printer);
    static constexpr int PdfResolution = 96;
    static constexpr int PaperResolution = 300;
};
