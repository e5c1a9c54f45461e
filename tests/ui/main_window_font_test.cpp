// The font of the settings: "FixedSys" becomes a monospace face that takes
// the chosen size.
#include "ui/main_window_font.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>

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

// The faces that draw each run of the text in the font.
QStringList FacesDrawing(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QStringList faces;
    for (const QGlyphRun& run : layout.glyphRuns()) faces << run.rawFont().familyName();
    return faces;
}

TEST(SettingsFontTest, JapaneseCharactersComeFromTheMonospaceJapaneseFace) {
    if (!QFontDatabase::families().contains(QStringLiteral("VL Gothic")))
        GTEST_SKIP() << "VL Gothic is not installed (scripts/bootstrap installs it)";
    const QString japanese = QString::fromUtf8("ゼロ除算です");
    for (const std::string& name : {std::string("FixedSys"), std::string("Liberation Mono")}) {
        EXPECT_EQ(FacesDrawing(japanese, SettingsFont(name, 14)), QStringList({QStringLiteral("VL Gothic")}))
            << name;
    }
    // Latin text keeps the chosen face.
    const QFont chosen = SettingsFont("Liberation Mono", 14);
    if (QFontDatabase::families().contains(QStringLiteral("Liberation Mono"))) {
        EXPECT_EQ(FacesDrawing(QStringLiteral("1+2 = 3"), chosen), QStringList({QStringLiteral("Liberation Mono")}));
    }
}

}  // namespace
}  // namespace quenmark
