// The report on its pages: every value under its own heading in the PDF, the results table
// and each heading with its first row never split by a page break, the running header and the
// page footer, a hanging project value, Print Preview, and the extensions Save As and Export
// PDF add.

#include "../core/WideElements.h"
#include "GuiTestSupport.h"

#include "core/elements/ElementRecords.h"
#include "core/report/ReportBuilder.h"
#include "core/settings/ProjectSettings.h"
#include "gui/app/AppContext.h"
#include "gui/app/Prompts.h"
#include "gui/report/FrmViewReport.h"
#include "gui/report/PrintRichText.h"
#include "gui/report/ReportPdf.h"
#include "gui/report/TextDocumentConversion.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QtTest>

#include <map>

using namespace pluvane;
using namespace pluvane::gui;

namespace {

struct Word {
    int page;
    QRectF box;
    QString text;
};

bool havePoppler() { return !QStandardPaths::findExecutable("pdftotext").isEmpty(); }

// The words of a PDF with their boxes in points, as pdftotext -bbox gives them.
std::vector<Word> pdfWords(const QString& path, int* pages = nullptr) {
    QProcess process;
    process.start("pdftotext", {"-bbox", path, "-"});
    process.waitForFinished(30000);
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression tag(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    std::vector<Word> words;
    int page = -1;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0) == "<page ") {
            ++page;
            continue;
        }
        words.push_back({page,
                         QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())),
                         m.captured(5).replace("&amp;", "&")});
    }
    if (pages)
        *pages = page + 1;
    return words;
}

// The printed lines: words of one page at one height, left to right.
std::vector<std::vector<Word>> pdfLines(const std::vector<Word>& words) {
    std::vector<std::vector<Word>> lines;
    for (const Word& word : words) {
        auto line = std::find_if(lines.begin(), lines.end(), [&](const std::vector<Word>& l) {
            return l.front().page == word.page &&
                   qAbs(l.front().box.bottom() - word.box.bottom()) < 1.0;
        });
        if (line == lines.end())
            lines.push_back({word});
        else
            line->push_back(word);
    }
    for (auto& line : lines)
        std::sort(line.begin(), line.end(),
                  [](const Word& a, const Word& b) { return a.box.left() < b.box.left(); });
    return lines;
}

// A paragraph's cells, each as its words.
std::vector<QStringList> cellWords(const Paragraph& paragraph) {
    std::vector<QStringList> cells;
    for (const QString& cell : QString::fromStdString(paragraph.text()).split('\t'))
        cells.push_back(cell.split(' ', Qt::SkipEmptyParts));
    return cells;
}

// The printed line holding exactly the paragraph's words, or null.
const std::vector<Word>* lineOf(const std::vector<std::vector<Word>>& lines,
                                const Paragraph& paragraph) {
    QStringList expected;
    for (const QStringList& cell : cellWords(paragraph))
        expected += cell;
    for (const auto& line : lines) {
        QStringList texts;
        for (const Word& w : line)
            texts << w.text;
        if (texts == expected)
            return &line;
    }
    return nullptr;
}

void fillWideProject(Workspace& ws) {
    SaveProjectSettings(ws,
                        ProjectFields{"Willow Creek Phase 2", "WC-2026-014", "A. Engineer",
                                      "B. Manager", "2026-12-08"},
                        NodeFields{"Outfall", "Atlanta"}, false);
    pluvane::testdata::InsertWideElements(ws);
}

void fillFullProject(Workspace& ws, int channels = 20) {
    SaveProjectSettings(
        ws, ProjectFields{"Full Site", "FS-20", "A. Engineer", "B. Manager", "2026-12-08"},
        NodeFields{"Outfall", "Atlanta"}, false);
    for (int i = 1; i <= 20; ++i) {
        const std::string n = std::to_string(i);
        InsertBasin(ws, "Basin" + n, 480, 480 * i,
                    {"Lot " + n, "1." + n, "Business", "0.6", "0.01", "80", "Smooth Surfaces",
                     "0.011", "1." + n});
        InsertSurface(ws, "Surface" + n, 600, 480 * i,
                      {"Swale " + n, "0.01", "300", "1.61", "Unpaved", "3." + n});
        if (i <= channels)
            InsertChannel(ws, "Channel" + n, 960, 480 * i,
                          {"Ditch " + n, "4.00", "6.47", "0.005", "60" + n, "Earth", "0.025",
                           "3.05", "0." + n});
    }
}

// The PDF is also left under $PLUVANE_SCREENSHOTS, when set, for a person to look at.
QString writePdf(const QTemporaryDir& dir, const RichDocument& document, const QString& name) {
    const QString path = dir.filePath(name);
    WriteReportPdf(document, path);
    if (const QString folder = qEnvironmentVariable("PLUVANE_SCREENSHOTS"); !folder.isEmpty())
        QFile::copy(path, QDir(folder).filePath(name));
    return path;
}

// Lines "Line 001" ... at 12 points.
RichDocument numberedLines(int lines) {
    RichTextWriter w;
    w.setSize(12);
    for (int i = 1; i <= lines; ++i)
        w.append(QString("Line %1\r\n").arg(i, 3, 10, QChar('0')).toStdString());
    return w.take();
}

} // namespace

class TstReportPages : public QObject {
    Q_OBJECT
private slots:
    void everyPrintedValueStartsUnderItsOwnHeading() {
        if (!havePoppler())
            QSKIP("pdftotext (poppler-utils) is not installed");
        test::TestProject project;
        fillWideProject(project.workspace);
        const RichDocument document = RenderReport(SolveProject(project.workspace));
        QTemporaryDir dir;
        const auto lines = pdfLines(pdfWords(writePdf(dir, document, "wide.pdf")));

        int headings = 0;
        int checkedCells = 0;
        const auto& paragraphs = document.paragraphs;
        for (std::size_t h = 0; h < paragraphs.size(); ++h) {
            const QString text = QString::fromStdString(paragraphs[h].text());
            if (!text.startsWith("Name\t") && !text.startsWith("\t1Yr"))
                continue;
            ++headings;
            const std::vector<Word>* heading = lineOf(lines, paragraphs[h]);
            QVERIFY2(heading, qPrintable(text));
            // The left edge of each heading cell; the first column of the results table has none.
            const std::vector<QStringList> headingCells = cellWords(paragraphs[h]);
            std::vector<qreal> lefts;
            std::size_t at = 0;
            for (const QStringList& cell : headingCells) {
                lefts.push_back(cell.isEmpty() ? -1 : (*heading)[at].box.left());
                at += cell.size();
            }
            for (std::size_t p = h + 1;
                 p < paragraphs.size() && paragraphs[p].tabStops == paragraphs[h].tabStops; ++p) {
                const std::vector<QStringList> cells = cellWords(paragraphs[p]);
                if (cells.size() < 2 ||
                    QString::fromStdString(paragraphs[p].text()).trimmed().isEmpty())
                    continue;
                const std::vector<Word>* row = lineOf(lines, paragraphs[p]);
                QVERIFY2(row, paragraphs[p].text().c_str());
                std::size_t word = 0;
                for (std::size_t k = 0; k < cells.size() && k < lefts.size(); ++k) {
                    qreal next = 1e9; // the next heading cell that has a left edge
                    for (std::size_t j = k + 1; j < lefts.size() && next == 1e9; ++j)
                        if (lefts[j] >= 0)
                            next = lefts[j];
                    for (int i = 0; i < cells[k].size(); ++i, ++word) {
                        const QRectF box = (*row)[word].box;
                        const QString where = QString("%1 of \"%2\": %3..%4, column %5..%6")
                                                  .arg((*row)[word].text,
                                                       QString::fromStdString(paragraphs[p].text()))
                                                  .arg(box.left())
                                                  .arg(box.right())
                                                  .arg(lefts[k])
                                                  .arg(next);
                        QVERIFY2(lefts[k] < 0 || box.left() >= lefts[k] - 0.5, qPrintable(where));
                        QVERIFY2(box.right() < next, qPrintable(where));
                        ++checkedCells;
                    }
                }
            }
        }
        QCOMPARE(headings, 5);
        QVERIFY2(checkedCells > 80, qPrintable(QString::number(checkedCells)));
    }

    void aFullProjectPagesCleanlyWithItsResultsTableWhole() {
        if (!havePoppler())
            QSKIP("pdftotext (poppler-utils) is not installed");
        test::TestProject project;
        fillFullProject(project.workspace);
        const RichDocument document = RenderReport(SolveProject(project.workspace));
        QTemporaryDir dir;
        int pages = 0;
        const std::vector<Word> words = pdfWords(writePdf(dir, document, "full.pdf"), &pages);
        QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));
        const auto pageOf = [&](const QString& text) {
            for (const Word& w : words)
                if (w.text == text)
                    return w.page;
            return -1;
        };
        QVERIFY(pageOf("1Yr") >= 0);
        QCOMPARE(pageOf("I(in/hr)"), pageOf("1Yr"));
        QCOMPARE(pageOf("Q(cfs)"), pageOf("1Yr"));
        // Each heading is on the page of its first row.
        QCOMPARE(pageOf("V(fps)"), pageOf("Swale"));
        QCOMPARE(pageOf("Material"), pageOf("Ditch"));
        // Every page has the running header and "Page N of M" with the date.
        const auto lines = pdfLines(words);
        for (int page = 0; page < pages; ++page) {
            QStringList texts;
            for (const auto& line : lines)
                if (line.front().page == page) {
                    QStringList words;
                    for (const Word& w : line)
                        words << w.text;
                    texts << words.join(' ');
                }
            QVERIFY2(texts.front().startsWith("Full Site") &&
                         texts.front().endsWith("Job Number: FS-20"),
                     qPrintable(texts.front()));
            QVERIFY2(
                texts.back().startsWith(QString("Page %1 of %2 Printed ").arg(page + 1).arg(pages)),
                qPrintable(texts.back()));
        }
    }

    // Wherever the page break falls in the runoff rates, their title, the Tc lines, the formula
    // and the results table are printed on one page: each channel added moves the section a
    // line down the page, over more lines than the section holds.
    void theRunoffRatesStayWithTheirTitleWhereverTheBreakFalls() {
        if (!havePoppler())
            QSKIP("pdftotext (poppler-utils) is not installed");
        test::TestProject project;
        fillFullProject(project.workspace, 0);
        QTemporaryDir dir;
        for (int channels = 1; channels <= 16; ++channels) {
            const std::string n = std::to_string(channels);
            InsertChannel(
                project.workspace, "Channel" + n, 960, 480 * channels,
                {"Ditch " + n, "4.00", "6.47", "0.005", "600", "Earth", "0.025", "3.05", "0.1"});
            const RichDocument document = RenderReport(SolveProject(project.workspace));
            std::map<QString, int> pages;
            for (const Word& w :
                 pdfWords(writePdf(dir, document, QString("runoff-%1.pdf").arg(channels))))
                if (!pages.count(w.text))
                    pages[w.text] = w.page;
            // Words that each appear once in the report: the title, the formula, the table.
            for (const char* word : {"Rate", "Calculations", "Cf", "1Yr", "I(in/hr)", "Q(cfs)"}) {
                QVERIFY2(pages.count(word), word);
                QVERIFY2(pages[word] == pages["Rate"],
                         qPrintable(QString("%1 channels: \"%2\" on page %3, the title on page %4")
                                        .arg(channels)
                                        .arg(word)
                                        .arg(pages[word] + 1)
                                        .arg(pages["Rate"] + 1)));
            }
        }
    }

    void aParagraphKeptWithTheNextGoesOverWithIt() {
        if (!havePoppler())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir dir;
        RichDocument document = numberedLines(80);
        int pages = 0;
        const auto firstOfPage2 = [&](const RichDocument& d, const QString& name) {
            QTextDocument text;
            ToTextDocument(d, text);
            const QString path = dir.filePath(name);
            {
                QPdfWriter writer(path);
                writer.setPageSize(QPageSize(QPageSize::Letter));
                PrintRichText(text, writer, PageMargins{});
            }
            for (const Word& w : pdfWords(path, &pages))
                if (w.page == 1 && w.text != "Line")
                    return w.text.toInt();
            return -1;
        };
        const int first = firstOfPage2(document, "plain.pdf");
        QVERIFY(first > 10);
        document.paragraphs[first - 2].keepWithNext = true; // the last line of page 1
        QCOMPARE(firstOfPage2(document, "kept.pdf"), first - 1);
        for (int line = first - 6; line < first - 1;
             ++line) // a chain of kept lines goes over whole
            document.paragraphs[line - 1].keepWithNext = true;
        QCOMPARE(firstOfPage2(document, "chain.pdf"), first - 6);
    }

    void aLongProjectValueWrapsUnderItsColumn() {
        RichTextWriter w;
        w.setIndents(300, 200);
        w.setTabStops({4000});
        w.setHangingIndent(4000);
        w.setSize(12);
        w.append("Project Name:\tA long project name that wraps onto a second line here\r\n");
        QTextDocument text;
        ToTextDocument(w.take(), text);
        text.setDocumentMargin(0);
        text.setTextWidth(TwipsToLayoutUnits(7000));
        QVERIFY(text.size().height() > 0);
        const QTextLayout* layout = text.firstBlock().layout();
        QVERIFY(layout->lineCount() >= 2);
        const QTextLine first = layout->lineAt(0);
        const QTextLine second = layout->lineAt(1);
        QVERIFY(qAbs(first.cursorToX(0) - TwipsToLayoutUnits(300)) < 0.01);
        QVERIFY2(qAbs(first.cursorToX(14) - TwipsToLayoutUnits(4000)) < 0.05,
                 qPrintable(
                     QString("%1 not %2").arg(first.cursorToX(14)).arg(TwipsToLayoutUnits(4000))));
        QVERIFY(qAbs(second.cursorToX(second.textStart()) - TwipsToLayoutUnits(4000)) < 0.05);
        // And back: the model's hanging indent and stop.
        const RichDocument back = FromTextDocument(text);
        QCOMPARE(back.paragraphs[0].leftIndent, 300);
        QCOMPARE(back.paragraphs[0].hangingIndent, 4000);
        QCOMPARE(back.paragraphs[0].tabStops, std::vector<int>{4000});
    }

    void printPreviewShowsThePagesOnLetter() {
        RecordingPrompts prompts;
        AppContext ctx{Workspace{}, prompts};
        RichDocument document = numberedLines(120);
        document.furniture = PageFurniture{true, "Willow Creek", "Job Number: 7"};
        QPointer<FrmViewReport> window = ShowReportWindow(ctx, [&] { return document; });
        QVERIFY(window);
        int pages = 0;
        QPageSize::PageSizeId size = QPageSize::A4;
        window->setPreviewShown([&](QPrintPreviewDialog& dialog) {
            auto* preview = dialog.findChild<QPrintPreviewWidget*>();
            QVERIFY(preview);
            preview->updatePreview();
            pages = preview->pageCount();
            size = dialog.printer()->pageLayout().pageSize().id();
        });
        window->findChild<QAction*>("TbPrintPreview")->trigger();
        QCOMPARE(pages, 3);
        QCOMPARE(size, QPageSize::Letter);
        QCOMPARE(prompts.shown.size(), std::size_t{0});

        // Saved, the report keeps its page header; copied, a piece of it does not bring one.
        QTemporaryDir dir;
        prompts.fileNames = {dir.filePath("report.rtf")};
        window->saveAs();
        QFile saved(dir.filePath("report.rtf"));
        QVERIFY(saved.open(QIODevice::ReadOnly) &&
                saved.readAll().contains(
                    "{\\header\\pard\\plain\\tqr\\tx10080\\fs18 Willow Creek\\tab Job Number: 7"));
        window->copyToClipboard();
        const QByteArray copied = QGuiApplication::clipboard()->mimeData()->data("text/rtf");
        QVERIFY(copied.contains("Line 001") && !copied.contains("\\header"));
        delete window.data();
    }

    void missingExtensionsAreAdded_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none") << "/tmp/x/report"
                              << "rtf"
                              << "/tmp/x/report.rtf";
        QTest::newRow("trailing dot") << "/tmp/x/report."
                                      << "rtf"
                                      << "/tmp/x/report.rtf";
        QTest::newRow("its own") << "/tmp/x/report.rtf"
                                 << "rtf"
                                 << "/tmp/x/report.rtf";
        QTest::newRow("another kept") << "/tmp/x/report.doc"
                                      << "rtf"
                                      << "/tmp/x/report.doc";
        QTest::newRow("dotted folder") << "/tmp/x.y/report"
                                       << "pdf"
                                       << "/tmp/x.y/report.pdf";
        QTest::newRow("pdf") << "report"
                             << "pdf"
                             << "report.pdf";
    }

    void missingExtensionsAreAdded() {
        QFETCH(QString, typed);
        QFETCH(QString, suffix);
        QFETCH(QString, expected);
        QCOMPARE(WithDefaultSuffix(typed, suffix), expected);
    }

    void saveAndExportNeverCollideAndAskBeforeReplacing() {
        RecordingPrompts prompts;
        AppContext ctx{Workspace{}, prompts};
        QPointer<FrmViewReport> window = ShowReportWindow(ctx, [] { return numberedLines(5); });
        QTemporaryDir dir;
        const QString typed = dir.filePath("report");
        prompts.fileNames = {typed, typed};
        window->saveAs();
        window->exportPdf();
        QVERIFY(QFile(typed + ".rtf").open(QIODevice::ReadOnly));
        QFile pdf(typed + ".pdf");
        QVERIFY(pdf.open(QIODevice::ReadOnly) && pdf.readAll().startsWith("%PDF-"));
        QVERIFY(!QFile::exists(typed));
        QCOMPARE(prompts.shown.size(), std::size_t{0});

        // The completed name exists: asked, and "No" leaves the file as it was.
        QFile::remove(typed + ".rtf");
        QFile old(typed + ".rtf");
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        prompts.fileNames = {typed};
        prompts.answers = {Prompts::Answer::No};
        window->saveAs();
        QCOMPARE(prompts.shown.size(), std::size_t{1});
        QVERIFY(prompts.shown[0].text.contains("report.rtf already exists"));
        QFile kept(typed + ".rtf");
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("old"));
        delete window.data();
    }
};

QTEST_MAIN(TstReportPages)
#include "tst_report_pages.moc"
