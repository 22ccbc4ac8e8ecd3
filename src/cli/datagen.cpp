// Build-time tool: writes the project template and the shared rainfall database from the SQL
// and CSV files under data/. Each output appears complete or not at all.
//   pluvane-datagen template OUT.mdb SCHEMA.sql [ROWS.sql...]
//   pluvane-datagen intensity OUT.mdb SCHEMA.sql TABLE.csv...
#include "core/Error.h"
#include "core/Workspace.h"
#include "core/rain/LocationCsv.h"
#include "core/store/IntensityDb.h"
#include "core/store/ProjectDb.h"

#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;
using namespace pluvane;

namespace {

void writeIntensityDb(const fs::path& out, const std::string& schema, int count, char** csvFiles) {
    const fs::path work = out.string() + ".build";
    fs::remove_all(work);
    fs::create_directories(work);
    Workspace ws;
    ws.DataFolder = work.string();
    CreateDatabaseFromSql(ws.intensityDbPath(), schema);
    for (int i = 0; i < count; ++i) {
        const LocationFile location = ParseLocationCsv(ReadTextFile(csvFiles[i]));
        if (location.name.empty())
            throw Error(std::string(csvFiles[i]) + ": no \"# location:\" line.");
        SaveLocation(ws, location.name, location.grid, location.provenance);
    }
    fs::rename(ws.intensityDbPath(), out);
    fs::remove_all(work);
}

} // namespace

int main(int argc, char** argv) {
    try {
        const std::string mode = argc > 1 ? argv[1] : "";
        if (mode == "template" && argc >= 4) {
            // The schema, then any rows (the example project is the template plus its rows).
            std::string sql;
            for (int i = 3; i < argc; ++i)
                sql += ReadTextFile(argv[i]) + "\n";
            fs::create_directories(fs::path(argv[2]).parent_path());
            CreateDatabaseFromSql(argv[2], sql);
            return 0;
        }
        if (mode == "intensity" && argc >= 4) {
            writeIntensityDb(argv[2], ReadTextFile(argv[3]), argc - 4, argv + 4);
            return 0;
        }
        std::cerr << "usage: pluvane-datagen template OUT SCHEMA.sql [ROWS.sql...]\n"
                     "       pluvane-datagen intensity OUT SCHEMA.sql TABLE.csv...\n";
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "pluvane-datagen: " << e.what() << '\n';
        return 1;
    }
}
