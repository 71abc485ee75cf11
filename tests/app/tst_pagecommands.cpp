// The page commands on the real engine with loopback pages: save as in the
// three formats, properties, print to a PDF file, page setup carried into the
// next print, print preview, and the refusals while printing or without a page.
#include "LoopbackServer.h"
#include "ScriptedPrompts.h"
#include "TestSandbox.h"
#include "app/frmWeb.h"
#include "store/Module1.h"
#include "web/BrowserProfile.h"
#include "web/PageCommands.h"
#include "web/PagePrinter.h"
#include "web/PagePropertiesDialog.h"
#include "web/WebEnginePageView.h"

#include <QAction>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <QtTest>

namespace {

QByteArray page(const QByteArray &title, const QByteArray &body = QByteArray())
{
    return "<html><head><title>" + title + "</title></head><body>" + body + "</body></html>";
}

// What a PDF file holds: its pages' media boxes and its text.
struct PdfProbe
{
    QByteArray bytes;
    QList<QRectF> mediaBoxes;
    QString text;

    explicit PdfProbe(const QString &path)
    {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            bytes = file.readAll();
        static const QRegularExpression box(
            R"(/MediaBox \[\s*([\d.]+) ([\d.]+) ([\d.]+) ([\d.]+)\s*\])");
        for (auto m = box.globalMatch(QString::fromLatin1(bytes)); m.hasNext();) {
            const auto hit = m.next();
            mediaBoxes << QRectF(QPointF(hit.captured(1).toDouble(), hit.captured(2).toDouble()),
                                 QPointF(hit.captured(3).toDouble(), hit.captured(4).toDouble()));
        }
        QProcess pdftotext; // from poppler-utils (scripts/setup-deps.sh)
        pdftotext.start("pdftotext", {path, "-"});
        if (pdftotext.waitForFinished(20000))
            text = QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
    }

    bool isPdf() const { return bytes.startsWith("%PDF-"); }
    int pageCount() const { return int(mediaBoxes.size()); }
};

// Records the type list of the save dialog too.
class SavePrompts : public ScriptedPrompts
{
public:
    QStringList filters;
    QString initialFilter;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &suggestedPath,
                         const QStringList &filterList, QString *selectedFilter) override
    {
        filters = filterList;
        initialFilter = selectedFilter ? *selectedFilter : QString();
        return ScriptedPrompts::saveFileName(parent, caption, suggestedPath, filterList,
                                             selectedFilter);
    }
};

} // namespace

class TestPageCommands : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSandbox> sandbox;
    std::unique_ptr<SavePrompts> prompts;
    LoopbackServer server;
    std::unique_ptr<frmWeb> window;
    QStringList dialogsRun; // class names of the print dialogs answered

    WebEnginePageView *engineView(int i = 0) const
    {
        return qobject_cast<WebEnginePageView *>(window->views().at(i));
    }
    QWebEngineView *engine(int i = 0) const { return engineView(i)->engineView(); }
    void startAt(const QString &path)
    {
        sandbox->writeFile("Hpage.dat", "\"" + server.address(path).toUtf8() + "\"\r\n");
        window = std::make_unique<frmWeb>();
        window->Form_Load();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    bool waitForTitle(const QString &title)
    {
        return QTest::qWaitFor([&] { return window->windowTitle() == "Corvane - " + title; },
                               10000);
    }
    void trigger(const char *name)
    {
        QAction *a = window->action(QString::fromLatin1(name));
        QVERIFY2(a && a->isEnabled(), name);
        a->trigger();
    }
    // Answers the print dialog as a user choosing a PDF file (and pages
    // from..to, when given) would.
    void printTo(const QString &pdf, int from = 0, int to = 0)
    {
        prompts->printDialogAnswer = [this, pdf, from, to](QDialog *dialog, QPrinter *printer) {
            dialogsRun << QString::fromLatin1(dialog->metaObject()->className());
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdf);
            printer->setPrintRange(from ? QPrinter::PageRange : QPrinter::AllPages);
            printer->setFromTo(from, to);
            return true;
        };
    }
    // Prints the selected page through File > Print... and waits for the engine.
    bool printSelectedPage(const QString &pdf, int from = 0, int to = 0)
    {
        printTo(pdf, from, to);
        QSignalSpy finished(engine(window->selectedIndex()), &QWebEngineView::pdfPrintingFinished);
        window->action("print")->trigger();
        if (!finished.wait(20000))
            return false;
        return finished.first().at(1).toBool();
    }
    QString outFile(const QString &name) const { return QDir(sandbox->root()).filePath(name); }

private slots:
    void initTestCase()
    {
        sandbox = std::make_unique<TestSandbox>();
        server.setPage("/text.html",
                       page("Text Page", "<h1 style='font-size:80px'>PRINTED TEXT MARKER</h1>"
                                         "<p>SavedMarker42</p><img src='/pic.png'>"));
        server.setPage("/blank.html", page("Blank Page"));
        server.setPage("/long.html",
                       page("Long Page", "<div style='height:2500px'>tall</div><p>end</p>"));
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::red);
        picture.save(&buffer, "PNG");
        LoopbackServer::Reply pic;
        pic.body = png;
        pic.contentType = "image/png";
        server.setReply("/pic.png", pic);
        server.setPage("/script.html", page("Script Print", "<p>asks to be printed</p>"));
        LoopbackServer::Reply latin;
        latin.body = page("Latin Page", "<p>caf\xe9</p>");
        latin.contentType = "text/html; charset=iso-8859-1";
        server.setReply("/latin.html", latin);
    }
    void init()
    {
        Module1::reset();
        dialogsRun.clear();
        prompts = std::make_unique<SavePrompts>();
        // Every test starts from a fresh portrait A4 page.
        QPrinter *printer = PagePrinter::printer();
        printer->setPageSize(QPageSize(QPageSize::A4));
        printer->setPageOrientation(QPageLayout::Portrait);
    }
    void cleanup()
    {
        prompts->printDialogAnswer = {};
        QTRY_VERIFY_WITH_TIMEOUT(!PagePrinter::isBusy(), 20000);
        window.reset();
        prompts.reset();
        QFile::remove(sandbox->filePath("WebHis.dat"));
        QFile::remove(sandbox->filePath("Hpage.dat"));
    }
    void cleanupTestCase() { sandbox.reset(); }

    // ------------------------------------------------------------ printing

    void printWritesThePageAsTextToAPdfFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("text");
        QTest::newRow("blank") << "/blank.html"
                               << "Blank Page" << 0 << 0 << 1 << "";
        QTest::newRow("text") << "/text.html"
                              << "Text Page" << 0 << 0 << 1 << "PRINTED TEXT MARKER SavedMarker42";
        QTest::newRow("pages 2-3 of 3") << "/long.html"
                                        << "Long Page" << 2 << 3 << 2 << "end";
    }
    void printWritesThePageAsTextToAPdfFile()
    {
        QFETCH(QString, path);
        QFETCH(QString, title);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, pages);
        QFETCH(QString, text);
        startAt(path);
        QVERIFY(waitForTitle(title));
        QVERIFY(printSelectedPage(outFile("printed.pdf"), from, to));
        QCOMPARE(dialogsRun, QStringList{"QPrintDialog"});
        QVERIFY(prompts->asked.isEmpty());
        const PdfProbe pdf(outFile("printed.pdf"));
        QVERIFY(pdf.isPdf());
        QCOMPARE(pdf.pageCount(), pages);
        QCOMPARE(pdf.text, text);
    }

    void printAsksForAFileWhenTheDialogLeftNone()
    {
        startAt("/text.html");
        QVERIFY(waitForTitle("Text Page"));
        // The dialog leaves a folder as the output, as Qt's own one may.
        prompts->printDialogAnswer = [this](QDialog *, QPrinter *printer) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(sandbox->root());
            return true;
        };
        prompts->saveAnswers << outFile("asked.pdf");
        QSignalSpy finished(engine(), &QWebEngineView::pdfPrintingFinished);
        trigger("print");
        QVERIFY(finished.wait(20000));
        QCOMPARE(prompts->asked.size(), 1);
        QCOMPARE(prompts->asked[0].kind, QString("save"));
        QCOMPARE(prompts->asked[0].title, QString("Print to File"));
        QVERIFY(prompts->asked[0].text.endsWith("/Text Page.pdf"));
        QVERIFY(PdfProbe(outFile("asked.pdf")).isPdf());
    }

    void printFailureIsReported()
    {
        startAt("/text.html");
        QVERIFY(waitForTitle("Text Page"));
        const QString unwritable = outFile("no-such-folder/x.pdf");
        printTo(unwritable);
        QSignalSpy finished(engine(), &QWebEngineView::pdfPrintingFinished);
        trigger("print");
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.first().at(1).toBool(), false);
        QCOMPARE(prompts->asked.size(), 1);
        QCOMPARE(prompts->asked[0].text, "The page could not be printed to " + unwritable + ".");
        QCOMPARE(prompts->asked[0].style, int(Prompts::Exclamation));
    }

    void pagesOwnPrintRequestRunsPrint()
    {
        startAt("/script.html");
        QVERIFY(waitForTitle("Script Print"));
        printTo(outFile("script.pdf"));
        QSignalSpy finished(engine(), &QWebEngineView::pdfPrintingFinished);
        engine()->page()->runJavaScript("window.print()");
        QVERIFY(finished.wait(20000));
        QCOMPARE(dialogsRun, QStringList{"QPrintDialog"});
        QCOMPARE(PdfProbe(outFile("script.pdf")).pageCount(), 1);
    }

    void pageSetupIsKeptForTheNextPrint()
    {
        startAt("/text.html");
        QVERIFY(waitForTitle("Text Page"));
        prompts->printDialogAnswer = [this](QDialog *dialog, QPrinter *printer) {
            dialogsRun << QString::fromLatin1(dialog->metaObject()->className());
            printer->setPageOrientation(QPageLayout::Landscape);
            return true;
        };
        trigger("Page_Setup");
        QCOMPARE(dialogsRun, QStringList{"QPageSetupDialog"});
        QVERIFY(prompts->asked.isEmpty());

        QVERIFY(printSelectedPage(outFile("landscape.pdf")));
        const PdfProbe pdf(outFile("landscape.pdf"));
        QVERIFY(pdf.pageCount() >= 1);
        QVERIFY2(
            pdf.mediaBoxes[0].width() > pdf.mediaBoxes[0].height(),
            qPrintable(
                QString("%1 x %2").arg(pdf.mediaBoxes[0].width()).arg(pdf.mediaBoxes[0].height())));
    }

    void cancelledPageSetupChangesNothing()
    {
        startAt("/text.html");
        QVERIFY(waitForTitle("Text Page"));
        prompts->printDialogAnswer = [](QDialog *, QPrinter *) { return false; };
        trigger("Page_Setup");
        QCOMPARE(PagePrinter::printer()->pageLayout().orientation(), QPageLayout::Portrait);
        QVERIFY(prompts->asked.isEmpty());
    }

    void printPreviewRendersTheRealPage_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("pages");
        QTest::newRow("one page") << "/text.html"
                                  << "Text Page" << 1;
        QTest::newRow("three pages") << "/long.html"
                                     << "Long Page" << 3;
    }
    void printPreviewRendersTheRealPage()
    {
        QFETCH(QString, path);
        QFETCH(QString, title);
        QFETCH(int, pages);
        startAt(path);
        QVERIFY(waitForTitle(title));
        int rendered = -1;
        prompts->printDialogAnswer = [&](QDialog *dialog, QPrinter *) {
            dialogsRun << QString::fromLatin1(dialog->metaObject()->className());
            auto *preview = dialog->findChild<QPrintPreviewWidget *>();
            if (!preview)
                return false;
            preview->updatePreview();
            rendered = preview->pageCount();
            return false;
        };
        trigger("PrPr");
        QCOMPARE(dialogsRun, QStringList{"QPrintPreviewDialog"});
        QCOMPARE(rendered, pages);
        QVERIFY(prompts->asked.isEmpty());
        QVERIFY(!PagePrinter::isBusy());
    }

    void commandsWaitWhileAPageIsPrinting()
    {
        startAt("/text.html");
        QVERIFY(waitForTitle("Text Page"));
        printTo(outFile("first.pdf"));
        QSignalSpy finished(engine(), &QWebEngineView::pdfPrintingFinished);
        trigger("print");
        QVERIFY(PagePrinter::isBusy());
        trigger("print");
        trigger("PrPr");
        trigger("Page_Setup");
        QCOMPARE(dialogsRun, QStringList{"QPrintDialog"});
        QCOMPARE(prompts->asked.size(), 3);
        for (const auto &asked : prompts->asked) {
            QCOMPARE(asked.text, PageCommands::BusyMessage);
            QCOMPARE(asked.style, int(Prompts::Exclamation));
            QCOMPARE(asked.title, QString("Corvane"));
        }
        QVERIFY(finished.wait(20000));
        QVERIFY(!PagePrinter::isBusy());
        QVERIFY(printSelectedPage(outFile("second.pdf")));
    }

    void noSecondPrinterDialogOverTheFirst()
    {
        startAt("/text.html");
        QVERIFY(waitForTitle("Text Page"));
        prompts->printDialogAnswer = [this](QDialog *dialog, QPrinter *) {
            dialogsRun << QString::fromLatin1(dialog->metaObject()->className());
            // What a page calling window.print() again would do meanwhile.
            emit engine()->printRequested();
            return false;
        };
        trigger("print");
        QCOMPARE(dialogsRun, QStringList{"QPrintDialog"});
        QVERIFY(prompts->asked.isEmpty());
    }

    void commandsWithoutAPageSayWhy_data()
    {
        QTest::addColumn<QString>("item");
        QTest::newRow("save_as") << "save_as";
        QTest::newRow("PrP") << "PrP";
        QTest::newRow("print") << "print";
        QTest::newRow("PrPr") << "PrPr";
    }
    void commandsWithoutAPageSayWhy()
    {
        QFETCH(QString, item);
        startAt("/text.html");
        QVERIFY(waitForTitle("Text Page"));
        window->newww_Click(); // a fresh tab shows about:blank
        QTRY_COMPARE(window->selectedView()->LocationURL(), QString("about:blank"));
        printTo(outFile("never.pdf"));
        trigger(qPrintable(item));
        QVERIFY(dialogsRun.isEmpty());
        QCOMPARE(prompts->asked.size(), 1);
        QCOMPARE(prompts->asked[0].kind, QString("message"));
        QCOMPARE(prompts->asked[0].text, PageCommands::NoPageMessage);
        QCOMPARE(prompts->asked[0].style, int(Prompts::Information));
        QVERIFY(!window->findChild<PagePropertiesDialog *>());
    }

    // ------------------------------------------------------------ save as

    void saveAsWritesEachFormat_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QByteArray>("mark"); // something only this format writes
        QTest::addColumn<bool>("resources");  // the picture saved beside it
        QTest::newRow("complete") << 0 << "complete.html"
                                  << "complete.html" << QByteArray("<html") << true;
        QTest::newRow("mhtml") << 1 << "single.mhtml"
                               << "single.mhtml" << QByteArray("MIME-Version") << false;
        QTest::newRow("html only") << 2 << "only.html"
                                   << "only.html" << QByteArray("<html") << false;
        QTest::newRow("mhtml, no suffix") << 1 << "bare"
                                          << "bare.mhtml" << QByteArray("MIME-Version") << false;
    }
    void saveAsWritesEachFormat()
    {
        QFETCH(int, filter);
        QFETCH(QString, answer);
        QFETCH(QString, written);
        QFETCH(QByteArray, mark);
        QFETCH(bool, resources);
        startAt("/text.html");
        QVERIFY(waitForTitle("Text Page"));
        QPointer<QWebEngineDownloadRequest> download;
        QObject scope; // the connection must not outlive this function's locals
        connect(BrowserProfile::profile(), &QWebEngineProfile::downloadRequested, &scope,
                [&](QWebEngineDownloadRequest *d) { download = d; });
        const QString folder = QDir(sandbox->root()).filePath(QTest::currentDataTag());
        QVERIFY(QDir().mkpath(folder));
        prompts->saveAnswers << QDir(folder).filePath(answer);
        prompts->saveFilterAnswers << PageCommands::SaveFilters.at(filter);
        trigger("save_as");

        QCOMPARE(prompts->asked.size(), 1);
        QCOMPARE(prompts->asked[0].kind, QString("save"));
        QCOMPARE(prompts->asked[0].title, QString("Save Web Page"));
        QVERIFY(prompts->asked[0].text.endsWith("/Text Page.html"));
        QCOMPARE(prompts->filters.size(), 3);
        QVERIFY(prompts->filters[0].startsWith("Web page, complete ("));
        QVERIFY(prompts->filters[1].startsWith("Web page, single file (MHTML) ("));
        QVERIFY(prompts->filters[2].startsWith("HTML only ("));
        QCOMPARE(prompts->initialFilter, prompts->filters[0]);

        QTRY_VERIFY_WITH_TIMEOUT(download, 10000);
        QVERIFY(download->isSavePageDownload());
        QTRY_COMPARE_WITH_TIMEOUT(download->state(), QWebEngineDownloadRequest::DownloadCompleted,
                                  10000);
        QFile file(QDir(folder).filePath(written));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.contains("SavedMarker42"));
        QVERIFY(bytes.contains(mark));
        const QStringList beside = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(!beside.isEmpty(), resources);
        if (resources) {
            QVERIFY(QFileInfo::exists(QDir(folder).filePath(beside.first() + "/pic.png")));
        }
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 1);
        QCOMPARE(prompts->asked.size(), 1); // no failure reported
    }

    void saveFailureIsReported()
    {
        startAt("/text.html");
        QVERIFY(waitForTitle("Text Page"));
        const QString target = outFile("gone/page.mhtml");
        prompts->saveAnswers << target;
        prompts->saveFilterAnswers << PageCommands::SaveFilters.at(1);
        trigger("save_as");
        QTRY_COMPARE_WITH_TIMEOUT(prompts->asked.size(), 2, 10000);
        QCOMPARE(prompts->asked[1].kind, QString("message"));
        QCOMPARE(prompts->asked[1].text, "The page could not be saved as " + target + ".");
        QCOMPARE(prompts->asked[1].style, int(Prompts::Exclamation));
        QVERIFY(!QFileInfo::exists(target));
    }

    // ------------------------------------------------------------ properties

    void propertiesShowWhatThePageIs_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("encoding");
        QTest::newRow("utf-8") << "/text.html"
                               << "Text Page"
                               << "UTF-8";
        QTest::newRow("latin-1") << "/latin.html"
                                 << "Latin Page"
                                 << "windows-1252";
    }
    void propertiesShowWhatThePageIs()
    {
        QFETCH(QString, path);
        QFETCH(QString, title);
        QFETCH(QString, encoding);
        startAt(path);
        QVERIFY(waitForTitle(title));
        trigger("PrP");
        QPointer<PagePropertiesDialog> dialog = window->findChild<PagePropertiesDialog *>();
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowModality(), Qt::WindowModal);
        QCOMPARE(dialog->field("lblTitle"), title);
        QCOMPARE(dialog->field("lblAddress"), server.address(path));
        QCOMPARE(dialog->field("lblProtocol"), QString("HyperText Transfer Protocol (HTTP)"));
        QVERIFY(dialog->field("lblSecurity").startsWith("Not encrypted"));
        QTRY_COMPARE_WITH_TIMEOUT(dialog->field("lblType"), QString("text/html"), 10000);
        QCOMPARE(dialog->field("lblEncoding"), encoding);
        QVERIFY(dialog->field("lblSize").endsWith(" bytes"));
        QVERIFY(prompts->asked.isEmpty());

        QTest::mouseClick(dialog->findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
        QTRY_VERIFY(dialog.isNull());
    }
};

QTEST_MAIN(TestPageCommands)
#include "tst_pagecommands.moc"
