// Solve and report on a damaged project: the input's lines become a basin's area, coefficient
// and Tc and cells of its rainfall table. A solve either fails with an Error the report states,
// or succeeds with finite, positive intensities and finite, non-negative flows.
#include "FuzzTarget.h"

#include "core/Error.h"
#include "core/Workspace.h"
#include "core/report/ReportBuilder.h"
#include "core/store/Database.h"
#include "core/store/IntensityDb.h"
#include "core/store/ProjectDb.h"

#include <cmath>
#include <filesystem>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Fixture {
    pluvane::Workspace ws;
    Fixture() {
        const fs::path folder =
            fs::temp_directory_path() / ("pluvane-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        for (const char* file : {"empty.mdb", "intensity.mdb"})
            fs::copy_file(fs::path(PLUVANE_BIN_DIR) / file, folder / file,
                          fs::copy_options::overwrite_existing);
        ws.DataFolder = folder.string();
        ws.ProjectPath = (folder / "fuzz.rmt").string();
        pluvane::IntensityGrid grid;
        for (auto& row : grid)
            row.fill("3");
        pluvane::SaveLocation(ws, "Fuzz", grid);
    }
    ~Fixture() {
        std::error_code ignored;
        fs::remove_all(ws.DataFolder, ignored);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Fixture fixture;
    pluvane::Workspace& ws = fixture.ws;
    std::vector<std::string> lines;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    for (std::string line; std::getline(in, line) && lines.size() < 80;)
        lines.push_back(line);
    const auto line = [&](std::size_t i, const char* otherwise) {
        return i < lines.size() ? lines[i] : otherwise;
    };
    try {
        pluvane::CreateProjectFromTemplate(ws, ws.ProjectPath);
        {
            pluvane::Database project = pluvane::OpenProjectDb(ws);
            project
                .prepare(
                    "INSERT INTO TblNodeInfo (NodeName, IntensityTable, NodeX, NodeY) VALUES ('N', 'Fuzz', '0', '0')")
                .run();
            project
                .prepare(
                    "INSERT INTO TblBasinInfo (BasinTag, BasinName, Area, CVal, Deleted, Tc) VALUES ('Basin1', 'B', ?, ?, 'False', ?)")
                .bindAll(line(0, "10"), line(1, "0.9"), line(2, "15"))
                .run();
            pluvane::Database rain = pluvane::OpenIntensityDb(ws);
            pluvane::Transaction transaction(rain);
            rain.exec(
                "UPDATE Fuzz SET \"1\" = '3', \"2\" = '3', \"5\" = '3', \"10\" = '3', \"25\" = '3', \"50\" = '3', \"100\" = '3'");
            const char* columns[] = {"1", "2", "5", "10", "25", "50", "100"};
            for (std::size_t i = 3; i + 1 < lines.size(); i += 2) {
                const unsigned cell =
                    static_cast<unsigned char>(lines[i].empty() ? 0 : lines[i][0]) % 70;
                rain.prepare("UPDATE Fuzz SET " + pluvane::QuoteIdentifier(columns[cell % 7]) +
                             " = ? WHERE ID = ?")
                    .bind(1, lines[i + 1])
                    .bind(2, static_cast<std::int64_t>(cell / 7 + 1))
                    .run();
            }
            transaction.commit();
        }
        const pluvane::ProjectSolve solved = pluvane::SolveProject(ws);
        const pluvane::RichDocument document = pluvane::RenderReport(solved);
        if (solved.result) {
            for (std::size_t k = 0; k < 7; ++k) {
                if (!std::isfinite(solved.result->I[k]) || !(solved.result->I[k] > 0.0f))
                    FuzzFail(
                        "a successful solve with an intensity that is not finite and positive");
                if (!std::isfinite(solved.result->Q[k]) || solved.result->Q[k] < 0.0f)
                    FuzzFail("a successful solve with a flow that is not finite and non-negative");
            }
        } else if (document.plainText().find("could not be solved") == std::string::npos) {
            FuzzFail("a failed solve whose report does not say why");
        }
    } catch (const pluvane::Error&) {
    }
    return 0;
}
