#include "vm/variant.h"

#include <gtest/gtest.h>

#include "base/exception.h"
#include "vm/number_text.h"

namespace quenmark {
namespace {

class VariantTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = CurrentSeparators();
        SetCurrentSeparators({".", ","});
    }
    void TearDown() override { SetCurrentSeparators(saved_); }
    NumberSeparators saved_;
};

TEST_F(VariantTest, DefaultIsUnassigned) {
    EXPECT_TRUE(Variant().IsUnassigned());
    EXPECT_EQ(Variant().ToText(), "");
}

TEST_F(VariantTest, TextForms) {
    EXPECT_EQ(Variant(int32_t{-42}).ToText(), "-42");
    EXPECT_EQ(Variant(2.5).ToText(), "2.5");
    EXPECT_EQ(Variant("abc").ToText(), "abc");
}

TEST_F(VariantTest, RealTextUsesCurrentDecimalSeparator) {
    SetCurrentSeparators({",", "."});
    EXPECT_EQ(Variant(2.5).ToText(), "2,5");
}

TEST_F(VariantTest, ToIntegerRoundsRealsAndReadsStrings) {
    EXPECT_EQ(Variant(7.5).ToInteger(), 8);
    EXPECT_EQ(Variant(6.5).ToInteger(), 6);
    EXPECT_EQ(Variant("12.5").ToInteger(), 12);
    EXPECT_EQ(Variant(" 13 ").ToInteger(), 13);
    EXPECT_THROW(Variant(3e9).ToInteger(), EInvalidOp);
    EXPECT_THROW(Variant("x").ToInteger(), EConvertError);
}

TEST_F(VariantTest, ToRealConvertsEveryKind) {
    EXPECT_DOUBLE_EQ(Variant(int32_t{3}).ToReal(), 3.0);
    EXPECT_DOUBLE_EQ(Variant(0.25).ToReal(), 0.25);
    EXPECT_DOUBLE_EQ(Variant("1e3").ToReal(), 1000.0);
    EXPECT_THROW(Variant("1.2.3").ToReal(), EConvertError);
}

TEST_F(VariantTest, EqualityComparesKindAndValue) {
    EXPECT_EQ(Variant(int32_t{1}), Variant(int32_t{1}));
    EXPECT_NE(Variant(int32_t{1}), Variant(1.0));
    EXPECT_NE(Variant("1"), Variant(int32_t{1}));
}

}  // namespace
}  // namespace quenmark
