// The page commands of the File menu on the real engine with loopback pages:
// printing to a PDF file (pages, paper, the page's words), page setup kept
// for the next print, the page's own window.print(), print preview, the
// refusals without a page or while printing and the failures told, save as in each format,
// and the properties of a page. Every dialog runs through the prompts.
#include "TestWindow.h"

#include "web/PageCommands.h"
#include "web/PagePrinter.h"
#include "web/PagePropertiesDialog.h"

#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QtTest>

class TestPageCommands : public QObject, protected TestWindow
{
    Q_OBJECT

    QString file(const QString &name) const { return sandbox->root() + '/' + name; }
    // Plays a user who prints to the file path, or sets up a landscape page,
    // or looks at the preview and counts its pages.
    void answerPrintDialogs(const QString &path, int *previewed = nullptr)
    {
        prompts->printDialogAnswer = [path, previewed](QDialog *dialog, QPrinter *printer) {
            if (auto *preview = dialog->findChild<QPrintPreviewWidget *>()) {
                preview->updatePreview();
                return (*previewed = preview->pageCount()) < 0;
            }
            if (dialog->inherits("QPageSetupDialog"))
                printer->setPageOrientation(QPageLayout::Landscape);
            else
                printer->setOutputFileName(path);
            return true;
        };
    }
    // The pages of the PDF file at path once it is complete, each "landscape"
    // or "portrait".
    QStringList pdfPages(const QString &path) const
    {
        const auto done = [&] {
            return sandbox->readFile("../" + path).trimmed().endsWith("%%EOF");
        };
        const QString pdf = QTest::qWaitFor(done, 30000) ? sandbox->readFile("../" + path) : "";
        static const QRegularExpression box(R"(/MediaBox \[\s*\S+ \S+ (\S+) (\S+)\s*\])");
        QStringList pages;
        for (const auto &size : box.globalMatch(pdf))
            pages << (size.captured(1).toDouble() > size.captured(2).toDouble() ? "landscape"
                                                                                : "portrait");
        return pages;
    }

private slots:
    void initTestCase()
    {
        const QByteArray words = QByteArray("PRINTED TEXT ").repeated(25);
        server.setPage("/text.html", page("text", "<p style='font-size:40px'>" + words +
                                                      "Marker42<img src='/p.gif'>"));
        server.setReply("/p.gif", {"GIF89a", "image/gif", 200, {}});
        server.setPage("/blank.html", page("blank"));
        server.setPage("/long.html", page("long", "<div style='height:2500px'>tall</div>"));
        server.setPage("/huge.html", page("huge", "<div style='height:40000px'>tall</div>"));
        server.setReply("/latin.html",
                        {page("latin", "caf\xe9"), "text/html; charset=iso-8859-1", 200, {}});
    }
    void init()
    {
        openSandbox();
        PagePrinter::printer()->setPageOrientation(QPageLayout::Portrait); // as a new run has it
    }
    void cleanup()
    {
        QTRY_VERIFY_WITH_TIMEOUT(!window || !PagePrinter::isBusy(), 30000);
        closeAll();
    }

    void printing_data()
    {
        // The page; how it is printed: File > Print..., after Page Setup..., by
        // the page's own window.print(), or in Print Preview...; the pages.
        columns<QString, QString, QString>();
        row("one page", "/text.html", "print", "portrait");
        row("three pages", "/long.html", "print", "portrait portrait portrait");
        row("page set up landscape", "/text.html", "Page_Setup", "landscape");
        row("window.print()", "/text.html", "script", "portrait");
        row("preview, one page", "/text.html", "PrPr", "1");
        row("preview, three pages", "/long.html", "PrPr", "3");
    }
    void printing()
    {
        const auto [path, how, pages] = fetch<QString, QString, QString>();
        startAt(path);
        int previewed = -1;
        answerPrintDialogs(file("out.pdf"), &previewed);
        QVERIFY(how != "Page_Setup" || chooseMenuItem("Page_Setup"));
        if (how == "script")
            engineView(0)->enginePage()->runJavaScript("window.print()");
        else
            QVERIFY(chooseMenuItem(how == "PrPr" ? "PrPr" : "print"));
        QCOMPARE(how == "PrPr" ? QString::number(previewed) : pdfPages("out.pdf").join(' '), pages);
        if (how != "PrPr") { // and the paper shows the page's words
            QProcess text;
            text.start("pdftotext", {file("out.pdf"), "-"});
            QVERIFY(text.waitForFinished(30000));
            QVERIFY(
                text.readAllStandardOutput().contains(path == "/text.html" ? "Marker42" : "tall"));
        }
        QCOMPARE(asked(), how == "Page_Setup" ? "print print" : "print");
    }

    void refusalsAndFailuresAreTold_data()
    {
        // What is in the way, the command, what the user is asked in turn.
        columns<QString, QString, QString>();
        row("no page: Save as...", "blank tab", "save_as", "message");
        row("no page: Print...", "blank tab", "print", "message");
        row("printing: Print...", "printing", "print", "print message");
        row("printing: Page Setup...", "printing", "Page_Setup", "print message");
        row("print, no such folder", "app/Hpage.dat/x.pdf", "print", "print message");
        row("print, no file chosen", "", "print", "print save");
        row("save as, no such folder", "app/Hpage.dat/x.html", "save_as", "save message");
    }
    void refusalsAndFailuresAreTold()
    {
        const auto [obstacle, command, questions] = fetch<QString, QString, QString>();
        startAt(obstacle == "printing" ? "/huge.html" : "/text.html");
        if (obstacle == "blank tab")
            press("newww");
        // The print dialog may leave a folder as its file, as Qt's own one can.
        answerPrintDialogs(obstacle.isEmpty() ? sandbox->root() : file(obstacle));
        prompts->saveAnswers << file(obstacle.isEmpty() ? "asked.pdf" : obstacle);
        QVERIFY(obstacle != "printing" || chooseMenuItem("print")); // a long page, still printing
        QVERIFY(chooseMenuItem(command));
        QTRY_COMPARE_WITH_TIMEOUT(asked(), questions, 30000);
        QVERIFY(!obstacle.isEmpty() || pdfPages("asked.pdf").size() == 1);
        QVERIFY(!window->findChild<PagePropertiesDialog *>());
    }

    void saveAsWritesEachFormat_data()
    {
        // The type chosen, the name given, the file written, a mark only that
        // format writes, whether the page's picture is saved beside it.
        columns<int, QString, QString, QByteArray, bool>();
        row("complete", 0, "complete.html", "complete.html", QByteArray("<html"), true);
        row("single file", 1, "single.mhtml", "single.mhtml", QByteArray("MIME-Version"), false);
        row("HTML only", 2, "only.html", "only.html", QByteArray("<html"), false);
        row("single file, no suffix", 1, "bare", "bare.mhtml", QByteArray("MIME-Version"), false);
    }
    void saveAsWritesEachFormat()
    {
        const auto [type, name, written, mark, picture] =
            fetch<int, QString, QString, QByteArray, bool>();
        startAt("/text.html");
        prompts->saveAnswers << file(name);
        prompts->saveFilterAnswers << PageCommands::SaveFilters.at(type);
        key(Qt::Key_S, Qt::ControlModifier);
        QTRY_VERIFY(sandbox->readFile("../" + written).contains("Marker42"));
        QVERIFY(sandbox->readFile("../" + written).contains(mark));
        QCOMPARE(prompts->saveFilters.size(), 3);
        QVERIFY(prompts->asked[0].text.endsWith("/text.html"));
        QCOMPARE(QDir(sandbox->root()).entryList({"*_files"}, QDir::Dirs).size(), int(picture));
        QCOMPARE(asked(), QString("save"));
    }

    void propertiesTellWhatThePageIs_data()
    {
        columns<QString, QString>(); // the page, its encoding
        row("utf-8", "/text.html", "UTF-8");
        row("latin-1", "/latin.html", "windows-1252");
    }
    void propertiesTellWhatThePageIs()
    {
        const auto [path, encoding] = fetch<QString, QString>();
        startAt(path);
        QVERIFY(chooseMenuItem("PrP"));
        QPointer<PagePropertiesDialog> dialog = window->findChild<PagePropertiesDialog *>();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->field("lblTitle"), window->selectedView()->LocationName());
        QCOMPARE(dialog->field("lblAddress"), server.address(path));
        QTRY_COMPARE(dialog->field("lblType") + ' ' + dialog->field("lblEncoding"),
                     "text/html " + encoding);
        UserInput::click(dialog->findChild<QPushButton *>("cmdOK"));
        QTRY_VERIFY(dialog.isNull());
    }
};

QTEST_MAIN(TestPageCommands)
#include "tst_pagecommands.moc"
