#include "core/settings/LocationChoices.h"

#include "core/Error.h"
#include "core/Workspace.h"
#include "core/settings/SettingsMessages.h"
#include "core/store/Database.h"
#include "core/store/ProjectDb.h"

namespace pluvane {

std::vector<LocationChoice> ListLocationChoices(const Workspace& ws) {
    Database db = OpenIntensityDb(ws);
    // SELECT * so that a list table without the Provenance column still lists its names.
    Statement q = db.prepare("SELECT * FROM BasinName");
    std::vector<LocationChoice> choices;
    for (const Record& row : readAll(q))
        choices.push_back({row.text("BasinName"), row.text("Provenance")});
    CloseDb(db);
    if (choices.empty())
        throw Error(NoLocationsMessage(ws.intensityDbPath()));
    return choices;
}

} // namespace pluvane
