#include "cli/Cli.h"
#include "core/platform/Platform.h"

#include <iostream>
#include <string>
#include <vector>

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
    // Arguments are UTF-8 from here on, whatever the system hands main().
    std::vector<std::string> arguments = pluvane::platform::Utf8Arguments(argc, argv);
    std::vector<char*> words;
    for (std::string& argument : arguments)
        words.push_back(argument.data());
    words.push_back(nullptr);
    pluvane::platform::UseBinaryStandardOutput();
    return pluvane::cli::Run(static_cast<int>(arguments.size()), words.data(), std::cout, std::cerr,
                             pdf);
}
