// The shipped table format on any bytes: a table of ten rows or an Error.
#include "FuzzTarget.h"

#include "core/Error.h"
#include "core/rain/LocationCsv.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const pluvane::LocationFile file =
            pluvane::ParseLocationCsv(std::string(reinterpret_cast<const char*>(data), size));
        if (file.grid.size() != 10)
            FuzzFail("a parsed table without ten rows");
    } catch (const pluvane::Error&) {
    }
    return 0;
}
