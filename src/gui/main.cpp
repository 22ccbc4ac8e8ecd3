#include "gui/app/AppContext.h"
#include "gui/app/MDIFrmMain.h"
#include "gui/app/Prompts.h"
#include "gui/app/Startup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Pluvane");
    QApplication::setApplicationVersion("1.1 Beta");

    QCommandLineParser parser;
    parser.setApplicationDescription("Rational Method storm drainage design");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("project", "A project file (.rmt) to open.", "[project]");
    parser.process(app);

    pluvane::gui::QtPrompts prompts;
    pluvane::Workspace workspace;
    workspace.DataFolder = pluvane::gui::FindDataFolder();
    pluvane::gui::AppContext context(std::move(workspace), prompts);
    pluvane::gui::MDIFrmMain window(context);
    window.showMaximized();

    const QStringList files = parser.positionalArguments();
    if (!files.isEmpty())
        QTimer::singleShot(0, &window,
                           [&window, file = files.first()] { window.openProjectFile(file); });
    return QApplication::exec();
}
