// One project, one truth, as a user goes through it on real files: the windows of a project
// belong to it and close when it is left, the rainfall table the file records is the one
// solved with (and named in the titles), numeric fields hold numbers, and Tc follows its
// inputs. After each step the test reads what the project file holds.
#include "GuiTestSupport.h"
#include "core/settings/DesignSettings.h"
#include "core/store/Database.h"
#include "core/store/IntensityDb.h"
#include "gui/app/AppContext.h"
#include "gui/app/MDIFrmMain.h"
#include "gui/elements/BasinDialogs.h"
#include "gui/elements/ChannelDialogs.h"
#include "gui/elements/ElementWindows.h"
#include "gui/elements/FrmCCo.h"
#include "gui/elements/FrmTrapezArea.h"
#include "gui/elements/SurfaceDialogs.h"
#include "gui/network/CanvasCommands.h"
#include "gui/network/CanvasView.h"
#include "gui/network/FrmDraw.h"
#include "gui/rain/FrmIntensityTable.h"
#include "gui/report/FrmViewReport.h"
#include "gui/settings/FrmInfo.h"
#include "gui/settings/FrmNodeInfo.h"
#include "gui/settings/FrmSelectIvalBasin.h"

#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

using namespace pluvane;
using namespace pluvane::gui;
using namespace pluvane::gui::test;

namespace {

void pick(QWidget* picker, const QString& location) {
    auto* list = picker->findChild<QListWidget*>("List1");
    const QList<QListWidgetItem*> items = list->findItems(location, Qt::MatchExactly);
    QVERIFY2(!items.isEmpty(), qPrintable(location));
    list->setCurrentItem(items.front());
}

// Lets the windows closed by a command be deleted.
void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

std::string cell(const QString& path, const std::string& sql) {
    Database db = Database::open(path.toStdString(), Database::Mode::ReadOnly);
    Statement q = db.prepare(sql);
    return q.step() ? q.text(0).value_or("<null>") : "<none>";
}

// The two records of the project's table, node row first.
QStringList recordedTables(const QString& path) {
    return {QString::fromStdString(
                cell(path, "SELECT IntensityTable FROM TblNodeInfo ORDER BY rowid LIMIT 1")),
            QString::fromStdString(
                cell(path, "SELECT IValueBasinName FROM TblProjectInfo ORDER BY rowid LIMIT 1"))};
}

std::string peak100(const QString& path) { return cell(path, "SELECT Qpeak_100 FROM TblResults"); }

} // namespace

class TstProjectSession : public QObject {
    Q_OBJECT

    struct Fixture : MainWindowFixture {
        Workspace& ws() { return ctx.workspace(); }
        QString example(const QString& name) {
            const QString path = data.path(name);
            if (!QFile::copy(QString(PLUVANE_BIN_DIR) + "/../examples/willow-creek.rmt", path))
                qFatal("no example project");
            return path;
        }
        QString canvasTitle() {
            auto* sub = qobject_cast<QMdiSubWindow*>(canvas()->parentWidget());
            return sub ? sub->windowTitle() : QString();
        }
        FrmViewReport* solve() {
            canvas()->solve();
            return ctx.existing<FrmViewReport>();
        }
        // Intensity -> Edit Table -> Add, a new location `name` typed in: its intensities fall
        // from `first` by `fall` a row and rise by `rise` a column. Not saved yet.
        FrmIntensityTable* typeNewLocation(const QString& name, double first, double fall,
                                           double rise) {
            ctx.onShowIntensityEditor();
            auto* editor = ctx.existing<FrmIntensityTable>();
            ClickButton(editor, "CmdAdd");
            FillField(editor, "TxtBasinName", name);
            for (int c = 0; c < 7; ++c)
                for (int r = 0; r < 10; ++r)
                    editor->cell(c, r)->setText(
                        QString::number(first - r * fall + c * rise, 'f', 2));
            return editor;
        }
        // Intensity -> Edit Table -> Change Basin -> `location` -> OK; the editor comes up again.
        FrmIntensityTable* changeBasin(const QString& location) {
            ctx.onShowIntensityEditor();
            auto* editor = ctx.existing<FrmIntensityTable>();
            ClickButton(editor, "CmdSelectBasin");
            FrmSelectIvalBasin* picker = ctx.existing<FrmSelectIvalBasin>();
            pick(picker, location);
            ClickButton(picker, "CmdOK");
            settle();
            return ctx.existing<FrmIntensityTable>();
        }
    };

private slots:
    // ---- the recorded table is the table used ---------------------------------------------

    void changingTheTableRecordsItAndTheSameProjectGivesTheSameFlows() {
        Fixture f;
        const QString path = f.example("a.rmt");
        QVERIFY(f.window.openProjectFile(path));
        QCOMPARE(f.canvasTitle(), QStringLiteral("a.rmt - Rainfall: Atlanta"));
        FrmViewReport* report = f.solve();
        QCOMPARE(report->windowTitle(), QStringLiteral("Report - Rainfall: Atlanta"));
        const std::string atlanta = peak100(path);
        report->close();
        settle();

        // Change Basin -> Fort Myers -> OK -> Cancel the editor: both records name Fort Myers.
        FrmIntensityTable* editor = f.changeBasin("Fort Myers");
        QCOMPARE(recordedTables(path), (QStringList{"Fort Myers", "Fort Myers"}));
        ClickButton(editor, "CmdCancel");
        settle();
        QCOMPARE(f.canvasTitle(), QStringLiteral("a.rmt - Rainfall: Fort Myers"));
        report = f.solve();
        QCOMPARE(report->windowTitle(), QStringLiteral("Report - Rainfall: Fort Myers"));
        const std::string fortMyers = peak100(path);
        QVERIFY(fortMyers != atlanta);

        // Project Info -> Cancel, Solve again: the same table, the same flows.
        report->close();
        settle();
        FrmInfo* setup = FrmInfo::open(f.ctx, &f.window);
        QCOMPARE(setup->findChild<QLineEdit*>("TxtITable")->text(), QStringLiteral("Fort Myers"));
        ClickButton(setup, "CmdCancel");
        settle();
        report = f.solve();
        QCOMPARE(peak100(path), fortMyers);
        QCOMPARE(report->windowTitle(), QStringLiteral("Report - Rainfall: Fort Myers"));

        // A report still open when the table changes is not brought forward as if current.
        f.changeBasin("Lake Houston");
        ClickButton(f.ctx.existing<FrmIntensityTable>(), "CmdCancel");
        report = f.solve();
        QCOMPARE(report->windowTitle(), QStringLiteral("Report - Rainfall: Lake Houston"));
        QVERIFY(peak100(path) != fortMyers);
        QCOMPARE(recordedTables(path), (QStringList{"Lake Houston", "Lake Houston"}));

        // Reopened, the file gives the same flows again.
        const std::string lake = peak100(path);
        f.window.closeCanvas();
        QVERIFY(f.window.openProjectFile(path));
        f.solve();
        QCOMPARE(peak100(path), lake);
        // Each change of table offered the recompute of the sub-basins' sheet-flow Tc.
        for (const QString& text : f.prompts.texts())
            QVERIFY2(text.startsWith("The rainfall table is now "), qPrintable(text));
    }

    void savingALocationInTheEditorRecordsItForTheProject() {
        Fixture f;
        const QString path = f.example("b.rmt");
        QVERIFY(f.window.openProjectFile(path));
        FrmIntensityTable* editor = f.typeNewLocation("Willow Gauge", 9.0, 0.8, 0.3);
        ClickButton(editor, "CmdUpdate");
        const QStringList asked = f.prompts.texts();
        QCOMPARE(asked.size(), 2);
        QVERIFY(asked[0].startsWith("Make Willow Gauge the rainfall table of this project?"));
        QVERIFY(asked[1].startsWith("The rainfall table is now Willow Gauge. The Tc of 3 "));
        QCOMPARE(recordedTables(path), (QStringList{"Willow Gauge", "Willow Gauge"}));
        QCOMPARE(f.canvasTitle(), QStringLiteral("b.rmt - Rainfall: Willow Gauge"));
        QCOMPARE(f.solve()->windowTitle(), QStringLiteral("Report - Rainfall: Willow Gauge"));
    }

    // ---- the report is never older than the project ------------------------------------------

    void solveAgainRebuildsTheOpenReportAndAChangeMarksItOutOfDate() {
        Fixture f;
        const QString path = f.example("stale.rmt");
        QVERIFY(f.window.openProjectFile(path));
        QPointer<FrmViewReport> report = f.solve();
        QVERIFY(report);
        const QString before = report->view()->toPlainText();
        QVERIFY2(!report->isOutOfDate(), "a fresh report is current");
        QVERIFY(before.contains("Design Basis")); // on unless the setting turns it off

        // Another writer changes a sub-basin's area: the open report says it is out of date.
        Database(Database::open(path.toStdString()))
            .exec("UPDATE TblBasinInfo SET Area = '9' WHERE rowid = 1");
        report->checkCurrent();
        QVERIFY(report->isOutOfDate());
        auto* banner = report->findChild<QLabel*>("LblOutOfDate");
        QVERIFY(banner);
        QCOMPARE(banner->text(), QStringLiteral("Out of date: the project changed after this "
                                                "report was made. Solve again."));
        // Its values are no longer the project's: exporting them asks first.
        f.prompts.answers = {Prompts::Answer::No};
        const std::size_t asked = f.prompts.starts.size();
        report->exportResults();
        QVERIFY(f.prompts.texts().back().startsWith("The project changed after this report"));
        QCOMPARE(f.prompts.starts.size(), asked); // no file was asked for
        f.prompts.shown.clear();

        // Solve again: the same window, rebuilt with the new numbers, current again.
        QCOMPARE(f.solve(), report.data());
        QVERIFY(report->view()->toPlainText() != before);
        QVERIFY(!report->isOutOfDate());
        QCOMPARE(peak100(path), cell(path, "SELECT Qpeak_100 FROM TblResults"));

        // Edited by hand, the report asks before a new solve replaces it; "No" keeps the edits.
        report->view()->append("Checked by R.L.");
        f.prompts.answers = {Prompts::Answer::No};
        f.solve();
        QCOMPARE(f.prompts.shown.size(), std::size_t(1));
        QVERIFY(f.prompts.texts()[0].contains("edited by hand"));
        QVERIFY(report->view()->toPlainText().contains("Checked by R.L."));
        f.solve(); // asked again, answered yes this time: the edits go
        QVERIFY(!report->view()->toPlainText().contains("Checked by R.L."));
    }

    void minimumTcAndRecomputeAreUndoableSteps() {
        Fixture f;
        const QString path = f.example("steps.rmt");
        QVERIFY(f.window.openProjectFile(path));
        OpenProjectSetup(f.ctx);
        auto* setup = f.ctx.existing<FrmInfo>();
        auto* minimum = setup->findChild<QComboBox*>("CboMinimumTc");
        QCOMPARE(minimum->currentText(), QStringLiteral("none"));
        minimum->setCurrentText("ten");
        ClickButton(setup, "CmdOK");
        QVERIFY(f.prompts.texts().join("").contains("minimum Tc must be a number"));
        QCOMPARE(LoadMinimumTc(f.ws()), std::nullopt); // refused: nothing written
        minimum->setCurrentText("30");
        ClickButton(setup, "CmdOK");
        QCOMPARE(LoadMinimumTc(f.ws()), std::optional<double>(30.0));
        QVERIFY(f.solve()->view()->toPlainText().contains("minimum Tc of 30 min applied"));

        // Another table, its recompute offer declined: the sheet-flow Tc keep Atlanta's P2
        // until Recompute Tc; the recompute, the table and the setup are one step each.
        const std::string atlanta = cell(path, "SELECT Tc FROM TblBasinInfo ORDER BY rowid");
        f.prompts.answers = {Prompts::Answer::No};
        ClickButton(f.changeBasin("Fort Myers"), "CmdCancel");
        QCOMPARE(cell(path, "SELECT Tc FROM TblBasinInfo ORDER BY rowid"), atlanta);
        f.canvas()->findChild<QAction*>("MnuRecomputeTc")->trigger();
        QVERIFY(cell(path, "SELECT Tc FROM TblBasinInfo ORDER BY rowid") != atlanta);
        QAction* undo = f.canvas()->findChild<QAction*>("MnuUndo");
        undo->trigger();
        QCOMPARE(cell(path, "SELECT Tc FROM TblBasinInfo ORDER BY rowid"), atlanta);
        undo->trigger();
        QCOMPARE(recordedTables(path), (QStringList{"Atlanta", "Atlanta"}));
        undo->trigger();
        QCOMPARE(LoadMinimumTc(f.ws()), std::nullopt); // the setup step is undone too
    }

    void theEditorsTableSwitchIsAnUndoableStep() {
        Fixture f;
        const QString path = f.example("undo.rmt");
        QVERIFY(f.window.openProjectFile(path));
        FrmIntensityTable* editor = f.typeNewLocation("Gauge Two", 8.0, 0.7, 0.2);
        f.prompts.answers = {Prompts::Answer::Yes, Prompts::Answer::No}; // take it; no recompute
        ClickButton(editor, "CmdUpdate");
        QCOMPARE(recordedTables(path), (QStringList{"Gauge Two", "Gauge Two"}));
        f.canvas()->findChild<QAction*>("MnuUndo")->trigger();
        QCOMPARE(recordedTables(path), (QStringList{"Atlanta", "Atlanta"}));
        // A later setup edit's undo does not bring the table back.
        OpenProjectSetup(f.ctx);
        ClickButton(f.ctx.existing<FrmInfo>(), "CmdOK");
        f.canvas()->findChild<QAction*>("MnuUndo")->trigger();
        QCOMPARE(recordedTables(path), (QStringList{"Atlanta", "Atlanta"}));
    }

    // ---- windows belong to their project -----------------------------------------------------

    void aSecondProjectIsSolvedInItsOwnReportWindow() {
        Fixture f;
        const QString a = f.example("a.rmt"), b = f.example("b.rmt");
        QVERIFY(f.window.openProjectFile(a));
        QPointer<FrmViewReport> reportA = f.solve();
        QVERIFY(reportA);
        QVERIFY(f.window.openProjectFile(b));
        settle();
        QVERIFY2(!reportA, "the report of A closes with A");
        QCOMPARE(peak100(b), std::string("<none>"));
        FrmViewReport* reportB = f.solve();
        QVERIFY(reportB);
        QCOMPARE(peak100(b), peak100(a)); // the same drawing and table: the same flows
    }

    void aSecondProjectNeverReceivesAValueOfTheFirst() {
        Fixture f;
        const QString b = f.example("b.rmt");
        const QStringList bTables = recordedTables(b);
        const std::string bNode = cell(b, "SELECT NodeName FROM TblNodeInfo");
        // New A, setup left open with typed values, and its table picker open too.
        f.prompts.fileNames.push_back(f.data.path("a.rmt"));
        f.window.newProject();
        QPointer<FrmInfo> setup = f.ctx.existing<FrmInfo>();
        FillField(setup, "TxtProjectName", "Project A");
        FillField(setup, "TxtBasinName", "Outfall A");
        FillField(setup, "TxtITable", "Fort Myers");
        ClickButton(setup, "CmdIList");
        QPointer<FrmSelectIvalBasin> picker = f.ctx.existing<FrmSelectIvalBasin>();
        QVERIFY(picker);
        pick(picker, "Lake Houston");

        // Open B from the main window: A's windows are gone before B is open.
        QVERIFY(f.window.openProjectFile(b));
        settle();
        QVERIFY(!setup);
        QVERIFY(!picker);
        QVERIFY(!f.ctx.existing<FrmInfo>());
        QCOMPARE(cell(b, "SELECT COUNT(*) FROM TblProjectInfo"), std::string("1"));
        QCOMPARE(cell(b, "SELECT NodeName FROM TblNodeInfo"), bNode);
        QCOMPARE(recordedTables(b), bTables);
        QCOMPARE(cell(b, "SELECT ProjectName FROM TblProjectInfo") == "Project A", false);
    }

    void everyWindowOfTheProjectClosesWithIt_data() {
        QTest::addColumn<QString>("command");
        for (const char* command : {"Close", "New", "Open", "Exit"})
            QTest::newRow(command) << command;
    }
    void everyWindowOfTheProjectClosesWithIt() {
        QFETCH(QString, command);
        Fixture f;
        QVERIFY(f.window.openProjectFile(f.example("a.rmt")));
        QList<QPointer<QWidget>> windows{ShowWindow<FrmBasInfo>(f.ctx),
                                         ShowWindow<FrmChannelAddInfo>(f.ctx),
                                         FrmNodeInfo::open(f.ctx, &f.window),
                                         FrmInfo::open(f.ctx, &f.window),
                                         FrmIntensityTable::open(f.ctx, &f.window),
                                         f.solve()};
        f.ctx.existing<FrmViewReport>()->showIdfCurves();
        windows << f.ctx.existing<FrmViewReport>()->idfCurvesWindow();
        for (const auto& window : windows)
            QVERIFY(window && window->isVisible());
        if (command == "Close") {
            f.window.closeCanvas();
        } else if (command == "New") {
            f.prompts.fileNames.push_back(f.data.path("new.rmt"));
            f.window.newProject();
            QVERIFY(f.ctx.existing<FrmInfo>()); // the new project's own setup
            QCOMPARE(f.ctx.existing<FrmInfo>()->findChild<QLineEdit*>("TxtBasinName")->text(),
                     QString());
        } else if (command == "Open") {
            QVERIFY(f.window.openProjectFile(f.example("b.rmt")));
        } else {
            f.window.close();
        }
        settle();
        for (const auto& window : windows)
            QVERIFY2(!window, "a window of the project outlived it");
    }

    // The rainfall database is shared, so a new location being typed is not the project's to
    // drop: every way of leaving asks first, and keeping the edits leaves nothing.
    void leavingAsksBeforeTheRainfallEditorsUnsavedEditsGo_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("discard");
        for (const char* command : {"New", "Open", "Close", "Exit"}) {
            QTest::newRow(qPrintable(QString("%1, keep").arg(command))) << command << false;
            QTest::newRow(qPrintable(QString("%1, discard").arg(command))) << command << true;
        }
    }
    void leavingAsksBeforeTheRainfallEditorsUnsavedEditsGo() {
        QFETCH(QString, command);
        QFETCH(bool, discard);
        Fixture f;
        const QString a = f.example("a.rmt"), b = f.example("b.rmt");
        const QString fresh = f.data.path("new.rmt");
        QVERIFY(f.window.openProjectFile(a));
        QPointer<FrmDraw> canvas = f.canvas();
        f.ctx.onShowIntensityEditor();
        QPointer<FrmIntensityTable> editor = f.ctx.existing<FrmIntensityTable>();
        ClickButton(editor, "CmdAdd");
        QTest::keyClicks(editor->findChild<QLineEdit*>("TxtBasinName"), "Oak Run");
        editor->cell(0, 0)->setText("3.1");
        editor->cell(6, 9)->setText("0.42");
        editor->findChild<QPlainTextEdit*>("TxtProvenance")->setPlainText("county manual");
        QVERIFY(f.prompts.shown.empty());

        f.prompts.answers = {discard ? Prompts::Answer::Yes : Prompts::Answer::No};
        if (command == "New")
            f.prompts.fileNames.push_back(fresh);
        if (command == "Open")
            f.prompts.fileNames.push_back(b);
        // Through the canvas's own menu, as the user goes.
        const char* item = command == "New"     ? "MnuNew"
                           : command == "Open"  ? "MnuOpen"
                           : command == "Close" ? "MnuFileClose"
                                                : "MnuExit";
        QAction* action = canvas->findChild<QAction*>(item);
        QVERIFY2(action, item);
        action->trigger();
        settle();

        QCOMPARE(f.prompts.shown.size(), std::size_t(1)); // asked once, whatever follows
        QCOMPARE(f.prompts.shown[0].text,
                 QString("The rainfall table \"Oak Run\" has changes that were not saved with "
                         "Update. Discard them?"));
        // Neither answer saves the new location.
        const std::vector<std::string> stored = ListLocations(f.ws());
        QVERIFY(std::find(stored.begin(), stored.end(), "Oak Run") == stored.end());
        if (!discard) {
            // Nothing was left: the project, its canvas and the editor's edits are as they were.
            QVERIFY(f.window.isVisible());
            QVERIFY(canvas && canvas->isVisible());
            QCOMPARE(f.canvas(), canvas.data());
            QCOMPARE(QString::fromStdString(f.ws().ProjectPath), a);
            QVERIFY(!QFile::exists(fresh)); // New made no file
            QVERIFY(editor && editor->isVisible());
            QCOMPARE(f.ctx.existing<FrmIntensityTable>(), editor.data());
            QCOMPARE(editor->findChild<QLineEdit*>("TxtBasinName")->text(), QString("Oak Run"));
            QCOMPARE(editor->cell(0, 0)->text(), QString("3.1"));
            QCOMPARE(editor->cell(6, 9)->text(), QString("0.42"));
            QCOMPARE(editor->findChild<QPlainTextEdit*>("TxtProvenance")->toPlainText(),
                     QString("county manual"));
            QVERIFY(editor->hasUnsavedChanges());
            // Still asked on its own Esc afterwards: the kept edits are guarded as before.
            f.prompts.answers = {Prompts::Answer::No};
            QTest::keyClick(editor, Qt::Key_Escape);
            QVERIFY(editor->isVisible());
            QCOMPARE(f.prompts.shown.size(), std::size_t(2));
            return;
        }
        QVERIFY(!editor);
        QVERIFY(!canvas);
        if (command == "New") {
            QCOMPARE(QString::fromStdString(f.ws().ProjectPath), fresh);
            QVERIFY(f.ctx.existing<FrmInfo>());
        } else if (command == "Open") {
            QCOMPARE(QString::fromStdString(f.ws().ProjectPath), b);
            QVERIFY(f.canvas());
        } else if (command == "Close") {
            QVERIFY(!f.canvas());
            QVERIFY(f.window.startScreen());
        } else {
            QVERIFY(!f.window.isVisible());
        }
    }

    // ---- numeric fields hold numbers; Tc follows its inputs ----------------------------------

    void aValueThatIsNotANumberIsRefusedNamingTheField_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::newRow("basin area") << 0 << "TxtArea"
                                    << "12abc"
                                    << "Area: '12abc' is not a number";
        QTest::newRow("basin slope") << 0 << "TxtSlope"
                                     << "0.00.005"
                                     << "Slope: '0.00.005' is not a number";
        QTest::newRow("basin n") << 0 << "TxtN"
                                 << "0,011"
                                 << "n: '0,011' is not a number";
        QTest::newRow("surface length") << 1 << "TxtLength"
                                        << "5e2"
                                        << "Length: '5e2' is not a number";
        QTest::newRow("channel slope") << 2 << "TxtSlope"
                                       << "0.00.005"
                                       << "Slope: '0.00.005' is not a number";
        QTest::newRow("channel typed Tc") << 2 << "TxtTc"
                                          << "3 min"
                                          << "Tc: '3 min' is not a number";
    }
    void aValueThatIsNotANumberIsRefusedNamingTheField() {
        QFETCH(int, kind);
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(QString, message);
        Fixture f;
        const QString path = f.example("a.rmt");
        QVERIFY(f.window.openProjectFile(path));
        const std::string table = kind == 0   ? "TblBasinInfo"
                                  : kind == 1 ? "TblSurfaceInfo"
                                              : "TblChannelInfo";
        const std::string before = cell(path, "SELECT COUNT(*) FROM " + table);
        QWidget* dialog = kind == 0   ? static_cast<QWidget*>(ShowWindow<FrmBasInfo>(f.ctx))
                          : kind == 1 ? static_cast<QWidget*>(ShowWindow<FrmSurfaceAddInfo>(f.ctx))
                                      : static_cast<QWidget*>(ShowWindow<FrmChannelAddInfo>(f.ctx));
        if (kind == 0) {
            FillField(dialog, "TxtArea", "1.5");
            FillField(dialog, "TxtSlope", "0.02");
            FillField(dialog, "TxtSoilType", "Lawns");
            FillField(dialog, "TxtC", "0.2");
            FillField(dialog, "TxtLength", "100");
        } else if (kind == 1) {
            FillField(dialog, "TxtLength", "500");
            FillField(dialog, "TxtSlope", "0.01");
        } else {
            FillField(dialog, "TxtArea", "10");
            FillField(dialog, "TxtWP", "8");
            FillField(dialog, "TxtSlope", "0.005");
            FillField(dialog, "TxtLength", "1000");
        }
        FillField(dialog, qPrintable(name), value);
        if (name != "TxtTc") {
            ClickButton(dialog, "CmdCalculate");
            QCOMPARE(f.prompts.texts(), QStringList{message});
            f.prompts.shown.clear();
        }
        ClickButton(dialog, "CmdOK");
        QCOMPARE(f.prompts.texts(), QStringList{message});
        QVERIFY(dialog->isVisible());
        QCOMPARE(cell(path, "SELECT COUNT(*) FROM " + table), before); // nothing stored
    }

    void aStoredValueThatIsNotANumberIsRefusedOnUpdate() {
        Fixture f;
        const QString path = f.example("a.rmt");
        Database::open(path.toStdString())
            .exec("UPDATE TblBasinInfo SET Area = '12abc' WHERE BasinTag = 'Basin1'");
        QVERIFY(f.window.openProjectFile(path));
        f.canvas()->model().Select(ElementKind::Basin, 1);
        f.canvas()->popupMenu(ElementKind::Basin)->findChild<QAction*>("Mnu_Basin_Edit")->trigger();
        FrmBasUpdate* dialog = f.ctx.existing<FrmBasUpdate>();
        FillField(dialog, "TxtBasinName", "Renamed");
        ClickButton(dialog, "CmdOK");
        QCOMPARE(f.prompts.texts(), QStringList{"Area: '12abc' is not a number"});
        QCOMPARE(cell(path, "SELECT BasinName FROM TblBasinInfo WHERE BasinTag = 'Basin1'"),
                 std::string("Lots 1-6 roofs & drives"));
        QCOMPARE(cell(path, "SELECT Area FROM TblBasinInfo WHERE BasinTag = 'Basin1'"),
                 std::string("12abc"));
        QVERIFY(dialog->isVisible()); // open for the correction
    }

    void theCalculatorsRefuseWhatIsNotANumber() {
        Fixture f;
        QVERIFY(f.window.openProjectFile(f.example("a.rmt")));
        FrmChannelAddInfo* channel = ShowWindow<FrmChannelAddInfo>(f.ctx);
        FrmTrapezArea* section = ShowWindow<FrmTrapezArea>(f.ctx);
        FillField(section, "TxtB", "2abc");
        FillField(section, "TxtY", "1");
        FillField(section, "TxtZ", "2");
        ClickButton(section, "CmdAdd");
        QCOMPARE(f.prompts.texts(), QStringList{"B: '2abc' is not a number"});
        QVERIFY(section->isVisible());
        QCOMPARE(channel->findChild<QLineEdit*>("TxtArea")->text(), QString()); // nothing handed on
        FillField(section, "TxtB", "2");
        ClickButton(section, "CmdAdd");
        QCOMPARE(channel->findChild<QLineEdit*>("TxtArea")->text(), QStringLiteral("4.00"));

        FrmBasInfo* basin = ShowWindow<FrmBasInfo>(f.ctx);
        FrmCCo* table = ShowWindow<FrmCCo>(f.ctx);
        FillField(table, "TxtCVal", "0.3.5");
        ClickButton(table, "Command1");
        QCOMPARE(f.prompts.texts().last(), QStringLiteral("Average C: '0.3.5' is not a number"));
        QCOMPARE(basin->findChild<QLineEdit*>("TxtC")->text(), QString());
    }

    void updateRecomputesAStaleTcAndKeepsATypedOne() {
        Fixture f;
        const QString path = f.example("a.rmt");
        QVERIFY(f.window.openProjectFile(path));
        const std::string stored =
            cell(path, "SELECT Tc FROM TblBasinInfo WHERE BasinTag = 'Basin1'");
        const auto edit = [&] {
            f.canvas()->model().Select(ElementKind::Basin, 1);
            f.canvas()
                ->popupMenu(ElementKind::Basin)
                ->findChild<QAction*>("Mnu_Basin_Edit")
                ->trigger();
            return f.ctx.existing<FrmBasUpdate>();
        };
        // Travel Length 100 -> 300, Update without Calculate: Tc is computed from 300 ft.
        FrmBasUpdate* dialog = edit();
        QCOMPARE(dialog->findChild<QLineEdit*>("TxtTc")->text().toStdString(), stored);
        FillField(dialog, "TxtLength", "300");
        ClickButton(dialog, "CmdOK");
        settle();
        const std::string recomputed =
            cell(path, "SELECT Tc FROM TblBasinInfo WHERE BasinTag = 'Basin1'");
        QVERIFY(recomputed != stored);
        // Calculated in the dialog, the same inputs give the same Tc.
        dialog = edit();
        ClickButton(dialog, "CmdCalculate");
        QCOMPARE(dialog->findChild<QLineEdit*>("TxtTc")->text().toStdString(), recomputed);

        // The inputs change, then the user types Tc: kept as typed, and said so.
        FillField(dialog, "TxtLength", "250");
        QLabel* note = dialog->findChild<QLabel*>("LblTcTyped");
        QVERIFY(note && !note->isVisible());
        QTest::keyClicks(dialog->findChild<QLineEdit*>("TxtTc"), "9");
        QVERIFY(note->isVisible());
        QCOMPARE(note->text(), QStringLiteral("typed, not computed"));
        SaveScreenshot(dialog, "FrmBasUpdate-typed-tc");
        const QString typed = dialog->findChild<QLineEdit*>("TxtTc")->text();
        ClickButton(dialog, "CmdOK");
        settle();
        QCOMPARE(QString::fromStdString(
                     cell(path, "SELECT Tc FROM TblBasinInfo WHERE BasinTag = 'Basin1'")),
                 typed);

        // A zero slope on the Update path is refused, typed Tc or not; nothing is stored.
        for (const bool typeTc : {false, true}) {
            f.prompts.shown.clear();
            dialog = edit();
            FillField(dialog, "TxtSlope", "0");
            if (typeTc)
                QTest::keyClicks(dialog->findChild<QLineEdit*>("TxtTc"), "1");
            ClickButton(dialog, "CmdOK");
            QCOMPARE(f.prompts.shown.size(), std::size_t(1));
            QVERIFY2(f.prompts.shown[0].text.contains("slope"),
                     qPrintable(f.prompts.shown[0].text));
            QCOMPARE(cell(path, "SELECT Slope FROM TblBasinInfo WHERE BasinTag = 'Basin1'"),
                     std::string("0.02"));
            dialog->close();
            settle();
        }
    }

    // ---- smaller ones --------------------------------------------------------------------------

    void theNodesLabelFollowsItsRenames() {
        Fixture f;
        const QString path = f.example("a.rmt");
        QVERIFY(f.window.openProjectFile(path));
        FrmNodeInfo* node = FrmNodeInfo::open(f.ctx, &f.window);
        FillField(node, "TxtNodeName", "Outfall OF-2");
        ClickButton(node, "CmdUpdate");
        QCOMPARE(cell(path, "SELECT NodeName FROM TblNodeInfo"), std::string("Outfall OF-2"));
        QCOMPARE(f.canvas()->view()->nameShown(ElementKind::Node, 0),
                 QStringLiteral("Outfall OF-2"));
        settle();
        FrmInfo* setup = FrmInfo::open(f.ctx, &f.window);
        FillField(setup, "TxtBasinName", "Outfall & Weir");
        ClickButton(setup, "CmdOK");
        QCOMPARE(cell(path, "SELECT NodeName FROM TblNodeInfo"), std::string("Outfall & Weir"));
        QCOMPARE(f.canvas()->view()->nameShown(ElementKind::Node, 0),
                 QStringLiteral("Outfall & Weir"));
    }

    void anAmpersandInANameShowsInItsPopupMenu() {
        Fixture f;
        QVERIFY(f.window.openProjectFile(f.example("a.rmt")));
        CanvasView* view = f.canvas()->view();
        const QPoint at = view->viewPointOf(ElementKind::Basin, 1);
        QTest::mousePress(view->viewport(), Qt::RightButton, {}, at);
        QMenu* menu = f.canvas()->popupMenu(ElementKind::Basin);
        QAction* name = menu->findChild<QAction*>("MnuBasinName");
        QCOMPARE(name->text(), QStringLiteral("Lots 1-6 roofs && drives")); // shows one "&"
        QCOMPARE(name->iconText(), QStringLiteral("Lots 1-6 roofs & drives"));
        menu->hide();
    }

    void theContextMenusPasteFollowsTheKeyFiltersRule() {
        Fixture f;
        QVERIFY(f.window.openProjectFile(f.example("a.rmt")));
        FrmBasInfo* dialog = ShowWindow<FrmBasInfo>(f.ctx);
        QLineEdit* area = dialog->findChild<QLineEdit*>("TxtArea");
        const auto pasteFromMenu = [&](const QString& clip) {
            QGuiApplication::clipboard()->setText(clip);
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2),
                                    area->mapToGlobal(QPoint(2, 2)));
            QCoreApplication::sendEvent(area, &event);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            QAction* paste = menu->findChild<QAction*>("edit-paste");
            QVERIFY(paste);
            paste->trigger();
            menu->close();
        };
        pasteFromMenu("12abc");
        QCOMPARE(area->text(), QString());
        QVERIFY(area->property("pluvaneRefused").toString().contains("12abc"));
        pasteFromMenu("1.5");
        QCOMPARE(area->text(), QStringLiteral("1.5"));
    }

    void choosingTheShownRoughnessEntryRewritesN() {
        Fixture f;
        QVERIFY(f.window.openProjectFile(f.example("a.rmt")));
        FrmBasInfo* dialog = ShowWindow<FrmBasInfo>(f.ctx);
        auto* list = dialog->findChild<QComboBox*>("CmbN");
        QLineEdit* n = dialog->findChild<QLineEdit*>("TxtN");
        const QString entryN = n->text();
        n->setText("0.5");
        emit list->activated(list->currentIndex()); // the user picks the entry already shown
        QCOMPARE(n->text(), entryN);
    }
};

QTEST_MAIN(TstProjectSession)
#include "tst_project_session.moc"
