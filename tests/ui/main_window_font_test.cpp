// The font of the settings: "FixedSys" becomes a monospace face that takes
// the chosen size.
#include "ui/main_window_font.h"

#include <gtest/gtest.h>

#include <QFontInfo>

namespace quenmark {
namespace {

TEST(SettingsFontTest, FixedSysIsAMonospaceFaceThatTakesTheChosenSize) {
    const QFont small = SettingsFont("FixedSys", 10);
    const QFont normal = SettingsFont("fixedsys", 14);
    const QFont large = SettingsFont("FixedSys", 20);
    EXPECT_TRUE(QFontInfo(normal).fixedPitch());
    EXPECT_LT(QFontInfo(small).pixelSize(), QFontInfo(normal).pixelSize());
    EXPECT_LT(QFontInfo(normal).pixelSize(), QFontInfo(large).pixelSize());
}

TEST(SettingsFontTest, OtherFacesTakeTheSizeInPoints) {
    const QFont font = SettingsFont("Liberation Serif", 17);
    EXPECT_EQ(font.family(), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(font.pointSize(), 17);
}

}  // namespace
}  // namespace quenmark
