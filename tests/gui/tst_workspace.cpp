// The whole program on real files, as a user goes through it: New, project setup, elements of
// each kind, dragging, deleting, the element limit, Solve, Close, Open, the cancel paths and a
// second instance on the same file.
#include "GuiTestSupport.h"
#include "core/Settings.h"
#include "core/store/Database.h"
#include "core/store/IntensityDb.h"
#include "core/store/ProjectDb.h"
#include "core/store/ProjectLock.h"
#include "core/text/NumberText.h"
#include "gui/app/AppContext.h"
#include "gui/app/FrmOpen.h"
#include "gui/app/MDIFrmMain.h"
#include "gui/elements/BasinDialogs.h"
#include "gui/elements/ChannelDialogs.h"
#include "gui/elements/SurfaceDialogs.h"
#include "gui/network/CanvasView.h"
#include "gui/network/FrmDraw.h"
#include "gui/rain/FrmIntensityTable.h"
#include "gui/rain/IdfPlot.h"
#include "gui/report/FrmViewReport.h"
#include "gui/settings/FrmInfo.h"
#include "gui/settings/FrmSelectIvalBasin.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTextEdit>
#include <QToolBar>
#include <QtTest>

using namespace pluvane;
using namespace pluvane::gui;
using namespace pluvane::gui::test;

namespace {

std::vector<Record> rows(const std::string& path, const std::string& sql) {
    Database db = Database::open(path, Database::Mode::ReadOnly);
    Statement q = db.prepare(sql);
    return readAll(q);
}

QStringList texts(const RecordingPrompts& prompts) { return prompts.texts(); }

// Points the settings file at a folder of the test's own for as long as it lives.
struct PrivateSettings {
    QTemporaryDir dir;
    QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    PrivateSettings() { qputenv("XDG_CONFIG_HOME", dir.path().toUtf8()); }
    ~PrivateSettings() { qputenv("XDG_CONFIG_HOME", saved); }
    void setReportSource(bool on) {
        Settings settings = Settings::load();
        SetReportRainfallSource(settings, on);
        settings.save();
    }
};

// A partial-duration depth table in the shape the data server exports, made up for the test:
// depths rise with the return period, intensities (depth / hours) fall with the duration.
// The 5-minute, 1-year depth of 0.400 in is an intensity of 4.80 in/hr.
QString writeDepthTable(const QString& path) {
    const std::pair<const char*, double> rows[] = {
        {"5-min", 0.400}, {"10-min", 0.620}, {"15-min", 0.760}, {"30-min", 1.04},
        {"60-min", 1.32}, {"2-hr", 1.60},    {"3-hr", 1.76},    {"6-hr", 2.10},
        {"12-hr", 2.46},  {"24-hr", 2.88},   {"2-day", 3.30}};
    const double factors[] = {1, 1.18, 1.41, 1.59, 1.83, 2.01, 2.19, 2.38, 2.63, 2.82};
    QByteArray text = "Point precipitation frequency estimates (inches)\n"
                      "NOAA Atlas 14 Volume 2 Version 3\n"
                      "Data type: Precipitation depth\n"
                      "Time series type: Partial duration\n"
                      "Project area: Ohio River Basin\n"
                      "Location name (ESRI Maps): Champaign, Illinois, USA\n"
                      "Station Name: -\n"
                      "Latitude: 40.0962 Degree\n"
                      "Longitude: -88.2574 Degree\n"
                      "Elevation (USGS): 755 ft\n\n\n"
                      "PRECIPITATION FREQUENCY ESTIMATES\n"
                      "by duration for ARI (years):, 1,2,5,10,25,50,100,200,500,1000\n";
    for (const auto& [label, depth] : rows) {
        text += QByteArray(label) + ":,";
        for (std::size_t k = 0; k < std::size(factors); ++k)
            text += (k ? "," : " ") + QByteArray::number(depth * factors[k], 'g', 3);
        text += "\n";
    }
    text += "\nDate/time (GMT):  Mon Jun 19 14:23:29 2023\npyRunTime:  0.013230323791503906\n";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write(text);
    return path;
}

} // namespace

class TstWorkspace : public QObject {
    Q_OBJECT

    // One fixture per test: a data folder of its own, recorded prompts, the main window.
    struct Fixture : MainWindowFixture {
        Workspace& ws() { return ctx.workspace(); }
        QString file(const QString& name) { return data.path(name); }
        void newProject(const QString& path) { MainWindowFixture::newProject(path, "Flow test"); }

        void addBasin(const QString& name, const QString& area) {
            window.canvas()->addElement(ElementKind::Basin);
            auto* dialog = ctx.existing<FrmBasInfo>();
            QVERIFY(dialog);
            FillField(dialog, "TxtBasinName", name);
            FillField(dialog, "TxtArea", area);
            FillField(dialog, "TxtSlope", "0.02");
            FillField(dialog, "TxtSoilType", "Parks, cemeteries");
            FillField(dialog, "TxtC", "0.2");
            FillField(dialog, "TxtLength", "100");
            ClickButton(dialog, "CmdOK");
        }
        void addSurface() {
            window.canvas()->addElement(ElementKind::Surface);
            auto* dialog = ctx.existing<FrmSurfaceAddInfo>();
            QVERIFY(dialog);
            FillField(dialog, "TxtSurfName", "Swale");
            FillField(dialog, "TxtLength", "500");
            FillField(dialog, "TxtSlope", "0.01");
            ClickButton(dialog, "CmdOK");
        }
        void addChannel() {
            window.canvas()->addElement(ElementKind::Channel);
            auto* dialog = ctx.existing<FrmChannelAddInfo>();
            QVERIFY(dialog);
            FillField(dialog, "TxtChannelName", "Ditch");
            FillField(dialog, "TxtArea", "10");
            FillField(dialog, "TxtWP", "8");
            FillField(dialog, "TxtSlope", "0.005");
            FillField(dialog, "TxtLength", "1000");
            ClickButton(dialog, "CmdOK");
        }
    };

private slots:
    void init() { QApplication::clipboard(); }

    void aWholeSessionLandsInTheFileAndSurvivesReopening() {
        Fixture f;
        const QString path = f.file("site.rmt");
        f.newProject(path);
        QVERIFY(!f.window.mainToolbar()->isVisible());
        QVERIFY(!f.window.startScreen());
        FrmDraw* canvas = f.window.canvas();
        QCOMPARE(f.ctx.session().CurrentIntensityTable(), std::string("Atlanta"));
        QCOMPARE(rows(path.toStdString(), "SELECT NodeX, NodeY FROM TblNodeInfo")[0].text("NodeX"),
                 std::string("5040"));

        f.addBasin("Lot 'A'", "1.5");
        f.addBasin("Lot B", "2");
        f.addSurface();
        f.addChannel();
        QVERIFY2(f.prompts.shown.empty(), qPrintable(texts(f.prompts).join(" | ")));
        const auto basins = rows(path.toStdString(), "SELECT * FROM TblBasinInfo ORDER BY rowid");
        QCOMPARE(basins.size(), std::size_t(2));
        QCOMPARE(basins[0].text("BasinTag"), std::string("Basin1"));
        QCOMPARE(basins[0].text("BasinName"), std::string("Lot 'A'"));
        QCOMPARE(basins[0].text("BasinX"), std::string("650"));
        QCOMPARE(basins[1].text("BasinX"), std::string("750"));
        QVERIFY(!basins[0].text("Tc").empty());
        QCOMPARE(rows(path.toStdString(), "SELECT SurfVelocity FROM TblSurfaceInfo")[0].text(
                     "SurfVelocity"),
                 std::string("1.6130"));
        QCOMPARE(rows(path.toStdString(), "SELECT ChannelVelocity FROM TblChannelInfo")[0].text(
                     "ChannelVelocity"),
                 std::string("9.3792"));
        QCOMPARE(canvas->view()->connectorCount(), 4);

        // Drag Basin1 by 10 x 6 pixels: its position moves by the same distance in twips and
        // lands in the file at the release.
        CanvasView* view = canvas->view();
        const QPoint start = view->viewPointOf(ElementKind::Basin, 1);
        const QPoint end = start + QPoint(10, 6);
        const CanvasImage before = canvas->model().image(ElementKind::Basin, 1);
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, start);
        QTest::mouseMove(view->viewport(), start + QPoint(5, 3));
        QTest::mouseMove(view->viewport(), end);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, end);
        const CanvasImage after = canvas->model().image(ElementKind::Basin, 1);
        const double twipsPerPixel = 1440.0 / view->logicalDpiX();
        QCOMPARE(after.left - before.left, static_cast<float>(10 * twipsPerPixel));
        QCOMPARE(after.top - before.top, static_cast<float>(6 * twipsPerPixel));
        const auto moved =
            rows(path.toStdString(),
                 "SELECT BasinX, BasinY FROM TblBasinInfo WHERE BasinTag = 'Basin1'");
        QCOMPARE(moved[0].number("BasinX"), static_cast<double>(after.left));
        QCOMPARE(moved[0].number("BasinY"), static_cast<double>(after.top));
        QVERIFY(canvas->model().image(ElementKind::Basin, 1).bordered);

        // Delete Basin2 from its pop-up menu: marked in the file, hidden on the canvas.
        canvas->model().Select(ElementKind::Basin, 2);
        canvas->popupMenu(ElementKind::Basin)->findChild<QAction*>("Mnu_Basin_Delete")->trigger();
        QCOMPARE(rows(path.toStdString(),
                      "SELECT Deleted FROM TblBasinInfo WHERE BasinTag = 'Basin2'")[0]
                     .text("Deleted"),
                 std::string("True"));
        QCOMPARE(canvas->view()->connectorCount(), 3);
        QCOMPARE(canvas->view()->nameShown(ElementKind::Basin, 2),
                 QString()); // hidden with its picture
        QCOMPARE(canvas->view()->nameShown(ElementKind::Basin, 1), QString("Lot 'A'"));

        // Solve: the report window opens; a second Solve brings the same window forward.
        canvas->solve();
        FrmViewReport* report = f.ctx.existing<FrmViewReport>();
        QVERIFY(report);
        canvas->solve();
        QCOMPARE(f.ctx.existing<FrmViewReport>(), report);
        QCOMPARE(rows(path.toStdString(), "SELECT * FROM TblResults").size(), std::size_t(1));
        report->close();

        // Close purges the deleted row and brings back the start screen and the toolbar.
        f.window.closeCanvas();
        QVERIFY(!f.window.canvas());
        QVERIFY(f.window.startScreen());
        QVERIFY(f.window.mainToolbar()->isVisible());
        QCOMPARE(rows(path.toStdString(), "SELECT * FROM TblBasinInfo").size(), std::size_t(1));
        QCOMPARE(f.ctx.network(), nullptr);

        // Open shows exactly the live elements, where they were left.
        f.prompts.fileNames.push_back(path);
        f.window.openProject();
        QVERIFY(f.window.canvas());
        NetworkModel& model = f.window.canvas()->model();
        QCOMPARE(model.LiveCount(ElementKind::Basin), 1);
        QCOMPARE(model.LiveCount(ElementKind::Surface), 1);
        QCOMPARE(model.LiveCount(ElementKind::Channel), 1);
        QCOMPARE(model.image(ElementKind::Basin, 1).left, after.left);
        QCOMPARE(f.window.canvas()->view()->connectorCount(), 3);
        QVERIFY2(f.prompts.shown.empty(), qPrintable(texts(f.prompts).join(" | ")));
    }

    void theLimitOfTwentyAndNothingToSolve() {
        Fixture f;
        const QString path = f.file("limit.rmt");
        f.newProject(path);
        FrmDraw* canvas = f.window.canvas();
        canvas->solve();
        QCOMPARE(texts(f.prompts), QStringList{"Nothing to Solve"});
        QCOMPARE(f.prompts.shown.back().title, QString("Error"));
        f.prompts.shown.clear();
        for (int i = 1; i <= 20; ++i)
            f.addBasin(QString("Lot %1").arg(i), "1");
        QCOMPARE(canvas->model().LiveCount(ElementKind::Basin), 20);
        f.ctx.existing<FrmBasInfo>(); // closed after its save
        canvas->addElement(ElementKind::Basin);
        QCOMPARE(texts(f.prompts), QStringList{"Maximum 20 basins allowed"});
        QCOMPARE(f.prompts.shown.back().title, QString("Maximum Reached"));
        QVERIFY(!f.ctx.existing<FrmBasInfo>());
        canvas->model().Select(ElementKind::Basin, 7);
        canvas->popupMenu(ElementKind::Basin)->findChild<QAction*>("Mnu_Basin_Delete")->trigger();
        canvas->addElement(ElementKind::Basin);
        QVERIFY(f.ctx.existing<FrmBasInfo>());
    }

    void cancelledDialogsChangeNothing() {
        Fixture f;
        const QString path = f.file("keep.rmt");
        f.newProject(path);
        f.addBasin("Kept", "1");
        FrmDraw* canvas = f.window.canvas();
        f.window.newProject(); // the file dialog answers "cancelled"
        QCOMPARE(f.window.canvas(), canvas);
        f.window.openProject();
        QCOMPARE(f.window.canvas(), canvas);
        QCOMPARE(f.ws().ProjectPath, path.toStdString());
        QVERIFY(f.prompts.shown.empty());

        // From the start screen too.
        f.window.closeCanvas();
        f.window.newProject();
        f.window.openProject();
        QVERIFY(!f.window.canvas());
        QVERIFY(!f.ctx.existing<FrmInfo>());
    }

    void aFileWhoseSetupWasNeverCompletedOpensTheSetup() {
        Fixture f;
        const QString path = f.file("bare.rmt");
        CreateProjectFromTemplate(f.ws(), path.toStdString());
        QVERIFY(!f.window.openProjectFile(path));
        QVERIFY(!f.window.canvas());
        QVERIFY(f.ctx.existing<FrmInfo>());
        QVERIFY(f.ctx.existing<FrmInfo>()->isVisible());
    }

    void badFilesAndASecondInstanceAreRefusedAndTheOpenProjectStays() {
        Fixture f;
        const QString path = f.file("mine.rmt");
        f.newProject(path);
        FrmDraw* canvas = f.window.canvas();

        const QString notes = f.file("notes.rmt");
        QFile text(notes);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not a project");
        text.close();
        QVERIFY(!f.window.openProjectFile(notes));
        QVERIFY(texts(f.prompts).last().contains("is not a database"));
        QCOMPARE(f.window.canvas(), canvas);

        QVERIFY(!f.window.openProjectFile(f.file("missing.rmt")));
        QVERIFY(texts(f.prompts).last().contains("does not exist"));

        // Another instance holds a second project: refused, this one stays open.
        const QString other = f.file("theirs.rmt");
        CreateProjectFromTemplate(f.ws(), other.toStdString());
        ProjectLock theirs = ProjectLock::acquire(other.toStdString());
        QVERIFY(!f.window.openProjectFile(other));
        QVERIFY(texts(f.prompts).last().contains("open in another Pluvane window"));
        QCOMPARE(f.window.canvas(), canvas);
        QCOMPARE(f.ws().ProjectPath, path.toStdString());

        // And this instance's own project is held while its canvas is open.
        QVERIFY(ProjectLock::isHeldElsewhere(path.toStdString()));
        f.window.closeCanvas();
        QVERIFY(!ProjectLock::isHeldElsewhere(path.toStdString()));
    }

    void closingTheMainWindowPurgesTheOpenProject() {
        Fixture f;
        const QString path = f.file("exit.rmt");
        f.newProject(path);
        f.addBasin("Goes", "1");
        f.window.canvas()->model().Select(ElementKind::Basin, 1);
        f.window.canvas()
            ->popupMenu(ElementKind::Basin)
            ->findChild<QAction*>("Mnu_Basin_Delete")
            ->trigger();
        QCOMPARE(rows(path.toStdString(), "SELECT * FROM TblBasinInfo").size(), std::size_t(1));
        f.window.close();
        QCOMPARE(rows(path.toStdString(), "SELECT * FROM TblBasinInfo").size(), std::size_t(0));
        QVERIFY(!ProjectLock::isHeldElsewhere(path.toStdString()));
    }

    void editDataAlwaysShowsTheElementItWasChosenOn() {
        Fixture f;
        f.newProject(f.file("edit.rmt"));
        f.addBasin("First", "1");
        f.addBasin("Second", "2");
        FrmDraw* canvas = f.window.canvas();
        QAction* edit =
            canvas->popupMenu(ElementKind::Basin)->findChild<QAction*>("Mnu_Basin_Edit");
        canvas->model().Select(ElementKind::Basin, 1);
        edit->trigger();
        QCOMPARE(f.ctx.existing<FrmBasUpdate>()->findChild<QLineEdit*>("TxtBasinName")->text(),
                 QString("First"));
        canvas->model().Select(ElementKind::Basin, 2);
        edit->trigger();
        QCOMPARE(f.ctx.existing<FrmBasUpdate>()->findChild<QLineEdit*>("TxtBasinName")->text(),
                 QString("Second"));
        // The same element again: the open dialog is brought forward as it stands.
        FrmBasUpdate* open = f.ctx.existing<FrmBasUpdate>();
        open->findChild<QLineEdit*>("TxtBasinName")->setText("Second, edited");
        edit->trigger();
        QCOMPARE(f.ctx.existing<FrmBasUpdate>(), open);
        QCOMPARE(open->findChild<QLineEdit*>("TxtBasinName")->text(), QString("Second, edited"));
    }

    void theExampleProjectOpensAndSolves() {
        // The example the README opens: every kind of element, a solve, the report.
        Fixture f;
        SaveScreenshot(&f.window, "start-screen");
        const QString example = f.file("willow-creek.rmt");
        QVERIFY(QFile::copy(QString(PLUVANE_BIN_DIR) + "/../examples/willow-creek.rmt", example));
        QVERIFY(f.window.openProjectFile(example));
        FrmDraw* canvas = f.window.canvas();
        QCOMPARE(canvas->model().LiveCount(ElementKind::Basin), 3);
        QCOMPARE(canvas->model().LiveCount(ElementKind::Surface), 2);
        QCOMPARE(canvas->model().LiveCount(ElementKind::Channel), 2);
        QCOMPARE(canvas->view()->connectorCount(), 7);
        QCOMPARE(canvas->view()->nameShown(ElementKind::Basin, 1),
                 QString("Lots 1-6 roofs & drives"));
        QCOMPARE(canvas->view()->nameShown(ElementKind::Node, 0), QString("Outfall OF-1"));
        f.window.resize(1100, 760);
        SaveScreenshot(&f.window, "canvas");
        canvas->solve();
        FrmViewReport* report = f.ctx.existing<FrmViewReport>();
        QVERIFY(report);
        report->resize(900, 760);
        SaveScreenshot(report, "report");
        const auto results = rows(example.toStdString(), "SELECT Qpeak_100 FROM TblResults");
        QCOMPARE(results.size(), std::size_t(1));
        QVERIFY(results[0].number("Qpeak_100") > 0);
        QVERIFY2(f.prompts.shown.empty(), qPrintable(texts(f.prompts).join(" | ")));
    }

    void theCanvasMenusAndToolbarAreThoseOfTheDrawingWindow() {
        Fixture f;
        f.newProject(f.file("menus.rmt"));
        FrmDraw* canvas = f.window.canvas();
        QStringList menus;
        for (QAction* action : canvas->menuBar()->actions())
            menus << action->text();
        // The menus of the drawing window keep their order; Edit and View follow File, Help ends.
        QCOMPARE(menus,
                 (QStringList{"File", "Edit", "View", "Intensity", "Data", "About", "Help"}));
        QVERIFY(!canvas->findChild<QAction*>("MnuChangeTable")->isVisible());
        QVERIFY(!canvas->findChild<QAction*>("mnuHelpReportBug")->isVisible());
        QStringList tips;
        for (QAction* action : canvas->findChild<QToolBar*>("TbDraw")->actions())
            tips << (action->isSeparator() ? QString("-") : action->toolTip());
        QCOMPARE(
            tips,
            (QStringList{"Open Existing Project", "Start a New Project", "Close this Project", "-",
                         "Add Overland Flow", "Add Shallow Concentrated Flow", "Add New Channel",
                         "-", "Edit Intensity Table", "Edit Project Information", "-",
                         "Solve System", "-", "Undo the Last Step", "Redo the Step Undone"}));
        // The pop-up menu of an element names it, greyed, above its items.
        f.addBasin("Named lot", "1");
        CanvasView* view = canvas->view();
        QMenu* popup = canvas->popupMenu(ElementKind::Basin);
        QTimer::singleShot(50, popup, &QMenu::close);
        QTest::mousePress(view->viewport(), Qt::RightButton, {},
                          view->viewPointOf(ElementKind::Basin, 1));
        QCOMPARE(popup->actions().first()->text(), QString("Named lot"));
        QVERIFY(!popup->actions().first()->isEnabled());
        QVERIFY(canvas->model().image(ElementKind::Basin, 1).bordered);
        SaveScreenshot(&f.window, "workspace-canvas");
    }

    // ---- Rainfall tables ---------------------------------------------------------------

    void theIntensityMenuAndToolbarOpenTheRainfallEditor() {
        Fixture f;
        f.newProject(f.file("rain.rmt"));
        FrmDraw* canvas = f.window.canvas();
        canvas->findChild<QAction*>("MnuEditTable")->trigger();
        FrmIntensityTable* editor = f.ctx.existing<FrmIntensityTable>();
        QVERIFY(editor && editor->isVisible());
        QCOMPARE(editor->findChild<QLineEdit*>("TxtBasinName")->text(), QString("Atlanta"));
        QCOMPARE(editor->windowIcon().cacheKey(), f.window.windowIcon().cacheKey());
        // The toolbar button brings the same editor forward with what was typed.
        editor->cell(0, 0)->setText("5.5");
        canvas->findChild<QAction*>("TbDraw_Intensity")->trigger();
        QCOMPARE(f.ctx.existing<FrmIntensityTable>(), editor);
        QCOMPARE(editor->cell(0, 0)->text(), QString("5.5"));
        QVERIFY2(f.prompts.shown.empty(), qPrintable(texts(f.prompts).join(" | ")));
    }

    void theRainfallSourceItemKeepsItsSettingInTheSettingsFile() {
        PrivateSettings settings;
        Fixture f;
        f.newProject(f.file("source.rmt"));
        FrmDraw* canvas = f.window.canvas();
        auto* intensity = canvas->findChild<QMenu*>("MnuIntensity");
        QAction* item = canvas->findChild<QAction*>("MnuReportSource");
        QVERIFY(item);
        QCOMPARE(intensity->actions().last(), item);
        QCOMPARE(item->text(), QString("Rainfall Source in Report"));
        QVERIFY(item->isCheckable());
        QVERIFY(!item->isChecked()); // off unless the user turns it on

        item->trigger();
        QVERIFY(item->isChecked());
        QVERIFY(ReportRainfallSourceEnabled(Settings::load()));
        item->trigger();
        QVERIFY(!item->isChecked());
        QVERIFY(!ReportRainfallSourceEnabled(Settings::load()));

        // Turned on elsewhere (the command line): the menu shows it when it opens.
        settings.setReportSource(true);
        emit intensity->aboutToShow();
        QVERIFY(item->isChecked());
        QVERIFY(f.prompts.shown.empty());

        // A settings folder that cannot be made: told, and the item shows what is stored.
        QFile blocker(settings.dir.filePath("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        qputenv("XDG_CONFIG_HOME", blocker.fileName().toUtf8());
        item->trigger();
        QCOMPARE(f.prompts.shown.size(), std::size_t(1));
        QCOMPARE(f.prompts.shown[0].title, QString("Error"));
        QVERIFY(item->isChecked());
    }

    void anImportedTableSavedPickedAndSolvedIsCitedAndPlottedByTheReport() {
        PrivateSettings settings;
        settings.setReportSource(true);
        Fixture f;
        const QString path = f.file("cited.rmt");
        f.newProject(path);
        f.addBasin("Lot 1", "2.5");
        FrmDraw* canvas = f.window.canvas();

        // The published table for the site: imported for review, then saved as a new location.
        f.prompts.fileNames.push_back(writeDepthTable(f.file("PF_Depth_English_PDS.csv")));
        canvas->findChild<QAction*>("MnuEditTable")->trigger();
        FrmIntensityTable* editor = f.ctx.existing<FrmIntensityTable>();
        ClickButton(editor, "CmdAdd");
        ClickButton(editor, "CmdImport");
        QVERIFY2(f.prompts.shown.empty(), qPrintable(texts(f.prompts).join(" | ")));
        QCOMPARE(editor->findChild<QLineEdit*>("TxtBasinName")->text(), QString("Champaign"));
        QVERIFY(std::abs(ParseLenient(editor->cell(0, 0)->text().toStdString()) - 4.80) < 0.005);
        QVERIFY(std::abs(editor->plot()->curves()[0].points[0].intensity - 4.80) < 0.005);
        QVERIFY(!LocationExists(f.ws(), "Champaign"));
        ClickButton(editor, "CmdUpdate");
        QVERIFY(LocationExists(f.ws(), "Champaign"));

        // Picked for the project through Change Basin; the editor comes back showing it.
        canvas->findChild<QAction*>("MnuEditTable")->trigger();
        ClickButton(f.ctx.existing<FrmIntensityTable>(), "CmdSelectBasin");
        FrmSelectIvalBasin* picker = f.ctx.existing<FrmSelectIvalBasin>();
        QVERIFY(picker);
        auto* list = picker->findChild<QListWidget*>("List1");
        list->setCurrentItem(list->findItems("Champaign", Qt::MatchExactly).value(0));
        ClickButton(picker, "CmdOK");
        QCOMPARE(rows(path.toStdString(), "SELECT IValueBasinName FROM TblProjectInfo")[0].text(
                     "IValueBasinName"),
                 std::string("Champaign"));
        editor = f.ctx.existing<FrmIntensityTable>();
        QCOMPARE(editor->findChild<QLineEdit*>("TxtBasinName")->text(), QString("Champaign"));
        editor->close();

        canvas->solve();
        FrmViewReport* report = f.ctx.existing<FrmViewReport>();
        QVERIFY(report);
        const QString text = report->view()->toPlainText();
        QVERIFY2(text.contains("Rainfall: Champaign"), qPrintable(text));
        QVERIFY2(text.contains("NOAA Atlas 14 Volume 2 Version 3"), qPrintable(text));
        auto* idf = report->findChild<QAction*>("TbIdfCurves");
        QVERIFY(idf);
        idf->trigger();
        FrmIdfCurves* curves = report->idfCurvesWindow();
        QVERIFY(curves && curves->isVisible());
        const double tc = rows(path.toStdString(), "SELECT Tc FROM TblBasinInfo")[0].number("Tc");
        QVERIFY(curves->plot()->markedTc());
        QVERIFY(std::abs(*curves->plot()->markedTc() - tc) < 1e-6);
        QVERIFY(std::abs(curves->plot()->curves()[0].points[0].intensity - 4.80) < 0.005);
        SaveScreenshot(curves, "report-idf-curves");
        // Asked whether the project takes the imported table, then offered the recompute of the
        // sub-basin Tc computed with the old P2 (both answered yes).
        const QStringList asked = texts(f.prompts);
        QCOMPARE(asked.size(), 2);
        QVERIFY(asked[0].startsWith("Make Champaign the rainfall table of this project?"));
        QVERIFY(asked[1].startsWith("The rainfall table is now Champaign. The Tc of 1 sub-basin"));
    }
};

QTEST_MAIN(TstWorkspace)
#include "tst_workspace.moc"
