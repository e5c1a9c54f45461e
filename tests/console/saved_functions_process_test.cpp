// Two copies of quenmark-console, started on the same settings file, each
// define a function of their own while the other runs; after both end, a
// third run has both: the "Functions" section takes part in the merge of
// the save. Then a saved line that no longer compiles is kept and reported.
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/history_section.h"
#include "support/file_bytes.h"
#include "support/program_copy.h"

namespace quenmark {
namespace {

namespace fs = std::filesystem;

class SavedFunctionsProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        directory_ = fs::temp_directory_path() / ("quenmark-functions-" + std::to_string(getpid()) + "-" +
                                                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(directory_);
        fs::create_directories(directory_ / "home");
        test::CopyProgramDirectory(directory_ / "program");
        settings_ = directory_ / "work.cfg";
    }
    void TearDown() override { fs::remove_all(directory_); }

    std::string Console(const std::string& arguments, const std::string& output) const {
        return "HOME='" + (directory_ / "home").string() + "' XDG_CONFIG_HOME= LANG=C LC_ALL=C timeout 20 '" +
               (directory_ / "program" / "quenmark-console").string() + "' -s '" + settings_.string() + "' " +
               arguments + " > '" + (directory_ / output).string() + "' 2> '" + (directory_ / output).string() + ".err'";
    }
    // Waits (at most 20 seconds) until the output holds text.
    bool OutputHolds(const std::string& output, const std::string& text) const {
        for (int waits = 0; waits < 1000; ++waits) {
            if (FileBytes(directory_ / output).find(text) != std::string::npos) return true;
            poll(nullptr, 0, 20);
        }
        return false;
    }

    fs::path directory_;
    fs::path settings_;
};

TEST_F(SavedFunctionsProcessTest, TwoCopiesDefiningAtOnceBothKeepTheirFunctions) {
    FILE* first = popen(Console("", "first.txt").c_str(), "w");
    FILE* second = popen(Console("", "second.txt").c_str(), "w");
    ASSERT_TRUE(first && second);
    // Both have read the file before either saves: each has run its line.
    fputs("fa(x) = x + 1\n", first);
    fflush(first);
    fputs("fb(x) = x * 2\n", second);
    fflush(second);
    EXPECT_TRUE(OutputHolds("first.txt", "The function fa has been defined.")) << FileBytes(directory_ / "first.txt");
    EXPECT_TRUE(OutputHolds("second.txt", "The function fb has been defined."));
    EXPECT_EQ(pclose(second), 0);
    EXPECT_EQ(pclose(first), 0);

    ASSERT_EQ(std::system(Console("-q 'fa(1) + fb(5)' '@FNC'", "third.txt").c_str()), 0)
        << FileBytes(settings_) << FileBytes(directory_ / "first.txt.err") << FileBytes(directory_ / "second.txt.err")
        << FileBytes(directory_ / "third.txt.err");
    const std::string third = FileBytes(directory_ / "third.txt");
    EXPECT_EQ(third.substr(0, third.find('\n')), "12") << third;
    EXPECT_NE(third.find("fa(x) = x + 1"), std::string::npos) << third;
    EXPECT_NE(third.find("fb(x) = x * 2"), std::string::npos) << third;
}

TEST_F(SavedFunctionsProcessTest, ALineThatDoesNotCompileAtLoadIsKeptAndReported) {
    ASSERT_EQ(std::system(Console("-q 'keep(x) = x + 1'", "define.txt").c_str()), 0);
    // A line that takes the name of a module function, as a file written
    // before the module was installed would have.
    std::string text = FileBytes(settings_);
    const size_t section = text.find("[Functions]");
    ASSERT_NE(section, std::string::npos) << text;
    const size_t lineEnd = text.find('\n', section);
    ASSERT_NE(lineEnd, std::string::npos) << text;
    const std::string clash = EncodeHistoryLine("SIN(x) = x");
    text.insert(lineEnd + 1, clash + (text[lineEnd - 1] == '\r' ? "\r\n" : "\n"));
    std::ofstream(settings_, std::ios::binary | std::ios::trunc) << text;

    ASSERT_EQ(std::system(Console("-q 'keep(1)' 'other() = 7'", "run.txt").c_str()), 0);
    const std::string run = FileBytes(directory_ / "run.txt");
    const std::string notices = FileBytes(directory_ / "run.txt.err");
    EXPECT_EQ(run.substr(0, 2), "2\n") << run;
    EXPECT_NE(notices.find("could not be defined"), std::string::npos) << notices;
    EXPECT_NE(notices.find("SIN(x) = x"), std::string::npos) << notices;
    // That run changed the functions and saved them: the line is still there.
    text = FileBytes(settings_);
    EXPECT_NE(text.find(clash), std::string::npos) << text;
    ASSERT_EQ(std::system(Console("-q 'other() + keep(1)'", "again.txt").c_str()), 0);
    EXPECT_EQ(FileBytes(directory_ / "again.txt").substr(0, 2), "9\n");
}

// CONVERT reads the unit file of the language in force, in either spelling.
TEST_F(SavedFunctionsProcessTest, ConversionsUseTheUnitFileOfTheLanguage) {
    const std::string lines = "'CONVERT(100, \"km/h\", \"m/s\")' '100 [°C -> °F]' '[°F -> K]' '1 [km/h -> kg]'";
    EXPECT_NE(std::system(Console("--no-save " + lines, "units.txt").c_str()), 0);
    EXPECT_EQ(FileBytes(directory_ / "units.txt"), "27.7777777777778\n212\n373.15\n");
    EXPECT_EQ(FileBytes(directory_ / "units.txt.err"),
              "quenmark-console: km/h (Speed) cannot be converted to kg (Mass): they measure different quantities.\n");
}

// A script line that starts with an operator goes on from the last result;
// a sign stays a sign.
TEST_F(SavedFunctionsProcessTest, ScriptLinesGoOnFromTheLastResult) {
    std::ofstream(directory_ / "script.txt") << "10\n*2\n/ 8\n-5\n+5\n* 3\n";
    ASSERT_EQ(std::system(Console("--no-save -f '" + (directory_ / "script.txt").string() + "'", "script.out").c_str()),
              0);
    EXPECT_EQ(FileBytes(directory_ / "script.out"), "10\n20\n2.5\n-5\n5\n15\n");
    EXPECT_NE(std::system(Console("--no-save '*2'", "first.out").c_str()), 0);
    EXPECT_EQ(FileBytes(directory_ / "first.out"), "");
}

}  // namespace
}  // namespace quenmark
