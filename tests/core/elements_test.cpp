#include "TestSupport.h"
#include "core/Error.h"
#include "core/elements/Catalogs.h"
#include "core/elements/ElementCalculations.h"
#include "core/elements/ElementRecords.h"
#include "core/elements/Formulas.h"
#include "core/elements/KeyFilter.h"
#include "core/store/Database.h"
#include "core/store/IntensityDb.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

using namespace pluvane;
using namespace pluvane::test;

namespace {

// `action` must refuse with an Error titled "Error" whose message contains `expected`.
void expectRefused(const std::function<void()>& action, const std::string& expected) {
    try {
        action();
        ADD_FAILURE() << "accepted; expected a refusal mentioning \"" << expected << "\"";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find(expected), std::string::npos)
            << "message: " << e.what() << "\nexpected to mention: " << expected;
        EXPECT_EQ(e.title(), "Error");
    }
}

// A result text as the dialogs show it: digits, a point and exactly `decimals` digits.
bool isFixedNumber(std::string_view text, int decimals, bool allowMinus = false) {
    if (allowMinus && !text.empty() && text.front() == '-')
        text.remove_prefix(1);
    const auto point = text.find('.');
    const auto isDigits = [](std::string_view part) {
        return !part.empty() && part.find_first_not_of("0123456789") == std::string_view::npos;
    };
    return point != std::string_view::npos && isDigits(text.substr(0, point)) &&
           isDigits(text.substr(point + 1)) &&
           text.size() - point - 1 == static_cast<std::size_t>(decimals);
}

// A rainfall grid whose 24-hour 2-year intensity is `twoYearDaily`; every other cell is 1.0.
IntensityGrid gridWithDailyTwoYear(const std::string& twoYearDaily) {
    IntensityGrid grid = UniformGrid("1.0");
    grid[9][1] = twoYearDaily; // row 10 is the 24-hour row, column 1 the 2-year period
    return grid;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Key filter

TEST(ElementsKeyFilter, PassesDigitsPointBackspaceAndTab) {
    for (char16_t digit = u'0'; digit <= u'9'; ++digit)
        EXPECT_EQ(ModKeyPress(digit), digit) << static_cast<int>(digit);
    EXPECT_EQ(ModKeyPress(u'.'), u'.');
    EXPECT_EQ(ModKeyPress(8), 8);
    EXPECT_EQ(ModKeyPress(9), 9);
}

TEST(ElementsKeyFilter, DiscardsEverythingElse) {
    const struct {
        char16_t code;
        const char* what;
    } discarded[] = {
        {u'-', "minus"},
        {u'+', "plus"},
        {u'e', "exponent"},
        {u'E', "exponent"},
        {u',', "comma"},
        {u' ', "blank"},
        {13, "Enter"},
        {22, "Ctrl+V"},
        {3, "Ctrl+C"},
        {24, "Ctrl+X"},
        {27, "Esc"},
        {u'/', "just below 0"},
        {u':', "just above 9"},
        {u'a', "letter"},
        {127, "delete"},
        {u'\u00e9', "e acute"},
        {u'\u0663', "Arabic-Indic three"},
        {u'\uff11', "fullwidth one"},
    };
    for (const auto& key : discarded)
        EXPECT_EQ(ModKeyPress(key.code), 0) << key.what;
}

// ---------------------------------------------------------------------------------------------
// Fixed lists and the run-off coefficient mean

TEST(ElementsCatalogs, ChoicesCarryTheirRoughnessTextsExactly) {
    ASSERT_EQ(kSheetFlowRoughness.size(), 10u);
    EXPECT_EQ(kSheetFlowRoughness[0].description,
              "Smooth Surfaces (Asphalt, concrete, gravel, bare soil)");
    EXPECT_EQ(kSheetFlowRoughness[0].n, "0.011");
    EXPECT_EQ(kSheetFlowRoughness[8].description, "Woods, Light underbrush");
    EXPECT_EQ(kSheetFlowRoughness[8].n, "0.40"); // the trailing zero is part of the text
    EXPECT_EQ(kSheetFlowRoughness[9].n, "0.80");

    ASSERT_EQ(kChannelMaterials.size(), 4u);
    EXPECT_EQ(kChannelMaterials[0].description, "Concrete Channel");
    EXPECT_EQ(kChannelMaterials[0].n, "0.013");
    EXPECT_EQ(kChannelMaterials[2].description, "Gravel Channel");
    EXPECT_EQ(kChannelMaterials[2].n, "0.029");
    EXPECT_EQ(kChannelMaterials[3].description, "Earth Channel");
    EXPECT_EQ(kChannelMaterials[3].n, "0.025");

    ASSERT_EQ(kSurfaceTypes.size(), 2u);
    EXPECT_EQ(kSurfaceTypes[0], "Unpaved");
    EXPECT_EQ(kSurfaceTypes[1], "Paved");
}

TEST(ElementsCatalogs, EveryLandUseProposesItsMeanToTwoDecimals) {
    // Means worked by hand; the halves round up (0.175 -> 0.18, 0.775 -> 0.78) even where the
    // binary sum lies just below the half.
    const struct {
        const char* name;
        const char* min;
        const char* max;
        const char* mean;
    } expected[] = {
        {"Business: Downtown areas", "0.70", "0.95", "0.83"},
        {"Business: Neighborhood areas", "0.50", "0.70", "0.60"},
        {"Residential: Single Family areas", "0.30", "0.50", "0.40"},
        {"Residential: Multi units, detached", "0.40", "0.60", "0.50"},
        {"Residential: Multi units, attached", "0.60", "0.75", "0.68"},
        {"Residential (Suburban)", "0.25", "0.40", "0.33"},
        {"Apartment dwelling areas", "0.50", "0.70", "0.60"},
        {"Industrial: Light areas", "0.50", "0.80", "0.65"},
        {"Industrial: Heavy areas", "0.60", "0.90", "0.75"},
        {"Parks, cemeteries", "0.10", "0.25", "0.18"},
        {"Playgrounds", "0.20", "0.35", "0.28"},
        {"Railroads, yard areas", "0.20", "0.40", "0.30"},
        {"Unimproved areas", "0.10", "0.30", "0.20"},
        {"Streets: Asphaltic", "0.70", "0.95", "0.83"},
        {"Streets: Concrete", "0.80", "0.95", "0.88"},
        {"Streets: Brick", "0.70", "0.85", "0.78"},
    };
    ASSERT_EQ(kLandUses.size(), std::size(expected));
    for (std::size_t i = 0; i < kLandUses.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(kLandUses[i].name, expected[i].name);
        EXPECT_EQ(kLandUses[i].minC, expected[i].min);
        EXPECT_EQ(kLandUses[i].maxC, expected[i].max);
        EXPECT_EQ(RunoffCoefficientMean(kLandUses[i].minC, kLandUses[i].maxC), expected[i].mean);
    }
    EXPECT_EQ(kLandUses[kDefaultLandUse].name, "Residential (Suburban)");
}

TEST(ElementsCatalogs, MeanReadsItsTextsLeniently) {
    EXPECT_EQ(RunoffCoefficientMean("", ""), "0.00");
    EXPECT_EQ(RunoffCoefficientMean("0.5 low", "high"), "0.25");
    EXPECT_EQ(RunoffCoefficientMean(".9", "1.2.3"), "1.05");
}

// ---------------------------------------------------------------------------------------------
// Formulas

TEST(ElementsFormulas, SheetFlowWorkedExamples) {
    // 2-year 24-hour intensity 0.15 in/hr -> P2 = 3.6 in.
    EXPECT_NEAR(SheetFlowTc(0.011, 100, 0.02, 3.6), 1.1423526404772306, 1e-12);
    EXPECT_NEAR(SheetFlowTc(0.24, 150, 0.01, 3.6), 24.555005776150967, 1e-11);
    EXPECT_EQ(SheetFlowTc(0.0, 100, 0.02, 3.6), 0.0);
    EXPECT_EQ(SheetFlowTc(0.011, 0.0, 0.02, 3.6), 0.0);
}

TEST(ElementsFormulas, SheetFlowKeepsItsEvaluationOrderToTheLastBit) {
    // References evaluated independently in the prescribed order; dividing by P2^0.5 and S^0.4
    // one after the other instead gives 3.2615612717195517 and 12.189083362898334.
    EXPECT_EQ(SheetFlowTc(0.05, 100, 0.03, 3.6), 3.261561271719552);
    EXPECT_EQ(SheetFlowTc(0.05, 300, 0.01, 3.6), 12.189083362898335);
}

TEST(ElementsFormulas, ShallowFlowVelocityLaws) {
    const ShallowFlow unpaved = ShallowFlowVelocity("Unpaved", 500, 0.01);
    EXPECT_NEAR(unpaved.velocity, 1.613, 1e-12);
    EXPECT_NEAR(unpaved.travelHours * 60, 5.1663566852655505, 1e-12);
    const ShallowFlow paved = ShallowFlowVelocity("Paved", 500, 0.01);
    EXPECT_NEAR(paved.velocity, 2.033, 1e-12);
    EXPECT_NEAR(paved.travelHours * 60, 4.099032628299722, 1e-12);
    EXPECT_EQ(ShallowFlowVelocity("Paved", 0, 0.01).travelHours, 0.0);
}

TEST(ElementsFormulas, ShallowFlowTypeIsComparedExactly) {
    for (const char* type : {"paved", "PAVED", " Paved", "Paved ", "unpaved", "", "Gravel"}) {
        const ShallowFlow flow = ShallowFlowVelocity(type, 500, 0.01);
        EXPECT_EQ(flow.velocity, 0.0) << '"' << type << '"';
        EXPECT_TRUE(std::isnan(flow.travelHours)) << '"' << type << '"';
    }
}

TEST(ElementsFormulas, ManningWorkedExampleInBothOrders) {
    for (ManningOrder order : {ManningOrder::AddDialog, ManningOrder::UpdateDialog}) {
        const double v = ManningVelocity(10, 8, 0.005, 0.013, order);
        EXPECT_NEAR(v, 9.379228893143937, 1e-12);
        EXPECT_NEAR(1000 / (v * 60), 1.7769762159072295, 1e-12);
    }
}

TEST(ElementsFormulas, ManningOrdersDifferInTheLastBitsAsEachDialogComputes) {
    // References evaluated independently in each dialog's order.
    const struct {
        double a, wp, s, n;
        double addDialog, updateDialog;
    } cases[] = {
        {10, 8, 0.01, 0.013, 13.264232705285751, 13.26423270528575},
        {10, 8, 0.005, 0.029, 4.204481917616247, 4.204481917616248},
        {10, 8, 0.003, 0.029, 3.25677768927159, 3.2567776892715905},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ManningVelocity(c.a, c.wp, c.s, c.n, ManningOrder::AddDialog), c.addDialog);
        EXPECT_EQ(ManningVelocity(c.a, c.wp, c.s, c.n, ManningOrder::UpdateDialog), c.updateDialog);
    }
}

TEST(ElementsFormulas, TrapezoidSections) {
    const TrapezoidResult worked = TrapezoidSection(4, 2, 3);
    EXPECT_EQ(worked.area, 20.0);
    EXPECT_NEAR(worked.wettedPerimeter, 16.64911064067352, 1e-12);

    const TrapezoidResult rectangle = TrapezoidSection(3.5, 1.25, 0);
    EXPECT_EQ(rectangle.area, 1.25 * 3.5);
    EXPECT_EQ(rectangle.wettedPerimeter, 2 * 1.25 + 3.5);

    // Y (Y Z + B) as written; Y Y Z + Y B would give 10.27 exactly.
    EXPECT_EQ(TrapezoidSection(4, 1.3, 3).area, 10.270000000000001);
}

// ---------------------------------------------------------------------------------------------
// Overland flow: Tc through a real rainfall database

class ElementsSheetFlow : public ::testing::Test {
protected:
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    std::string location = "Atlanta";

    void useRainfall(const std::string& twoYearDaily) {
        location = "Test Site";
        SaveLocation(ws, location, gridWithDailyTwoYear(twoYearDaily));
    }
};

TEST_F(ElementsSheetFlow, WorkedExamplesWithTheCurrentTable) {
    useRainfall("0.15");
    EXPECT_EQ(CalculateSheetFlowTc(ws, location, "0.011", "100", "0.02"), "1.1424");
    EXPECT_EQ(CalculateSheetFlowTc(ws, location, "0.24", "150", "0.01"), "24.5550");
    // The field texts are read leniently, as typed.
    EXPECT_EQ(CalculateSheetFlowTc(ws, location, "0.011 ", "100.", "0.02.5"), "1.1424");
}

TEST_F(ElementsSheetFlow, FollowsTheCurrentTable) {
    // The shipped table's 24-hour 2-year intensity is 0.160 in/hr: P2 = 3.84 in.
    EXPECT_EQ(CalculateSheetFlowTc(ws, location, "0.011", "100", "0.02"), "1.1061");
    useRainfall("0.15");
    EXPECT_EQ(CalculateSheetFlowTc(ws, location, "0.011", "100", "0.02"), "1.1424");
}

TEST_F(ElementsSheetFlow, ZeroRoughnessOrLengthIsRefusedNotTcZero) {
    expectRefused([&] { CalculateSheetFlowTc(ws, location, "", "100", "0.02"); }, "roughness");
    expectRefused([&] { CalculateSheetFlowTc(ws, location, "0", "100", "0.02"); }, "roughness");
    expectRefused([&] { CalculateSheetFlowTc(ws, location, "0.011", "0", "0.02"); }, "length");
}

TEST_F(ElementsSheetFlow, RefusesUndefinedFieldValues) {
    for (const char* slope : {"0", "", ".", "abc", "-0.02", "0.000"})
        expectRefused([&] { CalculateSheetFlowTc(ws, location, "0.011", "100", slope); }, "slope");
    expectRefused([&] { CalculateSheetFlowTc(ws, location, "-0.011", "100", "0.02"); },
                  "roughness");
    expectRefused([&] { CalculateSheetFlowTc(ws, location, "0.011", "-100", "0.02"); }, "length");
    expectRefused([&] { CalculateSheetFlowTc(ws, location, "1e300", "1e300", "0.02"); },
                  "time of concentration");
}

TEST_F(ElementsSheetFlow, FieldsAreCheckedBeforeTheRainfallTable) {
    location.clear();
    expectRefused([&] { CalculateSheetFlowTc(ws, location, "0.011", "100", "0"); }, "slope");
}

TEST_F(ElementsSheetFlow, RefusesARainfallThatIsNotAboveZeroNamingTheTable) {
    for (const char* rainfall : {"0", "", "none", "-0.15"}) {
        useRainfall(rainfall);
        expectRefused([&] { CalculateSheetFlowTc(ws, location, "0.011", "100", "0.02"); },
                      "rainfall table \"Test Site\"");
    }
}

TEST_F(ElementsSheetFlow, RainfallTableProblemsReachTheUser) {
    location.clear();
    expectRefused([&] { CalculateSheetFlowTc(ws, location, "0.011", "100", "0.02"); },
                  "No rainfall intensity table");

    location = "Nowhere";
    expectRefused([&] { CalculateSheetFlowTc(ws, location, "0.011", "100", "0.02"); },
                  "\"Nowhere\"");

    useRainfall("0.15");
    {
        // A duration written "24" is not the 24-hour row, which is matched by its exact text.
        Database db = Database::open(ws.intensityDbPath());
        db.exec("UPDATE \"Test Site\" SET Duration = '24' WHERE Duration = '24.0'");
    }
    expectRefused([&] { CalculateSheetFlowTc(ws, location, "0.011", "100", "0.02"); }, "24-hour");
}

// ---------------------------------------------------------------------------------------------
// Shallow concentrated flow

TEST(ElementsShallowFlow, WorkedExamples) {
    const struct {
        const char* type;
        const char* length;
        const char* slope;
        const char* velocity;
        const char* tc;
    } cases[] = {
        {"Unpaved", "500", "0.01", "1.6130", "5.1664"},
        {"Paved", "500", "0.01", "2.0330", "4.0990"},
        // Tc from the unrounded velocity: 2.2811 would give 73.0642.
        {"Unpaved", "10000", "0.02", "2.2811", "73.0633"},
        {"Paved", "10000", "0.02", "2.8751", "57.9691"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " L=" + c.length + " S=" + c.slope);
        const ShallowFlowTexts result = CalculateShallowFlow(c.type, c.length, c.slope);
        EXPECT_EQ(result.velocity, c.velocity);
        EXPECT_EQ(result.tc, c.tc);
    }
}

TEST(ElementsShallowFlow, RefusesUndefinedValues) {
    for (const char* slope : {"0", "", "abc", "-0.01"})
        expectRefused([&] { CalculateShallowFlow("Paved", "500", slope); }, "slope");
    for (const char* type : {"paved", "", "Gravel", "Unpaved "})
        expectRefused([&] { CalculateShallowFlow(type, "500", "0.01"); }, "surface type");
    for (const char* length : {"-500", "0", ""})
        expectRefused([&] { CalculateShallowFlow("Unpaved", length, "0.01"); }, "length");
    expectRefused([&] { CalculateShallowFlow("Unpaved", "1e308", "1e-10"); },
                  "time of concentration");
}

// ---------------------------------------------------------------------------------------------
// Channel flow

TEST(ElementsChannelFlow, WorkedExampleInBothDialogs) {
    for (ManningOrder order : {ManningOrder::AddDialog, ManningOrder::UpdateDialog}) {
        const ChannelFlowTexts result =
            CalculateChannelFlow("10", "8", "0.005", "0.013", "1000", order);
        EXPECT_EQ(result.velocity, "9.3792");
        EXPECT_EQ(result.tc, "1.7770");
        // Tc from the unrounded velocity: 9.3792 would give 177.6982.
        EXPECT_EQ(CalculateChannelFlow("10", "8", "0.005", "0.013", "100000", order).tc,
                  "177.6976");
    }
}

TEST(ElementsChannelFlow, RefusesUndefinedValues) {
    const struct {
        const char* area;
        const char* wp;
        const char* slope;
        const char* n;
        const char* length;
        const char* mentions;
    } cases[] = {
        {"0", "8", "0.005", "0.013", "1000", "section area"},
        {"", "8", "0.005", "0.013", "1000", "section area"},
        {"-10", "-8", "0.005", "0.013", "1000", "section area"},
        {"10", "0", "0.005", "0.013", "1000", "wetted perimeter"},
        {"10", "", "0.005", "0.013", "1000", "wetted perimeter"},
        {"10", "8", "0", "0.013", "1000", "slope"},
        {"10", "8", "-0.005", "0.013", "1000", "slope"},
        {"10", "8", "0.005", "0", "1000", "roughness coefficient n"},
        {"10", "8", "0.005", "-0.013", "1000", "roughness coefficient n"},
        {"10", "8", "0.005", "0.013", "-1000", "length"},
        {"10", "8", "0.005", "0.013", "0", "length"},
        {"10", "8", "0.005", "0.013", "", "length"},
        // Positive but extreme: the radius overflows, or underflows to a velocity of 0.
        {"1e300", "1e-300", "0.005", "0.013", "1000", "velocity"},
        {"1e-300", "1e300", "0.005", "0.013", "1000", "velocity"},
        {"1e-10", "1", "1e-10", "0.013", "1e308", "time of concentration"},
    };
    for (const auto& c : cases) {
        for (ManningOrder order : {ManningOrder::AddDialog, ManningOrder::UpdateDialog}) {
            SCOPED_TRACE(std::string("A=") + c.area + " WP=" + c.wp + " S=" + c.slope +
                         " n=" + c.n + " L=" + c.length);
            expectRefused(
                [&] { CalculateChannelFlow(c.area, c.wp, c.slope, c.n, c.length, order); },
                c.mentions);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Values no site can have: one rule table for the three kinds

TEST(ElementsValueChecks, EachKindRefusesAValueOutsideItsFieldsRange) {
    const struct {
        const char* kind;
        const char* field;
        const char* value;
        const char* message; // "" when the value is accepted
    } cases[] = {
        {"basin", "area", "0", "The area must be greater than 0."},
        {"basin", "area", "-2", "The area must be greater than 0."},
        {"basin", "area", "", "The area must be greater than 0."},
        {"basin", "slope", "0", "The slope must be greater than 0."},
        {"basin", "c", "5", "C must be between 0 and 1"},
        {"basin", "c", "1.001", "C must be between 0 and 1"},
        {"basin", "c", "-0.1", "C must be between 0 and 1"},
        {"basin", "c", "0", ""},
        {"basin", "c", "1", ""},
        {"basin", "c", "1.000", ""},
        {"basin", "length", "0", "The length must be greater than 0."},
        {"basin", "n", "0", "The roughness coefficient n must be greater than 0."},
        {"basin", "n", "-0.011", "The roughness coefficient n must be greater than 0."},
        {"surface", "length", "0", "The length must be greater than 0."},
        {"surface", "slope", "-0.01", "The slope must be greater than 0."},
        {"channel", "area", "0", "The section area must be greater than 0."},
        {"channel", "wp", "0", "The wetted perimeter must be greater than 0."},
        {"channel", "slope", "0", "The slope must be greater than 0."},
        {"channel", "n", "0", "The roughness coefficient n must be greater than 0."},
        {"channel", "length", "0", "The length must be greater than 0."},
        {"channel", "length", "0.001", ""},
    };
    TempFolder folder;
    const Workspace ws = MakeWorkspace(folder);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + " " + c.field + " = '" + c.value + "'");
        BasinFields basin{"B", "2", "Lawns", "0.5", "0.02", "100", "", "0.24", ""};
        SurfaceFields surface{"S", "0.01", "500", "", "Paved", ""};
        ChannelFields channel{"Ch", "10", "8", "0.005", "1000", "", "0.013", "", ""};
        const std::map<std::string, std::string*> fields = {
            {"basin area", &basin.area},
            {"basin slope", &basin.slope},
            {"basin c", &basin.c},
            {"basin length", &basin.travelLength},
            {"basin n", &basin.n},
            {"surface length", &surface.length},
            {"surface slope", &surface.slope},
            {"channel area", &channel.area},
            {"channel wp", &channel.wettedPerimeter},
            {"channel slope", &channel.slope},
            {"channel n", &channel.n},
            {"channel length", &channel.length}};
        *fields.at(std::string(c.kind) + " " + c.field) = c.value;

        // The check of Add/Update, and the calculation of Calculate where the field is its input.
        std::vector<std::function<void()>> checks;
        if (std::string(c.kind) == "basin") {
            checks.push_back([&] { CheckBasinValues(basin); });
            if (std::string(c.field) != "area" && std::string(c.field) != "c")
                checks.push_back([&] {
                    CalculateSheetFlowTc(ws, "Atlanta", basin.n, basin.travelLength, basin.slope);
                });
        } else if (std::string(c.kind) == "surface") {
            checks.push_back([&] { CheckSurfaceValues(surface); });
            checks.push_back(
                [&] { CalculateShallowFlow(surface.type, surface.length, surface.slope); });
        } else {
            checks.push_back([&] { CheckChannelValues(channel); });
            checks.push_back([&] {
                CalculateChannelFlow(channel.area, channel.wettedPerimeter, channel.slope,
                                     channel.n, channel.length, ManningOrder::AddDialog);
            });
        }
        for (const auto& check : checks) {
            if (*c.message == '\0') {
                EXPECT_NO_THROW(check());
                continue;
            }
            try {
                check();
                ADD_FAILURE() << "accepted";
            } catch (const Error& e) {
                EXPECT_STREQ(e.what(), c.message);
                EXPECT_EQ(e.title(), "Error");
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Trapezoid calculator

TEST(ElementsTrapezoid, SectionTexts) {
    const struct {
        const char* b;
        const char* y;
        const char* z;
        const char* area;
        const char* wp;
    } cases[] = {
        {"4", "2", "3", "20.00", "16.65"},
        {"3.5", "1.25", "0", "4.38", "6.00"}, // rectangular; 4.375 rounds up
        {"2.5", "0.5", "1.5", "1.63", "4.30"},
        {"", "", "", "0.00", "0.00"},
        {"4", "", "3", "0.00", "4.00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("B=") + c.b + " Y=" + c.y + " Z=" + c.z);
        const TrapezoidTexts result = CalculateTrapezoid(c.b, c.y, c.z);
        EXPECT_EQ(result.area, c.area);
        EXPECT_EQ(result.wettedPerimeter, c.wp);
    }
}

TEST(ElementsTrapezoid, RefusesASectionTooLargeForANumber) {
    expectRefused([] { CalculateTrapezoid("1e300", "1e300", "1e300"); }, "section");
}

// ---------------------------------------------------------------------------------------------
// Whatever the fields hold, a calculation gives number texts or a refusal, never "inf", "nan"
// or "n/a".

namespace {

const char* const kAwkwardTexts[] = {"",    "0",     "-1",    "1e308", "1e-308",
                                     "abc", "0.013", "1.2.3", "-0",    "1e-10"};

template <class Calculate>
void expectNumbersOrRefusal(Calculate&& calculate, const std::string& inputs) {
    try {
        for (const auto& [text, decimals, allowMinus] : calculate())
            EXPECT_TRUE(isFixedNumber(text, decimals, allowMinus)) << inputs << " gave " << text;
    } catch (const Error&) {
        // A refusal is a valid answer; its wording is checked above.
    }
}

using Outputs = std::vector<std::tuple<std::string, int, bool>>;

} // namespace

TEST(ElementsCalculations, NeverGiveANonNumber) {
    for (const char* a : kAwkwardTexts)
        for (const char* b : kAwkwardTexts)
            for (const char* c : kAwkwardTexts) {
                const std::string inputs = std::string("(") + a + ", " + b + ", " + c + ")";
                expectNumbersOrRefusal(
                    [&] {
                        const TrapezoidTexts t = CalculateTrapezoid(a, b, c);
                        return Outputs{{t.area, 2, true}, {t.wettedPerimeter, 2, true}};
                    },
                    inputs);
                for (const char* type : {"Unpaved", "Paved"})
                    expectNumbersOrRefusal(
                        [&] {
                            const ShallowFlowTexts t = CalculateShallowFlow(type, a, b);
                            return Outputs{{t.velocity, 4, false}, {t.tc, 4, false}};
                        },
                        inputs);
                for (const char* d : kAwkwardTexts)
                    for (const char* e : kAwkwardTexts)
                        for (ManningOrder order :
                             {ManningOrder::AddDialog, ManningOrder::UpdateDialog})
                            expectNumbersOrRefusal(
                                [&] {
                                    const ChannelFlowTexts t =
                                        CalculateChannelFlow(a, b, c, d, e, order);
                                    return Outputs{{t.velocity, 4, false}, {t.tc, 4, false}};
                                },
                                inputs + " " + d + " " + e);
            }
}

TEST(ElementsCalculations, SheetFlowNeverGivesANonNumber) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    for (const char* n : kAwkwardTexts)
        for (const char* length : kAwkwardTexts)
            for (const char* slope : kAwkwardTexts)
                expectNumbersOrRefusal(
                    [&] {
                        return Outputs{
                            {CalculateSheetFlowTc(ws, "Atlanta", n, length, slope), 4, false}};
                    },
                    std::string(n) + ", " + length + ", " + slope);
}

// ---------------------------------------------------------------------------------------------
// Element records: one typed suite over the three kinds, each kind described independently of
// the code under test (its table, columns and sample texts).

namespace {

// Texts that a statement built by concatenation would break on.
const std::string kAwkwardName = "O'Brien's \"Lot {7}\" Café \\ east";
const std::string kInjection = "x'); DROP TABLE TblBasinInfo; --";

struct BasinKind {
    using Fields = BasinFields;
    static constexpr const char* table = "TblBasinInfo";
    static constexpr const char* tagColumn = "BasinTag";
    static constexpr const char* leftColumn = "BasinX";
    static constexpr const char* topColumn = "BasinY";
    static constexpr const char* tagWord = "Basin";

    static Fields sample(int variant) {
        if (variant == 1)
            return {kAwkwardName, "12.50", "Streets: Concrete",       "0.95",
                    "0.020",      "100",   "Woods, Light underbrush", "0.40",
                    "1.1424"};
        return {kInjection, "3",   "Parks, cemeteries",  "0.18",
                "0.01",     "150", "Grass, Dense grass", "0.24",
                "24.5550"};
    }
    static std::vector<std::pair<std::string, std::string>> columns(const Fields& f) {
        return {{"BasinName", f.name},   {"Area", f.area},   {"SoilType", f.soilType},
                {"CVal", f.c},           {"Slope", f.slope}, {"TravelLength", f.travelLength},
                {"BasinNType", f.nType}, {"BasinN", f.n},    {"Tc", f.tc}};
    }
    static void insert(const Workspace& ws, const std::string& tag, long long left, long long top,
                       const Fields& f) {
        InsertBasin(ws, tag, left, top, f);
    }
    static bool update(const Workspace& ws, const std::string& tag, const Fields& f) {
        return UpdateBasin(ws, tag, f);
    }
    static std::optional<Fields> load(const Workspace& ws, const std::string& tag) {
        return LoadBasin(ws, tag);
    }
};

struct SurfaceKind {
    using Fields = SurfaceFields;
    static constexpr const char* table = "TblSurfaceInfo";
    static constexpr const char* tagColumn = "SurfTag";
    static constexpr const char* leftColumn = "SurfX";
    static constexpr const char* topColumn = "SurfY";
    static constexpr const char* tagWord = "Surface";

    static Fields sample(int variant) {
        if (variant == 1)
            return {kAwkwardName, "0.01", "500", "1.6130", "Unpaved", "5.1664"};
        return {kInjection, "0.02", "250.0", "2.8751", "Paved", "1.4494"};
    }
    static std::vector<std::pair<std::string, std::string>> columns(const Fields& f) {
        return {{"SurfName", f.name},         {"SurfSlope", f.slope}, {"SurfLength", f.length},
                {"SurfVelocity", f.velocity}, {"SurfType", f.type},   {"SurfTc", f.tc}};
    }
    static void insert(const Workspace& ws, const std::string& tag, long long left, long long top,
                       const Fields& f) {
        InsertSurface(ws, tag, left, top, f);
    }
    static bool update(const Workspace& ws, const std::string& tag, const Fields& f) {
        return UpdateSurface(ws, tag, f);
    }
    static std::optional<Fields> load(const Workspace& ws, const std::string& tag) {
        return LoadSurface(ws, tag);
    }
};

struct ChannelKind {
    using Fields = ChannelFields;
    static constexpr const char* table = "TblChannelInfo";
    static constexpr const char* tagColumn = "ChannelTag";
    static constexpr const char* leftColumn = "ChannelLeft";
    static constexpr const char* topColumn = "ChannelTop";
    static constexpr const char* tagWord = "Channel";

    static Fields sample(int variant) {
        if (variant == 1)
            return {kAwkwardName,       "10",    "8",      "0.005", "1000",
                    "Concrete Channel", "0.013", "9.3792", "1.7770"};
        return {kInjection,      "20.00", "16.65",  "0.01",  "250",
                "Earth Channel", "0.025", "7.1234", "0.5850"};
    }
    static std::vector<std::pair<std::string, std::string>> columns(const Fields& f) {
        return {{"ChannelName", f.name},
                {"ChannelArea", f.area},
                {"ChannelWP", f.wettedPerimeter},
                {"ChannelSlope", f.slope},
                {"ChannelLength", f.length},
                {"ChannelMaterial", f.material},
                {"ChannelN", f.n},
                {"ChannelVelocity", f.velocity},
                {"ChannelTc", f.tc}};
    }
    static void insert(const Workspace& ws, const std::string& tag, long long left, long long top,
                       const Fields& f) {
        InsertChannel(ws, tag, left, top, f);
    }
    static bool update(const Workspace& ws, const std::string& tag, const Fields& f) {
        return UpdateChannel(ws, tag, f);
    }
    static std::optional<Fields> load(const Workspace& ws, const std::string& tag) {
        return LoadChannel(ws, tag);
    }
};

} // namespace

template <class Kind>
class ElementsRecords : public ::testing::Test {
protected:
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);

    static std::string tag(int number) { return Kind::tagWord + std::to_string(number); }

    // Every row of the kind's table, read on a connection of the test's own.
    std::vector<Record> storedRows() const {
        Database db = Database::open(ws.ProjectPath, Database::Mode::ReadOnly);
        Statement query =
            db.prepare(std::string("SELECT * FROM ") + Kind::table + " ORDER BY rowid");
        return readAll(query);
    }

    void exec(const std::string& sql) const {
        Database db = Database::open(ws.ProjectPath);
        db.exec(sql);
    }

    // The stored row's dialog columns, position and flag are exactly these texts.
    void expectStored(const Record& row, const std::string& tagText, const std::string& left,
                      const std::string& top, const std::string& deleted,
                      const typename Kind::Fields& fields) const {
        EXPECT_EQ(row.get(Kind::tagColumn), tagText);
        EXPECT_EQ(row.get(Kind::leftColumn), left);
        EXPECT_EQ(row.get(Kind::topColumn), top);
        EXPECT_EQ(row.get("Deleted"), deleted);
        for (const auto& [column, text] : Kind::columns(fields))
            EXPECT_EQ(row.get(column), text) << column;
    }
};

using ElementKinds = ::testing::Types<BasinKind, SurfaceKind, ChannelKind>;
TYPED_TEST_SUITE(ElementsRecords, ElementKinds);

TYPED_TEST(ElementsRecords, InsertedRowReadsBackExactlyAfterReopening) {
    const auto first = TypeParam::sample(1);
    const auto second = TypeParam::sample(2);
    TypeParam::insert(this->ws, this->tag(1), 650, 840, first);
    TypeParam::insert(this->ws, this->tag(2), -15, 0, second);

    const std::vector<Record> rows = this->storedRows();
    ASSERT_EQ(rows.size(), 2u);
    this->expectStored(rows[0], this->tag(1), "650", "840", "False", first);
    this->expectStored(rows[1], this->tag(2), "-15", "0", "False", second);

    EXPECT_EQ(TypeParam::load(this->ws, this->tag(1)), first);
    EXPECT_EQ(TypeParam::load(this->ws, this->tag(2)), second);
}

TYPED_TEST(ElementsRecords, UpdateRewritesOnlyTheRowWithTheTag) {
    const auto first = TypeParam::sample(1);
    const auto second = TypeParam::sample(2);
    TypeParam::insert(this->ws, this->tag(1), 650, 840, first);
    TypeParam::insert(this->ws, this->tag(2), 750, 840, first);
    this->exec(std::string("UPDATE ") + TypeParam::table + " SET Deleted = 'True' WHERE " +
               TypeParam::tagColumn + " = '" + this->tag(2) + "'");

    EXPECT_TRUE(TypeParam::update(this->ws, this->tag(2), second));

    const std::vector<Record> rows = this->storedRows();
    ASSERT_EQ(rows.size(), 2u);
    this->expectStored(rows[0], this->tag(1), "650", "840", "False", first);
    // Position and deletion flag are not the dialog's to change.
    this->expectStored(rows[1], this->tag(2), "750", "840", "True", second);
    EXPECT_EQ(TypeParam::load(this->ws, this->tag(2)), second);
}

TYPED_TEST(ElementsRecords, UpdateOfAnUnknownTagChangesNothing) {
    const auto first = TypeParam::sample(1);
    TypeParam::insert(this->ws, this->tag(1), 650, 840, first);

    for (const std::string& unknown : {this->tag(2), std::string(""), this->tag(1) + "' OR '1'='1"})
        EXPECT_FALSE(TypeParam::update(this->ws, unknown, TypeParam::sample(2))) << unknown;

    const std::vector<Record> rows = this->storedRows();
    ASSERT_EQ(rows.size(), 1u);
    this->expectStored(rows[0], this->tag(1), "650", "840", "False", first);
}

TYPED_TEST(ElementsRecords, LoadOfAnUnknownTagGivesNothing) {
    EXPECT_EQ(TypeParam::load(this->ws, this->tag(1)), std::nullopt);
    TypeParam::insert(this->ws, this->tag(1), 650, 840, TypeParam::sample(1));
    EXPECT_EQ(TypeParam::load(this->ws, this->tag(11)), std::nullopt);
    EXPECT_EQ(TypeParam::load(this->ws, this->tag(1) + "' OR '1'='1"), std::nullopt);
}

TYPED_TEST(ElementsRecords, NullColumnsLoadAsEmptyTexts) {
    this->exec(std::string("INSERT INTO ") + TypeParam::table + " (" + TypeParam::tagColumn +
               ") VALUES ('" + this->tag(4) + "')");
    EXPECT_EQ(TypeParam::load(this->ws, this->tag(4)), typename TypeParam::Fields{});
}

TYPED_TEST(ElementsRecords, ASecondRowWithTheSameTagIsRefused) {
    const auto first = TypeParam::sample(1);
    TypeParam::insert(this->ws, this->tag(3), 650, 840, first);
    expectRefused(
        [&] { TypeParam::insert(this->ws, this->tag(3), 700, 840, TypeParam::sample(2)); },
        "\"" + this->tag(3) + "\"");

    const std::vector<Record> rows = this->storedRows();
    ASSERT_EQ(rows.size(), 1u);
    this->expectStored(rows[0], this->tag(3), "650", "840", "False", first);
}

TEST(ElementsRecordsKinds, EachKindKeepsToItsOwnTable) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    InsertBasin(ws, "Basin1", 650, 840, BasinKind::sample(1));
    InsertSurface(ws, "Surface1", 650, 1680, SurfaceKind::sample(1));
    InsertChannel(ws, "Channel1", 650, 480, ChannelKind::sample(1));

    EXPECT_EQ(LoadSurface(ws, "Basin1"), std::nullopt);
    EXPECT_EQ(LoadChannel(ws, "Surface1"), std::nullopt);
    EXPECT_FALSE(UpdateBasin(ws, "Channel1", BasinKind::sample(2)));
    EXPECT_EQ(LoadBasin(ws, "Basin1"), BasinKind::sample(1));
    EXPECT_EQ(LoadSurface(ws, "Surface1"), SurfaceKind::sample(1));
    EXPECT_EQ(LoadChannel(ws, "Channel1"), ChannelKind::sample(1));
}

TEST(ElementsRecordsKinds, WithoutAProjectNothingIsWritten) {
    Workspace ws;
    expectRefused([&] { InsertBasin(ws, "Basin1", 650, 840, BasinKind::sample(1)); },
                  "No project is open");
    expectRefused([&] { UpdateChannel(ws, "Channel1", ChannelKind::sample(1)); },
                  "No project is open");
    expectRefused([&] { LoadSurface(ws, "Surface1"); }, "No project is open");
}
