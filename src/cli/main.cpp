#include "cli/Cli.h"

#include <iostream>

#ifdef PLUVANE_CLI_PDF
#include "cli/PdfHelper.h"
#endif

int main(int argc, char** argv) {
#ifdef PLUVANE_CLI_PDF
    // PDF pages need the toolkit: the helper beside this program draws them, in its own process.
    const pluvane::cli::PdfWriter pdf = pluvane::cli::WritePdfThroughHelper;
#else
    const pluvane::cli::PdfWriter pdf; // without Qt, `solve --pdf` is refused
#endif
    return pluvane::cli::Run(argc, argv, std::cout, std::cerr, pdf);
}
