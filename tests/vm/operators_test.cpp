#include "vm/operators.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <ostream>
#include <string>

#include "base/exception.h"
#include "vm/number_text.h"

namespace quenmark {
namespace {

constexpr int32_t IntMin = std::numeric_limits<int32_t>::min();
constexpr int32_t IntMax = std::numeric_limits<int32_t>::max();

Variant I(int32_t value) { return Variant(value); }
Variant R(double value) { return Variant(value); }
Variant S(const char* value) { return Variant(value); }

enum class Failure { None, InvalidOp, ZeroDivide, Overflow, ConvertError };

// Kind and exact value, so that Integer 5 and Real 5 differ in a failure report.
std::string Describe(const Variant& value) {
    char buffer[64];
    switch (value.GetKind()) {
    case Variant::Kind::Integer: return "Integer " + std::to_string(value.AsInteger());
    case Variant::Kind::Real:
        std::snprintf(buffer, sizeof buffer, "Real %.17g", value.AsReal());
        return buffer;
    case Variant::Kind::String: return "String '" + value.AsString() + "'";
    case Variant::Kind::Unassigned: break;
    }
    return "Unassigned";
}

std::string Describe(Failure failure) {
    switch (failure) {
    case Failure::InvalidOp: return "EInvalidOp";
    case Failure::ZeroDivide: return "EZeroDivide";
    case Failure::Overflow: return "EOverflow";
    case Failure::ConvertError: return "EConvertError";
    case Failure::None: break;
    }
    return "no failure";
}

// The value an operation gives, or the conversion failure it raises.
template <typename Operation>
std::string Outcome(Operation operation) {
    try {
        return Describe(operation());
    } catch (const EInvalidOp&) {
        return Describe(Failure::InvalidOp);
    } catch (const EZeroDivide&) {
        return Describe(Failure::ZeroDivide);
    } catch (const EOverflow&) {
        return Describe(Failure::Overflow);
    } catch (const EConvertError&) {
        return Describe(Failure::ConvertError);
    }
}

// The operators read number texts with the separators they are given.
const NumberSeparators Plain{".", ","};

using BinaryOperation = Variant (*)(const Variant&, const Variant&, const NumberSeparators&);

struct BinaryRow {
    const char* behaviour;
    BinaryOperation operation;
    Variant a;
    Variant b;
    Variant expected;
    Failure failure = Failure::None;
};

void PrintTo(const BinaryRow& row, std::ostream* out) { *out << row.behaviour; }

std::string Expected(const Variant& value, Failure failure) {
    return failure == Failure::None ? Describe(value) : Describe(failure);
}

template <typename Row>
std::string RowName(const testing::TestParamInfo<Row>& info) {
    return info.param.behaviour;
}

class BinaryOperatorTest : public testing::TestWithParam<BinaryRow> {};

TEST_P(BinaryOperatorTest, GivesTheRuleResult) {
    const BinaryRow& row = GetParam();
    EXPECT_EQ(Outcome([&] { return row.operation(row.a, row.b, Plain); }), Expected(row.expected, row.failure));
}

const Variant None;
constexpr Failure Invalid = Failure::InvalidOp;
constexpr Failure ByZero = Failure::ZeroDivide;
constexpr Failure Overflow = Failure::Overflow;
constexpr Failure NotANumber = Failure::ConvertError;

INSTANTIATE_TEST_SUITE_P(Add, BinaryOperatorTest, testing::Values(
    BinaryRow{"IntegersThatFitStayInteger", &Add, I(2), I(3), I(5)},
    BinaryRow{"LargestIntegerPlusOneBecomesReal", &Add, I(IntMax), I(1), R(2147483648.0)},
    BinaryRow{"SmallestIntegerPlusMinusOneBecomesReal", &Add, I(IntMin), I(-1), R(-2147483649.0)},
    BinaryRow{"SumAtTheLowerBoundStaysInteger", &Add, I(IntMin + 1), I(-1), I(IntMin)},
    BinaryRow{"RealWithIntegerGivesReal", &Add, R(1.5), I(2), R(3.5)},
    BinaryRow{"IntegerWithRealGivesReal", &Add, I(2), R(0.25), R(2.25)},
    BinaryRow{"RealsGiveReal", &Add, R(0.5), R(0.5), R(1.0)},
    BinaryRow{"StringsConcatenateLeftThenRight", &Add, S("ab"), S("cd"), S("abcd")},
    BinaryRow{"NumberLikeStringsStillConcatenate", &Add, S("12"), S("3"), S("123")},
    BinaryRow{"StringWithIntegerGivesReal", &Add, S("12"), I(3), R(15.0)},
    BinaryRow{"IntegerWithStringGivesReal", &Add, I(3), S("12"), R(15.0)},
    BinaryRow{"StringWithRealGivesReal", &Add, S("1.5"), R(0.25), R(1.75)},
    BinaryRow{"StringThatIsNoNumberFails", &Add, S("x"), I(1), None, NotANumber},
    BinaryRow{"NumberWithStringThatIsNoNumberFails", &Add, I(1), S("x"), None, NotANumber},
    BinaryRow{"StringBeyondTheDoubleRangeOverflows", &Add, S("1e400"), I(1), None, Overflow},
    BinaryRow{"RealSumBeyondTheDoubleRangeOverflows", &Add, R(1e308), R(1e308), None, Overflow},
    BinaryRow{"InfinityMinusInfinityIsInvalid", &Add, R(INFINITY), R(-INFINITY), None, Invalid}),
    RowName<BinaryRow>);

INSTANTIATE_TEST_SUITE_P(Subtract, BinaryOperatorTest, testing::Values(
    BinaryRow{"IntegersThatFitStayInteger", &Subtract, I(5), I(7), I(-2)},
    BinaryRow{"SmallestIntegerMinusOneBecomesReal", &Subtract, I(IntMin), I(1), R(-2147483649.0)},
    BinaryRow{"LargestIntegerMinusMinusOneBecomesReal", &Subtract, I(IntMax), I(-1), R(2147483648.0)},
    BinaryRow{"RealInvolvedGivesReal", &Subtract, R(5.5), I(1), R(4.5)},
    BinaryRow{"RealResultStaysRealWhenWhole", &Subtract, R(5.5), R(0.5), R(5.0)},
    BinaryRow{"StringsAreConvertedToReal", &Subtract, S("12"), S("2"), R(10.0)},
    BinaryRow{"StringWithIntegerGivesReal", &Subtract, S("12"), I(2), R(10.0)},
    BinaryRow{"IntegerWithStringGivesReal", &Subtract, I(2), S("12"), R(-10.0)},
    BinaryRow{"StringsThatAreNoNumbersFail", &Subtract, S("a"), S("b"), None, NotANumber},
    BinaryRow{"RealDifferenceBeyondTheDoubleRangeOverflows", &Subtract, R(-1e308), R(1e308), None, Overflow}),
    RowName<BinaryRow>);

INSTANTIATE_TEST_SUITE_P(Multiply, BinaryOperatorTest, testing::Values(
    BinaryRow{"IntegersThatFitStayInteger", &Multiply, I(6), I(7), I(42)},
    BinaryRow{"ProductOfTwoToTheSixteenthsBecomesReal", &Multiply, I(65536), I(65536), R(4294967296.0)},
    BinaryRow{"NegativeProductBeyondTheRangeBecomesReal", &Multiply, I(-65536), I(65536), R(-4294967296.0)},
    BinaryRow{"ProductJustBeyondTheRangeBecomesReal", &Multiply, I(46341), I(46341), R(2147488281.0)},
    BinaryRow{"ProductAtTheLowerBoundStaysInteger", &Multiply, I(-65536), I(32768), I(IntMin)},
    BinaryRow{"RealInvolvedGivesReal", &Multiply, R(2.5), I(2), R(5.0)},
    BinaryRow{"StringsAreConvertedToReal", &Multiply, S("3"), S("4"), R(12.0)},
    BinaryRow{"StringWithIntegerGivesReal", &Multiply, S("3"), I(4), R(12.0)},
    BinaryRow{"StringThatIsNoNumberFails", &Multiply, I(3), S("3x"), None, NotANumber},
    BinaryRow{"FiniteProductBeyondTheDoubleRangeOverflows", &Multiply, R(1e308), I(10), None, Overflow},
    BinaryRow{"ProductOfTwoLargeRealsOverflows", &Multiply, R(1e300), R(1e300), None, Overflow},
    BinaryRow{"InfinityTimesZeroIsInvalid", &Multiply, R(INFINITY), I(0), None, Invalid}),
    RowName<BinaryRow>);

INSTANTIATE_TEST_SUITE_P(Divide, BinaryOperatorTest, testing::Values(
    BinaryRow{"IntegersGiveARealFraction", &Divide, I(7), I(2), R(3.5)},
    BinaryRow{"IntegersGiveARealEvenWhenExact", &Divide, I(6), I(3), R(2.0)},
    BinaryRow{"RealsGiveReal", &Divide, R(1.0), R(4.0), R(0.25)},
    BinaryRow{"StringsAreConvertedToReal", &Divide, S("7"), S("2"), R(3.5)},
    BinaryRow{"StringWithIntegerGivesReal", &Divide, S("7"), I(2), R(3.5)},
    BinaryRow{"StringThatIsNoNumberFails", &Divide, S("x"), I(2), None, NotANumber},
    BinaryRow{"IntegerByZeroDividesByZero", &Divide, I(1), I(0), None, ByZero},
    BinaryRow{"NegativeByZeroDividesByZero", &Divide, I(-1), I(0), None, ByZero},
    BinaryRow{"RealByRealZeroDividesByZero", &Divide, R(1.5), R(0.0), None, ByZero},
    BinaryRow{"ZeroByZeroIsInvalid", &Divide, I(0), I(0), None, Invalid},
    BinaryRow{"RealZeroByZeroIsInvalid", &Divide, R(0.0), R(-0.0), None, Invalid},
    BinaryRow{"QuotientBeyondTheDoubleRangeOverflows", &Divide, R(1e308), R(1e-10), None, Overflow}),
    RowName<BinaryRow>);

INSTANTIATE_TEST_SUITE_P(IntDivide, BinaryOperatorTest, testing::Values(
    BinaryRow{"IntegersTruncate", &IntDivide, I(7), I(2), I(3)},
    BinaryRow{"NegativeDividendTruncatesTowardZero", &IntDivide, I(-7), I(2), I(-3)},
    BinaryRow{"NegativeDivisorTruncatesTowardZero", &IntDivide, I(7), I(-2), I(-3)},
    BinaryRow{"RealHalfRoundsUpToEven", &IntDivide, R(7.5), I(2), I(4)},
    BinaryRow{"RealHalfRoundsDownToEven", &IntDivide, R(6.5), I(1), I(6)},
    BinaryRow{"NegativeRealHalfRoundsToEven", &IntDivide, R(-2.5), I(1), I(-2)},
    BinaryRow{"RealDivisorIsRounded", &IntDivide, I(9), R(2.6), I(3)},
    BinaryRow{"RealOutsideTheIntegerRangeIsInvalid", &IntDivide, R(1e10), I(3), None, Invalid},
    BinaryRow{"RealRoundingJustAboveTheRangeIsInvalid", &IntDivide, R(2147483647.5), I(1), None, Invalid},
    BinaryRow{"RealRoundingToTheLowerBoundFits", &IntDivide, R(-2147483648.5), I(1), I(IntMin)},
    BinaryRow{"StringsAreConvertedToInteger", &IntDivide, S("7"), S("2"), I(3)},
    BinaryRow{"StringWithNumberIsRoundedToInteger", &IntDivide, S("7.5"), I(2), I(4)},
    BinaryRow{"StringThatIsNoNumberFails", &IntDivide, S("x"), I(2), None, NotANumber},
    BinaryRow{"ByZeroDividesByZero", &IntDivide, I(1), I(0), None, ByZero},
    BinaryRow{"ByADivisorRoundingToZeroDividesByZero", &IntDivide, I(1), R(0.4), None, ByZero},
    BinaryRow{"SmallestIntegerByMinusOneOverflows", &IntDivide, I(IntMin), I(-1), None, Overflow},
    BinaryRow{"SmallestIntegerByOneStays", &IntDivide, I(IntMin), I(1), I(IntMin)}),
    RowName<BinaryRow>);

INSTANTIATE_TEST_SUITE_P(Modulo, BinaryOperatorTest, testing::Values(
    BinaryRow{"IntegersGiveTheRemainder", &Modulo, I(7), I(2), I(1)},
    BinaryRow{"RemainderHasTheSignOfTheDividend", &Modulo, I(-7), I(2), I(-1)},
    BinaryRow{"NegativeDivisorKeepsAPositiveRemainder", &Modulo, I(7), I(-2), I(1)},
    BinaryRow{"RealsAreRoundedToInteger", &Modulo, R(7.5), R(3.0), I(2)},
    BinaryRow{"StringsAreConvertedToInteger", &Modulo, S("8"), S("3"), I(2)},
    BinaryRow{"StringWithIntegerGivesInteger", &Modulo, S("8"), I(3), I(2)},
    BinaryRow{"RealOutsideTheIntegerRangeIsInvalid", &Modulo, R(3e9), I(2), None, Invalid},
    BinaryRow{"ByZeroDividesByZero", &Modulo, I(1), I(0), None, ByZero},
    BinaryRow{"SmallestIntegerByMinusOneIsZero", &Modulo, I(IntMin), I(-1), I(0)},
    BinaryRow{"SmallestIntegerByTwoIsZero", &Modulo, I(IntMin), I(2), I(0)}),
    RowName<BinaryRow>);

INSTANTIATE_TEST_SUITE_P(Bitwise, BinaryOperatorTest, testing::Values(
    BinaryRow{"AndOfIntegers", &And, I(12), I(10), I(8)},
    BinaryRow{"OrOfIntegers", &Or, I(12), I(10), I(14)},
    BinaryRow{"XorOfIntegers", &Xor, I(12), I(10), I(6)},
    BinaryRow{"AndWorksOnAll32Bits", &And, I(-1), I(IntMin), I(IntMin)},
    BinaryRow{"XorOfAllBitsGivesTheComplement", &Xor, I(-1), I(IntMax), I(IntMin)},
    BinaryRow{"AndRoundsARealFirst", &And, R(12.4), I(10), I(8)},
    BinaryRow{"OrRoundsAHalfToEven", &Or, R(2.5), I(0), I(2)},
    BinaryRow{"XorRoundsAHalfUpToEven", &Xor, I(0), R(3.5), I(4)},
    BinaryRow{"AndOfStringsConvertsBoth", &And, S("12"), S("10"), I(8)},
    BinaryRow{"OrOfStringAndIntegerConvertsTheString", &Or, S("12"), I(1), I(13)},
    BinaryRow{"XorOfAStringThatIsNoNumberFails", &Xor, S("x"), I(1), None, NotANumber},
    BinaryRow{"AndOfARealOutsideTheRangeIsInvalid", &And, R(1e10), I(1), None, Invalid},
    BinaryRow{"OrOfAnInfinityIsInvalid", &Or, I(1), R(INFINITY), None, Invalid}),
    RowName<BinaryRow>);

struct UnaryRow {
    const char* behaviour;
    Variant (*operation)(const Variant&, const NumberSeparators&);
    Variant a;
    Variant expected;
    Failure failure = Failure::None;
};

void PrintTo(const UnaryRow& row, std::ostream* out) { *out << row.behaviour; }

class UnaryOperatorTest : public testing::TestWithParam<UnaryRow> {};

TEST_P(UnaryOperatorTest, GivesTheRuleResult) {
    const UnaryRow& row = GetParam();
    EXPECT_EQ(Outcome([&] { return row.operation(row.a, Plain); }), Expected(row.expected, row.failure));
}

INSTANTIATE_TEST_SUITE_P(NotAndNegate, UnaryOperatorTest, testing::Values(
    UnaryRow{"NotOfZeroIsMinusOne", &Not, I(0), I(-1)},
    UnaryRow{"NotRoundsARealToEvenFirst", &Not, R(1.5), I(-3)},
    UnaryRow{"NotOfTheLargestIntegerIsTheSmallest", &Not, I(IntMax), I(IntMin)},
    UnaryRow{"NotConvertsAString", &Not, S("5"), I(-6)},
    UnaryRow{"NotOfAStringThatIsNoNumberFails", &Not, S("x"), None, NotANumber},
    UnaryRow{"NotOfARealOutsideTheRangeIsInvalid", &Not, R(3e9), None, Invalid},
    UnaryRow{"NegateOfAnIntegerStaysInteger", &Negate, I(5), I(-5)},
    UnaryRow{"NegateOfZeroStaysIntegerZero", &Negate, I(0), I(0)},
    UnaryRow{"NegateOfTheLargestIntegerFits", &Negate, I(IntMax), I(-IntMax)},
    UnaryRow{"NegateOfTheSmallestIntegerBecomesReal", &Negate, I(IntMin), R(2147483648.0)},
    UnaryRow{"NegateOfARealGivesReal", &Negate, R(2.5), R(-2.5)},
    UnaryRow{"NegateOfAStringGivesReal", &Negate, S("3"), R(-3.0)},
    UnaryRow{"NegateOfAStringThatIsNoNumberFails", &Negate, S("x"), None, NotANumber}),
    RowName<UnaryRow>);

INSTANTIATE_TEST_SUITE_P(Power, BinaryOperatorTest, testing::Values(
    BinaryRow{"IntegersGiveAReal", &Power, I(2), I(10), R(1024.0)},
    BinaryRow{"ExponentZeroGivesOne", &Power, I(5), I(0), R(1.0)},
    BinaryRow{"ZeroToTheZeroIsOne", &Power, I(0), I(0), R(1.0)},
    BinaryRow{"ZeroToAPositivePowerIsZero", &Power, I(0), R(2.5), R(0.0)},
    BinaryRow{"NegativeBaseToAnOddPower", &Power, I(-2), I(3), R(-8.0)},
    BinaryRow{"NegativeBaseToAnEvenPower", &Power, I(-2), I(2), R(4.0)},
    BinaryRow{"NegativeIntegralExponentGivesTheReciprocal", &Power, I(2), I(-2), R(0.25)},
    BinaryRow{"RealBaseToAnIntegralPower", &Power, R(1.5), I(2), R(2.25)},
    BinaryRow{"FractionalExponentUsesTheLogarithm", &Power, I(4), R(0.5), R(2.0)},
    BinaryRow{"StringsAreConvertedToReal", &Power, S("2"), S("3"), R(8.0)},
    BinaryRow{"StringThatIsNoNumberFails", &Power, S("x"), I(2), None, NotANumber},
    BinaryRow{"ZeroToANegativeIntegralPowerDividesByZero", &Power, I(0), I(-1), None, ByZero},
    BinaryRow{"ZeroToANegativeFractionalPowerDividesByZero", &Power, I(0), R(-0.5), None, ByZero},
    BinaryRow{"NegativeBaseToAFractionalPowerIsInvalid", &Power, I(-8), R(0.5), None, Invalid},
    BinaryRow{"NegativeBaseToAHugeEvenPowerOverflows", &Power, I(-2), R(3e9), None, Overflow},
    BinaryRow{"NegativeBaseToAHugeOddPowerUnderflows", &Power, R(-0.5), R(3000000001.0), R(-0.0)},
    BinaryRow{"OneBeyondTheIntegralRangeUsesTheLogarithm", &Power, I(1), R(3e9), R(1.0)},
    BinaryRow{"ResultBeyondTheDoubleRangeOverflows", &Power, I(10), I(400), None, Overflow},
    BinaryRow{"LargestIntegralExponentOverflows", &Power, I(2), I(IntMax), None, Overflow},
    BinaryRow{"LogarithmResultBeyondTheRangeOverflows", &Power, I(2), R(5000.5), None, Overflow},
    BinaryRow{"ResultBelowTheDoubleRangeIsZero", &Power, I(10), I(-400), R(0.0)},
    BinaryRow{"ReciprocalOfAnExtendedProductBelowTheRangeIsZero", &Power, I(2), I(-5000), R(0.0)},
    BinaryRow{"LargestNegativeIntegralExponentUnderflowsToZero", &Power, I(2), I(-IntMax), R(0.0)},
    BinaryRow{"NegativeExponentBeyondTheExtendedRangeUnderflowsToZero", &Power, I(10), I(-5000), R(0.0)},
    BinaryRow{"NegativeExponentReachesTheSmallestSubnormal", &Power, I(2), I(-1074), R(0x1p-1074)},
    BinaryRow{"PositiveExponentReachesASubnormal", &Power, R(0.5), I(1073), R(0x1p-1073)},
    BinaryRow{"ReciprocalOfATinyBaseIsTooLarge", &Power, R(0.5), I(-IntMax), None, Overflow},
    BinaryRow{"TinyBaseToANegativePowerInRange", &Power, R(0.5), I(-1023), R(0x1p1023)}),
    RowName<BinaryRow>);

TEST(PowerTest, RepeatedSquaringKeepsExtendedPrecision) {
    // In double arithmetic the rounding errors of the squares would add up.
    const Variant result = Power(R(1.1), I(1000), Plain);
    ASSERT_TRUE(result.IsReal());
    EXPECT_EQ(result.AsReal(), std::pow(1.1, 1000.0));
}

TEST(PowerTest, FractionalPowerIsCloseToTheLibraryPower) {
    const Variant result = Power(I(2), R(0.5), Plain);
    ASSERT_TRUE(result.IsReal());
    EXPECT_NEAR(result.AsReal(), std::sqrt(2.0), 1e-15);
}

TEST(RealArithmeticTest, SumIsFormedInExtendedPrecisionBeforeStoring) {
    // 1 + (2^-53 + 2^-105): a double sum rounds up to the next double, while
    // the extended sum loses 2^-105 first and the stored tie rounds to even.
    const double justAboveHalfAnUlp = 0x1.0000000000001p-53;
    ASSERT_NE(1.0 + justAboveHalfAnUlp, 1.0);
    const Variant sum = Add(R(1.0), R(justAboveHalfAnUlp), Plain);
    EXPECT_EQ(Describe(sum), Describe(R(1.0)));
}

TEST(RealArithmeticTest, StringsFollowTheDecimalSeparatorInForce) {
    const NumberSeparators comma{",", "."};
    EXPECT_EQ(Describe(Add(S("1,5"), I(1), comma)), Describe(R(2.5)));
    EXPECT_EQ(Outcome([&] { return Add(S("1,5,5"), I(1), comma); }), Describe(Failure::ConvertError));
}

}  // namespace
}  // namespace quenmark
