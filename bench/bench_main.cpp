// Timings of the solve and the formulas on real files (the generated template and rainfall
// database, copied to a temporary folder). Run build/bin/pluvane-bench.
#include "core/Workspace.h"
#include "core/elements/ElementCalculations.h"
#include "core/elements/ElementRecords.h"
#include "core/elements/Formulas.h"
#include "core/report/ReportBuilder.h"
#include "core/report/ReportLayout.h"
#include "core/report/RtfWriter.h"
#include "core/solve/SolveEngine.h"
#include "core/solve/SolveProject.h"
#include "core/store/IntensityDb.h"
#include "core/store/ProjectDb.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace pluvane;

namespace {

// A data folder and project of its own for the whole run.
struct BenchFolder {
    fs::path path = fs::temp_directory_path() / ("pluvane-bench-" + std::to_string(::getpid()));
    Workspace ws;

    BenchFolder() {
        fs::create_directories(path);
        for (const char* file : {"empty.mdb", "intensity.mdb"})
            fs::copy_file(fs::path(PLUVANE_BIN_DIR) / file, path / file,
                          fs::copy_options::overwrite_existing);
        ws.DataFolder = path.string();
        ws.ProjectPath = (path / "bench.rmt").string();
        CreateProjectFromTemplate(ws, ws.ProjectPath);
    }
    ~BenchFolder() { fs::remove_all(path); }
};

BenchFolder& folder() {
    static BenchFolder instance;
    return instance;
}

void ComputeResultsEndToEnd(benchmark::State& state) {
    const Workspace& ws = folder().ws;
    double tc = 12.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeResults(ws, "Atlanta", 10.0, 0.9, tc));
        tc = tc > 600 ? 12.0 : tc + 7.0; // walk the table
    }
}
BENCHMARK(ComputeResultsEndToEnd)->Unit(benchmark::kMicrosecond);

void SolveFromRowsInMemory(benchmark::State& state) {
    const std::vector<IntensityRow> rows = ReadLocationRows(folder().ws, "Atlanta");
    for (auto _ : state)
        benchmark::DoNotOptimize(SolveFromRows(rows, 10.0, 0.9, 12.0));
}
BENCHMARK(SolveFromRowsInMemory);

void SheetFlowTcFormula(benchmark::State& state) {
    double n = 0.011;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SheetFlowTc(n, 100.0, 0.02, 3.6));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(SheetFlowTcFormula);

void SheetFlowTcFromFieldsWithRainfallLookup(benchmark::State& state) {
    const Workspace& ws = folder().ws;
    for (auto _ : state)
        benchmark::DoNotOptimize(CalculateSheetFlowTc(ws, "Atlanta", "0.011", "100", "0.02"));
}
BENCHMARK(SheetFlowTcFromFieldsWithRainfallLookup)->Unit(benchmark::kMicrosecond);

void ShallowFlowFromFields(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(CalculateShallowFlow("Unpaved", "500", "0.01"));
}
BENCHMARK(ShallowFlowFromFields);

void ManningFromFields(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(
            CalculateChannelFlow("10", "8", "0.005", "0.013", "1000", ManningOrder::AddDialog));
}
BENCHMARK(ManningFromFields);

void TrapezoidFromFields(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(CalculateTrapezoid("4", "2", "3"));
}
BENCHMARK(TrapezoidFromFields);

} // namespace

namespace {

void ReadRainfallRows(benchmark::State& state) {
    const Workspace& ws = folder().ws;
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadLocationRows(ws, "Atlanta"));
}
BENCHMARK(ReadRainfallRows)->Unit(benchmark::kMicrosecond);

void StoreResultsRow(benchmark::State& state) {
    const Workspace& ws = folder().ws;
    SolveResult result = SolveFromRows(ReadLocationRows(ws, "Atlanta"), 10.0, 0.9, 12.0);
    for (auto _ : state) {
        Database db = OpenProjectDb(ws);
        Transaction transaction(db);
        StoreResults(db, result);
        transaction.commit();
        result.Q[0] += 1.0f; // a new value each time, as a real solve writes
    }
}
BENCHMARK(StoreResultsRow)->Unit(benchmark::kMicrosecond);

} // namespace

namespace {

// A project with the most the canvas allows: 20 live elements of each kind.
const Workspace& fullProject() {
    static const Workspace ws = [] {
        Workspace full = folder().ws;
        full.ProjectPath = (folder().path / "full.rmt").string();
        CreateProjectFromTemplate(full, full.ProjectPath);
        for (int i = 1; i <= 20; ++i) {
            const std::string n = std::to_string(i);
            InsertBasin(full, "Basin" + n, 480, 480 * i,
                        {"Sub-basin " + n, "2." + n, "Lawns, sandy", "0.35", "0.02", "150",
                         "Grass, short", "0.15", "1" + n});
            InsertSurface(full, "Surface" + n, 600, 480 * i,
                          {"Swale " + n, "0.01", "300", "1.61", "Unpaved", "3.1"});
            InsertChannel(
                full, "Channel" + n, 960, 480 * i,
                {"Pipe " + n, "3.14", "6.28", "0.005", "400", "Concrete", "0.013", "6.2", "1.07"});
        }
        return full;
    }();
    return ws;
}

// The whole Solve as the report window runs it: seven reads, the solve and its write.
void SolveAndRenderFullProject(benchmark::State& state) {
    const Workspace& ws = fullProject();
    for (auto _ : state)
        benchmark::DoNotOptimize(RenderReport(SolveProject(ws)));
}
BENCHMARK(SolveAndRenderFullProject)->Unit(benchmark::kMillisecond);

void WriteRtfOfFullReport(benchmark::State& state) {
    const RichDocument built = RenderReport(SolveProject(fullProject()));
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteRtf(built));
}
BENCHMARK(WriteRtfOfFullReport)->Unit(benchmark::kMicrosecond);

// The page layout pass alone (column fit with the face's widths, keeps, furniture), which
// The solve and the render run once: a copy of the built report laid out again.
void LayOutFullReport(benchmark::State& state) {
    const RichDocument built = RenderReport(SolveProject(fullProject()));
    for (auto _ : state) {
        RichDocument document = built;
        LayOutReport(document);
        benchmark::DoNotOptimize(document);
    }
}
BENCHMARK(LayOutFullReport)->Unit(benchmark::kMicrosecond);

} // namespace
