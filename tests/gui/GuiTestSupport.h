#pragma once

#include "core/Workspace.h"
#include "gui/app/AppContext.h"
#include "gui/app/MDIFrmMain.h"
#include "gui/app/Prompts.h"

#include <QString>
#include <QTemporaryDir>

namespace pluvane::gui::test {

// A private data folder (copies of the generated template and rainfall database) and a new
// project made from the template, for one test.
struct TestProject {
    QTemporaryDir dir;
    Workspace workspace;

    TestProject();
    QString path(const QString& name) const { return dir.filePath(name); }
};

// The main window on a data folder of the test's own, with recorded prompts and no project open,
// as the program starts.
struct MainWindowFixture {
    TestProject data;
    RecordingPrompts prompts;
    AppContext ctx{data.workspace, prompts};
    MDIFrmMain window{ctx};

    MainWindowFixture();
    FrmDraw* canvas() { return window.canvas(); }
    // New, then the setup dialog filled (the node "Outfall 1" on Atlanta's rainfall) and OK: the
    // canvas opens on the new project at `path`.
    void newProject(const QString& path, const QString& projectName);
};

// Saves a widget's picture for a person to look at, under $PLUVANE_SCREENSHOTS when that is
// set (scripts/screenshots sets it), else nowhere. Returns the file written or "".
QString SaveScreenshot(class QWidget* widget, const QString& name);

// Types `text` into the line edit of that object name in `window`; a failed check when the
// window has none.
void FillField(QWidget* window, const char* name, const QString& text);
// Clicks the push button of that object name in `window`; a failed check when it has none.
void ClickButton(QWidget* window, const char* name);

} // namespace pluvane::gui::test
