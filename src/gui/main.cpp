#include "app/MDIFrmMain.h"
#include "app/Startup.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Pluvane");
    QApplication::setOrganizationName("Pluvane");

    pluvane::Workspace workspace;
    workspace.DataFolder = pluvane::gui::FindDataFolder();
    pluvane::gui::MDIFrmMain window(std::move(workspace));
    window.showMaximized();
    return QApplication::exec();
}
