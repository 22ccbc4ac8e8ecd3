#include "Cli.h"

#include <iostream>

int main(int argc, char** argv) {
    return pluvane::cli::Run(argc, argv, std::cout, std::cerr, {});
}
