// ROUND, ROUNDTO and TRUNCTO of math.vmx round the shortest decimal that
// reads back as the double, halves away from zero: against a table made with
// Python's decimal module (tests/data/make_rounding_reference.py), and on the
// values where that rule and the exact binary value part.
#include <gtest/gtest.h>

#include <cfloat>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../vm/shipped_library.h"

namespace quenmark {
namespace {

using testing::IntegerRecord;
using testing::RealRecord;

struct ReferenceRow {
    std::string line;
    double x = 0;
    int32_t places = 0;
    double roundTo = 0, truncTo = 0, round = 0;
};

double Number(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

std::vector<ReferenceRow> ReadRoundingTable() {
    std::ifstream file(std::string(QUENMARK_TEST_DATA_DIR) + "/rounding_reference.txt");
    std::vector<ReferenceRow> rows;
    for (std::string line; std::getline(file, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string x, places, roundTo, truncTo, round;
        fields >> x >> places >> roundTo >> truncTo >> round;
        rows.push_back({line, Number(x), std::stoi(places), Number(roundTo), Number(truncTo), Number(round)});
    }
    return rows;
}

class RoundingRuleTest : public ::testing::Test {
protected:
    // The number a call answers; a failure fails the test.
    double Call(const char* name, std::vector<VMXValue> args) const {
        VMXValue result;
        EXPECT_EQ(math.Call(name, std::move(args), result), vmxSuccess) << name;
        return testing::NumberOf(result);
    }

    const testing::ShippedLibrary math{"math.vmx"};
};

TEST_F(RoundingRuleTest, AgreesWithDecimalRoundingOfTheShortestText) {
    ASSERT_TRUE(math.IsOpen());
    const std::vector<ReferenceRow> rows = ReadRoundingTable();
    ASSERT_EQ(rows.size(), 10000u);
    int failures = 0;
    for (const ReferenceRow& row : rows) {
        const VMXValue x = RealRecord(row.x), places = IntegerRecord(row.places);
        const double roundTo = Call("ROUNDTO", {x, places});
        const double truncTo = Call("TRUNCTO", {x, places});
        const double round = Call("ROUND", {x});
        EXPECT_EQ(roundTo, row.roundTo) << "ROUNDTO in " << row.line;
        EXPECT_EQ(truncTo, row.truncTo) << "TRUNCTO in " << row.line;
        EXPECT_EQ(round, row.round) << "ROUND in " << row.line;
        failures += roundTo != row.roundTo || truncTo != row.truncTo || round != row.round;
        if (failures > 20) FAIL() << "more than 20 rows differ";
    }
}

struct PlacesCase {
    const char* function;
    double x;
    int32_t places;
    double expected;
};

// Values typed with a half (or a last digit) that the nearest double misses
// by a little either way, and values outside the range of 17 digits, which
// keep rounding their exact binary value.
const PlacesCase PlacesCases[] = {
    {"ROUNDTO", 1.005, 2, 1.01},        {"ROUNDTO", 2.675, 2, 2.68},
    {"ROUNDTO", -2.675, 2, -2.68},      {"ROUNDTO", 0.285, 2, 0.29},
    {"ROUNDTO", 1234.5, -2, 1200},      {"ROUNDTO", 1250, -2, 1300},
    {"ROUNDTO", -1250, -2, -1300},      {"ROUNDTO", 9.995, 2, 10},
    {"ROUNDTO", 0.0049, 2, 0},          {"ROUNDTO", -0.005, 2, -0.01},
    {"ROUNDTO", 1.15, 1, 1.2},          {"ROUNDTO", 0.1 + 0.2, 16, 0.3},
    {"ROUNDTO", 0.1 + 0.2, 17, 0.30000000000000004},
    {"TRUNCTO", 0.29, 2, 0.29},         {"TRUNCTO", -0.29, 2, -0.29},
    {"TRUNCTO", 4.35, 2, 4.35},         {"TRUNCTO", 2.679, 2, 2.67},
    {"TRUNCTO", 1234.5, -2, 1200},      {"TRUNCTO", 0.07, 1, 0},
    // Subnormals and whole numbers beyond 17 digits: the binary value.
    {"ROUNDTO", 5e-324, 323, 0},        {"TRUNCTO", 1e-320, 320, 0},
    {"TRUNCTO", 4399649263698719744.0, -3, 4.399649263698719e18},
    {"ROUNDTO", 1.7976931348623157e308, -308, -1},
};

TEST_F(RoundingRuleTest, RoundsTheDecimalTheUserSees) {
    ASSERT_TRUE(math.IsOpen());
    for (const PlacesCase& row : PlacesCases) {
        VMXValue result;
        const int32_t status = math.Call(row.function, {RealRecord(row.x), IntegerRecord(row.places)}, result);
        if (row.expected == -1) {  // rounds beyond the largest double
            EXPECT_EQ(status, vmxFailure3) << row.function << " " << row.x;
            continue;
        }
        ASSERT_EQ(status, vmxSuccess) << row.function << " " << row.x;
        EXPECT_EQ(testing::NumberOf(result), row.expected) << row.function << "(" << row.x << ", " << row.places << ")";
    }
}

TEST_F(RoundingRuleTest, WholeResultsThatFitAreIntegers) {
    ASSERT_TRUE(math.IsOpen());
    VMXValue result;
    ASSERT_EQ(math.Call("ROUND", {RealRecord(2.5)}, result), vmxSuccess);
    EXPECT_EQ(result.ValueType, vmxInteger);
    EXPECT_EQ(testing::NumberOf(result), 3);
    ASSERT_EQ(math.Call("ROUND", {RealRecord(-0.49999999999999994)}, result), vmxSuccess);
    EXPECT_EQ(testing::NumberOf(result), 0);
    ASSERT_EQ(math.Call("ROUNDTO", {IntegerRecord(1250), IntegerRecord(-2)}, result), vmxSuccess);
    EXPECT_EQ(result.ValueType, vmxInteger);
    EXPECT_EQ(testing::NumberOf(result), 1300);
    ASSERT_EQ(math.Call("ROUNDTO", {IntegerRecord(-7), IntegerRecord(3)}, result), vmxSuccess);
    EXPECT_EQ(result.ValueType, vmxInteger);
    EXPECT_EQ(testing::NumberOf(result), -7);
    ASSERT_EQ(math.Call("ROUNDTO", {RealRecord(2.5), IntegerRecord(0)}, result), vmxSuccess);
    EXPECT_EQ(result.ValueType, vmxReal);
    EXPECT_EQ(testing::NumberOf(result), 3);
}

}  // namespace
}  // namespace quenmark
