#include "gui/app/AppContext.h"
#include "gui/app/FrmOpen.h"
#include "gui/app/MDIFrmMain.h"
#include "gui/app/Startup.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QMenuBar>
#include <QToolBar>
#include <QtTest>

using namespace pluvane;
using namespace pluvane::gui;

class TstMainWindow : public QObject {
    Q_OBJECT
private slots:
    void opensMaximisedWithItsCaptionStartScreenAndCommands() {
        RecordingPrompts prompts;
        AppContext ctx(Workspace{}, prompts);
        MDIFrmMain window(ctx);
        window.showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QStringLiteral("Pluvane - Beta"));
        QVERIFY(window.isMaximized());
        QVERIFY(window.findChild<QMdiArea*>("MdiArea") != nullptr);
        QVERIFY(window.startScreen() != nullptr);
        QVERIFY(window.startScreen()->isVisible());

        QStringList menu;
        for (QAction* action : window.findChild<QMenu*>("MnuFile")->actions())
            menu << (action->isSeparator() ? QString("-") : action->text());
        QCOMPARE(menu, (QStringList{"New", "Open", "Recent Projects", "-", "Exit"}));
        QStringList tips;
        for (QAction* action : window.mainToolbar()->actions())
            tips << (action->isSeparator() ? QString("-") : action->toolTip());
        QCOMPARE(tips,
                 (QStringList{"-", "Start a New File", "Open an Existing File", "-", "Exit"}));
    }

    void findsItsDataBesideTheProgram() {
        // No InstallPath setting in this test's configuration folder: the program's own folder,
        // where the build wrote the template and the rainfall database.
        const QString folder = QString::fromStdString(FindDataFolder());
        QCOMPARE(folder, QCoreApplication::applicationDirPath());
        QVERIFY(QFileInfo::exists(folder + "/empty.mdb"));
        QVERIFY(QFileInfo::exists(folder + "/intensity.mdb"));
    }
};

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
