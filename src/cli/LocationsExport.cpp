#include "cli/LocationsExport.h"
#include "core/text/Text.h"

#include "cli/CliMessages.h"
#include "core/Error.h"
#include "core/Workspace.h"
#include "core/io/OutputGuard.h"
#include "core/rain/LocationCsvWriter.h"
#include "core/report/RtfWriter.h"
#include "core/store/IntensityDb.h"

#include <algorithm>
#include <ostream>

namespace pluvane::cli {

int ExportLocation(const Workspace& ws, const std::string& name,
                   const std::optional<std::string>& file, std::ostream& out) {
    // The name as the list spells it, so the file carries the location's own name.
    std::string listed;
    for (const std::string& candidate : ListLocations(ws))
        if (EqualsIgnoreCase(candidate, name))
            listed = candidate;
    if (listed.empty())
        throw Error(NoSuchLocationMessage(name));
    const std::string csv =
        WriteLocationCsv(listed, ReadLocationRows(ws, listed), ReadProvenance(ws, listed));
    if (file) {
        GuardOutput(ws, *file, OutputPurpose::ReportOutput);
        SaveFileAtomically(*file, csv);
        out << "Wrote \"" << *file << "\".\n";
    } else {
        out << csv;
    }
    return 0;
}

} // namespace pluvane::cli
