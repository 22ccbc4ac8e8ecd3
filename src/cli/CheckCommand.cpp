#include "cli/CheckCommand.h"

#include "core/Workspace.h"
#include "core/review/ProjectReview.h"
#include "core/store/ProjectDb.h"

#include <ostream>

namespace pluvane::cli {

int CheckProject(Workspace& ws, const std::string& project, bool json, std::ostream& out) {
    ws.ProjectPath = project;
    CheckProjectFile(ws.ProjectPath);
    const std::vector<Finding> findings = ReviewProject(ws);
    if (json) {
        out << FindingsJson(findings) << '\n';
    } else {
        for (const Finding& finding : findings)
            out << FindingLine(finding) << '\n';
    }
    return findings.empty() ? 0 : kHasFindings;
}

} // namespace pluvane::cli
