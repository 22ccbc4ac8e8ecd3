#include "Cli.h"

#include <ostream>

namespace pluvane::cli {

int Run(int, char**, std::ostream&, std::ostream& err) {
    err << "pluvane-cli: not yet\n";
    return 2;
}

} // namespace pluvane::cli
