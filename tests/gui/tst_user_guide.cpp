// The user guide: F1 from the main window and from the drawing opens it, every picture it names
// is shipped with it, and a missing guide is told.
#include "GuiTestSupport.h"
#include "gui/app/AppContext.h"
#include "gui/app/FrmUserGuide.h"
#include "gui/app/MDIFrmMain.h"
#include "gui/network/CanvasView.h"
#include "gui/network/FrmDraw.h"
#include "gui/settings/FrmInfo.h"

#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QtTest>

using namespace pluvane;
using namespace pluvane::gui;
using namespace pluvane::gui::test;

class TstUserGuide : public QObject {
    Q_OBJECT

    static QStringList menuTexts(QMenuBar* bar) {
        QStringList texts;
        for (QAction* action : bar->actions())
            texts << action->text();
        return texts;
    }

private slots:
    void f1OpensTheGuideFromBothWindows() {
        TestProject data;
        RecordingPrompts prompts;
        AppContext ctx{data.workspace, prompts};
        ctx.workspace().DataFolder =
            PLUVANE_BIN_DIR; // the build puts the guide beside the programs
        MDIFrmMain window{ctx};
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(menuTexts(window.menuBar()).last(), QString("Help"));

        QTest::keyClick(&window, Qt::Key_F1);
        FrmUserGuide* guide = ctx.existing<FrmUserGuide>();
        QVERIFY(guide && guide->isVisible());
        QVERIFY(guide->browser()->toPlainText().contains("A project from start to report"));
        QVERIFY(guide->browser()->toPlainText().contains("Undo and redo"));
        SaveScreenshot(guide, "FrmUserGuide");
        guide->close();

        // On the drawing, its own Help menu shows the key; the key still opens the guide.
        ctx.workspace().ProjectPath.clear();
        prompts.fileNames.push_back(data.path("guide.rmt"));
        window.newProject();
        FrmInfo* setup = ctx.existing<FrmInfo>();
        QVERIFY(setup);
        setup->findChild<QLineEdit*>("TxtBasinName")->setText("Outfall");
        setup->findChild<QLineEdit*>("TxtITable")->setText("Atlanta");
        QTest::mouseClick(setup->findChild<QPushButton*>("CmdOK"), Qt::LeftButton);
        FrmDraw* canvas = window.canvas();
        QVERIFY(canvas);
        QCOMPARE(menuTexts(canvas->menuBar()).last(), QString("Help"));
        QCOMPARE(canvas->findChild<QAction*>("MnuUserGuide")->text(), QString("User Guide\tF1"));
        QVERIFY(canvas->findChild<QAction*>("MnuHelpMenuAbout"));
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        canvas->view()->setFocus();
        QTest::keyClick(canvas->view(), Qt::Key_F1);
        QTRY_VERIFY(ctx.existing<FrmUserGuide>() && ctx.existing<FrmUserGuide>()->isVisible());
        QVERIFY2(prompts.shown.empty(), qPrintable(prompts.texts().join(" | ")));
    }

    void everyPictureTheGuideNamesIsShipped() {
        QFile index(QString(PLUVANE_BIN_DIR) + "/guide/index.html");
        QVERIFY(index.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(index.readAll());
        int pictures = 0;
        for (const QRegularExpressionMatch& match :
             QRegularExpression("src=\"([^\"]+)\"").globalMatch(html)) {
            ++pictures;
            QVERIFY2(QFile::exists(QString(PLUVANE_BIN_DIR) + "/guide/" + match.captured(1)),
                     qPrintable(match.captured(1)));
        }
        QVERIFY(pictures >= 8);
    }

    void aMissingGuideIsTold() {
        TestProject data; // its data folder holds the databases only
        RecordingPrompts prompts;
        AppContext ctx{data.workspace, prompts};
        QVERIFY(!FrmUserGuide::open(ctx));
        QCOMPARE(prompts.shown.size(), std::size_t{1});
        QVERIFY(prompts.shown[0].text.contains("user guide"));
    }
};

QTEST_MAIN(TstUserGuide)
#include "tst_user_guide.moc"
