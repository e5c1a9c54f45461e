// Units inside expressions: the names a unit answers to, the conversions of
// the shipped unit file against exact factors (temperatures through their
// offsets) and the errors for unknown units and units of different groups.
#include "definitions/unit_lookup.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/exception.h"
#include "definitions/temp_directory.h"
#include "definitions/unit_group_list.h"
#include "support/echo_messages.h"

namespace quenmark {
namespace {

const TCCContext Plain;
const std::string ResourceDir = QUENMARK_SOURCE_DIR "/resources/";

struct TConversionRow {
    double Value;
    const char* From;
    const char* To;
    double Expected;  // from the units' exact definitions
};

class ShippedConversionTest : public ::testing::TestWithParam<TConversionRow> {};

TEST_P(ShippedConversionTest, MatchesTheExactDefinition) {
    const TCCUnitGroupList units(Plain, "Quenmark.uni", ResourceDir);
    const TConversionRow& row = GetParam();
    const double result = ConvertNamedUnits(units, row.Value, row.From, row.To, Plain);
    EXPECT_NEAR(result, row.Expected, std::fabs(row.Expected) * 1e-14 + 1e-12) << row.From << " -> " << row.To;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ShippedConversionTest,
    ::testing::Values(TConversionRow{100, "km/h", "m/s", 1000.0 / 36}, TConversionRow{1, "mi", "km", 1.609344},
                      TConversionRow{1, "mile", "foot", 5280}, TConversionRow{3, "ft", "in", 36},
                      TConversionRow{1, "lb", "g", 453.59237}, TConversionRow{1, "acre", "m2", 4046.8564224},
                      TConversionRow{1, "kWh", "J", 3.6e6}, TConversionRow{1, "gal", "L", 3.785411784},
                      TConversionRow{1, "imperial gallon", "L", 4.54609}, TConversionRow{2, "h", "min", 120},
                      TConversionRow{1, "kilometre per hour (km/h)", "knot", 1000.0 / 1852},
                      TConversionRow{100, "°C", "°F", 212}, TConversionRow{-40, "°F", "°C", -40},
                      TConversionRow{0, "K", "°C", -273.15}, TConversionRow{300, "K", "°F", 80.33},
                      TConversionRow{32, "degree Fahrenheit", "kelvin", 273.15},
                      TConversionRow{37, "°C", "K", 310.15}, TConversionRow{5, "°C", "°C", 5}));

TEST(UnitLookupTest, AUnitAnswersToItsNameItsSymbolAndBothWithoutTags) {
    const TCCUnit unit("square metre (m<u>2</u>)", 1);
    for (const char* name : {"square metre (m2)", "square metre", "m2"}) EXPECT_TRUE(UnitAnswersTo(unit, name)) << name;
    for (const char* name : {"M2", "m", "square", "", "square metre (m<u>2</u>)"})
        EXPECT_FALSE(UnitAnswersTo(unit, name)) << name;
    EXPECT_TRUE(UnitAnswersTo(TCCUnit("week", 1), "week"));
}

TEST(UnitLookupTest, UnitsOfDifferentGroupsNameBothWithTheirGroups) {
    const TCCUnitGroupList units(Plain, "Quenmark.uni", ResourceDir);
    const testing::EchoContext echo;
    try {
        ConvertNamedUnits(units, 1, "km/h", "kg", echo);
        FAIL() << "converted";
    } catch (const EVMError& error) {
        const std::string text = error.what();
        EXPECT_EQ(text.rfind("CVM122: ", 0), 0u) << text;
        EXPECT_NE(text.find("km/h (Speed)"), std::string::npos) << text;
        EXPECT_NE(text.find("kg (Mass)"), std::string::npos) << text;
    }
}

TEST(UnitLookupTest, AnUnknownUnitIsNamedAndCaseCounts) {
    const TCCUnitGroupList units(Plain, "Quenmark.uni", ResourceDir);
    for (const auto& [from, to, unknown] : {std::tuple{"parsec", "m", "parsec"}, std::tuple{"m", "KM", "KM"},
                                            std::tuple{"Km/h", "m/s", "Km/h"}}) {
        try {
            ConvertNamedUnits(units, 1, from, to, Plain);
            ADD_FAILURE() << from << " -> " << to << " converted";
        } catch (const EVMError& error) {
            EXPECT_EQ(std::string(error.what()), "CVM123") << from << " -> " << to;
        }
    }
}

TEST(UnitFileOffsetTest, AnOffsetAfterTheFactorIsReadAndOtherTextIsIgnoredAsBefore) {
    testing::TempDirectory dir;
    dir.Write("u.uni", "[Information]\nPurpose=Quenmark Version 1.1 Unit Convertor Definition File\n[Units]\n---\n"
                       "GroupName:T\nBaseUnit:K\n\tC\t1\t273.15\n\tN\t2\t-3\n\tX\t4\tnot a number\n\tY\t5\n---\n");
    const TCCUnitGroupList list(Plain, "u.uni", dir.Path());
    ASSERT_EQ(list.Count(), 1u);
    const TCCUnitGroup& group = list.Items(0);
    ASSERT_EQ(group.Count(), 5u);
    EXPECT_EQ(group.Items(1).Offset, 273.15);
    EXPECT_EQ(group.Items(2).Offset, -3);
    EXPECT_EQ(group.Items(3).Factor, 4);
    EXPECT_EQ(group.Items(3).Offset, 0);
    EXPECT_EQ(group.Items(4).Offset, 0);
    EXPECT_DOUBLE_EQ(group.Convert(0, "C", "K"), 273.15);
    EXPECT_DOUBLE_EQ(group.Convert(1, "N", "C"), 2 - 3 - 273.15);
    // Without offsets, the ratio of the factors as always.
    EXPECT_EQ(group.Convert(3, "X", "Y"), 3 * (4.0 / 5));
}

}  // namespace
}  // namespace quenmark
