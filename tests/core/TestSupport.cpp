#include "TestSupport.h"

#include "core/Error.h"
#include "core/platform/Platform.h"
#include "core/store/ProjectDb.h"

#include <atomic>
#include <fstream>
#include <unistd.h> // getpid, which MinGW has too

namespace pluvane::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    m_path = fs::temp_directory_path() /
             ("pluvane-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(m_path);
    fs::create_directories(m_path);
}

std::string TempFolder::file(const std::string& name) const {
    return platform::PathToUtf8(m_path / platform::PathFromUtf8(name));
}

TempFolder::~TempFolder() {
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

Workspace MakeWorkspace(const TempFolder& folder) {
    const fs::path bin = PLUVANE_BIN_DIR;
    fs::copy_file(bin / "empty.mdb", folder.path() / "empty.mdb",
                  fs::copy_options::overwrite_existing);
    fs::copy_file(bin / "intensity.mdb", folder.path() / "intensity.mdb",
                  fs::copy_options::overwrite_existing);
    Workspace ws;
    ws.DataFolder = platform::PathToUtf8(folder.path());
    ws.ProjectPath = folder.file("project.rmt");
    CreateProjectFromTemplate(ws, ws.ProjectPath);
    return ws;
}

IntensityGrid UniformGrid(const std::string& value) {
    IntensityGrid grid;
    for (auto& row : grid)
        row.fill(value);
    return grid;
}

std::string ErrorMessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& e) {
        return e.what();
    }
    return "";
}

std::string WriteFile(const TempFolder& folder, const std::string& name, const std::string& text) {
    const std::string path = folder.file(name);
    std::ofstream out(platform::PathFromUtf8(path), std::ios::binary);
    out << text;
    return path;
}

} // namespace pluvane::test
