// The report's document on its way to the screen, the printer and PDF: the conversion between
// the core's document model and QTextDocument, the page loop and its margins.

#include "core/Error.h"
#include "gui/report/PrintRichText.h"
#include "gui/report/ReportPdf.h"
#include "gui/report/TextDocumentConversion.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QtTest>

#include <algorithm>
#include <map>

using namespace pluvane;
using namespace pluvane::gui;

namespace {

constexpr Color kBlue{0, 0, 255};

// Everything the report builder uses: indents, repeated stops, every attribute, blank lines,
// texts that need escaping elsewhere, a last paragraph left empty.
RichDocument variedDocument() {
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
    w.setTabStops({666, 1998, 1998, 2664});
    w.setBold(true);
    w.append("Project Name:");
    w.setBold(false);
    w.append("\tLot {7} \\ \"A\" Caf\xc3\xa9 \xe2\x82\xac\r\n");
    w.setItalic(true);
    w.setUnderline(true);
    w.append("Overland Flow\r\n\r\n");
    w.setItalic(false);
    w.setSize(10.5);
    w.append("\t\t\t\r\n");
    w.setUnderline(false);
    w.setTabStops({200, 1000}); // the first stop lies inside the left indent
    w.append("TOTAL\t12.5\r\n");
    w.setSize(8);
    w.setColor(kBlue);
    w.append("It's the engineer's responsibility\r\r");
    return w.take();
}

// What the documented normalisations make of a document: stops ascending, each once, none at
// or before the left indent.
RichDocument normalised(RichDocument document) {
    for (Paragraph& p : document.paragraphs) {
        std::vector<int>& stops = p.tabStops;
        std::sort(stops.begin(), stops.end());
        stops.erase(std::unique(stops.begin(), stops.end()), stops.end());
        std::erase_if(stops, [&](int stop) { return stop <= p.leftIndent; });
    }
    return document;
}

QString describe(const RichDocument& document) {
    QString text;
    for (const Paragraph& p : document.paragraphs) {
        text += QString("[%1,%2 |").arg(p.leftIndent).arg(p.rightIndent);
        for (int stop : p.tabStops)
            text += QString(" %1").arg(stop);
        text += "]";
        for (const Run& r : p.runs)
            text += QString(" {%1%2%3%4 rgb %5,%6,%7 '%8'}")
                        .arg(r.format.size)
                        .arg(r.format.bold ? "b" : "")
                        .arg(r.format.italic ? "i" : "")
                        .arg(r.format.underline ? "u" : "")
                        .arg(r.format.color.red)
                        .arg(r.format.color.green)
                        .arg(r.format.color.blue)
                        .arg(QString::fromStdString(r.text));
        text += "\n";
    }
    return text;
}

// A document of `lines` numbered paragraphs at 12 points: "Line 001" ...
RichDocument numberedLines(int lines) {
    RichTextWriter w;
    w.setSize(12);
    for (int i = 1; i <= lines; ++i)
        w.append(QString("Line %1\r\n").arg(i, 3, 10, QChar('0')).toStdString());
    return w.take();
}

// Words of the pages of a PDF as pdftotext -bbox gives them, in points from the top left.
struct Word {
    int page;
    QRectF box;
    QString text;
};

struct PdfPages {
    QSizeF sheet;
    std::vector<Word> words;
    int pageCount = 0;
};

bool havePoppler() { return !QStandardPaths::findExecutable("pdftotext").isEmpty(); }

PdfPages readPdf(const QString& path) {
    QProcess process;
    process.start("pdftotext", {"-bbox", path, "-"});
    process.waitForFinished(30000);
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    PdfPages pages;
    static const QRegularExpression pageTag(R"re(<page width="([\d.]+)" height="([\d.]+)">)re");
    static const QRegularExpression wordTag(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    int page = -1;
    int from = 0;
    while (true) {
        const QRegularExpressionMatch nextPage = pageTag.match(html, from);
        const QRegularExpressionMatch nextWord = wordTag.match(html, from);
        if (!nextPage.hasMatch() && !nextWord.hasMatch())
            break;
        if (nextPage.hasMatch() &&
            (!nextWord.hasMatch() || nextPage.capturedStart() < nextWord.capturedStart())) {
            ++page;
            pages.sheet = QSizeF(nextPage.captured(1).toDouble(), nextPage.captured(2).toDouble());
            from = nextPage.capturedEnd();
        } else {
            pages.words.push_back(
                {page,
                 QRectF(QPointF(nextWord.captured(1).toDouble(), nextWord.captured(2).toDouble()),
                        QPointF(nextWord.captured(3).toDouble(), nextWord.captured(4).toDouble())),
                 nextWord.captured(5)});
            from = nextWord.capturedEnd();
        }
    }
    pages.pageCount = page + 1;
    return pages;
}

// Pages of a PDF counted in the file itself: its page objects.
int pageObjects(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray data = file.readAll();
    static const QRegularExpression page(R"(/Type\s*/Page(?![s\w]))");
    return static_cast<int>(QString::fromLatin1(data).count(page));
}

} // namespace

class TstReportDocument : public QObject {
    Q_OBJECT
private slots:
    void roundTripKeepsWhatTheModelCarries() {
        const RichDocument original = variedDocument();
        QTextDocument text;
        ToTextDocument(original, text);
        const RichDocument back = FromTextDocument(text);
        QCOMPARE(describe(back), describe(normalised(original)));
        QVERIFY(back == normalised(original));
        QCOMPARE(text.blockCount(), static_cast<int>(original.paragraphs.size()));
        QVERIFY(!text.isUndoAvailable()); // the user cannot undo the report away
    }

    void runsOfOneFormatAreMergedOnTheWayBack() {
        RichDocument document;
        document.paragraphs[0].runs = {Run{"Over", CharFormat{}}, Run{"land", CharFormat{}},
                                       Run{" Flow", CharFormat{12, true, false, false, {}}}};
        QTextDocument text;
        ToTextDocument(document, text);
        const RichDocument back = FromTextDocument(text);
        QCOMPARE(back.paragraphs.size(), std::size_t{1});
        QCOMPARE(back.paragraphs[0].runs.size(), std::size_t{2});
        QCOMPARE(back.paragraphs[0].runs[0].text, std::string("Overland"));
        QVERIFY(back.paragraphs[0].runs[1].format.bold);
    }

    void columnsStartAtTheirStopsMeasuredFromTheTextAreaEdge() {
        // The overland table: body indent 300, stops at 1500, 2700, 3900 twips from the edge.
        RichTextWriter w;
        w.setIndents(300, 200);
        w.setTabStops({1500, 2700, 2700, 3900});
        w.append("Name\tArea\tSlope\tL\r\n");
        w.setTabStops({});
        w.append("a\tb");
        QTextDocument text;
        ToTextDocument(w.take(), text);
        text.setDocumentMargin(0);
        text.setTextWidth(TwipsToLayoutUnits(9000));
        QVERIFY(text.size().height() > 0); // lays it out

        const QTextLine row = text.firstBlock().layout()->lineAt(0);
        QCOMPARE(row.lineNumber(), 0);
        const auto xAt = [&](const QTextLine& line, int position) {
            return line.cursorToX(position);
        };
        const qreal tolerance = 0.01;
        QVERIFY(qAbs(xAt(row, 0) - TwipsToLayoutUnits(300)) < tolerance);
        QVERIFY(qAbs(xAt(row, 5) - TwipsToLayoutUnits(1500)) < tolerance);  // "Area"
        QVERIFY(qAbs(xAt(row, 10) - TwipsToLayoutUnits(2700)) < tolerance); // "Slope"
        QVERIFY(qAbs(xAt(row, 16) - TwipsToLayoutUnits(3900)) <
                tolerance); // "L": the repeated stop is one

        // No stops: every half inch from the indent.
        const QTextLine plain = text.lastBlock().layout()->lineAt(0);
        QVERIFY(qAbs(xAt(plain, 2) - TwipsToLayoutUnits(300 + 720)) < tolerance);
    }

    void editsComeBackAsParagraphsAndRuns() {
        QTextDocument text;
        ToTextDocument(variedDocument(), text);
        QTextCursor cursor(text.findBlockByNumber(3)); // "Project Name:\tLot ..."
        cursor.movePosition(QTextCursor::EndOfBlock);
        cursor.insertText(QString(QChar::LineSeparator) + "second line"); // Shift+Enter
        QTextImageFormat image;
        image.setName("nowhere.png");
        cursor.insertImage(image);
        cursor.insertHtml("<span style=\"font-size:20px\">big</span>");

        const RichDocument back = FromTextDocument(text);
        QCOMPARE(back.paragraphs.size(), variedDocument().paragraphs.size() + 1);
        const Paragraph& split = back.paragraphs[4];
        QCOMPARE(QString::fromStdString(split.text()), QStringLiteral("second linebig"));
        QCOMPARE(split.leftIndent, 300);
        QCOMPARE(split.tabStops, (std::vector<int>{666, 1998, 2664}));
        QCOMPARE(split.runs.front().format,
                 back.paragraphs[3].runs.back().format);             // typed: inherits
        QCOMPARE(split.runs.back().format.size, 15.0);               // 20 px at 96 dpi
        QVERIFY(back.plainText().find('\xef') == std::string::npos); // no U+FFFC of the image
    }

    void longTextPrintsOnAsManyPagesAsItNeeds() {
        if (!havePoppler())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir dir;
        const QString path = dir.filePath("long.pdf");
        // A wrapped paragraph of numbered words that runs across the first page break.
        RichDocument document = numberedLines(200);
        std::string words;
        for (int i = 1; i <= 300; ++i)
            words += QString("w%1 ").arg(i, 3, 10, QChar('0')).toStdString();
        document.paragraphs.insert(document.paragraphs.begin() + 45,
                                   Paragraph{0, 0, {}, {Run{words, CharFormat{12}}}});
        QTextDocument text;
        ToTextDocument(document, text);
        {
            QPdfWriter writer(path);
            writer.setPageSize(QPageSize(QPageSize::Letter));
            QVERIFY(PrintRichText(text, writer, 450, 360, 360, 360));
        }
        const PdfPages pdf = readPdf(path);
        QVERIFY2(pdf.pageCount >= 3, qPrintable(QString::number(pdf.pageCount)));
        QCOMPARE(pageObjects(path), pdf.pageCount);

        // Every line and word exactly once, in order, none cut at a page break; every page used.
        std::vector<int> numbers;
        std::vector<int> wordNumbers;
        std::vector<int> linesOnPage(pdf.pageCount, 0);
        std::vector<int> pagesOfWords;
        for (const Word& word : pdf.words) {
            if (word.text.startsWith('w')) {
                wordNumbers.push_back(word.text.mid(1).toInt());
                pagesOfWords.push_back(word.page);
            } else if (word.text != "Line") {
                numbers.push_back(word.text.toInt());
                ++linesOnPage[word.page];
            }
        }
        QCOMPARE(static_cast<int>(numbers.size()), 200);
        for (int i = 0; i < 200; ++i)
            QCOMPARE(numbers[i], i + 1);
        QCOMPARE(static_cast<int>(wordNumbers.size()), 300);
        for (int i = 0; i < 300; ++i)
            QCOMPARE(wordNumbers[i], i + 1);
        QVERIFY(pagesOfWords.front() == 0 && pagesOfWords.back() == 1); // it did cross the break
        QVERIFY(*std::min_element(linesOnPage.begin(), linesOnPage.end()) > 0);
        QVERIFY(linesOnPage.front() > 40); // a full Letter page at 12 points
    }

    void marginsAreMeasuredFromTheSheetWhateverTheDeviceMargins_data() {
        QTest::addColumn<qreal>("deviceMargin"); // points of unprintable margin the device claims
        QTest::newRow("none") << 0.0;
        QTest::newRow("ten points") << 10.0;
    }

    void marginsAreMeasuredFromTheSheetWhateverTheDeviceMargins() {
        QFETCH(qreal, deviceMargin);
        if (!havePoppler())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir dir;
        const QString path = dir.filePath("margins.pdf");
        RichDocument document = numberedLines(120);
        // Paragraphs that wrap: their lines reach as far right as the margin (and the right
        // indent) lets them. The second is indented by 300 and 200 twips (15 and 10 points).
        std::string words;
        for (int i = 0; i < 60; ++i)
            words += "wrap ";
        std::string indented;
        for (int i = 0; i < 60; ++i)
            indented += "indented ";
        document.paragraphs.insert(document.paragraphs.begin(),
                                   {Paragraph{0, 0, {}, {Run{words, CharFormat{12}}}},
                                    Paragraph{300, 200, {}, {Run{indented, CharFormat{12}}}}});
        QTextDocument text;
        ToTextDocument(document, text);
        {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            printer.setPageSize(QPageSize(QPageSize::Letter));
            printer.setPageMargins(
                QMarginsF(deviceMargin, deviceMargin, deviceMargin, deviceMargin),
                QPageLayout::Point);
            QVERIFY(PrintRichText(text, printer, 450, 360, 360, 360));
        }
        const PdfPages pdf = readPdf(path);
        QCOMPARE(pdf.sheet, QSizeF(612, 792));
        QVERIFY(pdf.pageCount >= 2);
        for (int page = 0; page < pdf.pageCount; ++page) {
            QRectF ink;
            QRectF indentedInk;
            for (const Word& word : pdf.words)
                if (word.page == page) {
                    ink = ink.isNull() ? word.box : ink.united(word.box);
                    if (word.text == "indented")
                        indentedInk =
                            indentedInk.isNull() ? word.box : indentedInk.united(word.box);
                }
            const QString where = QString("page %1: ink %2,%3 to %4,%5")
                                      .arg(page + 1)
                                      .arg(ink.left())
                                      .arg(ink.top())
                                      .arg(ink.right())
                                      .arg(ink.bottom());
            // Left 450 twips = 22.5 pt, top and bottom 360 twips = 18 pt; a line is about 14 pt.
            QVERIFY2(ink.left() >= 22.0 && ink.left() < 24.0, qPrintable(where));
            QVERIFY2(ink.top() >= 17.99 && ink.top() < 22.0, qPrintable(where));
            QVERIFY2(ink.bottom() <= 792 - 18, qPrintable(where));
            if (page == 0) {
                QVERIFY2(ink.right() <= 612 - 18 && ink.right() > 612 - 18 - 40, qPrintable(where));
                QVERIFY2(indentedInk.left() >= 22.5 + 15 && indentedInk.left() < 22.5 + 15 + 1.5,
                         qPrintable(QString("indented from %1").arg(indentedInk.left())));
                QVERIFY2(indentedInk.right() <= 612 - 18 - 10 &&
                             indentedInk.right() > 612 - 18 - 10 - 50,
                         qPrintable(QString("indented to %1").arg(indentedInk.right())));
                QVERIFY2(ink.bottom() > 792 - 18 - 2 * 15, qPrintable(where)); // the page is filled
            }
        }
    }

    void printedColumnsStartAtTheirStops() {
        if (!havePoppler())
            QSKIP("pdftotext (poppler-utils) is not installed");
        RichTextWriter w;
        w.setIndents(300, 200);
        w.setTabStops({1500, 2700, 2700, 3900});
        w.setBold(true);
        w.setUnderline(true);
        w.append("Name\tArea\tSlope\tL\t\r\n");
        w.setBold(false);
        w.setUnderline(false);
        w.append("Pad\t2.5\t0.02\t100\r\n");
        QTextDocument text;
        ToTextDocument(w.take(), text);
        QTemporaryDir dir;
        const QString path = dir.filePath("columns.pdf");
        {
            QPdfWriter writer(path);
            writer.setPageSize(QPageSize(QPageSize::Letter));
            QVERIFY(PrintRichText(text, writer, 450, 360, 360, 360));
        }
        // Twips from the sheet's edge, each cell in points: margin 450 + stop, over 20.
        const std::map<QString, qreal> expected{{"Name", 37.5}, {"Pad", 37.5},    {"Area", 97.5},
                                                {"2.5", 97.5},  {"Slope", 157.5}, {"0.02", 157.5},
                                                {"L", 217.5},   {"100", 217.5}};
        const PdfPages pdf = readPdf(path);
        QCOMPARE(pdf.words.size(), expected.size());
        for (const Word& word : pdf.words) {
            const qreal left = expected.at(word.text);
            QVERIFY2(
                word.box.left() >= left - 0.1 && word.box.left() < left + 1.5,
                qPrintable(
                    QString("%1 at %2, not %3").arg(word.text).arg(word.box.left()).arg(left)));
        }
    }

    void printFailuresAreReported() {
        QTextDocument text;
        ToTextDocument(numberedLines(3), text);
        QPdfWriter nowhere(QDir::temp().filePath("no-such-folder-for-pluvane/x.pdf"));
        QVERIFY(!PrintRichText(text, nowhere, 450, 360, 360, 360));

        QTemporaryDir dir;
        QPdfWriter writer(dir.filePath("narrow.pdf"));
        writer.setPageSize(QPageSize(QPageSize::Letter)); // 12240 twips wide
        QVERIFY(!PrintRichText(text, writer, 6000, 360, 6240, 360));
        QVERIFY(!PrintRichText(text, writer, -1, 360, 360, 360));
    }

    void reportPdfIsWrittenOrRefusedWithAMessage() {
        QTemporaryDir dir;
        const QString path = dir.filePath("report.pdf");
        WriteReportPdf(numberedLines(100), path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("%PDF-"));
        QCOMPARE(pageObjects(path), 2);

        const QString bad = dir.filePath("missing/report.pdf");
        try {
            WriteReportPdf(numberedLines(1), bad);
            QFAIL("no error for an unwritable path");
        } catch (const Error& e) {
            QVERIFY2(QString(e.what()).contains(bad), e.what());
        }
        QVERIFY(!QFile::exists(bad));
    }
};

QTEST_MAIN(TstReportDocument)
#include "tst_report_document.moc"
