// The add and update dialogs of sub-basins, shallow flow and channels, driven as a user would,
// on a real project file that is read back on a connection of its own.

#include "tst_element_fixture.h"

#include "core/elements/ElementRecords.h"
#include "gui/elements/BasinDialogs.h"
#include "gui/elements/ChannelDialogs.h"
#include "gui/elements/ElementWindows.h"
#include "gui/elements/SurfaceDialogs.h"

#include <QFrame>
#include <QPointer>
#include <QSignalSpy>

#include <map>

using namespace pluvane;
using namespace pluvane::gui;
using namespace pluvane::gui::test;

namespace {

const QString kFill = "Please fill all fields";

void fillBasin(QWidget* dialog, const QString& tc = QString()) {
    setText(dialog, "TxtBasinName", "North lot");
    setText(dialog, "TxtArea", "2.5");
    setText(dialog, "TxtSlope", "0.02");
    setText(dialog, "TxtSoilType", "Residential (Suburban)");
    setText(dialog, "TxtC", "0.33");
    setText(dialog, "TxtLength", "100");
    control<QComboBox>(dialog, "CmbN")->setCurrentIndex(0); // 0.011
    setText(dialog, "TxtTc", tc);
}

void fillSurface(QWidget* dialog, const QString& type = "Unpaved") {
    setText(dialog, "TxtSurfName", "Gutter");
    setText(dialog, "TxtLength", "500");
    setText(dialog, "TxtSlope", "0.01");
    auto* types = control<QComboBox>(dialog, "CmbType");
    types->setCurrentIndex(types->findText(type));
}

void fillChannel(QWidget* dialog) {
    setText(dialog, "TxtChannelName", "Ditch");
    setText(dialog, "TxtArea", "10");
    setText(dialog, "TxtWP", "8");
    setText(dialog, "TxtSlope", "0.005");
    control<QComboBox>(dialog, "CmbN")->setCurrentIndex(0); // concrete, 0.013
    setText(dialog, "TxtLength", "1000");
}

BasinFields storedBasin() {
    BasinFields f;
    f.name = "Old orchard";
    f.area = "4";
    f.soilType = "Parks, cemeteries";
    f.c = "0.18";
    f.slope = "0.01";
    f.travelLength = "150";
    f.nType = "Woods, Light underbrush";
    f.n = "0.45"; // differs from the list's 0.40
    f.tc = "30.5";
    return f;
}

ChannelFields storedChannel() {
    ChannelFields f;
    f.name = "Swale";
    f.area = "10";
    f.wettedPerimeter = "8";
    f.slope = "0.005";
    f.length = "1000";
    f.material = "Earth Channel";
    f.n = "0.03";
    f.velocity = "1.0";
    f.tc = "2.0";
    return f;
}

// The label texts of a dialog, each checked to be the label of its field.
void checkLabels(QWidget* dialog, const std::vector<std::pair<const char*, QString>>& labels) {
    for (const auto& [name, caption] : labels) {
        QLabel* label = labelOf(dialog, control(dialog, name));
        QVERIFY2(label, name);
        QCOMPARE(label->text(), caption);
    }
}

bool hasNonNumber(const QStringList& texts) {
    for (const QString& t : texts)
        if (t.contains("inf", Qt::CaseInsensitive) || t.contains("nan", Qt::CaseInsensitive))
            return true;
    return false;
}

} // namespace

class TstElementDialogs : public QObject {
    Q_OBJECT
private slots:
    // ---------------------------------------------------------------------------------------
    // Sub-basin

    void basinAddOpensWithItsProposals() {
        ElementFixture f;
        QPointer<FrmBasInfo> dialog = ShowWindow<FrmBasInfo>(f.ctx);
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Sub Basin Information"));
        QVERIFY(!dialog->isModal());
        QVERIFY(!dialog->windowIcon().isNull());
        QCOMPARE(text(dialog, "TxtBasinName"), QStringLiteral("Basin 1"));
        for (const char* name :
             {"TxtArea", "TxtSlope", "TxtSoilType", "TxtC", "TxtLength", "TxtTc"})
            QVERIFY2(text(dialog, name).isEmpty(), name);
        auto* list = control<QComboBox>(dialog, "CmbN");
        QCOMPARE(list->count(), 10);
        QCOMPARE(list->currentText(),
                 QStringLiteral("Smooth Surfaces (Asphalt, concrete, gravel, bare soil)"));
        QCOMPARE(text(dialog, "TxtN"), QStringLiteral("0.011"));
        checkLabels(dialog, {{"TxtBasinName", "Basin Name"},
                             {"TxtArea", "Area (Ac)"},
                             {"TxtSlope", "Slope (feet/foot)"},
                             {"TxtSoilType", "Land Use"},
                             {"TxtC", "C"},
                             {"TxtLength", "Travel Length (ft)"},
                             {"CmbN", "n"},
                             {"TxtTc", "Tc (min)"}});
        QCOMPARE(control<QAbstractButton>(dialog, "CmdOK")->text(), QStringLiteral("OK"));
        QCOMPARE(control<QAbstractButton>(dialog, "CmdSoilType")->text(), QStringLiteral("?"));
        QVERIFY(control<QPushButton>(dialog, "CmdCalculate")->isDefault());
        auto* separator = control<QFrame>(dialog, "Separator");
        QCOMPARE(separator->frameShape(), QFrame::HLine);
        QCOMPARE(separator->frameShadow(), QFrame::Sunken);
        QCOMPARE(tabOrder(field(dialog, "TxtBasinName")),
                 QStringList({"TxtBasinName", "TxtArea", "TxtSlope", "TxtSoilType", "CmdSoilType",
                              "TxtC", "TxtLength", "CmbN", "TxtN", "TxtTc", "CmdCalculate", "CmdOK",
                              "CmdCancel"}));
        QCOMPARE(cutOffTexts(dialog), QString());

        // Opening again brings the same window forward.
        QCOMPARE(ShowWindow<FrmBasInfo>(f.ctx), dialog.data());
        fillBasin(dialog, "1.5");
        SaveScreenshot(dialog, "FrmBasInfo");
    }

    void basinRoughnessListWritesItsNText() {
        ElementFixture f;
        FrmBasInfo* dialog = ShowWindow<FrmBasInfo>(f.ctx);
        auto* list = control<QComboBox>(dialog, "CmbN");
        list->setCurrentIndex(list->findText("Woods, Light underbrush"));
        QCOMPARE(text(dialog, "TxtN"), QStringLiteral("0.40")); // the trailing zero kept
        list->setCurrentIndex(list->findText("Grass, Bermudagrass"));
        QCOMPARE(text(dialog, "TxtN"), QStringLiteral("0.41"));

        // Typed text that names no entry keeps n; typing an entry's text takes its n.
        list->lineEdit()->clear();
        QTest::keyClicks(list->lineEdit(), "Gravel road");
        QCOMPARE(list->currentText(), QStringLiteral("Gravel road"));
        QCOMPARE(text(dialog, "TxtN"), QStringLiteral("0.41"));
        list->lineEdit()->clear();
        QTest::keyClicks(list->lineEdit(), "Range");
        QCOMPARE(text(dialog, "TxtN"), QStringLiteral("0.13"));
        QCOMPARE(list->count(), 10); // typed texts are not added to the list
    }

    void basinCalculateGivesTheWorkedTc_data() {
        QTest::addColumn<QString>("surface");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("slope");
        QTest::addColumn<QString>("tc");
        QTest::newRow("smooth") << "Smooth Surfaces (Asphalt, concrete, gravel, bare soil)"
                                << "100"
                                << "0.02"
                                << "1.1424";
        QTest::newRow("dense grass") << "Grass, Dense grass"
                                     << "150"
                                     << "0.01"
                                     << "24.5550";
    }
    void basinCalculateGivesTheWorkedTc() {
        QFETCH(QString, surface);
        QFETCH(QString, length);
        QFETCH(QString, slope);
        QFETCH(QString, tc);
        ElementFixture f;
        f.useRainfall("0.15"); // P2 = 3.6 in
        FrmBasInfo* dialog = ShowWindow<FrmBasInfo>(f.ctx);
        fillBasin(dialog, "99"); // Calculate replaces a shown Tc
        auto* list = control<QComboBox>(dialog, "CmbN");
        list->setCurrentIndex(list->findText(surface));
        setText(dialog, "TxtLength", length);
        setText(dialog, "TxtSlope", slope);
        click(dialog, "CmdCalculate");
        QCOMPARE(text(dialog, "TxtTc"), tc);
        QCOMPARE(f.prompts.texts(), QStringList());
        QCOMPARE(f.rowCount("TblBasinInfo"), 0); // Calculate stores nothing
    }

    void basinOkComputesTcAndInsertsTheRow() {
        ElementFixture f;
        f.useRainfall("0.15");
        QSignalSpy changed(&f.ctx, &AppContext::networkChanged);
        QPointer<FrmBasInfo> dialog = ShowWindow<FrmBasInfo>(f.ctx);
        fillBasin(dialog);
        setText(dialog, "TxtBasinName", "O'Brien's \"lot\"; --"); // stored as typed
        click(dialog, "CmdOK");

        QCOMPARE(f.prompts.texts(), QStringList());
        QCOMPARE(text(dialog, "TxtTc"), QStringLiteral("1.1424"));
        QTRY_VERIFY(dialog.isNull()); // closed after the save
        const std::vector<Record> rows = f.rows("TblBasinInfo", "BasinTag", "Basin1");
        QCOMPARE(rows.size(), std::size_t(1));
        const Record& row = rows.front();
        QCOMPARE(row.text("BasinName"), std::string("O'Brien's \"lot\"; --"));
        QCOMPARE(row.text("Area"), std::string("2.5"));
        QCOMPARE(row.text("Slope"), std::string("0.02"));
        QCOMPARE(row.text("SoilType"), std::string("Residential (Suburban)"));
        QCOMPARE(row.text("CVal"), std::string("0.33"));
        QCOMPARE(row.text("TravelLength"), std::string("100"));
        QCOMPARE(row.text("BasinNType"),
                 std::string("Smooth Surfaces (Asphalt, concrete, gravel, bare soil)"));
        QCOMPARE(row.text("BasinN"), std::string("0.011"));
        QCOMPARE(row.text("Tc"), std::string("1.1424"));
        QCOMPARE(row.text("Deleted"), std::string("False"));
        QCOMPARE(row.text("BasinX"), std::string("650")); // template left 600 + 50 x 1
        QCOMPARE(row.text("BasinY"), std::string("840"));
        QCOMPARE(f.network.images(ElementKind::Basin).size(), std::size_t(2));
        QVERIFY(f.network.image(ElementKind::Basin, 1).visible);
        QCOMPARE(f.network.image(ElementKind::Basin, 1).tag, std::string("Basin1"));
        QCOMPARE(changed.count(), 1);

        // The next add dialog proposes the next number.
        FrmBasInfo* next = ShowWindow<FrmBasInfo>(f.ctx);
        QCOMPARE(text(next, "TxtBasinName"), QStringLiteral("Basin 2"));
    }

    void basinOkKeepsATypedTc() {
        ElementFixture f;
        f.useRainfall("0.15");
        FrmBasInfo* dialog = ShowWindow<FrmBasInfo>(f.ctx);
        fillBasin(dialog, "7.25");
        click(dialog, "CmdOK");
        const std::vector<Record> rows = f.rows("TblBasinInfo", "BasinTag", "Basin1");
        QCOMPARE(rows.size(), std::size_t(1));
        QCOMPARE(rows.front().text("Tc"), std::string("7.25"));
    }

    void basinOkMessageCounts_data() {
        QTest::addColumn<QString>("tc");
        QTest::addColumn<QString>("emptied");
        QTest::addColumn<int>("messages");
        // Calculate inside the walk finds the empty name (computing nothing), then the walk does.
        QTest::newRow("Tc and name empty") << ""
                                           << "TxtBasinName" << 2;
        QTest::newRow("Tc and land use empty") << ""
                                               << "TxtSoilType" << 2;
        // The walk stops at n before it reaches Tc.
        QTest::newRow("n empty") << ""
                                 << "TxtN" << 1;
        QTest::newRow("Tc typed, name empty") << "3"
                                              << "TxtBasinName" << 1;
    }
    void basinOkMessageCounts() {
        QFETCH(QString, tc);
        QFETCH(QString, emptied);
        QFETCH(int, messages);
        ElementFixture f;
        f.useRainfall("0.15");
        QPointer<FrmBasInfo> dialog = ShowWindow<FrmBasInfo>(f.ctx);
        fillBasin(dialog, tc);
        setText(dialog, qPrintable(emptied), "");
        click(dialog, "CmdOK");

        QCOMPARE(f.prompts.texts(), QStringList(QVector<QString>(messages, kFill).toList()));
        QCOMPARE(f.messageTitles(), QStringList(QVector<QString>(messages, "Error").toList()));
        for (const RecordingPrompts::Shown& box : f.prompts.shown)
            QCOMPARE(box.icon, Prompts::Icon::None);
        QCOMPARE(text(dialog, "TxtTc"), tc); // nothing computed
        QCOMPARE(f.rowCount("TblBasinInfo"), 0);
        QCOMPARE(f.network.images(ElementKind::Basin).size(), std::size_t(1));
        QVERIFY(dialog && dialog->isVisible());
    }

    void basinRefusesAnUndefinedSheetFlow_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("expected"); // part of the message
        QTest::newRow("zero slope") << "slope"
                                    << "slope";
        QTest::newRow("blank slope") << "blank slope"
                                     << "Slope: ' ' is not a number";
        QTest::newRow("zero rainfall") << "rainfall"
                                       << "2-year 24-hour rainfall";
        QTest::newRow("no 24-hour row") << "no 24.0"
                                        << "24-hour row";
        QTest::newRow("no current table") << "no table"
                                          << "No rainfall intensity table";
    }
    void basinRefusesAnUndefinedSheetFlow() {
        QFETCH(QString, fault);
        QFETCH(QString, expected);
        ElementFixture f;
        f.useRainfall(fault == "rainfall" ? "0" : "0.15");
        if (fault == "no 24.0")
            Database::open(f.ws().intensityDbPath())
                .exec("UPDATE \"Testville\" SET Duration = '24' WHERE ID = 10");
        if (fault == "no table")
            f.ctx.session().setCurrentIntensityTable("");
        QPointer<FrmBasInfo> dialog = ShowWindow<FrmBasInfo>(f.ctx);
        fillBasin(dialog);
        if (fault == "slope")
            setText(dialog, "TxtSlope", "0");
        if (fault == "blank slope")
            setText(dialog, "TxtSlope", " "); // not empty, and not a number

        click(dialog, "CmdCalculate");
        QCOMPARE(f.prompts.shown.size(), std::size_t(1));
        QVERIFY2(f.prompts.shown[0].text.contains(expected), qPrintable(f.prompts.shown[0].text));
        QCOMPARE(f.prompts.shown[0].title, QStringLiteral("Error"));
        QCOMPARE(text(dialog, "TxtTc"), QString());

        // OK runs the same calculation, says it once, and stores nothing.
        click(dialog, "CmdOK");
        QCOMPARE(f.prompts.shown.size(), std::size_t(2));
        QVERIFY(f.prompts.shown[1].text.contains(expected));
        QCOMPARE(text(dialog, "TxtTc"), QString());
        QCOMPARE(f.rowCount("TblBasinInfo"), 0);
        QCOMPARE(f.network.images(ElementKind::Basin).size(), std::size_t(1));
        QVERIFY(dialog && dialog->isVisible());
    }

    void basinUpdateLoadsTheSelectedRowAndRewritesIt() {
        ElementFixture f;
        f.useRainfall("0.15");
        InsertBasin(f.ws(), "Basin1", 650, 840, storedBasin());
        f.network.SelectedElement = ElementRef{ElementKind::Basin, 1, "Basin1"};
        QSignalSpy changed(&f.ctx, &AppContext::networkChanged);
        QPointer<FrmBasUpdate> dialog = ShowWindow<FrmBasUpdate>(f.ctx);
        QVERIFY(QTest::qWaitForWindowExposed(dialog));

        QCOMPARE(dialog->windowTitle(), QStringLiteral("Sub Basin Information Update"));
        QCOMPARE(control<QAbstractButton>(dialog, "CmdOK")->text(), QStringLiteral("Update"));
        QCOMPARE(labelOf(dialog, field(dialog, "TxtTc"))->text(), QStringLiteral("Tc"));
        QCOMPARE(dialog->loadedTag(), std::string("Basin1"));
        QCOMPARE(text(dialog, "TxtBasinName"), QStringLiteral("Old orchard"));
        QCOMPARE(text(dialog, "TxtArea"), QStringLiteral("4"));
        QCOMPARE(text(dialog, "TxtSoilType"), QStringLiteral("Parks, cemeteries"));
        QCOMPARE(text(dialog, "TxtC"), QStringLiteral("0.18"));
        QCOMPARE(text(dialog, "TxtSlope"), QStringLiteral("0.01"));
        QCOMPARE(text(dialog, "TxtLength"), QStringLiteral("150"));
        QCOMPARE(text(dialog, "TxtTc"), QStringLiteral("30.5"));
        QCOMPARE(control<QComboBox>(dialog, "CmbN")->currentText(),
                 QStringLiteral("Woods, Light underbrush"));
        QCOMPARE(text(dialog, "TxtN"), QStringLiteral("0.45")); // the stored n wins
        QCOMPARE(cutOffTexts(dialog), QString());
        SaveScreenshot(dialog, "FrmBasUpdate");

        setText(dialog, "TxtArea", "4.75");
        click(dialog, "CmdOK"); // a shown Tc is saved as it stands
        QCOMPARE(f.prompts.texts(), QStringList());
        QTRY_VERIFY(dialog.isNull());
        BasinFields expected = storedBasin();
        expected.area = "4.75";
        QCOMPARE(LoadBasin(f.ws(), "Basin1"), std::optional<BasinFields>(expected));
        const Record row = f.rows("TblBasinInfo", "BasinTag", "Basin1").front();
        QCOMPARE(row.text("BasinX"), std::string("650")); // position and flag untouched
        QCOMPARE(row.text("Deleted"), std::string("False"));
        QCOMPARE(changed.count(), 1);
    }

    void basinUpdateWithTcEmptiedRecomputesIt() {
        ElementFixture f;
        f.useRainfall("0.15");
        InsertBasin(f.ws(), "Basin1", 650, 840, storedBasin());
        f.network.SelectedElement = ElementRef{ElementKind::Basin, 1, "Basin1"};
        FrmBasUpdate* dialog = ShowWindow<FrmBasUpdate>(f.ctx);
        auto* list = control<QComboBox>(dialog, "CmbN");
        list->setCurrentIndex(list->findText("Grass, Dense grass"));
        setText(dialog, "TxtTc", "");
        click(dialog, "CmdOK");
        QCOMPARE(LoadBasin(f.ws(), "Basin1")->tc, std::string("24.5550"));
        QCOMPARE(LoadBasin(f.ws(), "Basin1")->n, std::string("0.24"));
    }

    void updateGoesToTheElementItWasLoadedFrom() {
        ElementFixture f;
        InsertBasin(f.ws(), "Basin1", 650, 840, storedBasin());
        BasinFields other = storedBasin();
        other.name = "Other";
        InsertBasin(f.ws(), "Basin2", 750, 840, other);
        f.network.SelectedElement = ElementRef{ElementKind::Basin, 1, "Basin1"};
        FrmBasUpdate* dialog = ShowWindow<FrmBasUpdate>(f.ctx);
        // Another element is pressed on the canvas meanwhile: its row must not receive the
        // fields of the element this dialog shows.
        f.network.SelectedElement = ElementRef{ElementKind::Basin, 2, "Basin2"};
        setText(dialog, "TxtBasinName", "Renamed");
        click(dialog, "CmdOK");
        QCOMPARE(LoadBasin(f.ws(), "Basin2")->name, std::string("Other"));
        QCOMPARE(LoadBasin(f.ws(), "Basin1")->name, std::string("Renamed"));
    }

    void updateWithoutItsRowOpensEmptyAndSaysNothingWasSaved_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("tag");
        QTest::newRow("basin") << int(ElementKind::Basin) << "Basin7";
        QTest::newRow("surface") << int(ElementKind::Surface) << "Surface7";
        QTest::newRow("channel") << int(ElementKind::Channel) << "Channel7";
        QTest::newRow("nothing selected") << int(ElementKind::Basin) << "";
    }
    void updateWithoutItsRowOpensEmptyAndSaysNothingWasSaved() {
        QFETCH(int, kind);
        QFETCH(QString, tag);
        ElementFixture f;
        f.useRainfall("0.15");
        const auto elementKind = static_cast<ElementKind>(kind);
        if (!tag.isEmpty())
            f.network.SelectedElement = ElementRef{elementKind, 7, tag.toStdString()};
        QPointer<QDialog> dialog = ShowUpdateDialog(f.ctx, elementKind);
        QVERIFY(dialog);
        QCOMPARE(f.prompts.texts(), QStringList()); // opening does not fail or complain
        const char* nameField = elementKind == ElementKind::Basin     ? "TxtBasinName"
                                : elementKind == ElementKind::Surface ? "TxtSurfName"
                                                                      : "TxtChannelName";
        QCOMPARE(text(dialog, nameField), QString());

        if (elementKind == ElementKind::Basin)
            fillBasin(dialog);
        else if (elementKind == ElementKind::Surface)
            fillSurface(dialog);
        else
            fillChannel(dialog);
        click(dialog, "CmdOK");
        QCOMPARE(f.prompts.texts(), QStringList(ElementGoneMessage(tag)));
        QVERIFY(tag.isEmpty() || f.prompts.shown[0].text.contains(tag));
        for (const char* table : {"TblBasinInfo", "TblSurfaceInfo", "TblChannelInfo"})
            QCOMPARE(f.rowCount(table), 0);
        QVERIFY(dialog && dialog->isVisible());
    }

    void addWithoutACanvasStoresNothing() {
        ElementFixture f;
        f.useRainfall("0.15");
        f.ctx.setNetwork(nullptr);
        FrmBasInfo* basin = ShowWindow<FrmBasInfo>(f.ctx);
        fillBasin(basin);
        click(basin, "CmdOK");
        FrmSurfaceAddInfo* surface = ShowWindow<FrmSurfaceAddInfo>(f.ctx);
        fillSurface(surface);
        click(surface, "CmdOK");
        FrmChannelAddInfo* channel = ShowWindow<FrmChannelAddInfo>(f.ctx);
        fillChannel(channel);
        click(channel, "CmdOK");
        QCOMPARE(f.prompts.texts(),
                 QStringList({NoCanvasMessage(), NoCanvasMessage(), NoCanvasMessage()}));
        for (const char* table : {"TblBasinInfo", "TblSurfaceInfo", "TblChannelInfo"})
            QCOMPARE(f.rowCount(table), 0);
        QVERIFY(basin->isVisible() && surface->isVisible() && channel->isVisible());
    }

    void aFailedInsertTakesTheImageBack() {
        ElementFixture f;
        f.useRainfall("0.15");
        Database::open(f.ws().ProjectPath)
            .exec("CREATE TRIGGER refuse BEFORE INSERT ON TblBasinInfo BEGIN SELECT RAISE(ABORT, "
                  "'refused'); END");
        QSignalSpy changed(&f.ctx, &AppContext::networkChanged);
        FrmBasInfo* dialog = ShowWindow<FrmBasInfo>(f.ctx);
        fillBasin(dialog);
        click(dialog, "CmdOK");
        QCOMPARE(f.prompts.shown.size(), std::size_t(1));
        QCOMPARE(f.prompts.shown[0].title, QStringLiteral("Error"));
        QCOMPARE(f.network.images(ElementKind::Basin).size(), std::size_t(1)); // no ghost image
        QCOMPARE(f.network.image(ElementKind::Basin, 0).left, 600.0f);         // template put back
        QCOMPARE(changed.count(), 0);
        QVERIFY(dialog->isVisible());
    }

    // ---------------------------------------------------------------------------------------
    // Shallow concentrated flow

    void surfaceAddOpensWithItsProposals() {
        ElementFixture f;
        FrmSurfaceAddInfo* dialog = ShowWindow<FrmSurfaceAddInfo>(f.ctx);
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Add Surface Flow"));
        QCOMPARE(text(dialog, "TxtSurfName"), QStringLiteral("Surface 1"));
        auto* types = control<QComboBox>(dialog, "CmbType");
        QVERIFY(!types->isEditable());
        QCOMPARE(types->count(), 2);
        QCOMPARE(types->itemText(0), QStringLiteral("Unpaved"));
        QCOMPARE(types->itemText(1), QStringLiteral("Paved"));
        QCOMPARE(types->currentIndex(), 0);
        QVERIFY(field(dialog, "TxtVelocity")->isReadOnly());
        checkLabels(dialog, {{"TxtSurfName", "Name"},
                             {"TxtLength", "Length (ft)"},
                             {"TxtSlope", "Slope"},
                             {"CmbType", "Type"},
                             {"TxtVelocity", "Velocity (fps)"},
                             {"TxtTc", "Tc (min)"}});
        QCOMPARE(control<QAbstractButton>(dialog, "CmdOK")->text(), QStringLiteral("Add"));
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            QVERIFY2(!button->isDefault() && !button->autoDefault(),
                     qPrintable(button->objectName()));
        QCOMPARE(tabOrder(field(dialog, "TxtSurfName")),
                 QStringList({"TxtSurfName", "TxtLength", "TxtSlope", "CmbType", "TxtTc",
                              "CmdCalculate", "CmdOK", "CmdCancel"}));
        QCOMPARE(cutOffTexts(dialog), QString());
        fillSurface(dialog);
        click(dialog, "CmdCalculate");
        SaveScreenshot(dialog, "FrmSurfaceAddInfo");
    }

    void surfaceCalculateGivesTheWorkedNumbers_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("velocity");
        QTest::addColumn<QString>("tc");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("unpaved") << "Unpaved"
                                 << "500"
                                 << "1.6130"
                                 << "5.1664" << QStringList();
        QTest::newRow("paved") << "Paved"
                               << "500"
                               << "2.0330"
                               << "4.0990" << QStringList();
        // No travel, no travel time: a length of 0 is refused, not given a Tc of 0.
        QTest::newRow("no length") << "Unpaved"
                                   << "0"
                                   << ""
                                   << "" << QStringList{"The length must be greater than 0."};
    }
    void surfaceCalculateGivesTheWorkedNumbers() {
        QFETCH(QString, type);
        QFETCH(QString, length);
        QFETCH(QString, velocity);
        QFETCH(QString, tc);
        QFETCH(QStringList, messages);
        ElementFixture f;
        FrmSurfaceAddInfo* dialog = ShowWindow<FrmSurfaceAddInfo>(f.ctx);
        fillSurface(dialog, type);
        setText(dialog, "TxtLength", length);
        click(dialog, "CmdCalculate");
        QCOMPARE(text(dialog, "TxtVelocity"), velocity);
        QCOMPARE(text(dialog, "TxtTc"), tc);
        QCOMPARE(f.prompts.texts(), messages);
    }

    void surfaceAddReplacesATypedTcAndInsertsTheRow() {
        ElementFixture f;
        QPointer<FrmSurfaceAddInfo> dialog = ShowWindow<FrmSurfaceAddInfo>(f.ctx);
        fillSurface(dialog, "Paved");
        setText(dialog, "TxtTc", "99");
        click(dialog, "CmdOK");
        QCOMPARE(f.prompts.texts(), QStringList());
        QTRY_VERIFY(dialog.isNull());
        const std::vector<Record> rows = f.rows("TblSurfaceInfo", "SurfTag", "Surface1");
        QCOMPARE(rows.size(), std::size_t(1));
        const Record& row = rows.front();
        QCOMPARE(row.text("SurfName"), std::string("Gutter"));
        QCOMPARE(row.text("SurfLength"), std::string("500"));
        QCOMPARE(row.text("SurfSlope"), std::string("0.01"));
        QCOMPARE(row.text("SurfType"), std::string("Paved"));
        QCOMPARE(row.text("SurfVelocity"), std::string("2.0330"));
        QCOMPARE(row.text("SurfTc"), std::string("4.0990"));
        QCOMPARE(row.text("Deleted"), std::string("False"));
        QCOMPARE(row.text("SurfX"), std::string("650"));
        QCOMPARE(row.text("SurfY"), std::string("1680"));
    }

    void surfaceFillCheckSaysItOnceWithTheInformationIcon_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("emptied");
        QTest::newRow("add, no name") << "CmdOK"
                                      << "TxtSurfName";
        QTest::newRow("add, no slope") << "CmdOK"
                                       << "TxtSlope";
        QTest::newRow("calculate, no length") << "CmdCalculate"
                                              << "TxtLength";
    }
    void surfaceFillCheckSaysItOnceWithTheInformationIcon() {
        QFETCH(QString, button);
        QFETCH(QString, emptied);
        ElementFixture f;
        FrmSurfaceAddInfo* dialog = ShowWindow<FrmSurfaceAddInfo>(f.ctx);
        fillSurface(dialog);
        setText(dialog, qPrintable(emptied), "");
        click(dialog, qPrintable(button));
        QCOMPARE(f.prompts.texts(), QStringList(kFill));
        QCOMPARE(f.prompts.shown[0].title, QStringLiteral("Error"));
        QCOMPARE(f.prompts.shown[0].icon, Prompts::Icon::Information);
        QCOMPARE(text(dialog, "TxtVelocity"), QString());
        QCOMPARE(f.rowCount("TblSurfaceInfo"), 0);
        QVERIFY(dialog->isVisible());
    }

    void surfaceRefusesAZeroSlope() {
        ElementFixture f;
        FrmSurfaceAddInfo* dialog = ShowWindow<FrmSurfaceAddInfo>(f.ctx);
        fillSurface(dialog);
        setText(dialog, "TxtSlope", "0");
        click(dialog, "CmdOK");
        QCOMPARE(f.prompts.shown.size(), std::size_t(1));
        QVERIFY(f.prompts.shown[0].text.contains("slope"));
        QCOMPARE(f.prompts.shown[0].icon, Prompts::Icon::Information);
        QVERIFY(!hasNonNumber({text(dialog, "TxtVelocity"), text(dialog, "TxtTc")}));
        QCOMPARE(f.rowCount("TblSurfaceInfo"), 0);
        QCOMPARE(f.network.images(ElementKind::Surface).size(), std::size_t(1));
    }

    void surfaceUpdateLoadsRecomputesAndRewrites() {
        ElementFixture f;
        InsertSurface(f.ws(), "Surface1", 650, 1680,
                      {"Gutter", "0.01", "500", "2.0330", "Paved", "4.0990"});
        f.network.SelectedElement = ElementRef{ElementKind::Surface, 1, "Surface1"};
        QPointer<FrmSurfaceUpdateInfo> dialog = ShowWindow<FrmSurfaceUpdateInfo>(f.ctx);
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Update Surface Flow"));
        QCOMPARE(control<QAbstractButton>(dialog, "CmdOK")->text(), QStringLiteral("Update"));
        QCOMPARE(text(dialog, "TxtSurfName"), QStringLiteral("Gutter"));
        QCOMPARE(control<QComboBox>(dialog, "CmbType")->currentText(), QStringLiteral("Paved"));
        QCOMPARE(text(dialog, "TxtVelocity"), QStringLiteral("2.0330"));
        QCOMPARE(text(dialog, "TxtTc"), QStringLiteral("4.0990"));
        SaveScreenshot(dialog, "FrmSurfaceUpdateInfo");

        control<QComboBox>(dialog, "CmbType")->setCurrentIndex(0); // Unpaved
        click(dialog, "CmdOK");
        QCOMPARE(f.prompts.texts(), QStringList());
        QTRY_VERIFY(dialog.isNull());
        const SurfaceFields expected{"Gutter", "0.01", "500", "1.6130", "Unpaved", "5.1664"};
        QCOMPARE(LoadSurface(f.ws(), "Surface1"), std::optional<SurfaceFields>(expected));
    }

    void surfaceUpdateShowsNoTypeForAnUnknownOne() {
        ElementFixture f;
        const SurfaceFields stored{"Gutter", "0.01", "500", "2.0", "paved", "4.0"};
        InsertSurface(f.ws(), "Surface1", 650, 1680, stored);
        f.network.SelectedElement = ElementRef{ElementKind::Surface, 1, "Surface1"};
        FrmSurfaceUpdateInfo* dialog = ShowWindow<FrmSurfaceUpdateInfo>(f.ctx);
        QCOMPARE(control<QComboBox>(dialog, "CmbType")->currentIndex(), -1);
        click(dialog, "CmdOK");
        QCOMPARE(f.prompts.shown.size(), std::size_t(1));
        QVERIFY(f.prompts.shown[0].text.contains("Unpaved"));
        QCOMPARE(LoadSurface(f.ws(), "Surface1"), std::optional<SurfaceFields>(stored));
    }

    // ---------------------------------------------------------------------------------------
    // Channel flow

    void channelAddOpensWithItsProposals() {
        ElementFixture f;
        FrmChannelAddInfo* dialog = ShowWindow<FrmChannelAddInfo>(f.ctx);
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Channel Information"));
        QCOMPARE(text(dialog, "TxtChannelName"), QStringLiteral("Channel 1"));
        auto* list = control<QComboBox>(dialog, "CmbN");
        QCOMPARE(list->count(), 4);
        QCOMPARE(list->currentText(), QStringLiteral("Concrete Channel"));
        QCOMPARE(text(dialog, "TxtN"), QStringLiteral("0.013"));
        QVERIFY(field(dialog, "TxtVelocity")->isReadOnly());
        checkLabels(dialog, {{"TxtChannelName", "Channel Name"},
                             {"TxtArea", "Section Area (sf)"},
                             {"TxtWP", "Wetted Perimeter"},
                             {"TxtSlope", "Slope (feet/foot)"},
                             {"CmbN", "n"},
                             {"TxtLength", "Travel Length (ft)"},
                             {"TxtVelocity", "Velocity (fps)"},
                             {"TxtTc", "Tc (min)"}});
        QCOMPARE(control<QAbstractButton>(dialog, "CmdOK")->text(), QStringLiteral("OK"));
        QCOMPARE(control<QAbstractButton>(dialog, "CmdArea")->text(), QStringLiteral("?"));
        QVERIFY(control<QPushButton>(dialog, "CmdCalculate")->isDefault());
        QCOMPARE(control<QFrame>(dialog, "Separator")->frameShadow(), QFrame::Sunken);
        QCOMPARE(tabOrder(field(dialog, "TxtChannelName")),
                 QStringList({"TxtChannelName", "TxtArea", "CmdArea", "TxtWP", "TxtSlope", "CmbN",
                              "TxtN", "TxtLength", "TxtTc", "CmdCalculate", "CmdOK", "CmdCancel"}));
        QCOMPARE(cutOffTexts(dialog), QString());

        list->setCurrentIndex(list->findText("Gravel Channel"));
        QCOMPARE(text(dialog, "TxtN"), QStringLiteral("0.029"));
        list->setCurrentIndex(list->findText("Earth Channel"));
        QCOMPARE(text(dialog, "TxtN"), QStringLiteral("0.025"));

        fillChannel(dialog);
        click(dialog, "CmdCalculate");
        SaveScreenshot(dialog, "FrmChannelAddInfo");
    }

    void channelOkComputesAndInsertsTheRow() {
        ElementFixture f;
        QPointer<FrmChannelAddInfo> dialog = ShowWindow<FrmChannelAddInfo>(f.ctx);
        fillChannel(dialog);
        click(dialog, "CmdOK");
        QCOMPARE(f.prompts.texts(), QStringList());
        QTRY_VERIFY(dialog.isNull());
        const std::vector<Record> rows = f.rows("TblChannelInfo", "ChannelTag", "Channel1");
        QCOMPARE(rows.size(), std::size_t(1));
        const Record& row = rows.front();
        QCOMPARE(row.text("ChannelName"), std::string("Ditch"));
        QCOMPARE(row.text("ChannelArea"), std::string("10"));
        QCOMPARE(row.text("ChannelWP"), std::string("8"));
        QCOMPARE(row.text("ChannelSlope"), std::string("0.005"));
        QCOMPARE(row.text("ChannelLength"), std::string("1000"));
        QCOMPARE(row.text("ChannelMaterial"), std::string("Concrete Channel"));
        QCOMPARE(row.text("ChannelN"), std::string("0.013"));
        QCOMPARE(row.text("ChannelVelocity"), std::string("9.3792"));
        QCOMPARE(row.text("ChannelTc"), std::string("1.7770"));
        QCOMPARE(row.text("Deleted"), std::string("False"));
        QCOMPARE(row.text("ChannelLeft"), std::string("650"));
        QCOMPARE(row.text("ChannelTop"), std::string("2520"));
    }

    void channelSavesShownResultsWithoutRecomputing() {
        ElementFixture f;
        FrmChannelAddInfo* dialog = ShowWindow<FrmChannelAddInfo>(f.ctx);
        fillChannel(dialog);
        click(dialog, "CmdCalculate");
        QCOMPARE(text(dialog, "TxtTc"), QStringLiteral("1.7770"));
        setText(dialog, "TxtLength", "2000"); // shown results stay as they are
        setText(dialog, "TxtTc", "3.5");      // and a typed Tc is kept
        click(dialog, "CmdOK");
        const ChannelFields row = *LoadChannel(f.ws(), "Channel1");
        QCOMPARE(row.length, std::string("2000"));
        QCOMPARE(row.velocity, std::string("9.3792"));
        QCOMPARE(row.tc, std::string("3.5"));
    }

    void channelOkMessageCounts_data() {
        QTest::addColumn<bool>("update");
        QTest::addColumn<QStringList>("emptied");
        QTest::addColumn<int>("messages");
        // Calculate at the velocity, Calculate at Tc, then the walk itself at the area.
        QTest::newRow("add: results and area empty")
            << false << QStringList{"TxtVelocity", "TxtTc", "TxtArea"} << 3;
        QTest::newRow("add: results and n empty")
            << false << QStringList{"TxtVelocity", "TxtTc", "TxtN"} << 3;
        // The update walk meets n before Tc.
        QTest::newRow("update: results and n empty")
            << true << QStringList{"TxtVelocity", "TxtTc", "TxtN"} << 2;
        QTest::newRow("update: results and area empty")
            << true << QStringList{"TxtVelocity", "TxtTc", "TxtArea"} << 3;
        QTest::newRow("add: results shown, name empty")
            << false << QStringList{"TxtChannelName"} << 1;
    }
    void channelOkMessageCounts() {
        QFETCH(bool, update);
        QFETCH(QStringList, emptied);
        QFETCH(int, messages);
        ElementFixture f;
        InsertChannel(f.ws(), "Channel1", 650, 2520, storedChannel());
        f.network.SelectedElement = ElementRef{ElementKind::Channel, 1, "Channel1"};
        QDialog* dialog = update ? static_cast<QDialog*>(ShowWindow<FrmChannelUpdateInfo>(f.ctx))
                                 : static_cast<QDialog*>(ShowWindow<FrmChannelAddInfo>(f.ctx));
        fillChannel(dialog);
        setText(dialog, "TxtVelocity", "1.0");
        setText(dialog, "TxtTc", "2.0");
        for (const QString& name : emptied)
            setText(dialog, qPrintable(name), "");
        click(dialog, "CmdOK");
        QCOMPARE(f.prompts.texts(), QStringList(QVector<QString>(messages, kFill).toList()));
        for (const RecordingPrompts::Shown& box : f.prompts.shown) {
            QCOMPARE(box.title, QStringLiteral("Error"));
            QCOMPARE(box.icon, Prompts::Icon::None);
        }
        QCOMPARE(f.rowCount("TblChannelInfo"), 1);
        QCOMPARE(LoadChannel(f.ws(), "Channel1"), std::optional<ChannelFields>(storedChannel()));
        QVERIFY(dialog->isVisible());
    }

    void channelRefusesAnUndefinedVelocity_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zero wetted perimeter") << "TxtWP"
                                               << "0"
                                               << "wetted perimeter";
        QTest::newRow("zero n") << "TxtN"
                                << "0"
                                << "roughness";
        QTest::newRow("zero slope") << "TxtSlope"
                                    << "0"
                                    << "slope";
        QTest::newRow("point only area") << "TxtArea"
                                         << "."
                                         << "Section Area: '.' is not a number";
    }
    void channelRefusesAnUndefinedVelocity() {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(QString, expected);
        ElementFixture f;
        FrmChannelAddInfo* dialog = ShowWindow<FrmChannelAddInfo>(f.ctx);
        fillChannel(dialog);
        setText(dialog, qPrintable(name), value);
        click(dialog, "CmdOK"); // results empty: the walk calculates, is refused, and stops
        QCOMPARE(f.prompts.shown.size(), std::size_t(1));
        QVERIFY2(f.prompts.shown[0].text.contains(expected), qPrintable(f.prompts.shown[0].text));
        QCOMPARE(text(dialog, "TxtVelocity"), QString());
        QCOMPARE(text(dialog, "TxtTc"), QString());
        QCOMPARE(f.rowCount("TblChannelInfo"), 0);
        QCOMPARE(f.network.images(ElementKind::Channel).size(), std::size_t(1));
    }

    // ---------------------------------------------------------------------------------------
    // Values no site can have: refused by Calculate, by Add, and by Update of a stored row
    // that holds one (an older file), where Update computes nothing.

    void valuesNoSiteHasAreRefusedByEveryKind_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        const QString area = "The area must be greater than 0.";
        const QString c = "C must be between 0 and 1";
        const QString length = "The length must be greater than 0.";
        const QString n = "The roughness coefficient n must be greater than 0.";
        QTest::newRow("basin area 0") << "basin"
                                      << "TxtArea"
                                      << "0" << area;
        QTest::newRow("basin C 5") << "basin"
                                   << "TxtC"
                                   << "5" << c;
        QTest::newRow("basin C 1.01") << "basin"
                                      << "TxtC"
                                      << "1.01" << c;
        QTest::newRow("basin length 0") << "basin"
                                        << "TxtLength"
                                        << "0" << length;
        QTest::newRow("basin n 0") << "basin"
                                   << "TxtN"
                                   << "0" << n;
        QTest::newRow("surface length 0") << "surface"
                                          << "TxtLength"
                                          << "0" << length;
        QTest::newRow("channel length 0") << "channel"
                                          << "TxtLength"
                                          << "0" << length;
        QTest::newRow("channel n 0") << "channel"
                                     << "TxtN"
                                     << "0" << n;
    }
    void valuesNoSiteHasAreRefusedByEveryKind() {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(QString, message);
        ElementFixture f;
        f.useRainfall("0.15");
        const char* table = kind == "basin"     ? "TblBasinInfo"
                            : kind == "surface" ? "TblSurfaceInfo"
                                                : "TblChannelInfo";
        QWidget* add = kind == "basin" ? static_cast<QWidget*>(ShowWindow<FrmBasInfo>(f.ctx))
                       : kind == "surface"
                           ? static_cast<QWidget*>(ShowWindow<FrmSurfaceAddInfo>(f.ctx))
                           : static_cast<QWidget*>(ShowWindow<FrmChannelAddInfo>(f.ctx));
        if (kind == "basin")
            fillBasin(add);
        else if (kind == "surface")
            fillSurface(add);
        else
            fillChannel(add);
        setText(add, qPrintable(name), value);
        click(add, "CmdCalculate");
        click(add, "CmdOK");
        QCOMPARE(f.prompts.texts(), QStringList({message, message}));
        QCOMPARE(text(add, "TxtTc"), QString());
        QCOMPARE(f.rowCount(table), 0);
        add->close();

        // A stored row with the value; only the name is changed before Update.
        BasinFields basin = storedBasin();
        SurfaceFields surface{"Gutter", "0.01", "500", "1.6130", "Unpaved", "5.1664"};
        ChannelFields channel = storedChannel();
        const std::map<QString, std::string*> stored = {{"basin TxtArea", &basin.area},
                                                        {"basin TxtC", &basin.c},
                                                        {"basin TxtLength", &basin.travelLength},
                                                        {"basin TxtN", &basin.n},
                                                        {"surface TxtLength", &surface.length},
                                                        {"channel TxtLength", &channel.length},
                                                        {"channel TxtN", &channel.n}};
        *stored.at(kind + " " + name) = value.toStdString();
        QWidget* update = nullptr;
        if (kind == "basin") {
            InsertBasin(f.ws(), "Basin1", 480, 480, basin);
            f.network.SelectedElement = ElementRef{ElementKind::Basin, 1, "Basin1"};
            update = ShowWindow<FrmBasUpdate>(f.ctx);
            setText(update, "TxtBasinName", "Renamed");
        } else if (kind == "surface") {
            InsertSurface(f.ws(), "Surface1", 480, 480, surface);
            f.network.SelectedElement = ElementRef{ElementKind::Surface, 1, "Surface1"};
            update = ShowWindow<FrmSurfaceUpdateInfo>(f.ctx);
            setText(update, "TxtSurfName", "Renamed");
        } else {
            InsertChannel(f.ws(), "Channel1", 480, 480, channel);
            f.network.SelectedElement = ElementRef{ElementKind::Channel, 1, "Channel1"};
            update = ShowWindow<FrmChannelUpdateInfo>(f.ctx);
            setText(update, "TxtChannelName", "Renamed");
        }
        QCOMPARE(text(update, qPrintable(name)), value);
        click(update, "CmdOK");
        QCOMPARE(f.prompts.texts(), QStringList({message, message, message}));
        const std::string kept = kind == "basin"     ? LoadBasin(f.ws(), "Basin1")->name
                                 : kind == "surface" ? LoadSurface(f.ws(), "Surface1")->name
                                                     : LoadChannel(f.ws(), "Channel1")->name;
        QCOMPARE(kept, kind == "basin"     ? basin.name
                       : kind == "surface" ? surface.name
                                           : channel.name);
    }

    void channelUpdateLoadsAndRewritesInItsOwnOrder() {
        ElementFixture f;
        InsertChannel(f.ws(), "Channel1", 650, 2520, storedChannel());
        f.network.SelectedElement = ElementRef{ElementKind::Channel, 1, "Channel1"};
        QPointer<FrmChannelUpdateInfo> dialog = ShowWindow<FrmChannelUpdateInfo>(f.ctx);
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Channel Update Information"));
        QCOMPARE(control<QAbstractButton>(dialog, "CmdOK")->text(), QStringLiteral("OK"));
        QCOMPARE(control<QComboBox>(dialog, "CmbN")->currentText(),
                 QStringLiteral("Earth Channel"));
        QCOMPARE(text(dialog, "TxtN"), QStringLiteral("0.03")); // the stored n wins over 0.025
        QCOMPARE(text(dialog, "TxtVelocity"), QStringLiteral("1.0"));
        QCOMPARE(text(dialog, "TxtTc"), QStringLiteral("2.0"));
        SaveScreenshot(dialog, "FrmChannelUpdateInfo");

        auto* list = control<QComboBox>(dialog, "CmbN");
        list->setCurrentIndex(list->findText("Concrete Channel"));
        setText(dialog, "TxtVelocity", ""); // recomputes both
        click(dialog, "CmdOK");
        QCOMPARE(f.prompts.texts(), QStringList());
        QTRY_VERIFY(dialog.isNull());
        const ChannelFields row = *LoadChannel(f.ws(), "Channel1");
        QCOMPARE(row.material, std::string("Concrete Channel"));
        QCOMPARE(row.n, std::string("0.013"));
        QCOMPARE(row.velocity, std::string("9.3792"));
        QCOMPARE(row.tc, std::string("1.7770"));
    }

    // ---------------------------------------------------------------------------------------
    // Keys

    void enterCalculatesAndEscCancelsOnlyWhereBound() {
        ElementFixture f;
        f.useRainfall("0.15");
        QPointer<FrmBasInfo> basin = ShowWindow<FrmBasInfo>(f.ctx);
        fillBasin(basin);
        QTest::keyClick(field(basin, "TxtLength"), Qt::Key_Return); // a filtered field
        QCOMPARE(text(basin, "TxtTc"), QStringLiteral("1.1424"));
        QCOMPARE(f.rowCount("TblBasinInfo"), 0);
        QTest::keyClick(field(basin, "TxtArea"), Qt::Key_Escape);
        QTRY_VERIFY(basin.isNull());

        QPointer<FrmSurfaceAddInfo> surface = ShowWindow<FrmSurfaceAddInfo>(f.ctx);
        fillSurface(surface);
        QTest::keyClick(field(surface, "TxtLength"), Qt::Key_Return);
        QCOMPARE(text(surface, "TxtTc"), QString());
        QTest::keyClick(field(surface, "TxtLength"), Qt::Key_Escape);
        QTest::qWait(10);
        QVERIFY(surface && surface->isVisible());
        QCOMPARE(f.prompts.texts(), QStringList());
    }

    void numericKeyFilterGuardsExactlyTheNumberFields_data() {
        QTest::addColumn<int>("dialog");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("numeric");
        const struct {
            int dialog;
            const char* names;
            bool numeric;
        } fields[] = {
            {0, "TxtArea TxtC TxtLength TxtN TxtSlope TxtTc", true},
            {0, "TxtBasinName TxtSoilType", false},
            {1, "TxtArea TxtC TxtLength TxtN TxtSlope TxtTc", true},
            {2, "TxtLength TxtSlope TxtTc", true},
            {2, "TxtSurfName", false},
            {3, "TxtLength TxtSlope TxtTc", true},
            {4, "TxtArea TxtWP TxtSlope TxtLength TxtN TxtTc", true},
            {4, "TxtChannelName", false},
            {5, "TxtArea TxtWP TxtSlope TxtLength TxtN TxtTc", true},
        };
        for (const auto& entry : fields)
            for (const QString& name : QString(entry.names).split(' '))
                QTest::addRow("%d %s", entry.dialog, qPrintable(name))
                    << entry.dialog << name << entry.numeric;
    }
    void numericKeyFilterGuardsExactlyTheNumberFields() {
        QFETCH(int, dialog);
        QFETCH(QString, name);
        QFETCH(bool, numeric);
        ElementFixture f;
        QWidget* windows[] = {
            ShowWindow<FrmBasInfo>(f.ctx),        ShowWindow<FrmBasUpdate>(f.ctx),
            ShowWindow<FrmSurfaceAddInfo>(f.ctx), ShowWindow<FrmSurfaceUpdateInfo>(f.ctx),
            ShowWindow<FrmChannelAddInfo>(f.ctx), ShowWindow<FrmChannelUpdateInfo>(f.ctx)};
        QLineEdit* target = field(windows[dialog], qPrintable(name));
        target->clear();
        QTest::keyClicks(target, "-1e5, x2.3.4");
        QCOMPARE(target->text(),
                 numeric ? QStringLiteral("152.3.4") : QStringLiteral("-1e5, x2.3.4"));
    }

    void numericFieldsTakeEditingKeysAndFilteredPastes() {
        ElementFixture f;
        FrmBasInfo* dialog = ShowWindow<FrmBasInfo>(f.ctx);
        QLineEdit* area = field(dialog, "TxtArea");
        QTest::keyClicks(area, "123");
        QTest::keyClick(area, Qt::Key_Home);
        QTest::keyClick(area, Qt::Key_Delete);
        QTest::keyClick(area, Qt::Key_End);
        QTest::keyClick(area, Qt::Key_Backspace);
        QCOMPARE(area->text(), QStringLiteral("2"));

        // A paste that passes the key filter's rule goes in whole.
        QGuiApplication::clipboard()->setText(" 45\n");
        QTest::keyClick(area, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(area->text(), QStringLiteral("245"));
        QLineEdit* name = field(dialog, "TxtBasinName");
        name->clear();
        QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(name->text().trimmed(), QStringLiteral("45")); // not filtered
        // One that does not is refused whole and said, never stripped to "05".
        for (const QString& refused :
             {QStringLiteral("0,5%"), QStringLiteral("12abc"), QStringLiteral("-3")}) {
            QGuiApplication::clipboard()->setText(refused);
            QTest::keyClick(area, Qt::Key_Insert, Qt::ShiftModifier);
            QCOMPARE(area->text(), QStringLiteral("245"));
            QVERIFY(area->property("pluvaneRefused").toString().contains(refused));
        }
        // A typed comma is dropped with a word, too.
        area->setProperty("pluvaneRefused", QVariant());
        QTest::keyClicks(area, ",");
        QCOMPARE(area->text(), QStringLiteral("245"));
        QVERIFY(area->property("pluvaneRefused").toString().contains(","));
        // Select all, copy and cut work on the field's own text.
        QTest::keyClick(area, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(area, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("245"));
        QTest::keyClick(area, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(area->text(), QString());
        QTest::keyClick(area, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(area->text(), QStringLiteral("245"));
    }
};

QTEST_MAIN(TstElementDialogs)
#include "tst_element_dialogs.moc"
