// The report window opened on a real project, as the Solve command opens it: the report is
// built (and the project solved) by the core, shown, and its columns sit under their headings.

#include "GuiTestSupport.h"

#include "core/elements/ElementRecords.h"
#include "core/report/ReportBuilder.h"
#include "core/settings/ProjectSettings.h"
#include "gui/app/AppContext.h"
#include "gui/app/Prompts.h"
#include "gui/report/FrmViewReport.h"
#include "gui/report/ReportPdf.h"
#include "gui/report/TextDocumentConversion.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QtTest>

using namespace pluvane;
using namespace pluvane::gui;

namespace {

// A small subdivision: names short enough for their columns in any sans-serif face.
void fillProject(Workspace& ws) {
    SaveProjectSettings(ws,
                        ProjectFields{"Willow Creek Phase 2", "WC-2026-014", "A. Engineer, P.E.",
                                      "B. Manager", "2026-12-08"},
                        NodeFields{"Outfall OF-1", "Atlanta"}, false);
    InsertBasin(ws, "Basin1", 900, 840,
                {"Lots 1-6", "1.2", "Residential: Single Family areas", "0.40", "0.02", "100",
                 "Smooth Surfaces", "0.011", "1.1061"});
    InsertBasin(ws, "Basin2", 2700, 840,
                {"North lawn", "2.5", "Parks, cemeteries", "0.18", "0.015", "150", "Short grass",
                 "0.15", "13.8801"});
    InsertBasin(
        ws, "Basin3", 4500, 840,
        {"Pad A", "0.8", "Business", "0.60", "0.01", "80", "Smooth Surfaces", "0.011", "1.2209"});
    InsertSurface(ws, "Surface1", 1500, 2500,
                  {"Grass swale", "0.02", "300", "2.2811", "Unpaved", "2.1919"});
    InsertSurface(ws, "Surface2", 3900, 2500,
                  {"Gutter", "0.01", "250", "2.0330", "Paved", "2.0495"});
    InsertChannel(
        ws, "Channel1", 2100, 4000,
        {"East ditch", "4.00", "6.47", "0.005", "600", "Earth", "0.025", "3.0502", "3.2784"});
    InsertChannel(
        ws, "Channel2", 7000, 4200,
        {"Culvert", "3.14", "6.28", "0.01", "120", "Concrete", "0.013", "7.2009", "0.2777"});
}

// Where the text at `offset` in the block starting with `start` begins, in layout units from
// the left of the document.
qreal xOf(const QTextDocument& document, const QString& start, int offset) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        if (block.text().startsWith(start)) {
            const QTextLine line = block.layout()->lineForTextPosition(offset);
            return document.documentLayout()->blockBoundingRect(block).left() +
                   line.cursorToX(offset);
        }
    return -1;
}

// The x of the first character of each tab-separated cell of the block starting with `start`.
QList<qreal> cellStarts(const QTextDocument& document, const QString& start) {
    QList<qreal> starts;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        if (block.text().startsWith(start)) {
            const QString text = block.text();
            for (int i = 0; i < text.size(); ++i)
                if ((i == 0 || text[i - 1] == '\t') && text[i] != '\t')
                    starts << xOf(document, start, i);
            break;
        }
    return starts;
}

} // namespace

class TstReportProject : public QObject {
    Q_OBJECT
private slots:
    void opensOnAProjectWithItsReportAndColumnsUnderTheirHeadings() {
        test::TestProject project;
        fillProject(project.workspace);
        RecordingPrompts prompts;
        AppContext ctx(project.workspace, prompts);

        QPointer<FrmViewReport> window = OpenReportWindow(ctx);
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCOMPARE(prompts.shown.size(), std::size_t{0});
        const QString shown = window->view()->toPlainText();
        for (const char* expected :
             {"Willow Creek Phase 2", "Overland Flow", "Shallow Concentrated Flow", "Channel Flow",
              "Runoff Rate Calculations", "Q(cfs)"})
            QVERIFY2(shown.contains(expected), expected);

        // Every cell of a row starts where its heading starts: the stops are in the right place.
        const QTextDocument& document = *window->view()->document();
        const QList<qreal> heading = cellStarts(document, "Name\tArea\tSlope");
        const QList<qreal> row = cellStarts(document, "North lawn\t2.5");
        QCOMPARE(heading.size(), 7);
        QCOMPARE(row.size(), 7);
        for (int i = 0; i < 7; ++i)
            QVERIFY2(qAbs(heading[i] - row[i]) < 0.01, qPrintable(QString("column %1").arg(i + 1)));
        // The "Area" column starts 1500 twips from the text area's edge (the view's document
        // margin sits before it).
        QVERIFY(qAbs(heading[1] - document.documentMargin() - TwipsToLayoutUnits(1500)) < 0.01);

        window->showNormal();
        window->resize(1100, 820);
        test::SaveScreenshot(window, "report-window");
        const QString folder = qEnvironmentVariable("PLUVANE_SCREENSHOTS");
        if (!folder.isEmpty())
            WriteReportPdf(document, QDir(folder).filePath("report.pdf"));
        delete window.data();
    }

    void aProjectThatCannotBeReadGivesAMessageAndNoWindow() {
        test::TestProject project;
        RecordingPrompts prompts;
        Workspace ws = project.workspace;
        ws.ProjectPath = project.path("missing.rmt").toStdString();
        AppContext ctx(ws, prompts);

        QVERIFY(OpenReportWindow(ctx) == nullptr);
        QVERIFY(ctx.existing<FrmViewReport>() == nullptr);
        QCOMPARE(prompts.shown.size(), std::size_t{1});
        QVERIFY2(prompts.shown[0].text.contains("could not be built"),
                 qPrintable(prompts.shown[0].text));
    }
};

QTEST_MAIN(TstReportProject)
#include "tst_report_project.moc"
