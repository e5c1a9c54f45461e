#include "vm/variant.h"

#include <gtest/gtest.h>

#include "base/exception.h"
#include "vm/number_text.h"

namespace quenmark {
namespace {

class VariantTest : public ::testing::Test {
protected:
    // The separators the conversions are given.
    NumberSeparators separators_{".", ","};
};

TEST_F(VariantTest, DefaultIsUnassigned) {
    EXPECT_TRUE(Variant().IsUnassigned());
    EXPECT_EQ(Variant().ToText(separators_), "");
}

TEST_F(VariantTest, TextForms) {
    EXPECT_EQ(Variant(int32_t{-42}).ToText(separators_), "-42");
    EXPECT_EQ(Variant(2.5).ToText(separators_), "2.5");
    EXPECT_EQ(Variant("abc").ToText(separators_), "abc");
}

TEST_F(VariantTest, RealTextUsesCurrentDecimalSeparator) {
    separators_ = {",", "."};
    EXPECT_EQ(Variant(2.5).ToText(separators_), "2,5");
}

TEST_F(VariantTest, ToIntegerRoundsRealsAndReadsStrings) {
    EXPECT_EQ(Variant(7.5).ToInteger(separators_), 8);
    EXPECT_EQ(Variant(6.5).ToInteger(separators_), 6);
    EXPECT_EQ(Variant("12.5").ToInteger(separators_), 12);
    EXPECT_EQ(Variant(" 13 ").ToInteger(separators_), 13);
    EXPECT_THROW(Variant(3e9).ToInteger(separators_), EInvalidOp);
    EXPECT_THROW(Variant("x").ToInteger(separators_), EConvertError);
}

TEST_F(VariantTest, ToRealConvertsEveryKind) {
    EXPECT_DOUBLE_EQ(Variant(int32_t{3}).ToReal(separators_), 3.0);
    EXPECT_DOUBLE_EQ(Variant(0.25).ToReal(separators_), 0.25);
    EXPECT_DOUBLE_EQ(Variant("1e3").ToReal(separators_), 1000.0);
    EXPECT_THROW(Variant("1.2.3").ToReal(separators_), EConvertError);
}

TEST_F(VariantTest, EqualityComparesKindAndValue) {
    EXPECT_EQ(Variant(int32_t{1}), Variant(int32_t{1}));
    EXPECT_NE(Variant(int32_t{1}), Variant(1.0));
    EXPECT_NE(Variant("1"), Variant(int32_t{1}));
}

}  // namespace
}  // namespace quenmark
