// Kills the terminal front end with SIGKILL at random moments of the save
// it runs at the end of its input (settings, variables and history in one
// replacement), run after run, each run starting from what the last one
// left. After each kill the settings file must be, byte for byte, the old
// file or the complete new one, and it must load without a damaged line.
// Then two copies run side by side, run after run: no variable that either
// copy saved may be missing afterwards. QUENMARK_CRASH_RUNS sets the number
// of runs (20 by default) and QUENMARK_CRASH_RANDOM the start value of the
// random delays.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "base/context.h"
#include "app/history_section.h"
#include "app/line_session.h"
#include "app/saved_variables.h"
#include "app/settings.h"
#include "app/settings_file.h"
#include "console_process.h"
#include "definitions/profile.h"
#include "expression/interpreter.h"
#include "support/program_copy.h"

namespace quenmark {
namespace {

// A context of the test's own without a store: every read goes to the file.
const TCCContext Plain;

namespace fs = std::filesystem;
using std::chrono::microseconds;
using std::chrono::milliseconds;

// The states of the file, in the order the save produces them.
constexpr std::array<const char*, 2> StateNames = {"old file", "new file"};

// The last input line: after its output only the saves remain.
const std::string MarkerLine = "\"saves\" + \"follow\"";
const std::string MarkerOutput = "> " + MarkerLine + "\n\"savesfollow\"\n";

std::optional<std::string> ReadBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteBytes(const fs::path& path, const std::optional<std::string>& bytes) {
    if (!bytes) {
        fs::remove(path);
        return;
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc) << *bytes;
}

int EnvironmentNumber(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::atoi(text) : fallback;
}

// The input of one run: a new mask, mode, variables and history entries
// each time, of changing lengths, so that every save changes the file.
std::vector<std::string> RunLines(int run) {
    static const char* const modes[] = {"@DEC", "@HEX", "@OCT", "@BIN"};
    const std::string number = std::to_string(run);
    return {
        "@FORMAT \"" + std::string(static_cast<size_t>(run % 17), '#') + "0." +
            std::string(static_cast<size_t>(1 + run % 5), '0') + "\"",
        modes[run % 4],
        "v" + std::to_string(run % 7) + " = " + number + " * 3",
        "s = \"" + std::string(static_cast<size_t>(run % 41), 'x') + "\"",
        "r" + std::to_string(run % 3) + " = " + number + " / 7",
        number + " + 1",
        MarkerLine,
    };
}

std::string InputText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

// The file before and after the save, found by running the front end's
// line session over the same input on a copy of the old file.
std::vector<std::optional<std::string>> SaveStates(const std::optional<std::string>& old,
                                                   const std::vector<std::string>& lines, const fs::path& copy) {
    WriteBytes(copy, old);
    TSettings settings(copy.string());
    settings.Load();
    TCCInterpreter interpreter;
    ReadVariablesSection(settings, interpreter.Variables());
    TLineSession session(interpreter, settings);
    session.LoadHistory();
    session.RestoreOutputFormat();
    for (const std::string& line : lines) session.ExecuteLine(line);

    std::vector<std::optional<std::string>> states = {old};
    session.SaveAll();
    states.push_back(ReadBytes(copy));
    return states;
}

// Loads the file as the program does at its start; every saved line must
// come back.
void ExpectLoads(const fs::path& file, int run) {
    const std::string path = file.string();
    ASSERT_TRUE(IsSettingsFileValid(Plain, path)) << "run " << run;
    TSettings settings(path);
    settings.Load();
    TCCInterpreter interpreter;
    ReadVariablesSection(settings, interpreter.Variables());
    std::vector<std::string> lines;
    ReadSectionLines(Plain, path, VariablesSection, lines);
    EXPECT_EQ(interpreter.Variables().Count(), lines.size()) << "run " << run << ": a damaged variable line";
    std::vector<std::string> history;
    ReadHistorySection(settings, history);
    lines.clear();
    ReadSectionLines(Plain, path, HistorySection, lines);
    EXPECT_EQ(history.size(), lines.size()) << "run " << run << ": a damaged history line";
}

class CrashSafetyTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string name = "quenmark-crash-" + std::to_string(getpid());
        program_ = fs::temp_directory_path() / name;
        scratch_ = (fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path()) / (name + "-copy");
        fs::remove_all(program_);
        fs::remove_all(scratch_);
        test::CopyProgramDirectory(program_);
        fs::create_directories(scratch_);
        settingsFile_ = GetSettingsFileName(program_.string() + "/");
    }
    void TearDown() override {
        fs::remove_all(program_);
        fs::remove_all(scratch_);
    }

    // Runs the front end over the lines; returns the time from the end of
    // the output of the last line to the end of the process, or nothing when
    // the run did not reach its last line.
    std::optional<microseconds> RunToEnd(const std::vector<std::string>& lines) {
        ConsoleProcess console(program_.string());
        console.Write(InputText(lines));
        console.CloseInput();
        if (!console.ReadUntil(MarkerOutput, milliseconds(20000))) return std::nullopt;
        const auto start = std::chrono::steady_clock::now();
        const int status = console.Wait();
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
        return std::chrono::duration_cast<microseconds>(std::chrono::steady_clock::now() - start);
    }

    // Runs the front end over the lines and kills it after the delay that
    // follows the output of the last line; false when the run did not
    // reach its last line.
    bool RunAndKill(const std::vector<std::string>& lines, microseconds delay) {
        ConsoleProcess console(program_.string());
        console.Write(InputText(lines));
        console.CloseInput();
        if (!console.ReadUntil(MarkerOutput, milliseconds(20000))) return false;
        std::this_thread::sleep_for(delay);
        console.Kill(SIGKILL);
        console.Wait();
        return true;
    }

    // The temporary files of interrupted saves in the program directory.
    int CountLeftovers() const {
        int count = 0;
        for (const auto& entry : fs::directory_iterator(program_)) {
            const std::string name = entry.path().filename().string();
            if (name.front() == '.' && name.find(".tmp") != std::string::npos) ++count;
        }
        return count;
    }

    fs::path program_;
    fs::path scratch_;
    std::string settingsFile_;
};

TEST_F(CrashSafetyTest, KilledSavesLeaveACompleteFileThatLoads) {
    const int runs = EnvironmentNumber("QUENMARK_CRASH_RUNS", 20);
    const unsigned randomStart = static_cast<unsigned>(EnvironmentNumber("QUENMARK_CRASH_RANDOM", static_cast<int>(std::random_device{}())));
    std::mt19937 random(randomStart);

    // Runs that end by themselves show how long the saves take and that the
    // replayed saves write what the front end writes.
    constexpr int FirstKilledRun = 5;
    std::vector<long> durations;
    for (int run = 0; run < FirstKilledRun; ++run) {
        const std::vector<std::string> lines = RunLines(run);
        const auto states = SaveStates(ReadBytes(settingsFile_), lines, scratch_ / "replay.cfg");
        const auto duration = RunToEnd(lines);
        ASSERT_TRUE(duration) << "the front end did not finish run " << run;
        durations.push_back(duration->count());
        ASSERT_EQ(ReadBytes(settingsFile_), states.back()) << "the replayed saves differ from the front end's";
    }
    // Kills fall anywhere from the end of the last line to a little after
    // the usual end of the saves.
    std::nth_element(durations.begin(), durations.begin() + FirstKilledRun / 2, durations.end());
    const long usual = durations[FirstKilledRun / 2];
    std::uniform_int_distribution<long> delay(0, std::max<long>(2000, usual * 5 / 4));

    std::array<int, StateNames.size()> found{};
    int mostLeftovers = 0;
    for (int run = FirstKilledRun; run < runs + FirstKilledRun; ++run) {
        const std::vector<std::string> lines = RunLines(run);
        const auto states = SaveStates(ReadBytes(settingsFile_), lines, scratch_ / "replay.cfg");
        ASSERT_TRUE(RunAndKill(lines, microseconds(delay(random)))) << "the front end did not reach the saves of run " << run;
        const auto now = ReadBytes(settingsFile_);
        const auto match = std::find(states.begin(), states.end(), now);
        ASSERT_NE(match, states.end()) << "run " << run << " (randomStart " << randomStart << ") left a file that no save writes:\n"
                                       << now.value_or("(none)");
        ++found[static_cast<size_t>(match - states.begin())];
        ExpectLoads(settingsFile_, run);
        // Each save removes what killed saves left, so at most the last
        // killed save's temporary file remains.
        const int leftovers = CountLeftovers();
        EXPECT_LE(leftovers, 1) << "after run " << run;
        mostLeftovers = std::max(mostLeftovers, leftovers);
    }

    std::cout << "crash safety: " << runs << " runs killed with SIGKILL (randomStart " << randomStart << ", delays up to "
              << delay.max() << " us)\n";
    for (size_t i = 0; i < StateNames.size(); ++i) std::cout << "  " << StateNames[i] << ": " << found[i] << "\n";
    std::cout << "  temporary files present after a run, at most: " << mostLeftovers << "\n";
}

// The names of the variables the file holds, capitalised.
std::set<std::string> SavedVariableNames(const std::string& file) {
    TSettings settings(file);
    TCCInterpreter interpreter;
    ReadVariablesSection(settings, interpreter.Variables());
    std::set<std::string> names;
    for (size_t i = 0; i < interpreter.Variables().Count(); ++i) names.insert(interpreter.Variables()[i].UpperName);
    return names;
}

// Two copies that interleave: each one's assignment survives the other's
// save, whichever saves first.
TEST_F(CrashSafetyTest, TwoCopiesKeepEachOthersVariables) {
    ConsoleProcess first(program_.string());
    ConsoleProcess second(program_.string());
    ASSERT_TRUE(first.Write("early = 1\n") && first.ReadUntil("\n1\n", milliseconds(20000)));
    ASSERT_TRUE(second.Write("other = 2\n") && second.ReadUntil("\n2\n", milliseconds(20000)));
    second.CloseInput();
    ASSERT_EQ(second.Wait(), 0);
    ASSERT_TRUE(first.Write("late = 3\n") && first.ReadUntil("\n3\n", milliseconds(20000)));
    ASSERT_EQ(first.Wait(), 0);
    const std::set<std::string> names = SavedVariableNames(settingsFile_);
    for (const char* name : {"EARLY", "OTHER", "LATE"}) EXPECT_TRUE(names.count(name)) << name << " was lost";
}

// Two copies end at the same moment, run after run; every variable either
// one assigned and saved must be in the file afterwards.
TEST_F(CrashSafetyTest, TwoWritersAtOnceLoseNoVariable) {
    const int runs = EnvironmentNumber("QUENMARK_CRASH_RUNS", 20);
    std::set<std::string> completed;
    for (int run = 0; run < runs; ++run) {
        ConsoleProcess first(program_.string());
        ConsoleProcess second(program_.string());
        const std::string number = std::to_string(run);
        first.Write("a" + number + " = " + number + "\n");
        second.Write("b" + number + " = " + number + "\n");
        first.CloseInput();
        second.CloseInput();
        if (first.Wait() == 0) completed.insert("A" + number);
        if (second.Wait() == 0) completed.insert("B" + number);
        ASSERT_EQ(completed.size(), static_cast<size_t>(2 * (run + 1))) << "a copy failed in run " << run;
    }
    const std::set<std::string> names = SavedVariableNames(settingsFile_);
    std::vector<std::string> missing;
    std::set_difference(completed.begin(), completed.end(), names.begin(), names.end(), std::back_inserter(missing));
    EXPECT_TRUE(missing.empty()) << missing.size() << " variables lost, the first " << missing.front();
    std::cout << "two writers: " << runs << " runs, " << completed.size() << " variables saved, " << missing.size()
              << " missing\n";
}

}  // namespace
}  // namespace quenmark
