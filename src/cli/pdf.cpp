// pluvane-pdf DOCUMENT PDF: writes a report handed over by pluvane-cli as a PDF file. A process
// of its own so that the command line loads the toolkit only when a PDF is asked for.
// Exit codes: 0 written, 1 failed (the reason on stderr), 2 wrong arguments.
#include "core/Error.h"
#include "core/platform/Platform.h"
#include "core/report/DocumentFile.h"
#include "core/store/ProjectDb.h"
#include "gui/report/ReportPdf.h"

#include <QGuiApplication>
#include <QString>

#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // The file names as UTF-8, as the command line passes them (Windows hands main() its code page).
    const std::vector<std::string> args = pluvane::platform::Utf8Arguments(argc, argv);
    if (args.size() != 3) {
        std::cerr << "usage: pluvane-pdf DOCUMENT PDF\n";
        return 2;
    }
    try {
        const pluvane::RichDocument document =
            pluvane::ParseDocument(pluvane::ReadTextFile(args[1]));
        // PDF pages need Qt's fonts, hence a GUI application, on the offscreen platform unless
        // the user chose another, so that no display is needed.
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        char programName[] = "pluvane-pdf";
        char* qtArgv[] = {programName, nullptr};
        int qtArgc = 1;
        QGuiApplication app(qtArgc, qtArgv);
        pluvane::gui::WriteReportPdf(document, QString::fromStdString(args[2]));
        return 0;
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
}
