// The unit window of each shipped language shows every unit name whole in
// its selectors, symbol included, at the window's default width and when
// narrowed as far as it goes.
#include "ui/unit_window.h"

#include "widget_test_support.h"

#include <QFontMetrics>
#include <QLineEdit>

#include <memory>
#include <string>

#include "app/settings.h"
#include "base/context.h"
#include "definitions/language.h"
#include "definitions/temp_directory.h"
#include "definitions/unit_group_list.h"
#include "definitions/messages.h"
#include "ui/quen_button.h"
#include "ui/quen_combo_box.h"
#include "ui/unit_name_painter.h"

namespace quenmark {
namespace {

const std::string ResourceDir = QUENMARK_DIALOG_TEST_RESOURCES;

std::unique_ptr<TCCLanguage> Language(const TCCContext& context, const std::string& file) {
    if (file.empty()) return TCCLanguage::CreateBuiltIn(context, ResourceDir);
    return TCCLanguage::CreateFromFile(context, file, ResourceDir);
}

class UnitWindowLanguageTest : public ::testing::TestWithParam<const char*> {};

TEST_P(UnitWindowLanguageTest, EveryUnitNameFitsItsSelector) {
    quenmark::testing::TempDirectory directory;
    TSettings settings(directory.PathOf("Quenmark.ini"));
    const TCCContext context;
    const std::unique_ptr<TCCLanguage> language = Language(context, GetParam());
    TCCUnitGroupList& units = language->GetUnits();
    ASSERT_GT(units.Count(), 0u);
    for (const int width : {settings.UnitPlacement.Width, 0}) {
        settings.UnitPlacement.Width = width;
        TfrmCalUnit window(settings, context, *language);
        const TQuenComboBox& selector = *window.cmbFromUnit;
        // The name starts 6 pixels into the selector; the arrow takes the
        // selector's height and 2 pixels at its end.
        const int room = selector.width() - 6 - selector.height() - 2;
        for (size_t g = 0; g < units.Count(); ++g) {
            for (size_t u = 0; u < units.Items(g).Count(); ++u) {
                const std::string& name = units.Items(g).Items(u).Name;
                EXPECT_LE(UnitNameWidth(name, units.Fonts(), settings.FontSize), room) << name << " at " << width;
            }
        }
        EXPECT_GE(window.edtFromVar->width(), 90);
    }
}

// The mode button's captions come from the language's messages.
TEST(UnitWindowCaptionTest, TheModeButtonSpeaksTheLanguage) {
    struct Row {
        const char* File;
        QString Auto;
        QString Manual;
    };
    const Row rows[] = {{"German.lng", QStringLiteral("AUTOMATISCH"), QStringLiteral("MANUELL")},
                        {"Japanese.lng", QStringLiteral("自動"), QStringLiteral("手動")}};
    for (const Row& row : rows) {
        quenmark::testing::TempDirectory directory;
        TSettings settings(directory.PathOf("Quenmark.ini"));
        TCCContext context;
        const std::unique_ptr<TCCLanguage> language = Language(context, row.File);
        context.SetMessages(&language->GetMessages());
        settings.AutoUnit = true;
        TfrmCalUnit window(settings, context, *language);
        EXPECT_EQ(window.btnAuto->Text(), row.Auto) << row.File;
        window.btnAuto->Click();
        EXPECT_EQ(window.btnAuto->Text(), row.Manual) << row.File;
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, UnitWindowLanguageTest, ::testing::Values("", "German.lng", "Japanese.lng"),
                         [](const auto& row) {
                             const std::string file = row.param;
                             return file.empty() ? std::string("English") : file.substr(0, file.find('.'));
                         });

}  // namespace
}  // namespace quenmark
