// The report window on documents made here: toolbar, load, save, copy, context menu, print,
// PDF export, the resize rule and the single instance.

#include "gui/app/AppContext.h"
#include "gui/app/Prompts.h"
#include "gui/rain/IdfPlot.h"
#include "gui/report/FrmViewReport.h"

#include "core/Error.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolBar>
#include <QtTest>

using namespace pluvane;
using namespace pluvane::gui;

namespace {

// A report-shaped document: a title, the project block, a table whose rows sit under their
// headings, a closing notice. `rows` body rows make it as long as a test needs.
RichDocument sampleReport(int rows = 3) {
    RichTextWriter w;
    w.setSize(24);
    w.setBold(true);
    w.append("  Pluvane");
    w.setSize(11);
    w.append("  Version 1.1 Beta\r\r\n");
    w.setSize(12);
    w.setBold(false);
    w.append("\r\n");
    w.setIndents(300, 200);
    w.setTabStops({4000});
    w.setBold(true);
    w.append("Project Name:");
    w.setBold(false);
    w.append("\tWillow Creek\r\n");
    w.setSize(10);
    w.setBold(true);
    w.setUnderline(true);
    w.setTabStops({1500, 2700, 3900});
    w.append("Name\tArea\tSlope\tTc\t\r\n");
    w.setBold(false);
    w.setUnderline(false);
    for (int i = 1; i <= rows; ++i)
        w.append(QString("Basin %1\t2.5\t0.02\t13.88\r\n").arg(i).toStdString());
    w.setSize(8);
    w.setColor({0, 0, 255});
    w.append("It's the engineer's responsibility to check the results of this software\r\r");
    return w.take();
}

// The document's paragraphs joined by line ends: what a view holding one block per paragraph shows.
QString text(const RichDocument& document) {
    QStringList paragraphs;
    for (const Paragraph& p : document.paragraphs)
        paragraphs << QString::fromStdString(p.text());
    return paragraphs.join('\n');
}

int pageObjects(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression page(R"(/Type\s*/Page(?![s\w]))");
    return static_cast<int>(QString::fromLatin1(file.readAll()).count(page));
}

QString pdfText(const QString& path) {
    QProcess process;
    process.start("pdftotext", {"-layout", path, "-"});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A run's context: prompts that answer from queues, and the window's single-instance slot.
struct Fixture {
    RecordingPrompts prompts;
    AppContext ctx{Workspace{}, prompts};
    QPointer<FrmViewReport> window;
    int builds = 0;

    FrmViewReport* open(const RichDocument& document = sampleReport()) {
        window = ShowReportWindow(ctx, [&] {
            ++builds;
            return document;
        });
        return window;
    }
    ~Fixture() { delete window.data(); }
};

QAction* toolbarAction(FrmViewReport* window, int position) {
    return window->findChild<QToolBar*>("Toolbar1")->actions().at(position - 1);
}

void typeAtStart(QTextEdit* view, const QString& typed) {
    QTextCursor cursor = view->textCursor();
    cursor.movePosition(QTextCursor::Start);
    view->setTextCursor(cursor);
    QTest::keyClicks(view, typed);
}

} // namespace

class TstReportWindow : public QObject {
    Q_OBJECT
private slots:
    void toolbarHasSixPositionsThenExportPdf() {
        Fixture f;
        FrmViewReport* window = f.open();
        auto* toolbar = window->findChild<QToolBar*>("Toolbar1");
        QVERIFY(toolbar);
        const QList<QAction*> actions = toolbar->actions();
        QCOMPARE(actions.size(), 8);
        QVERIFY(actions[0]->isSeparator());
        QVERIFY(actions[4]->isSeparator());
        const QStringList tips{"Save As...",   "Print",      "Copy to Clipboard",
                               "Close Report", "Export PDF", "Print Preview"};
        const QList<QAction*> buttons{actions[1], actions[2], actions[3],
                                      actions[5], actions[6], actions[7]};
        for (int i = 0; i < buttons.size(); ++i) {
            QCOMPARE(buttons[i]->toolTip(), tips[i]);
            QVERIFY2(!buttons[i]->icon().isNull(), qPrintable(tips[i]));
        }
    }

    void theIdfCurvesToolComesAfterTheOthersAndShowsTheSolvesTable() {
        Fixture f;
        FrmViewReport* window = f.open();
        IdfCurvesSource source{"Lake Houston", {}, 42.5};
        for (std::size_t r = 0; r < source.grid.size(); ++r)
            source.grid[r].fill(std::to_string(10 * (10 - r)));
        window->setIdfSource(source);
        window->setIdfSource(source); // a second source adds no second tool

        const QList<QAction*> actions = window->findChild<QToolBar*>("Toolbar1")->actions();
        QCOMPARE(actions.size(), 9);
        QVERIFY(actions[0]->isSeparator());
        QVERIFY(actions[4]->isSeparator());
        const QStringList tips{"Save As...", "Print",         "Copy to Clipboard", "Close Report",
                               "Export PDF", "Print Preview", "IDF Curves"};
        const QList<QAction*> buttons{actions[1], actions[2], actions[3], actions[5],
                                      actions[6], actions[7], actions[8]};
        for (int i = 0; i < buttons.size(); ++i)
            QCOMPARE(buttons[i]->toolTip(), tips[i]);
        QVERIFY(!actions[8]->icon().isNull());

        actions[8]->trigger();
        QPointer<FrmIdfCurves> curves = window->idfCurvesWindow();
        QVERIFY(curves && curves->isVisible());
        QCOMPARE(curves->windowTitle(), QStringLiteral("IDF Curves - Lake Houston"));
        QCOMPARE(curves->plot()->markedTc(), std::optional<double>(42.5));
        QCOMPARE(curves->plot()->curves().size(), std::size_t(7));
        QCOMPARE(curves->plot()->curves()[0].points[1].intensity, 90.0);
        QCOMPARE(curves->plot()->curves()[6].points[9].intensity, 10.0);
        actions[8]->trigger();
        QCOMPARE(window->idfCurvesWindow(), curves.data());

        // The plot belongs to this report: it goes with it.
        window->close();
        QTRY_VERIFY(curves.isNull());
    }

    void loadsTheReportMaximizedWithTheCaretAtTheStart() {
        Fixture f;
        QWidget main;
        QPixmap picture(16, 16);
        picture.fill(Qt::red);
        main.setWindowIcon(QIcon(picture));
        f.ctx.setMainWindow(&main);
        const RichDocument report = sampleReport();
        FrmViewReport* window = f.open(report);
        QVERIFY(QTest::qWaitForWindowExposed(window));

        QCOMPARE(window->windowTitle(), QStringLiteral("Report"));
        QCOMPARE(window->windowIcon().cacheKey(), main.windowIcon().cacheKey());
        QVERIFY(window->isMaximized());
        QCOMPARE(window->windowModality(), Qt::NonModal);
        auto* view = window->findChild<QTextEdit*>("RtbReport");
        QVERIFY(view && !view->isReadOnly());
        QCOMPARE(view->toPlainText(), text(report));
        QCOMPARE(view->textCursor().position(), 0);
        QVERIFY(!view->textCursor().hasSelection());
        QVERIFY(!view->document()->isUndoAvailable());

        // Keys go to the document, the tab key included.
        QTest::keyClick(view, Qt::Key_Tab);
        QVERIFY(view->toPlainText().startsWith("\t  Pluvane"));
        QVERIFY(view->hasFocus());
    }

    void saveAsWritesRtfWithTheEditsWhereChosen() {
        Fixture f;
        QTemporaryDir dir;
        const QString path = dir.filePath("report"); // typed without an extension: ".rtf" is added
        f.prompts.fileNames = {path};
        FrmViewReport* window = f.open();
        typeAtStart(window->view(), "Checked by C.D. ");

        toolbarAction(window, 2)->trigger();

        QCOMPARE(f.prompts.shown.size(), std::size_t{0});
        QVERIFY(!QFile::exists(path));
        const QByteArray rtf = readAll(path + ".rtf");
        QVERIFY(rtf.startsWith("{\\rtf1"));
        QVERIFY(rtf.contains("Checked by C.D."));
        QVERIFY(rtf.contains("Willow Creek"));
        QVERIFY(rtf.contains("Basin 3"));
        QVERIFY(rtf.contains("\\tx1500"));
        QVERIFY(rtf.contains("\\li300"));
    }

    void ctrlSSavesCtrlPPrintsAndCtrlCCopiesTheSelection() {
        Fixture f;
        QTemporaryDir dir;
        const QString path = dir.filePath("keyed.rtf");
        f.prompts.fileNames = {path};
        FrmViewReport* window = f.open();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window->view(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(readAll(path).startsWith("{\\rtf1"));
        bool asked = false;
        window->setPrinterSetup([&](QPrinter&, QWidget*) {
            asked = true;
            return false;
        });
        QTest::keyClick(window->view(), Qt::Key_P, Qt::ControlModifier);
        QVERIFY(asked);
        QTextCursor cursor(window->view()->document());
        cursor.movePosition(QTextCursor::NextWord, QTextCursor::KeepAnchor);
        window->view()->setTextCursor(cursor);
        QGuiApplication::clipboard()->setText("stale");
        QTest::keyClick(window->view(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text().trimmed(), cursor.selectedText().trimmed());
        QVERIFY(QGuiApplication::clipboard()->text() != "stale");
        QCOMPARE(window->findChild<QAction*>("TbSaveAs")->shortcut(), QKeySequence("Ctrl+S"));
        QCOMPARE(window->findChild<QAction*>("MnuPopCopy")->shortcut(), QKeySequence("Ctrl+C"));
        QCOMPARE(f.prompts.shown.size(), std::size_t{0});
    }

    void saveAsCancelledDoesNothing() {
        Fixture f;
        QTemporaryDir dir;
        FrmViewReport* window = f.open();
        window->saveAs(); // no file name queued: the dialog was cancelled
        QCOMPARE(f.prompts.shown.size(), std::size_t{0});
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 0);
    }

    void saveAsThatFailsTellsTheUser() {
        Fixture f;
        QTemporaryDir dir;
        const QString path = dir.filePath("missing-folder/report.rtf");
        f.prompts.fileNames = {path};
        FrmViewReport* window = f.open();
        window->saveAs();
        QCOMPARE(f.prompts.shown.size(), std::size_t{1});
        QCOMPARE(f.prompts.shown[0].title, QStringLiteral("Error"));
        QVERIFY2(f.prompts.shown[0].text.contains("not saved"),
                 qPrintable(f.prompts.shown[0].text));
        QVERIFY(!QFile::exists(path));
    }

    void everyWriterRefusesTheFilesItWasNotAskedToReplace() {
        // The rainfall database under a link, the open project by name: Save As, Export PDF and
        // Print to file each refuse it before writing and leave it byte for byte.
        Fixture f;
        QTemporaryDir dir;
        const QString rain = dir.filePath("intensity.mdb");
        const QString project = dir.filePath("site.rmt");
        for (const QString& path : {rain, project}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray("SQLite format 3") + '\0' + QByteArray(100, 'x'));
        }
        const QString link = dir.filePath("report.rtf");
        QVERIFY(QFile::link(rain, link));
        f.ctx.workspace().DataFolder = dir.path().toStdString();
        f.ctx.workspace().ProjectPath = project.toStdString();
        FrmViewReport* window = f.open();
        const QByteArray before = readAll(rain);

        f.prompts.fileNames = {link};
        window->saveAs();
        f.prompts.fileNames = {project};
        window->exportPdf();
        window->setPrinterSetup([&](QPrinter& printer, QWidget*) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(link);
            return true;
        });
        window->print();

        QCOMPARE(f.prompts.shown.size(), std::size_t{3});
        for (const auto& shown : f.prompts.shown)
            QVERIFY2(shown.text.contains("Nothing was written"), qPrintable(shown.text));
        QCOMPARE(readAll(rain), before);
        QVERIFY(readAll(project).startsWith("SQLite format 3"));
    }

    void copyToClipboardPlacesRichAndPlainTextAndLeavesNoSelection() {
        Fixture f;
        FrmViewReport* window = f.open();
        QTextEdit* view = window->view();
        QTextCursor cursor = view->textCursor();
        cursor.setPosition(5);
        cursor.setPosition(12, QTextCursor::KeepAnchor);
        view->setTextCursor(cursor); // a selection of the user's, which the command replaces

        toolbarAction(window, 4)->trigger();

        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        QVERIFY(copied);
        QCOMPARE(copied->text(), view->toPlainText());
        QVERIFY(copied->text().contains("Basin 2\t2.5\t0.02\t13.88"));
        QVERIFY(copied->hasHtml());
        QVERIFY(copied->html().contains("Willow Creek"));
        const QByteArray rtf = copied->data("text/rtf");
        QVERIFY(rtf.startsWith("{\\rtf1"));
        QVERIFY(rtf.contains("\\tx1500") && rtf.contains("Basin 3"));
        QVERIFY(!view->textCursor().hasSelection());
        QCOMPARE(view->textCursor().position(), 0);
        QCOMPARE(f.prompts.shown.size(), std::size_t{0});
    }

    void contextMenuEnablesCopyOnlyWithASelection() {
        Fixture f;
        FrmViewReport* window = f.open();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        auto* menu = window->findChild<QMenu*>("MnuPopReportRClick");
        QVERIFY(menu);
        QCOMPARE(menu->actions().size(), 2);
        QAction* selectAll = menu->actions()[0];
        QAction* copy = menu->actions()[1];
        QCOMPARE(selectAll->objectName(), QStringLiteral("MnuPopSelectAll"));
        QCOMPARE(selectAll->text(), QStringLiteral("Select All"));
        QCOMPARE(copy->objectName(), QStringLiteral("MnuPopCopy"));
        QCOMPARE(copy->text(), QStringLiteral("Copy"));

        QWidget* viewport = window->view()->viewport();
        const auto rightClick = [&] {
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(40, 40),
                                    viewport->mapToGlobal(QPoint(40, 40)));
            QApplication::sendEvent(viewport, &event);
        };
        rightClick();
        QVERIFY(menu->isVisible());
        QVERIFY(!copy->isEnabled());
        menu->hide();

        QGuiApplication::clipboard()->setText("left over");
        selectAll->trigger();
        QCOMPARE(window->view()->textCursor().selectedText().size(),
                 window->view()->document()->characterCount() - 1);
        rightClick();
        QVERIFY(copy->isEnabled());
        menu->hide();
        copy->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), window->view()->toPlainText());

        // Only the selection is copied.
        QTextCursor cursor = window->view()->textCursor();
        cursor.setPosition(2);
        cursor.setPosition(9, QTextCursor::KeepAnchor);
        window->view()->setTextCursor(cursor);
        copy->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Pluvane"));
    }

    void printsEveryPageOfALongReportWithTheEdits() {
        Fixture f;
        QTemporaryDir dir;
        const QString path = dir.filePath("print.pdf");
        FrmViewReport* window = f.open(sampleReport(150));
        int asked = 0;
        window->setPrinterSetup([&](QPrinter& printer, QWidget*) {
            ++asked;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            printer.setPageSize(QPageSize(QPageSize::Letter));
            return true;
        });
        typeAtStart(window->view(), "Reviewed ");

        toolbarAction(window, 3)->trigger();

        QCOMPARE(asked, 1);
        QCOMPARE(f.prompts.shown.size(), std::size_t{0});
        QVERIFY2(pageObjects(path) >= 3, qPrintable(QString::number(pageObjects(path))));
        if (!QStandardPaths::findExecutable("pdftotext").isEmpty()) {
            const QString printed = pdfText(path);
            QVERIFY(printed.contains("Reviewed"));
            QVERIFY(printed.contains("Basin 150"));
        }
    }

    void printCancelledOrFailedIsHandled() {
        Fixture f;
        QTemporaryDir dir;
        FrmViewReport* window = f.open();
        window->setPrinterSetup([](QPrinter&, QWidget*) { return false; });
        window->print();
        QCOMPARE(f.prompts.shown.size(), std::size_t{0});

        const QString nowhere = dir.filePath("missing-folder/print.pdf");
        window->setPrinterSetup([&](QPrinter& printer, QWidget*) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(nowhere);
            return true;
        });
        window->print();
        QCOMPARE(f.prompts.shown.size(), std::size_t{1});
        QVERIFY(f.prompts.shown[0].text.contains("could not be printed"));
    }

    void exportPdfMakesTheSamePagesAsThePrint() {
        Fixture f;
        QTemporaryDir dir;
        const QString printed = dir.filePath("print.pdf");
        const QString exported = dir.filePath("export.pdf");
        FrmViewReport* window = f.open(sampleReport(150));
        window->setPrinterSetup([&](QPrinter& printer, QWidget*) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(printed);
            printer.setPageSize(QPageSize(QPageSize::Letter));
            return true;
        });
        window->print();
        f.prompts.fileNames = {exported};
        toolbarAction(window, 7)->trigger();

        QCOMPARE(f.prompts.shown.size(), std::size_t{0});
        QVERIFY(readAll(exported).startsWith("%PDF-"));
        QVERIFY(pageObjects(exported) >= 3);
        QCOMPARE(pageObjects(exported), pageObjects(printed));
        if (!QStandardPaths::findExecutable("pdftotext").isEmpty())
            QCOMPARE(pdfText(exported), pdfText(printed));

        f.prompts.fileNames = {dir.filePath("missing-folder/export.pdf")};
        window->exportPdf();
        QCOMPARE(f.prompts.shown.size(), std::size_t{1});
        QVERIFY(f.prompts.shown[0].text.contains("missing-folder"));
    }

    void resizeRule_data() {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<qreal>("dpi");
        QTest::addColumn<QSize>("expected");
        const QSize unchanged(123, 45); // the view's size before
        // At 96 dpi 100 twips are 6.67 px (7) and 940 twips 62.67 px (63); 1000 twips are
        // 66.67 px high, 200 twips 13.33 px wide.
        QTest::newRow("ordinary") << QSize(700, 500) << 96.0 << QSize(693, 437);
        QTest::newRow("just high enough") << QSize(700, 67) << 96.0 << QSize(693, 4);
        QTest::newRow("too low") << QSize(700, 66) << 96.0 << unchanged;
        QTest::newRow("just wide enough") << QSize(14, 500) << 96.0 << QSize(7, 437);
        QTest::newRow("too narrow") << QSize(13, 500) << 96.0 << unchanged;
        // At 144 dpi a twip is a tenth of a pixel.
        QTest::newRow("144 dpi") << QSize(1000, 800) << 144.0 << QSize(990, 706);
    }

    void resizeRule() {
        QFETCH(QSize, window);
        QFETCH(qreal, dpi);
        QFETCH(QSize, expected);
        QCOMPARE(FrmViewReport::viewSizeFor(window, QSize(123, 45), dpi, dpi), expected);
    }

    void resizingTheWindowResizesTheView() {
        Fixture f;
        FrmViewReport* window = f.open();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        if (window->logicalDpiX() != 96 || window->logicalDpiY() != 96)
            QSKIP("the screen is not at 96 dpi");
        window->showNormal();
        window->resize(700, 500);
        QTRY_COMPARE(window->size(), QSize(700, 500));
        QCOMPARE(window->view()->size(), QSize(693, 437));
        window->resize(650, 400);
        QCOMPARE(window->view()->size(), QSize(643, 337));
    }

    void secondShowBringsTheSameWindowForwardWithItsEdits() {
        Fixture f;
        FrmViewReport* first = f.open();
        typeAtStart(first->view(), "Edited ");
        first->showMinimized();

        FrmViewReport* second = f.open(sampleReport(9));
        QCOMPARE(second, first);
        QCOMPARE(f.builds, 1); // not rebuilt
        QVERIFY(!second->isMinimized());
        QVERIFY(second->isVisible());
        QVERIFY(second->view()->toPlainText().startsWith("Edited "));
        QVERIFY(!second->view()->toPlainText().contains("Basin 9"));
    }

    void closeReportDeletesTheWindowAndTheNextShowBuildsAnew() {
        Fixture f;
        FrmViewReport* window = f.open();
        typeAtStart(window->view(), "Edited ");
        QPointer<FrmViewReport> closed = window;

        toolbarAction(window, 6)->trigger();
        QTRY_VERIFY(closed.isNull());
        QVERIFY(f.ctx.existing<FrmViewReport>() == nullptr);

        FrmViewReport* again = f.open();
        QVERIFY(again);
        QCOMPARE(f.builds, 2);
        QVERIFY(!again->view()->toPlainText().startsWith("Edited "));
    }

    void aReportThatCannotBeBuiltShowsWhyAndNoWindow() {
        Fixture f;
        FrmViewReport* window = ShowReportWindow(f.ctx, []() -> RichDocument {
            throw Error("The project file \"x.rmt\" has no table TblBasinInfo.");
        });
        QVERIFY(window == nullptr);
        QVERIFY(f.ctx.existing<FrmViewReport>() == nullptr);
        QCOMPARE(f.prompts.shown.size(), std::size_t{1});
        QVERIFY(f.prompts.shown[0].text.contains("could not be built"));
        QVERIFY(f.prompts.shown[0].text.contains("no table TblBasinInfo"));
    }
};

QTEST_MAIN(TstReportWindow)
#include "tst_report_window.moc"
