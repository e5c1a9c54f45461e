// The Japanese interface is readable: the face that the Japanese language
// file asks for, and the unit file's first face, have a glyph for every
// character of the texts shown in them (none falls back to a box).
#include <gtest/gtest.h>

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QStringList>

#include <string>
#include <vector>

#include "base/context.h"
#include "definitions/language.h"
#include "definitions/language_list.h"
#include "definitions/profile.h"
#include "definitions/unit_group_list.h"
#include "ui/unit_name_painter.h"

namespace quenmark {
namespace {

// A context of the test's own without a store: every read goes to the file.
const TCCContext Plain;

const std::string ResourceDir = QUENMARK_DIALOG_TEST_RESOURCES;
constexpr int JapaneseLangID = 1041;

TCCLanguage* FindJapanese(TCCLanguageList& list) {
    for (size_t i = 0; i < list.Count(); ++i)
        if (list.Items(i).LangID() == JapaneseLangID) return &list.Items(i);
    return nullptr;
}

// The texts of the message file, as the menus and dialogs show them.
QStringList MessageTexts(const std::string& path) {
    std::vector<std::string> lines;
    ReadSectionLines(Plain, path, "Messages", lines);
    QStringList texts;
    for (const std::string& line : lines) {
        const size_t equals = line.find('=');
        if (!line.empty() && line[0] != ';' && equals != std::string::npos)
            texts << QString::fromStdString(line.substr(equals + 1));
    }
    return texts;
}

// The group and unit names as drawn, without their tags.
QStringList UnitTexts(TCCUnitGroupList& units) {
    QStringList texts;
    for (size_t g = 0; g < units.Count(); ++g) {
        TCCUnitGroup& group = units.Items(g);
        texts << QString::fromStdString(group.Name);
        for (size_t u = 0; u < group.Count(); ++u)
            for (const TUnitNameRun& run : UnitNameRuns(group.Items(u).Name, 10))
                texts << QString::fromStdString(run.Text);
    }
    return texts;
}

// The characters of the texts that the family has no glyph for.
QString MissingGlyphs(const QString& family, const QStringList& texts) {
    const QFont font(family);
    // The face itself, not a fallback chosen for missing characters.
    EXPECT_EQ(QFontInfo(font).family(), family);
    const QFontMetrics metrics(font);
    QString missing;
    for (const QString& text : texts) {
        for (const char32_t c : text.toUcs4()) {
            const QString character = QString::fromUcs4(&c, 1);
            if (c > 0x20 && !metrics.inFontUcs4(c) && !missing.contains(character)) missing += character;
        }
    }
    return missing;
}

class JapaneseFontTest : public ::testing::Test {
protected:
    void SetUp() override {
        FLanguages.Gather(Plain, ResourceDir);
        FJapanese = FindJapanese(FLanguages);
        ASSERT_NE(FJapanese, nullptr);
    }

    static bool Installed(const std::string& family) {
        return QFontDatabase::families().contains(QString::fromStdString(family));
    }

    TCCLanguageList FLanguages;
    TCCLanguage* FJapanese = nullptr;
};

TEST_F(JapaneseFontTest, TheDialogFaceHasEveryCharacterOfTheMessages) {
    const std::string family = FJapanese->DialogFontName();
    if (!Installed(family)) GTEST_SKIP() << family << " is not installed (scripts/bootstrap installs it)";
    const QStringList texts = MessageTexts(ResourceDir + FJapanese->MessageFileName());
    ASSERT_GT(texts.size(), 100);
    EXPECT_EQ(MissingGlyphs(QString::fromStdString(family), texts), QString());
}

TEST_F(JapaneseFontTest, TheUnitFaceHasEveryCharacterOfTheUnitNames) {
    TCCUnitGroupList& units = FJapanese->GetUnits();
    const std::string family = units.Fonts()[0];
    if (!Installed(family)) GTEST_SKIP() << family << " is not installed (scripts/bootstrap installs it)";
    ASSERT_GT(units.Count(), 0u);
    EXPECT_EQ(MissingGlyphs(QString::fromStdString(family), UnitTexts(units)), QString());
}

}  // namespace
}  // namespace quenmark
