#include "Cli.h"

#include <iostream>

#ifdef PLUVANE_CLI_PDF
#include "report/ReportPdf.h"

#include <QGuiApplication>
#include <QString>

#include <memory>
#endif

int main(int argc, char** argv) {
#ifdef PLUVANE_CLI_PDF
    // PDF pages need Qt's fonts, hence a GUI application: made only when a PDF is asked for,
    // on the offscreen platform unless the user chose another, so no display is needed.
    char programName[] = "pluvane-cli";
    char* qtArgv[] = {programName, nullptr};
    int qtArgc = 1;
    std::unique_ptr<QGuiApplication> app;
    const pluvane::cli::PdfWriter pdf = [&](const pluvane::RichDocument& document, const std::string& path) {
        if (!QGuiApplication::instance()) {
            if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            app = std::make_unique<QGuiApplication>(qtArgc, qtArgv);
        }
        pluvane::gui::WriteReportPdf(document, QString::fromStdString(path));
    };
#else
    const pluvane::cli::PdfWriter pdf; // without Qt, `solve --pdf` is refused
#endif
    return pluvane::cli::Run(argc, argv, std::cout, std::cerr, pdf);
}
