#include "GuiTestSupport.h"

#include "gui/app/AppContext.h"
#include "gui/app/Prompts.h"
#include "gui/settings/FrmAbout.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace pluvane;
using namespace pluvane::gui;
using namespace pluvane::gui::test;

class TstSettingsAbout : public QObject {
    Q_OBJECT
private slots:
    void showsTheProductAndClosesOnOk() {
        RecordingPrompts prompts;
        AppContext ctx(Workspace{}, prompts);
        QWidget owner;
        QPixmap picture(32, 32);
        picture.fill(Qt::darkCyan);
        owner.setWindowIcon(QIcon(picture));
        ctx.setMainWindow(&owner);

        QPointer<FrmAbout> about = FrmAbout::open(ctx, &owner);
        QVERIFY(QTest::qWaitForWindowExposed(about));
        QCOMPARE(FrmAbout::open(ctx, &owner), about.data());
        QCOMPARE(about->windowTitle(), QStringLiteral("About"));
        QCOMPARE(about->windowIcon().cacheKey(), owner.windowIcon().cacheKey());
        QVERIFY(!about->isModal());

        QStringList texts;
        for (QLabel* label : about->findChildren<QLabel*>())
            if (!label->text().isEmpty())
                texts << label->text();
        QCOMPARE(texts, (QStringList{"Pluvane", "Version 1.1 Beta",
                                     "Software for Hydraulic Calculation Methods",
                                     "Hydrolic Calculations program utilizing Rational Method."}));

        // The product name stands out at about 13.5 pt; everything else keeps the window's font.
        auto* name = about->findChild<QLabel*>("LblProductName");
        QVERIFY(name);
        QVERIFY(qAbs(name->font().pointSizeF() - 13.5) < 0.01);
        for (QLabel* label : about->findChildren<QLabel*>())
            if (label != name && !label->text().isEmpty())
                QVERIFY(label->font().pointSizeF() < name->font().pointSizeF());
        // Beside the name, on its line.
        auto* version = about->findChild<QLabel*>("LblVersion");
        QVERIFY(version->geometry().left() > name->geometry().right());
        QVERIFY(version->geometry().top() < name->geometry().bottom());
        for (QLabel* label : about->findChildren<QLabel*>())
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->objectName()));
        SaveScreenshot(about, "FrmAbout");

        auto* ok = about->findChild<QPushButton*>("Command1");
        QVERIFY(ok);
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QTest::mouseClick(ok, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!about);
        QVERIFY(prompts.shown.empty());
    }
};

QTEST_MAIN(TstSettingsAbout)
#include "tst_settings_about.moc"
