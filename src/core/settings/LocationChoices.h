#pragma once

#include <string>
#include <vector>

namespace pluvane {

struct Workspace;

// A location a picker offers, with where its values come from ("" when nothing was recorded),
// so that a user can cite the source of the rainfall they design with.
struct LocationChoice {
    std::string name;
    std::string provenance;
};

// The locations of the intensity database in stored order, with their provenance, read on one
// connection. Throws Error when the database is missing or broken, or holds no location.
std::vector<LocationChoice> ListLocationChoices(const Workspace& ws);

} // namespace pluvane
