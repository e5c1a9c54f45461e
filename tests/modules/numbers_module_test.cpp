// numbers.vmx answers exactly: primes, factors, bit patterns and radix texts
// against known values, every failure with the code the math module uses
// for it, and random numbers within their ranges.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <variant>
#include <vector>

#include "../vm/shipped_library.h"

namespace quenmark {
namespace {

using testing::IntegerRecord;
using testing::RealRecord;

// What a call must give: a number, a text, or a failure code.
using Answer = std::variant<double, std::string, int32_t>;

struct Row {
    const char* function;
    std::vector<VMXValue> args;
    Answer expected;
};

const int32_t Domain = vmxFailure1, WrongType = vmxFailure2, Range = vmxFailure3, NotWhole = vmxFailure4;

VMXValue Real(double value) { return RealRecord(value); }
VMXValue Int(int32_t value) { return IntegerRecord(value); }

const double TwoTo53 = 9007199254740992.0;
const double LargestPrimeBelow2To53 = 9007199254740881.0;

std::vector<Row> PrimeRows() {
    return {
        {"ISPRIME", {Int(2)}, 1.0}, {"ISPRIME", {Int(97)}, 1.0}, {"ISPRIME", {Int(91)}, 0.0},
        {"ISPRIME", {Int(1)}, 0.0}, {"ISPRIME", {Int(0)}, 0.0}, {"ISPRIME", {Int(-7)}, 0.0},
        {"ISPRIME", {Int(561)}, 0.0},                        // a Carmichael number
        {"ISPRIME", {Real(3215031751.0)}, 0.0},              // strong pseudoprime to the bases 2, 3, 5 and 7
        {"ISPRIME", {Real(LargestPrimeBelow2To53)}, 1.0},
        {"ISPRIME", {Real(2.5)}, NotWhole}, {"ISPRIME", {Real(1e16)}, Domain},
        {"NEXTPRIME", {Int(-5)}, 2.0}, {"NEXTPRIME", {Int(13)}, 17.0},
        {"NEXTPRIME", {Int(2147483647)}, 2147483659.0}, {"NEXTPRIME", {Real(LargestPrimeBelow2To53)}, Range},
        {"PREVPRIME", {Int(3)}, 2.0}, {"PREVPRIME", {Int(2)}, Domain}, {"PREVPRIME", {Real(TwoTo53)}, LargestPrimeBelow2To53},
        {"FACTOR", {Int(12)}, std::string("2^2*3")}, {"FACTOR", {Int(-12)}, std::string("-2^2*3")},
        {"FACTOR", {Int(1)}, std::string("1")}, {"FACTOR", {Int(-1)}, std::string("-1")},
        {"FACTOR", {Int(97)}, std::string("97")}, {"FACTOR", {Int(0)}, Domain},
        {"FACTOR", {Real(600851475143.0)}, std::string("71*839*1471*6857")},
        {"FACTOR", {Real(9007160589549613.0)}, std::string("2097143*4294967291")},
        {"FACTOR", {Real(TwoTo53)}, std::string("2^53")}, {"FACTOR", {Real(1.5)}, NotWhole},
        {"TOTIENT", {Int(1)}, 1.0}, {"TOTIENT", {Int(36)}, 12.0}, {"TOTIENT", {Int(97)}, 96.0},
        {"TOTIENT", {Int(0)}, Domain},
    };
}

std::vector<Row> BitRows() {
    return {
        {"SHL", {Int(1), Int(31)}, -2147483648.0}, {"SHL", {Int(1), Int(32)}, 0.0}, {"SHL", {Int(-1), Int(4)}, -16.0},
        {"SHR", {Int(-1), Int(28)}, 15.0}, {"SHR", {Real(2147483648.0), Int(31)}, 1.0}, {"SHR", {Int(5), Int(99)}, 0.0},
        {"SHL", {Int(1), Int(-1)}, Domain}, {"SHL", {Real(4294967296.0), Int(1)}, Domain},
        {"SHL", {Real(1.5), Int(1)}, NotWhole},
        {"ROL", {Int(-2147483647), Int(1)}, 3.0}, {"ROR", {Int(1), Int(1)}, -2147483648.0},
        {"ROL", {Int(1), Int(-1)}, -2147483648.0}, {"ROL", {Int(5), Int(64)}, 5.0}, {"ROR", {Int(6), Int(33)}, 3.0},
        {"BITAND", {Int(12), Int(10)}, 8.0}, {"BITOR", {Int(12), Int(10)}, 14.0}, {"BITXOR", {Int(12), Int(10)}, 6.0},
        {"BITAND", {Int(-1), Real(4294967295.0)}, -1.0}, {"BITOR", {Int(1), Real(-2147483649.0)}, Domain},
        {"BITNOT", {Int(0)}, -1.0}, {"BITNOT", {Int(-2147483647 - 1)}, 2147483647.0},
        {"BITCOUNT", {Int(-1)}, 32.0}, {"BITCOUNT", {Int(255)}, 8.0}, {"BITCOUNT", {Real(4294967296.0)}, Domain},
    };
}

std::vector<Row> RadixRows() {
    return {
        {"HEX", {Int(255)}, std::string("FF")}, {"HEX", {Int(-1)}, std::string("FFFFFFFF")},
        {"HEX", {Real(TwoTo53)}, std::string("20000000000000")}, {"HEX", {Real(-2147483649.0)}, Domain},
        {"HEX", {Real(1.5)}, NotWhole}, {"BIN", {Int(5)}, std::string("101")}, {"BIN", {Int(0)}, std::string("0")},
        {"BIN", {Int(-2147483647 - 1)}, std::string("10000000000000000000000000000000")},
        {"OCT", {Int(8)}, std::string("10")}, {"OCT", {Int(-8)}, std::string("37777777770")},
    };
}

std::string Describe(const Row& row) {
    std::string text = std::string(row.function) + "(";
    for (size_t i = 0; i < row.args.size(); ++i) text += (i ? ", " : "") + std::to_string(testing::NumberOf(row.args[i]));
    return text + ")";
}

class NumbersModuleTest : public ::testing::Test {
protected:
    void Check(const std::vector<Row>& rows) const {
        for (const Row& row : rows) {
            VMXValue result;
            const int32_t status = numbers.Call(row.function, row.args, result);
            if (const int32_t* failure = std::get_if<int32_t>(&row.expected)) {
                EXPECT_EQ(status, *failure) << Describe(row);
            } else if (const std::string* text = std::get_if<std::string>(&row.expected)) {
                ASSERT_EQ(status, vmxSuccess) << Describe(row);
                ASSERT_EQ(result.ValueType, vmxString) << Describe(row);
                EXPECT_EQ(std::string(result.StrValue, static_cast<size_t>(result.StrLength)), *text) << Describe(row);
            } else {
                ASSERT_EQ(status, vmxSuccess) << Describe(row);
                EXPECT_EQ(testing::NumberOf(result), std::get<double>(row.expected)) << Describe(row);
                // Whole numbers that fit are Integers, as the calculator's own.
                if (std::get<double>(row.expected) == static_cast<int32_t>(std::get<double>(row.expected))) {
                    EXPECT_EQ(result.ValueType, vmxInteger) << Describe(row);
                }
            }
        }
    }

    const testing::ShippedLibrary numbers{"numbers.vmx"};
};

TEST_F(NumbersModuleTest, PrimesAndFactors) { Check(PrimeRows()); }
TEST_F(NumbersModuleTest, BitPatterns) { Check(BitRows()); }
TEST_F(NumbersModuleTest, RadixTexts) { Check(RadixRows()); }

TEST_F(NumbersModuleTest, TextArgumentsAreTheWrongType) {
    std::string text = "12";
    VMXValue record{};
    record.ValueType = vmxString;
    record.StrValue = text.data();
    record.StrLength = 2;
    VMXValue result;
    for (const char* function : {"ISPRIME", "HEX", "BITNOT"}) EXPECT_EQ(numbers.Call(function, {record}, result), WrongType);
}

TEST_F(NumbersModuleTest, RandomNumbersStayInTheirRanges) {
    VMXValue result;
    std::set<double> reals;
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(numbers.Call("RANDOM", {}, result), vmxSuccess);
        ASSERT_EQ(result.ValueType, vmxReal);
        const double draw = testing::NumberOf(result);  // the packed field is not bound to a reference
        EXPECT_GE(draw, 0.0);
        EXPECT_LT(draw, 1.0);
        reals.insert(draw);
    }
    EXPECT_GT(reals.size(), 990u) << "draws repeat";
    std::set<double> dice;
    for (int i = 0; i < 600; ++i) {
        ASSERT_EQ(numbers.Call("RANDINT", {Int(1), Int(6)}, result), vmxSuccess);
        ASSERT_EQ(result.ValueType, vmxInteger);
        dice.insert(testing::NumberOf(result));
    }
    EXPECT_EQ(dice, (std::set<double>{1, 2, 3, 4, 5, 6}));
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(numbers.Call("RANDINT", {Real(-TwoTo53), Real(TwoTo53)}, result), vmxSuccess);
        EXPECT_LE(std::abs(testing::NumberOf(result)), TwoTo53);
    }
    Check({{"RANDINT", {Int(5), Int(5)}, 5.0}, {"RANDINT", {Int(6), Int(1)}, Domain},
           {"RANDINT", {Real(1.5), Int(3)}, NotWhole}, {"RANDINT", {Int(1), Real(1e17)}, Domain}});
}

}  // namespace
}  // namespace quenmark
