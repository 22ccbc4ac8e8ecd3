// The rainfall importer on any bytes: a table or an Error, and a table it returns holds
// ten rows of seven cells.
#include "FuzzTarget.h"

#include "core/Error.h"
#include "core/rain/RainfallImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const pluvane::ImportedTable imported =
            pluvane::ImportRainfallFile(std::string(reinterpret_cast<const char*>(data), size));
        for (const auto& row : imported.table.grid)
            for (const std::string& cell : row)
                if (cell.empty())
                    FuzzFail("an imported table holds an empty cell");
    } catch (const pluvane::Error&) {
    }
    return 0;
}
