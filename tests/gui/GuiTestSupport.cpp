#include "GuiTestSupport.h"

#include "core/store/ProjectDb.h"
#include "gui/network/FrmDraw.h"
#include "gui/settings/FrmInfo.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <QtTest>

namespace pluvane::gui::test {

TestProject::TestProject() {
    for (const char* file : {"empty.mdb", "intensity.mdb"})
        QFile::copy(QString(PLUVANE_BIN_DIR) + "/" + file, dir.filePath(file));
    workspace.DataFolder = dir.path().toStdString();
    workspace.ProjectPath = dir.filePath("project.rmt").toStdString();
    CreateProjectFromTemplate(workspace, workspace.ProjectPath);
}

MainWindowFixture::MainWindowFixture() {
    ctx.workspace().ProjectPath.clear();
    window.show();
}

void MainWindowFixture::newProject(const QString& path, const QString& projectName) {
    prompts.fileNames.push_back(path);
    window.newProject();
    FrmInfo* setup = ctx.existing<FrmInfo>();
    QVERIFY(setup);
    FillField(setup, "TxtProjectName", projectName);
    FillField(setup, "TxtBasinName", "Outfall 1");
    FillField(setup, "TxtITable", "Atlanta");
    ClickButton(setup, "CmdOK");
    QVERIFY(window.canvas());
}

QString SaveScreenshot(QWidget* widget, const QString& name) {
    const QString folder = qEnvironmentVariable("PLUVANE_SCREENSHOTS");
    if (folder.isEmpty())
        return {};
    QDir().mkpath(folder);
    const QString file = folder + "/" + name + ".png";
    return widget->grab().save(file) ? file : QString();
}

void FillField(QWidget* window, const char* name, const QString& text) {
    auto* edit = window->findChild<QLineEdit*>(name);
    QVERIFY2(edit, name);
    edit->setText(text);
}

void ClickButton(QWidget* window, const char* name) {
    auto* button = window->findChild<QPushButton*>(name);
    QVERIFY2(button, name);
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace pluvane::gui::test
