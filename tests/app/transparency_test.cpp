// The window opacities behind the two transparency options, both ways.
#include "app/transparency.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace quenmark {
namespace {

struct AlphaRow {
    const char* name;
    int active;
    int inactive;
    bool alwaysTransparent;
    bool transparentWhenInactive;
    friend void PrintTo(const AlphaRow& row, std::ostream* os) { *os << row.name; }
};

class TransparencyTest : public ::testing::TestWithParam<AlphaRow> {};

TEST_P(TransparencyTest, ChoiceFollowsTheStoredValues) {
    const TTransparencyChoice choice = TransparencyChoiceOf(GetParam().active, GetParam().inactive);
    EXPECT_EQ(choice.AlwaysTransparent, GetParam().alwaysTransparent);
    EXPECT_EQ(choice.TransparentWhenInactive, GetParam().transparentWhenInactive);
}

TEST_P(TransparencyTest, ChoiceGivesTheValues) {
    const TTransparency values = TransparencyFor({GetParam().alwaysTransparent, GetParam().transparentWhenInactive});
    EXPECT_EQ(values.AlphaActive, GetParam().active);
    EXPECT_EQ(values.AlphaInactive, GetParam().inactive);
}

INSTANTIATE_TEST_SUITE_P(Pairs, TransparencyTest,
                         ::testing::Values(AlphaRow{"Opaque", 255, 255, false, false},
                                           AlphaRow{"TransparentWhenInactive", 255, 192, false, true},
                                           AlphaRow{"AlwaysTransparent", 208, 208, true, false},
                                           AlphaRow{"AlwaysAndMoreWhenInactive", 208, 160, true, true}),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace quenmark
