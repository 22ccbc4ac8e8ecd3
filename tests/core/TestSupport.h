#pragma once

#include "core/Workspace.h"
#include "core/store/IntensityDb.h"

#include <filesystem>
#include <functional>
#include <string>

namespace pluvane::test {

// A fresh folder per test holding copies of the generated template and rainfall database, so
// a test may change them freely. Removed again when the test ends.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // `name` and the result are UTF-8, as every path the program handles.
    std::string file(const std::string& name) const;

private:
    std::filesystem::path m_path;
};

// A workspace whose DataFolder is `folder` with fresh copies of empty.mdb and intensity.mdb,
// and whose ProjectPath is a new project made from that template.
Workspace MakeWorkspace(const TempFolder& folder);

// A rainfall grid holding `value` in every cell.
IntensityGrid UniformGrid(const std::string& value);

// The message of the Error that `action` throws, "" when it throws none.
std::string ErrorMessageOf(const std::function<void()>& action);

// Writes `text` to a file and returns its path.
std::string WriteFile(const TempFolder& folder, const std::string& name, const std::string& text);

} // namespace pluvane::test
