// Ordinary daily work on the canvas: where the file dialogs start, the recent list, Save
// Project As, the keys, the status bar, read-only projects, Fit and the printed drawing.
#include "GuiTestSupport.h"
#include "core/Settings.h"
#include "core/io/IoMessages.h"
#include "core/store/Database.h"
#include "core/store/ProjectLock.h"
#include "core/store/StoreMessages.h"
#include "gui/app/AppContext.h"
#include "gui/app/MDIFrmMain.h"
#include "gui/app/ToolTipKeys.h"
#include "gui/elements/BasinDialogs.h"
#include "gui/elements/ChannelDialogs.h"
#include "gui/elements/SurfaceDialogs.h"
#include "gui/network/CanvasView.h"
#include "gui/network/FrmDraw.h"
#include "gui/report/FrmViewReport.h"
#include "gui/settings/FrmInfo.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QToolBar>
#include <QtTest>

#include <unistd.h>

using namespace pluvane;
using namespace pluvane::gui;
using namespace pluvane::gui::test;

namespace {

// Points the settings file at a folder of the test's own for as long as it lives.
struct PrivateSettings {
    QTemporaryDir dir;
    QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    PrivateSettings() { qputenv("XDG_CONFIG_HOME", dir.path().toUtf8()); }
    ~PrivateSettings() { qputenv("XDG_CONFIG_HOME", saved); }
};

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(20000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class TstDailyUse : public QObject {
    Q_OBJECT

    // The settings first: the window reads its recent list when it is made.
    struct Fixture : PrivateSettings, MainWindowFixture {
        Fixture() {
            window.resize(1000, 700);
            window.activateWindow();
            if (!QTest::qWaitForWindowActive(&window))
                qWarning("the main window did not become active");
        }
        QString path() { return QString::fromStdString(ctx.workspace().ProjectPath); }
        QAction* action(const char* name) { return canvas()->findChild<QAction*>(name); }
        void newProject(const QString& file) {
            MainWindowFixture::newProject(file, "Harbour Road");
        }
        void add(ElementKind kind, const QString& name) {
            canvas()->addElement(kind);
            QWidget* dialog = nullptr;
            if (kind == ElementKind::Basin) {
                dialog = ctx.existing<FrmBasInfo>();
                QVERIFY(dialog);
                FillField(dialog, "TxtBasinName", name);
                FillField(dialog, "TxtArea", "2");
                FillField(dialog, "TxtSlope", "0.02");
                FillField(dialog, "TxtSoilType", "Parks, cemeteries");
                FillField(dialog, "TxtC", "0.3");
                FillField(dialog, "TxtLength", "100");
            } else if (kind == ElementKind::Surface) {
                dialog = ctx.existing<FrmSurfaceAddInfo>();
                QVERIFY(dialog);
                FillField(dialog, "TxtSurfName", name);
                FillField(dialog, "TxtLength", "300");
                FillField(dialog, "TxtSlope", "0.02");
            } else {
                dialog = ctx.existing<FrmChannelAddInfo>();
                QVERIFY(dialog);
                FillField(dialog, "TxtChannelName", name);
                FillField(dialog, "TxtArea", "4");
                FillField(dialog, "TxtWP", "6.5");
                FillField(dialog, "TxtSlope", "0.005");
                FillField(dialog, "TxtLength", "600");
            }
            ClickButton(dialog, "CmdOK");
        }
        QStringList recentMenu() {
            // The menu bar's own: a closed canvas may wait for its deletion with its menus.
            QMenu* menu = (canvas() ? canvas()->menuBar() : window.menuBar())
                              ->findChild<QMenu*>("MnuRecentProjects");
            emit menu->aboutToShow();
            QStringList items;
            for (QAction* item : menu->actions())
                items << QString("%1%2").arg(item->isEnabled() ? "" : "-", item->text());
            return items;
        }
    };

private slots:
    void theFileDialogsStartWhereTheProjectIs() {
        Fixture f;
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        // The first time: the user's documents (their home when there is no such folder).
        f.window.newProject();
        QCOMPARE(f.prompts.starts.back(),
                 QFileInfo(documents).isDir() ? documents : QDir::homePath());

        QVERIFY(QDir(f.data.dir.path()).mkpath("jobs"));
        const QString site = f.data.path("jobs/site.rmt");
        f.newProject(site);
        f.add(ElementKind::Basin, "Lot A");
        f.canvas()->findChild<QAction*>("MnuOpen")->trigger();
        QCOMPARE(f.prompts.starts.back(), f.data.path("jobs"));
        f.canvas()->solve();
        FrmViewReport* report = f.ctx.existing<FrmViewReport>();
        QVERIFY(report);
        report->saveAs();
        QCOMPARE(f.prompts.starts.back(), f.data.path("jobs/site.rtf"));
        report->exportPdf();
        QCOMPARE(f.prompts.starts.back(), f.data.path("jobs/site.pdf"));
        // Remembered by the settings file: a later run starts New there too.
        f.window.closeCanvas();
        f.window.newProject();
        QCOMPARE(f.prompts.starts.back(), f.data.path("jobs"));
    }

    // The same file `pluvane-cli solve --csv` writes, from the solve the report shows; refused
    // over the project itself.
    void theReportExportsTheResultsAsTheCommandLineDoes() {
        Fixture f;
        const QString site = f.data.path("site.rmt");
        f.newProject(site);
        f.add(ElementKind::Basin, "Lot A");
        f.add(ElementKind::Surface, "Gutter, east");
        f.canvas()->solve();
        FrmViewReport* report = f.ctx.existing<FrmViewReport>();
        QVERIFY(report);
        QAction* exportCsv = report->findChild<QAction*>("TbExportCsv");
        QVERIFY(exportCsv);
        QCOMPARE(exportCsv->toolTip(), QString("Export Results (CSV)"));
        QCoreApplication::processEvents(); // the toolbar lays out the tools added after showing
        SaveScreenshot(report->toolbar(), "report-toolbar");

        f.prompts.fileNames = {site, f.data.path("results")};
        exportCsv->trigger();
        QCOMPARE(f.prompts.starts.back(), f.data.path("site.csv"));
        QVERIFY(f.prompts.texts().back().startsWith("The results were not exported."));
        exportCsv->trigger(); // the suffix is added to a name without one
        const QByteArray exported = bytesOf(f.data.path("results.csv"));
        QVERIFY(exported.startsWith("path,solved,failure,location,source,A,C,"));

        f.window.closeCanvas(); // the command line is refused an open project
        QStringList arguments{"solve", site, "--csv"};
        if (ReportReviewNotesEnabled(Settings::load()))
            arguments << "--review";
        QCOMPARE(exported, run(QString(PLUVANE_BIN_DIR) + "/pluvane-cli", arguments).toUtf8());
    }

    void theRecentListFollowsOpenMoveAndDelete() {
        Fixture f;
        const QString a = f.data.path("a.rmt"), b = f.data.path("b.rmt"),
                      c = f.data.path("c&d.rmt");
        f.newProject(a);
        f.window.closeCanvas();
        QVERIFY(QFile::copy(a, b) && QFile::copy(a, c));
        QVERIFY(f.window.openProjectFile(b));
        QVERIFY(f.window.openProjectFile(c));
        const QString folder = QDir::toNativeSeparators(f.data.dir.path());
        QCOMPARE(f.recentMenu(),
                 (QStringList{"&1 c&&d.rmt  (" + folder + ")", "&2 b.rmt  (" + folder + ")",
                              "&3 a.rmt  (" + folder + ")"}));

        // b moved away: greyed out; opening it anyway (a stale menu) says so and drops it.
        QVERIFY(QFile::rename(b, f.data.path("moved.rmt")));
        QCOMPARE(f.recentMenu().at(1), "-&2 b.rmt  (" + folder + ")");
        f.window.openRecentProject(b);
        QCOMPARE(f.prompts.texts(),
                 QStringList{QString::fromStdString(RecentProjectMissingMessage(b.toStdString()))});
        QCOMPARE(f.recentMenu().size(), 2);
        QCOMPARE(f.path(), c); // the open project stayed open
        QMenu* shown = f.canvas()->menuBar()->findChild<QMenu*>("MnuRecentProjects");
        shown->adjustSize();
        SaveScreenshot(shown, "recent-projects-menu");

        // The menu's own item opens the project and puts it first.
        QMenu* menu = f.canvas()->menuBar()->findChild<QMenu*>("MnuRecentProjects");
        emit menu->aboutToShow();
        menu->actions().at(1)->trigger();
        QCOMPARE(f.path(), a);
        QVERIFY(f.recentMenu().at(0).startsWith("&1 a.rmt"));
        // The start screen lists the same projects.
        f.window.closeCanvas();
        QCOMPARE(f.recentMenu().size(), 2);
        QVERIFY(QFile::remove(c));
        QVERIFY(f.recentMenu().at(1).startsWith("-&2 c&&d.rmt"));
    }

    void saveProjectAsContinuesOnTheCopy() {
        Fixture f;
        const QString original = f.data.path("site.rmt"), copy = f.data.path("alternative.rmt");
        f.newProject(original);
        f.add(ElementKind::Basin, "Lot A");

        // The files it must never write over are refused, and nothing changes.
        const Workspace& ws = f.ctx.workspace();
        for (const auto& [target, role] :
             {std::pair{original, kRoleOpenProject},
              std::pair{QString::fromStdString(ws.intensityDbPath()), kRoleRainfallDatabase},
              std::pair{QString::fromStdString(ws.templatePath()), kRoleTemplate}}) {
            f.prompts.shown.clear();
            const QByteArray before = bytesOf(target);
            f.prompts.fileNames.push_back(target);
            f.action("MnuSaveProjectAs")->trigger();
            QCOMPARE(f.prompts.shown.size(), std::size_t{1});
            QVERIFY2(
                f.prompts.texts().front().contains(QString::fromUtf8(role.data(), role.size())),
                qPrintable(f.prompts.texts().join(" | ")));
            QCOMPARE(bytesOf(target), before);
            QCOMPARE(f.path(), original);
        }

        f.prompts.shown.clear();
        const QByteArray originalBytes = bytesOf(original);
        f.prompts.fileNames.push_back(copy);
        f.action("MnuSaveProjectAs")->trigger();
        QVERIFY2(f.prompts.shown.empty(), qPrintable(f.prompts.texts().join(" | ")));
        QCOMPARE(f.path(), copy);
        QVERIFY(f.canvas()->parentWidget()->windowTitle().startsWith("alternative.rmt"));
        QVERIFY(f.canvas()->statusText("LblProject").contains("alternative.rmt"));
        // The lock moved: the copy is held, the original is free for another window.
        QVERIFY(ProjectLock::isHeldElsewhere(copy.toStdString()));
        QVERIFY(!ProjectLock::isHeldElsewhere(original.toStdString()));
        QVERIFY(f.recentMenu().at(0).startsWith("&1 alternative.rmt"));

        // Work goes on in the copy; the original is left as it was.
        f.add(ElementKind::Surface, "Swale B");
        QCOMPARE(bytesOf(original), originalBytes);
        f.window.closeCanvas();
        QVERIFY(f.window.openProjectFile(copy));
        QCOMPARE(f.canvas()->model().LiveCount(ElementKind::Basin), 1);
        QCOMPARE(f.canvas()->model().LiveCount(ElementKind::Surface), 1);
        f.window.closeCanvas();
        QVERIFY(f.window.openProjectFile(original));
        QCOMPARE(f.canvas()->model().LiveCount(ElementKind::Surface), 0);
    }

    void everyCommandHasItsKey_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("tip");
        QTest::newRow("new") << "MnuNew" << QKeySequence("Ctrl+N") << "TbDraw_New"
                             << "Start a New Project (Ctrl+N)";
        QTest::newRow("open") << "MnuOpen" << QKeySequence("Ctrl+O") << "TbDraw_Open"
                              << "Open Existing Project (Ctrl+O)";
        QTest::newRow("close") << "MnuFileClose" << QKeySequence("Ctrl+W") << "TbDraw_Close"
                               << "Close this Project (Ctrl+W)";
        QTest::newRow("overland") << "MnuAddSubBasin" << QKeySequence("Ctrl+Shift+V")
                                  << "TbDraw_Overland"
                                  << "Add Overland Flow (Ctrl+Shift+V)";
        QTest::newRow("shallow") << "MnuAddSCF" << QKeySequence("Ctrl+Shift+U") << "TbDraw_Surface"
                                 << "Add Shallow Concentrated Flow (Ctrl+Shift+U)";
        QTest::newRow("channel") << "MnuAddChanelFlow" << QKeySequence("Ctrl+Shift+H")
                                 << "TbDraw_Channel"
                                 << "Add New Channel (Ctrl+Shift+H)";
        QTest::newRow("solve") << "MnuSolve" << QKeySequence("F5") << "TbDraw_Solve"
                               << "Solve System (F5)";
        QTest::newRow("save as") << "MnuSaveProjectAs" << QKeySequence("Ctrl+Shift+S") << ""
                                 << "";
        QTest::newRow("print") << "MnuPrintDrawing" << QKeySequence("Ctrl+P") << ""
                               << "";
    }

    void everyCommandHasItsKey() {
        QFETCH(QString, command);
        QFETCH(QKeySequence, key);
        QFETCH(QString, button);
        QFETCH(QString, tip);
        Fixture f;
        f.newProject(f.data.path("keys.rmt"));
        QAction* menuItem = f.action(command.toUtf8().constData());
        QVERIFY(menuItem);
        QCOMPARE(menuItem->shortcut(), key); // the menu shows it beside the caption
        if (!button.isEmpty())
            QCOMPARE(ToolTipShown(f.action(button.toUtf8().constData())), tip);
        // Pressed on the canvas, the key runs the command: each asks something or opens a window.
        f.prompts.fileNames.clear();
        const std::size_t asked = f.prompts.starts.size();
        if (command == "MnuSolve")
            f.add(ElementKind::Basin, "Lot A");
        const QString pdf = f.data.path("keys.pdf");
        f.prompts.printFiles = {pdf};
        QTest::keyClick(f.canvas()->view(), key[0].key(), key[0].keyboardModifiers());
        if (command == "MnuFileClose")
            QVERIFY(!f.canvas());
        else if (command == "MnuAddSubBasin")
            QVERIFY(f.ctx.existing<FrmBasInfo>());
        else if (command == "MnuAddSCF")
            QVERIFY(f.ctx.existing<FrmSurfaceAddInfo>());
        else if (command == "MnuAddChanelFlow")
            QVERIFY(f.ctx.existing<FrmChannelAddInfo>());
        else if (command == "MnuSolve")
            QVERIFY(f.ctx.existing<FrmViewReport>());
        else if (command == "MnuPrintDrawing")
            QVERIFY(QFileInfo(pdf).size() > 0);
        else
            QCOMPARE(f.prompts.starts.size(), asked + 1);
    }

    void theStartScreenAndSolveTakeTheirKeysToo() {
        Fixture f;
        for (const QKeySequence& key : {QKeySequence("Ctrl+N"), QKeySequence("Ctrl+O")}) {
            const std::size_t asked = f.prompts.starts.size();
            QTest::keyClick(&f.window, key[0].key(), key[0].keyboardModifiers());
            QCOMPARE(f.prompts.starts.size(), asked + 1);
        }
        QCOMPARE(ToolTipShown(f.window.findChild<QAction*>("TbNew")),
                 QString("Start a New File (Ctrl+N)"));
        f.newProject(f.data.path("solve.rmt"));
        f.add(ElementKind::Basin, "Lot A");
        for (const char* name : {"MnuFile", "MnuData"}) {
            QMenu* menu = f.canvas()->menuBar()->findChild<QMenu*>(name);
            menu->adjustSize();
            SaveScreenshot(menu, QString("keys-%1").arg(name));
        }
        QTest::keyClick(f.canvas()->view(), Qt::Key_R, Qt::ControlModifier);
        QVERIFY(f.ctx.existing<FrmViewReport>());
        // Ctrl+W then Ctrl+O from the start screen: the same keys on both.
        QTest::keyClick(f.canvas()->view(), Qt::Key_W, Qt::ControlModifier);
        QVERIFY(!f.canvas());
        f.prompts.fileNames = {f.data.path("solve.rmt")};
        QTest::keyClick(&f.window, Qt::Key_O, Qt::ControlModifier);
        QVERIFY(f.canvas());
    }

    void theStatusBarTellsTheProjectAndItsLastSolve() {
        Fixture f;
        f.newProject(f.data.path("status.rmt"));
        FrmDraw* canvas = f.canvas();
        QCOMPARE(canvas->statusText("LblProject"), QDir::toNativeSeparators(f.path()));
        QCOMPARE(canvas->statusText("LblRainfall"), QString("Rainfall: Atlanta"));
        QCOMPARE(canvas->statusText("LblSolve"), QString("Not solved yet"));
        f.add(ElementKind::Basin, "Lot A");
        f.add(ElementKind::Channel, "Ditch C");
        QCOMPARE(canvas->statusText("LblCounts"),
                 QString("Overland 1/20  Shallow 0/20  Channel 1/20"));

        // The pointer over the node's corner: its position, twips on the sheet, in feet.
        const CanvasImage& node = canvas->model().image(ElementKind::Node, 0);
        QWidget* viewport = canvas->view()->viewport();
        const QPoint corner = canvas->view()->viewPointOf(ElementKind::Node, 0, 0, 0);
        QMouseEvent move(QEvent::MouseMove, corner, viewport->mapToGlobal(corner), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        const QPointF at = canvas->view()->mapToScene(corner);
        QVERIFY(std::abs(at.x() - node.left) < 20);
        QCOMPARE(canvas->statusText("LblPointer"), QString("x %1 ft, y %2 ft")
                                                       .arg(at.x() / 17280.0, 0, 'f', 3)
                                                       .arg(at.y() / 17280.0, 0, 'f', 3));

        canvas->solve();
        double q100 = 0;
        {
            Database db = Database::open(f.path().toStdString(), Database::Mode::ReadOnly);
            Statement q = db.prepare("SELECT Qpeak_100 FROM TblResults");
            QVERIFY(q.step());
            q100 = QString::fromStdString(q.text(0).value_or("")).toDouble();
        }
        QVERIFY(q100 > 0);
        const QString solved = canvas->statusText("LblSolve");
        QVERIFY2(QRegularExpression(QString("^Q100 %1 cfs at \\d\\d:\\d\\d$").arg(q100, 0, 'f', 2))
                     .match(solved)
                     .hasMatch(),
                 qPrintable(solved));

        // A change of the project, then of its rainfall table, leaves the result out of date.
        f.add(ElementKind::Surface, "Swale B");
        QVERIFY2(f.prompts.shown.empty(), qPrintable(f.prompts.texts().join(" | ")));
        QCOMPARE(canvas->statusText("LblSolve"), solved + " (out of date)");
        QCOMPARE(canvas->statusText("LblCounts"),
                 QString("Overland 1/20  Shallow 1/20  Channel 1/20"));
        f.ctx.existing<FrmViewReport>()->close();
        canvas->solve();
        QVERIFY(!canvas->statusText("LblSolve").endsWith("(out of date)"));
        f.ctx.session().setCurrentIntensityTable("Boston");
        QVERIFY(canvas->statusText("LblSolve").endsWith("(out of date)"));
        QCOMPARE(canvas->statusText("LblRainfall"), QString("Rainfall: Boston"));
        f.window.resize(1100, 700);
        SaveScreenshot(&f.window, "canvas-status-bar");
    }

    void aReadOnlyProjectSaysSoWhenItOpens() {
        Fixture f;
        const QString path = f.data.path("locked.rmt");
        f.newProject(path);
        f.add(ElementKind::Basin, "Lot A");
        f.window.closeCanvas();
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
        if (::access(path.toLocal8Bit().constData(), W_OK) == 0)
            QSKIP("file permissions do not stop this user's writes (root): no read-only file");
        f.prompts.shown.clear();
        QVERIFY(f.window.openProjectFile(path));
        QVERIFY(f.canvas()->parentWidget()->windowTitle().contains("[read-only]"));
        const QString reason =
            QString::fromStdString(ReadOnlyProjectMessage("the file is read-only"));
        for (const char* name : {"MnuAddSubBasin", "MnuAddSCF", "MnuAddChanelFlow", "MnuSolve",
                                 "MnuProjectInfo", "MnuDeleteSelected"}) {
            QVERIFY2(!f.action(name)->isEnabled(), name);
            QCOMPARE(f.action(name)->toolTip(), reason);
        }
        QAction* solveButton = f.action("TbDraw_Solve");
        QVERIFY(!solveButton->isEnabled());
        QCOMPARE(ToolTipShown(solveButton), "Solve System (F5)\n" + reason);
        QVERIFY(f.action("MnuSaveProjectAs")->isEnabled());
        QVERIFY(f.action("MnuPrintDrawing")->isEnabled());
        SaveScreenshot(&f.window, "canvas-read-only");
        // A drag moves nothing; closing says nothing.
        const CanvasImage before = f.canvas()->model().image(ElementKind::Basin, 1);
        CanvasView* view = f.canvas()->view();
        const QPoint from = view->viewPointOf(ElementKind::Basin, 1);
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, from);
        QTest::mouseMove(view->viewport(), from + QPoint(60, 40));
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, from + QPoint(60, 40));
        QCOMPARE(f.canvas()->model().image(ElementKind::Basin, 1).left, before.left);
        // Enter still shows the element's values; only saving them is greyed.
        QTest::keyClick(view, Qt::Key_Return);
        auto* update = f.ctx.existing<FrmBasUpdate>();
        QVERIFY(update);
        QCOMPARE(update->findChild<QLineEdit*>("TxtBasinName")->text(), QString("Lot A"));
        QVERIFY(!update->findChild<QPushButton*>("CmdOK")->isEnabled());
        update->close();
        f.window.closeCanvas();
        QVERIFY2(f.prompts.shown.empty(), qPrintable(f.prompts.texts().join(" | ")));
    }

    void fitFillsTheWindowWithTheDrawing_data() {
        QTest::addColumn<double>("far");
        QTest::newRow("small drawing") << 3000.0;
        QTest::newRow("large drawing") << 40000.0;
    }

    void fitFillsTheWindowWithTheDrawing() {
        QFETCH(double, far);
        Fixture f;
        f.newProject(f.data.path("fit.rmt"));
        f.add(ElementKind::Basin, "Lot A");
        FrmDraw* canvas = f.canvas();
        CanvasView* view = canvas->view();
        const CanvasImage& node = canvas->model().image(ElementKind::Node, 0);
        canvas->model().MoveImage(ElementKind::Basin, 1, static_cast<float>(node.left + far),
                                  static_cast<float>(node.top + far * 0.75));
        view->sync();
        f.action("MnuZoomFit")->trigger();
        const QRectF drawing = view->drawingRect();
        const QRectF seen =
            view->viewportTransform().inverted().mapRect(QRectF(view->viewport()->rect()));
        QVERIFY(seen.contains(drawing));
        // Filled: the drawing takes most of the window one way or the other.
        const double filled =
            std::max(drawing.width() / seen.width(), drawing.height() / seen.height());
        QVERIFY2(filled > 0.7, qPrintable(QString::number(filled)));
        QVERIFY(far > 10000 ? view->zoom() < 1 : view->zoom() > 1);
        QVERIFY(view->zoom() <= CanvasView::kMaxFitZoom);
    }

    void thePrintedDrawingIsOnePageWithEveryName() {
        Fixture f;
        f.newProject(f.data.path("print.rmt"));
        f.add(ElementKind::Basin, "Lot A");
        f.add(ElementKind::Surface, "Swale B");
        f.add(ElementKind::Channel, "Ditch C");
        const QString pdf = f.data.path("drawing.pdf");
        f.prompts.printFiles = {pdf};
        f.action("MnuPrintDrawing")->trigger();
        QVERIFY2(f.prompts.shown.empty(), qPrintable(f.prompts.texts().join(" | ")));
        const QString text = run("pdftotext", {pdf, "-"});
        for (const QString& expected :
             {QString("Harbour Road"), QString("print.rmt"), QString("Lot A"), QString("Swale B"),
              QString("Ditch C"), QString("Outfall 1"), QDate::currentDate().toString(Qt::ISODate)})
            QVERIFY2(text.contains(expected), qPrintable(expected + " not in: " + text));
        QVERIFY2(QRegularExpression("Pages:\\s+1\\n").match(run("pdfinfo", {pdf})).hasMatch(),
                 qPrintable(run("pdfinfo", {pdf})));
        if (const QString shots = qEnvironmentVariable("PLUVANE_SCREENSHOTS"); !shots.isEmpty())
            run("pdftoppm", {"-png", "-r", "50", "-singlefile", pdf, shots + "/print-drawing"});
        // Cancelled in the print dialog: nothing is written.
        QVERIFY(QFile::remove(pdf));
        f.action("MnuPrintDrawing")->trigger();
        QVERIFY(!QFileInfo::exists(pdf));
    }
};

QTEST_MAIN(TstDailyUse)
#include "tst_daily_use.moc"
