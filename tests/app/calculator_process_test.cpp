#include "app/calculator_process.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/line_session.h"
#include "app/module_output.h"
#include "app/settings_file.h"
#include "app/settings_test_directory.h"
#include "platform/program_directory.h"

namespace quenmark {
namespace {

using test::TempDirectory;

TEST(CalculatorProcessTest, NamesTheUsualSettingsFileUnlessGivenOne) {
    TempDirectory directory;
    const std::string chosen = directory.File("chosen.ini");
    TCalculatorProcess usual;
    TCalculatorProcess own(chosen);
    EXPECT_EQ(usual.Context().SettingsFileName(), GetSettingsFileName(ProgramDirectory()));
    EXPECT_EQ(own.Context().SettingsFileName(), chosen);
    EXPECT_EQ(own.Settings().FileName(), chosen);
    EXPECT_EQ(own.Settings().SourceFileName(), chosen);
    // Each process's settings work in its own context.
    EXPECT_EQ(&own.Settings().Context(), &own.Context());
    EXPECT_EQ(&usual.Settings().Context(), &usual.Context());
}

// What one run saves, the next run of the same settings file starts with:
// the start-up steps load the settings and the saved variables into the
// interpreter they make, which works in the process's context.
TEST(CalculatorProcessTest, StartsWithWhatTheLastRunSaved) {
    TempDirectory directory;
    const std::string fileName = directory.File("quenmark.ini");
    {
        TCalculatorProcess first(fileName);
        first.StartCore();
        first.Settings().SaveHistory = false;
        TLineSession session(first.Interpreter(), first.Settings());
        ASSERT_TRUE(session.ExecuteLine("kept = 6 * 7"));
        ASSERT_TRUE(session.SaveAll().Saved);
    }
    TCalculatorProcess second(fileName);
    second.StartCore();
    EXPECT_EQ(&second.Interpreter().Context(), &second.Context());
    EXPECT_FALSE(second.Settings().SaveHistory);
    const TVMVariable* kept = second.Interpreter().Variables().Find("kept");
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->Value, Variant(int32_t{42}));
    EXPECT_EQ(ModuleOutputLines(), &second.Interpreter().OutputLines());
}

// The modules' output lines are those of the interpreter that loaded the
// modules last; a process that goes leaves no pointer into its interpreter
// behind, and one that goes while another loaded later leaves them alone.
TEST(CalculatorProcessTest, AProcessThatGoesTakesItsModuleOutputLinesAlong) {
    TempDirectory directory;
    auto first = std::make_unique<TCalculatorProcess>(directory.File("first.ini"));
    first->StartCore();
    auto second = std::make_unique<TCalculatorProcess>(directory.File("second.ini"));
    second->StartCore();
    std::vector<std::string>* const secondLines = &second->Interpreter().OutputLines();
    first.reset();
    EXPECT_EQ(ModuleOutputLines(), secondLines);
    second.reset();
    EXPECT_EQ(ModuleOutputLines(), nullptr);
}

}  // namespace
}  // namespace quenmark
