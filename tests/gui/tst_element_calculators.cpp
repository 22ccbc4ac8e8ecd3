// The run-off coefficient table and the trapezoidal section calculator, and what they hand to
// the sub-basin and channel dialogs.

#include "tst_element_fixture.h"

#include "gui/elements/BasinDialogs.h"
#include "gui/elements/ChannelDialogs.h"
#include "gui/elements/ElementWindows.h"
#include "gui/elements/FrmCCo.h"
#include "gui/elements/FrmTrapezArea.h"

#include <QGroupBox>
#include <QMouseEvent>
#include <QPointer>

using namespace pluvane;
using namespace pluvane::gui;
using namespace pluvane::gui::test;

namespace {

void moveOver(QWidget* widget) {
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

QColor textColour(QWidget* dialog, const char* label) {
    return control<QLabel>(dialog, label)->palette().color(QPalette::WindowText);
}

void chooseLandUse(QWidget* dialog, const QString& landUse) {
    auto* list = control<QComboBox>(dialog, "Combo1");
    list->setCurrentIndex(list->findText(landUse));
    QCOMPARE(list->currentText(), landUse);
}

// Which dialogs a calculator finds shown when it hands its values over.
enum Shown { None = 0, AddShown = 1, UpdateShown = 2 };

} // namespace

class TstElementCalculators : public QObject {
    Q_OBJECT
private slots:
    // ---------------------------------------------------------------------------------------
    // Run-off coefficients

    void runoffTableOpensAtSuburbanResidential() {
        ElementFixture f;
        FrmCCo* dialog = ShowWindow<FrmCCo>(f.ctx);
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Run-off Coefficients"));
        QVERIFY(!dialog->isModal());
        QVERIFY(!dialog->windowIcon().isNull());
        auto* list = control<QComboBox>(dialog, "Combo1");
        QVERIFY(!list->isEditable());
        QCOMPARE(list->count(), 16);
        QCOMPARE(list->itemText(0), QStringLiteral("Business: Downtown areas"));
        QCOMPARE(list->itemText(15), QStringLiteral("Streets: Brick"));
        QCOMPARE(list->currentText(), QStringLiteral("Residential (Suburban)"));
        QCOMPARE(control<QLabel>(dialog, "Label2")->text(), QStringLiteral("0.25"));
        QCOMPARE(control<QLabel>(dialog, "Label3")->text(), QStringLiteral("0.40"));
        QCOMPARE(text(dialog, "TxtCVal"), QStringLiteral("0.33"));
        QCOMPARE(control<QGroupBox>(dialog, "FraLandUse")->title(), QStringLiteral("Land Use"));
        QCOMPARE(control<QGroupBox>(dialog, "FraMin")->title(), QStringLiteral("Min"));
        QCOMPARE(control<QGroupBox>(dialog, "FraMax")->title(), QStringLiteral("Max"));
        QCOMPARE(labelOf(dialog, field(dialog, "TxtCVal"))->text(), QStringLiteral("Average C"));
        QCOMPARE(control<QAbstractButton>(dialog, "Command1")->text(), QStringLiteral("Add"));
        QCOMPARE(tabOrder(list), QStringList({"Combo1", "TxtCVal", "Command1"}));
        QCOMPARE(cutOffTexts(dialog), QString());
        SaveScreenshot(dialog, "FrmCCo");
    }

    void runoffMeanIsShownToTwoDecimals_data() {
        QTest::addColumn<QString>("landUse");
        QTest::addColumn<QString>("min");
        QTest::addColumn<QString>("max");
        QTest::addColumn<QString>("mean");
        QTest::newRow("0.825 rounds up") << "Business: Downtown areas"
                                         << "0.70"
                                         << "0.95"
                                         << "0.83";
        QTest::newRow("0.175 rounds up") << "Parks, cemeteries"
                                         << "0.10"
                                         << "0.25"
                                         << "0.18";
        QTest::newRow("exact") << "Residential: Single Family areas"
                               << "0.30"
                               << "0.50"
                               << "0.40";
        QTest::newRow("last entry") << "Streets: Brick"
                                    << "0.70"
                                    << "0.85"
                                    << "0.78";
    }
    void runoffMeanIsShownToTwoDecimals() {
        QFETCH(QString, landUse);
        QFETCH(QString, min);
        QFETCH(QString, max);
        QFETCH(QString, mean);
        ElementFixture f;
        FrmCCo* dialog = ShowWindow<FrmCCo>(f.ctx);
        chooseLandUse(dialog, landUse);
        QCOMPARE(control<QLabel>(dialog, "Label2")->text(), min);
        QCOMPARE(control<QLabel>(dialog, "Label3")->text(), max);
        QCOMPARE(text(dialog, "TxtCVal"), mean);
    }

    void runoffBoundsAreTakenByAClick() {
        ElementFixture f;
        FrmCCo* dialog = ShowWindow<FrmCCo>(f.ctx);
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        chooseLandUse(dialog, "Streets: Concrete");
        QTest::mouseClick(control<QLabel>(dialog, "Label3"), Qt::LeftButton);
        QCOMPARE(text(dialog, "TxtCVal"), QStringLiteral("0.95"));
        QTest::mouseClick(control<QLabel>(dialog, "Label2"), Qt::LeftButton);
        QCOMPARE(text(dialog, "TxtCVal"), QStringLiteral("0.80"));
        QTest::mouseClick(control<QLabel>(dialog, "Label3"), Qt::RightButton);
        QCOMPARE(text(dialog, "TxtCVal"), QStringLiteral("0.80"));
    }

    void runoffBoundsTurnBlueUnderThePointer() {
        ElementFixture f;
        FrmCCo* dialog = ShowWindow<FrmCCo>(f.ctx);
        const QColor normal = dialog->palette().color(QPalette::WindowText);
        const QColor blue(0, 0, 255);
        QVERIFY(normal != blue);
        moveOver(control<QLabel>(dialog, "Label2"));
        QCOMPARE(textColour(dialog, "Label2"), blue);
        QCOMPARE(textColour(dialog, "Label3"), normal);
        moveOver(control<QGroupBox>(dialog, "FraMin"));
        QCOMPARE(textColour(dialog, "Label2"), normal);
        moveOver(control<QLabel>(dialog, "Label3"));
        moveOver(control<QGroupBox>(dialog, "FraMin")); // the other frame leaves Label3 alone
        QCOMPARE(textColour(dialog, "Label3"), blue);
        moveOver(control<QGroupBox>(dialog, "FraMax"));
        QCOMPARE(textColour(dialog, "Label3"), normal);
        moveOver(control<QLabel>(dialog, "Label2"));
        moveOver(control<QLabel>(dialog, "Label3"));
        moveOver(dialog); // the background resets both
        QCOMPARE(textColour(dialog, "Label2"), normal);
        QCOMPARE(textColour(dialog, "Label3"), normal);
        moveOver(control<QLabel>(dialog, "Label2"));
        SaveScreenshot(dialog, "FrmCCo-hover");
    }

    void runoffAddHandsToTheShownSubBasinDialog_data() {
        QTest::addColumn<int>("shown");
        QTest::newRow("both shown: the add dialog") << int(AddShown | UpdateShown);
        QTest::newRow("only the update dialog") << int(UpdateShown);
        QTest::newRow("only the add dialog") << int(AddShown);
        QTest::newRow("none shown") << int(None);
    }
    void runoffAddHandsToTheShownSubBasinDialog() {
        QFETCH(int, shown);
        ElementFixture f;
        // Both exist; the one not shown is hidden, which must not make it a target.
        FrmBasInfo* add = ShowWindow<FrmBasInfo>(f.ctx);
        FrmBasUpdate* update = ShowWindow<FrmBasUpdate>(f.ctx);
        add->setVisible(shown & AddShown);
        update->setVisible(shown & UpdateShown);
        QWidget* opener = (shown & AddShown) ? static_cast<QWidget*>(add) : update;
        click(opener, "CmdSoilType"); // "?" opens the table

        QPointer<FrmCCo> table = f.ctx.existing<FrmCCo>();
        QVERIFY(table);
        chooseLandUse(table, "Streets: Concrete");
        QTest::mouseClick(control<QLabel>(table, "Label3"), Qt::LeftButton);
        click(table, "Command1");

        QTRY_VERIFY(table.isNull()); // "Add" always closes
        const bool toAdd = shown & AddShown;
        const bool toUpdate = !toAdd && (shown & UpdateShown);
        QCOMPARE(text(add, "TxtSoilType"), toAdd ? QStringLiteral("Streets: Concrete") : QString());
        QCOMPARE(text(add, "TxtC"), toAdd ? QStringLiteral("0.95") : QString());
        QCOMPARE(text(update, "TxtSoilType"),
                 toUpdate ? QStringLiteral("Streets: Concrete") : QString());
        QCOMPARE(text(update, "TxtC"), toUpdate ? QStringLiteral("0.95") : QString());
        QCOMPARE(f.prompts.texts(), QStringList());
    }

    void runoffAddCopiesTypedTextsAsTheyAre() {
        ElementFixture f;
        FrmBasInfo* add = ShowWindow<FrmBasInfo>(f.ctx);
        FrmCCo* table = ShowWindow<FrmCCo>(f.ctx);
        QLineEdit* c = field(table, "TxtCVal");
        c->clear();
        QTest::keyClicks(c, "x-.5a5"); // the key filter keeps ".55"
        QCOMPARE(c->text(), QStringLiteral(".55"));
        click(table, "Command1");
        QCOMPARE(text(add, "TxtC"), QStringLiteral(".55"));
        QCOMPARE(text(add, "TxtSoilType"), QStringLiteral("Residential (Suburban)"));
    }

    void runoffTableStartsAfreshAndClosingHandsNothing() {
        ElementFixture f;
        FrmBasInfo* add = ShowWindow<FrmBasInfo>(f.ctx);
        QPointer<FrmCCo> table = ShowWindow<FrmCCo>(f.ctx);
        chooseLandUse(table, "Playgrounds");
        table->close();
        QTRY_VERIFY(table.isNull());
        QCOMPARE(text(add, "TxtSoilType"), QString());
        table = ShowWindow<FrmCCo>(f.ctx);
        QCOMPARE(control<QComboBox>(table, "Combo1")->currentText(),
                 QStringLiteral("Residential (Suburban)"));
        QCOMPARE(text(table, "TxtCVal"), QStringLiteral("0.33"));
    }

    // ---------------------------------------------------------------------------------------
    // Trapezoidal section

    void trapezoidOpensEmptyWithFormulasAndSketch() {
        ElementFixture f;
        FrmTrapezArea* dialog = ShowWindow<FrmTrapezArea>(f.ctx);
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Trapezoidal Channel Section"));
        QVERIFY(!dialog->isModal());
        for (const char* name : {"TxtB", "TxtY", "TxtZ", "TxtArea", "TxtWp"})
            QVERIFY2(text(dialog, name).isEmpty(), name);
        QVERIFY(field(dialog, "TxtArea")->isReadOnly());
        QVERIFY(field(dialog, "TxtWp")->isReadOnly());
        QCOMPARE(control<QLabel>(dialog, "LblAreaFormula")->text(),
                 QStringLiteral(" Area = Y * (B+YZ)"));
        QCOMPARE(control<QLabel>(dialog, "LblWpFormula")->text(),
                 QStringLiteral(" Wetted Perimeter = 2*(Y^2 + (Y*Z)^2)^(1/2) + B"));
        for (const auto& [name, caption] :
             {std::pair{"TxtB", "B"}, std::pair{"TxtY", "Y"}, std::pair{"TxtZ", "Z"}})
            QCOMPARE(labelOf(dialog, field(dialog, name))->text(), QString(caption));
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            QVERIFY2(!button->isDefault() && !button->autoDefault(),
                     qPrintable(button->objectName()));
        QCOMPARE(tabOrder(field(dialog, "TxtB")),
                 QStringList({"TxtB", "TxtY", "TxtZ", "CmdCalculate", "CmdAdd", "CmdCancel"}));
        QCOMPARE(cutOffTexts(dialog), QString());

        // The sketch is drawn: dark outline and the blue of the water on white.
        const QImage sketch = control(dialog, "PicSection")->grab().toImage();
        int dark = 0, water = 0;
        for (int y = 0; y < sketch.height(); ++y)
            for (int x = 0; x < sketch.width(); ++x) {
                const QColor pixel = sketch.pixelColor(x, y);
                dark += pixel.lightness() < 60;
                water += pixel.blue() > 200 && pixel.red() < 230 && pixel.red() > 150;
            }
        QVERIFY2(dark > 200, qPrintable(QString::number(dark)));
        QVERIFY2(water > 2000, qPrintable(QString::number(water)));

        setText(dialog, "TxtB", "4");
        setText(dialog, "TxtY", "2");
        setText(dialog, "TxtZ", "3");
        click(dialog, "CmdCalculate");
        SaveScreenshot(dialog, "FrmTrapezArea");
    }

    void trapezoidCalculatesAreaAndWettedPerimeter_data() {
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("y");
        QTest::addColumn<QString>("z");
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("wp");
        QTest::newRow("worked") << "4"
                                << "2"
                                << "3"
                                << "20.00"
                                << "16.65";
        QTest::newRow("rectangle") << "4"
                                   << "2"
                                   << "0"
                                   << "8.00"
                                   << "8.00";
        QTest::newRow("all empty") << ""
                                   << ""
                                   << ""
                                   << "0.00"
                                   << "0.00";
        QTest::newRow("triangle") << ""
                                  << "1.5"
                                  << "2"
                                  << "4.50"
                                  << "6.71";
    }
    void trapezoidCalculatesAreaAndWettedPerimeter() {
        QFETCH(QString, b);
        QFETCH(QString, y);
        QFETCH(QString, z);
        QFETCH(QString, area);
        QFETCH(QString, wp);
        ElementFixture f;
        FrmTrapezArea* dialog = ShowWindow<FrmTrapezArea>(f.ctx);
        setText(dialog, "TxtB", b);
        setText(dialog, "TxtY", y);
        setText(dialog, "TxtZ", z);
        click(dialog, "CmdCalculate");
        QCOMPARE(text(dialog, "TxtArea"), area);
        QCOMPARE(text(dialog, "TxtWp"), wp);
        QCOMPARE(f.prompts.texts(), QStringList());
        QVERIFY(dialog->isVisible());
    }

    void trapezoidAddHandsFreshValuesToTheShownChannelDialog_data() {
        QTest::addColumn<int>("shown");
        QTest::newRow("both shown: the add dialog") << int(AddShown | UpdateShown);
        QTest::newRow("only the update dialog") << int(UpdateShown);
        QTest::newRow("only the add dialog") << int(AddShown);
        QTest::newRow("none shown") << int(None);
    }
    void trapezoidAddHandsFreshValuesToTheShownChannelDialog() {
        QFETCH(int, shown);
        ElementFixture f;
        FrmChannelAddInfo* add = ShowWindow<FrmChannelAddInfo>(f.ctx);
        FrmChannelUpdateInfo* update = ShowWindow<FrmChannelUpdateInfo>(f.ctx);
        add->setVisible(shown & AddShown);
        update->setVisible(shown & UpdateShown);
        QWidget* opener = (shown & AddShown) ? static_cast<QWidget*>(add) : update;
        click(opener, "CmdArea"); // "?" opens the calculator

        QPointer<FrmTrapezArea> calculator = f.ctx.existing<FrmTrapezArea>();
        QVERIFY(calculator);
        setText(calculator, "TxtB", "9");
        click(calculator, "CmdCalculate");
        setText(calculator, "TxtB", "4"); // changed after Calculate: Add computes afresh
        setText(calculator, "TxtY", "2");
        setText(calculator, "TxtZ", "3");
        click(calculator, "CmdAdd");

        QTRY_VERIFY(calculator.isNull()); // "Add" always closes
        const bool toAdd = shown & AddShown;
        const bool toUpdate = !toAdd && (shown & UpdateShown);
        QCOMPARE(text(add, "TxtArea"), toAdd ? QStringLiteral("20.00") : QString());
        QCOMPARE(text(add, "TxtWP"), toAdd ? QStringLiteral("16.65") : QString());
        QCOMPARE(text(update, "TxtArea"), toUpdate ? QStringLiteral("20.00") : QString());
        QCOMPARE(text(update, "TxtWP"), toUpdate ? QStringLiteral("16.65") : QString());
    }

    void trapezoidZeroSectionReachesTheChannelRefusal() {
        // An empty section hands 0.00 over; the channel dialog then refuses the zero perimeter.
        ElementFixture f;
        FrmChannelAddInfo* channel = ShowWindow<FrmChannelAddInfo>(f.ctx);
        click(channel, "CmdArea");
        click(f.ctx.existing<FrmTrapezArea>(), "CmdAdd");
        QCOMPARE(text(channel, "TxtArea"), QStringLiteral("0.00"));
        QCOMPARE(text(channel, "TxtWP"), QStringLiteral("0.00"));
        setText(channel, "TxtArea", "10");
        setText(channel, "TxtSlope", "0.005");
        setText(channel, "TxtLength", "1000");
        click(channel, "CmdCalculate");
        QCOMPARE(f.prompts.shown.size(), std::size_t(1));
        QVERIFY(f.prompts.shown[0].text.contains("wetted perimeter"));
        QCOMPARE(text(channel, "TxtVelocity"), QString());
    }

    void trapezoidRefusesASectionTooLargeAndKeepsItOpen() {
        ElementFixture f;
        FrmChannelAddInfo* channel = ShowWindow<FrmChannelAddInfo>(f.ctx);
        QPointer<FrmTrapezArea> calculator = ShowWindow<FrmTrapezArea>(f.ctx);
        setText(calculator, "TxtB", "1e308"); // pasted: only typed keys are filtered
        setText(calculator, "TxtY", "1" + QString(300, '0'));
        setText(calculator, "TxtZ", "5");
        click(calculator, "CmdAdd");
        QCOMPARE(f.prompts.shown.size(), std::size_t(1));
        QCOMPARE(f.prompts.shown[0].title, QStringLiteral("Error"));
        QVERIFY(calculator && calculator->isVisible());
        QCOMPARE(text(channel, "TxtArea"), QString());
    }

    void trapezoidBindsNeitherEnterNorEsc() {
        ElementFixture f;
        QPointer<FrmTrapezArea> dialog = ShowWindow<FrmTrapezArea>(f.ctx);
        setText(dialog, "TxtB", "4");
        QTest::keyClick(field(dialog, "TxtB"), Qt::Key_Return);
        QCOMPARE(text(dialog, "TxtArea"), QString());
        QTest::keyClick(field(dialog, "TxtB"), Qt::Key_Escape);
        QTest::qWait(10);
        QVERIFY(dialog && dialog->isVisible());
    }

    void calculatorFieldsTakeOnlyNumberKeys_data() {
        QTest::addColumn<QString>("name");
        for (const char* name : {"TxtB", "TxtY", "TxtZ", "TxtCVal"})
            QTest::newRow(name) << name;
    }
    void calculatorFieldsTakeOnlyNumberKeys() {
        QFETCH(QString, name);
        ElementFixture f;
        QWidget* dialog = name == "TxtCVal" ? static_cast<QWidget*>(ShowWindow<FrmCCo>(f.ctx))
                                            : ShowWindow<FrmTrapezArea>(f.ctx);
        QLineEdit* target = field(dialog, qPrintable(name));
        target->clear();
        QTest::keyClicks(target, "-2e3, z.5.");
        QCOMPARE(target->text(), QStringLiteral("23.5."));
    }
};

QTEST_MAIN(TstElementCalculators)
#include "tst_element_calculators.moc"
