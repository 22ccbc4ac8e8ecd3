#pragma once

#include <iosfwd>

namespace pluvane::cli {

// Runs the command line. Exit codes: 0 done, 1 the command failed (message on `err`),
// 2 the command line is wrong (usage on `err`).
int Run(int argc, char** argv, std::ostream& out, std::ostream& err);

} // namespace pluvane::cli
