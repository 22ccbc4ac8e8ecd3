#include "app/MDIFrmMain.h"
#include "app/Startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QMdiArea>
#include <QtTest>

using namespace pluvane;
using namespace pluvane::gui;

class TstMainWindow : public QObject {
    Q_OBJECT
private slots:
    void opensMaximisedWithItsCaption() {
        MDIFrmMain window(Workspace{});
        window.showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QStringLiteral("Pluvane - Beta"));
        QVERIFY(window.isMaximized());
        QVERIFY(window.findChild<QMdiArea*>("MdiArea") != nullptr);
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
