#pragma once

#include "core/Workspace.h"
#include "core/elements/ElementRecords.h"

#include <string>

namespace pluvane::testdata {

// Two elements of each kind: one with the widest names the report's cuts let through (twenty
// W's, the widest letter), one named "Commercial pad", which once pushed its row's values under
// the wrong headings. Shared by the core layout tests and the printed-page tests.
inline void InsertWideElements(const Workspace& ws) {
    const std::string w(20, 'W');
    InsertBasin(ws, "Basin1", 480, 480, {w, "0.8", w, "0.6", "0.01", "80", w, "0.011", "1.2209"});
    InsertBasin(ws, "Basin2", 480, 960,
                {"Commercial pad", "2.5", "Business: Neighborhood", "0.18", "0.015", "150",
                 "Grass, Short", "0.15", "13.8801"});
    InsertSurface(ws, "Surface1", 600, 1680, {w, "0.02", "300", "2.2811", w, "2.1919"});
    InsertSurface(ws, "Surface2", 600, 2160,
                  {"Commercial pad", "0.01", "250", "2.033", "Unpaved", "2.0495"});
    InsertChannel(ws, "Channel1", 480, 2520,
                  {w, "4.00", "6.47", "0.005", "600", w, "0.025", "3.0502", "3.2784"});
    InsertChannel(ws, "Channel2", 480, 3000,
                  {"Commercial pad", "3.14", "6.28", "0.01", "120", "Concrete Channel", "0.013",
                   "7.2009", "0.2777"});
}

} // namespace pluvane::testdata
