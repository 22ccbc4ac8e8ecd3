// Timings of the desktop program, headless: start-up to the main window shown, opening a
// project of 60 elements, one drag step with 60 connectors, one release write, the PDF of
// the 60-element report.
// Run: QT_QPA_PLATFORM=offscreen build/bin/pluvane-gui-bench
#include "core/elements/ElementRecords.h"
#include "core/report/ReportBuilder.h"
#include "core/store/ProjectDb.h"
#include "gui/app/AppContext.h"
#include "gui/app/MDIFrmMain.h"
#include "gui/app/Prompts.h"
#include "gui/network/CanvasView.h"
#include "gui/network/FrmDraw.h"
#include "gui/report/ReportPdf.h"

#include <QApplication>
#include <QTest>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace pluvane;
using namespace pluvane::gui;

namespace {

struct Data {
    fs::path folder =
        fs::temp_directory_path() / ("pluvane-gui-bench-" + std::to_string(::getpid()));
    Workspace ws;
    Data() {
        fs::create_directories(folder);
        for (const char* file : {"empty.mdb", "intensity.mdb"})
            fs::copy_file(fs::path(PLUVANE_BIN_DIR) / file, folder / file,
                          fs::copy_options::overwrite_existing);
        ws.DataFolder = folder.string();
        ws.ProjectPath = (folder / "sixty.rmt").string();
        CreateProjectFromTemplate(ws, ws.ProjectPath);
        {
            Database db = OpenProjectDb(ws);
            db.exec("INSERT INTO TblNodeInfo VALUES ('Outfall', 'Atlanta', '5040', '5160')");
        }
        for (int i = 1; i <= 20; ++i) {
            const long long x = 300 + 300 * i;
            InsertBasin(ws, "Basin" + std::to_string(i), x, 800,
                        {"Lot", "1", "Parks", "0.2", "0.02", "100", "Range", "0.13", "5"});
            InsertSurface(ws, "Surface" + std::to_string(i), x, 2000,
                          {"Swale", "0.01", "300", "1.6130", "Unpaved", "3.1"});
            InsertChannel(ws, "Channel" + std::to_string(i), x, 3200,
                          {"Ditch", "10", "8", "0.005", "1000", "Concrete Channel", "0.013",
                           "9.3792", "1.777"});
        }
    }
    ~Data() { fs::remove_all(folder); }
};

Data& data() {
    static Data instance;
    return instance;
}

void StartupToMainWindowShown(benchmark::State& state) {
    for (auto _ : state) {
        RecordingPrompts prompts;
        AppContext ctx(data().ws, prompts);
        MDIFrmMain window(ctx);
        window.show();
        benchmark::DoNotOptimize(QTest::qWaitForWindowExposed(&window));
    }
}
BENCHMARK(StartupToMainWindowShown)->Unit(benchmark::kMillisecond);

void OpenProjectOfSixtyElements(benchmark::State& state) {
    RecordingPrompts prompts;
    AppContext ctx(data().ws, prompts);
    MDIFrmMain window(ctx);
    window.show();
    const QString path = QString::fromStdString(data().ws.ProjectPath);
    for (auto _ : state) {
        window.openProjectFile(path);
        QApplication::processEvents();
        state.PauseTiming();
        window.closeCanvas();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(OpenProjectOfSixtyElements)->Unit(benchmark::kMillisecond);

// Export PDF of the 60-element report: layout on the PDF device, pages, header and footer.
void ExportPdfOfSixtyElements(benchmark::State& state) {
    Workspace ws = data().ws;
    const RichDocument document = RenderReport(SolveProject(ws));
    const QString path = QString::fromStdString((data().folder / "report.pdf").string());
    for (auto _ : state)
        WriteReportPdf(document, path);
}
BENCHMARK(ExportPdfOfSixtyElements)->Unit(benchmark::kMillisecond);

void DragStepAndReleaseWrite(benchmark::State& state, bool release) {
    RecordingPrompts prompts;
    AppContext ctx(data().ws, prompts);
    MDIFrmMain window(ctx);
    window.show();
    window.openProjectFile(QString::fromStdString(data().ws.ProjectPath));
    CanvasView* view = window.canvas()->view();
    QWidget* viewport = view->viewport();
    const QPoint start = view->viewPointOf(ElementKind::Basin, 10);
    QTest::mousePress(viewport, Qt::LeftButton, {}, start);
    int step = 0;
    for (auto _ : state) {
        const QPoint to = start + QPoint(step % 40, step % 30);
        ++step;
        if (release) {
            QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
            state.PauseTiming();
            QTest::mousePress(viewport, Qt::LeftButton, {}, to);
            state.ResumeTiming();
        } else {
            QTest::mouseMove(viewport, to);
        }
    }
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, start);
    window.closeCanvas();
}
BENCHMARK_CAPTURE(DragStepAndReleaseWrite, drag_step_60_connectors, false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DragStepAndReleaseWrite, release_write, true)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
