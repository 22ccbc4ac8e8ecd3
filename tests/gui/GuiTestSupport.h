#pragma once

#include "Workspace.h"

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

// Saves a widget's picture for a person to look at, under $PLUVANE_SCREENSHOTS when that is
// set (scripts/screenshots sets it), else nowhere. Returns the file written or "".
QString SaveScreenshot(class QWidget* widget, const QString& name);

} // namespace pluvane::gui::test
