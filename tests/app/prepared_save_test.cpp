#include "app/prepared_save.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "app/line_session.h"
#include "app/saved_variables.h"
#include "app/settings.h"
#include "support/echo_messages.h"
#include "support/file_bytes.h"

namespace quenmark {
namespace {

namespace fs = std::filesystem;

// A settings file the program wrote earlier, with a section of its own and
// its two sections in the reverse order.
const char* const EarlierFile =
    "[Information]\r\nPurpose=Quenmark Version 1.1 User Settings File\r\n"
    "[History]\r\n;03000000613D31\r\n"
    "[Notes]\r\nkept=yes\r\n"
    "[Variables]\r\n;01000000610300000001000001000000\r\n"
    "[Others]\r\nOutputMode=2\r\n";

// A history at its limit of 3, with entries re-entered in other letter
// cases, long enough that the history closes up its emptied slots.
const char* const SmallHistoryFile =
    "[Information]\r\nPurpose=Quenmark Version 1.1 User Settings File\r\n"
    "[Others]\r\nMaxHistory=3\r\n";

std::vector<std::string> RepeatedLines() {
    const char* const cycle[] = {"x = 1", "X", "y = 2", "x", "X = 1", "1 + 1"};
    std::vector<std::string> lines;
    for (int i = 0; i < 80; ++i) lines.push_back(cycle[i % 6]);
    return lines;
}

std::string LongLine() {
    std::string line = "1";
    for (int i = 0; i < 3000; ++i) line += "+1";
    return line;
}

struct PreparedRow {
    const char* name;
    const char* startFile;  // null: no file
    std::vector<std::string> lines;
};

void PrintTo(const PreparedRow& row, std::ostream* out) { *out << row.name; }

class PreparedSaveTest : public ::testing::TestWithParam<PreparedRow> {
protected:
    PreparedSaveTest()
        : path_(fs::temp_directory_path() / ("quenmark-prepared-" + std::to_string(getpid()) + ".cfg")) {
        fs::remove(path_);
        if (GetParam().startFile) std::ofstream(path_, std::ios::binary) << GetParam().startFile;
    }
    ~PreparedSaveTest() override { fs::remove(path_); }

    fs::path path_;
    testing::EchoContext context_;
};

// After every line the prepared bytes are the bytes the saves write, and
// writing them produces that file.
TEST_P(PreparedSaveTest, HoldsWhatTheSavesWouldWriteAfterEveryLine) {
    for (size_t count = 0; count <= GetParam().lines.size(); ++count) {
        if (GetParam().startFile) std::ofstream(path_, std::ios::binary | std::ios::trunc) << GetParam().startFile;
        else fs::remove(path_);
        TSettings settings(path_.string());
        settings.Load();
        TCCInterpreter interpreter(context_);
        ReadVariablesSection(settings, interpreter.Variables());
        TLineSession session(interpreter, settings);
        session.LoadHistory();
        session.RestoreOutputFormat();
        TPreparedSave prepared(settings, interpreter.Variables(), session.InputHistory());
        session.KeepFunctionsIn(prepared);
        for (size_t i = 0; i < count; ++i) {
            session.ExecuteLine(GetParam().lines[i]);
            prepared.Refresh();
        }
        const std::string expected = prepared.Contents();
        ASSERT_TRUE(session.SaveAll().Saved);
        EXPECT_EQ(FileBytes(path_), expected) << "after " << count << " lines";
        fs::remove(path_);
        ASSERT_TRUE(prepared.WriteNow());
        EXPECT_EQ(FileBytes(path_), expected) << "after " << count << " lines";
    }
}

INSTANTIATE_TEST_SUITE_P(Sessions, PreparedSaveTest, ::testing::Values(
    PreparedRow{"FirstStart", nullptr, {"x = 1", "y = \"text\"", "x = x + 1", "@HEX", "z = 2.5", "y"}},
    PreparedRow{"EarlierFile", EarlierFile,
                {"b = 2", "a = 5", "@PROTECT a", "@FORMAT \"0.00\"", "@DELVAR b", "c = 3", "A=1"}},
    PreparedRow{"ManyWritesInOneLine", nullptr,
                {"a=1", "b=2", "c=3", "d=4", "e=5", "f=6", "g=7", "h=8", "i=9",
                 "a=b+c+d+e+f+g+h+i", "@DELVARALL", "j = 1"}},
    PreparedRow{"HistoryAtItsLimit", SmallHistoryFile, RepeatedLines()},
    PreparedRow{"Functions", EarlierFile,
                {"sq(x) = x * x", "b = sq(3)", "sq(x) = x * x * x", "g(p, q) = p + sq(q)", "@DELVAR sq", "c = 1"}},
    // Entries encoded in several pieces and blocks as the file is written.
    PreparedRow{"LongEntries", nullptr, {"s = \"\xC3\xA9\t\"", LongLine(), "s", LongLine() + " "}}),
    [](const auto& row) { return std::string(row.param.name); });

// The line thread's change and a write on another thread never overlap:
// the write waits for a change in progress, and no change begins once the
// write is claimed.
TEST(PreparedSaveGateTest, AWriteWaitsForTheChangeAndNoChangeFollowsIt) {
    const fs::path path = fs::temp_directory_path() / ("quenmark-gate-" + std::to_string(getpid()) + ".cfg");
    fs::remove(path);
    testing::EchoContext context;
    TSettings settings(path.string());
    settings.Load();
    TCCInterpreter interpreter(context);
    TLineSession session(interpreter, settings);
    TPreparedSave prepared(settings, interpreter.Variables(), session.InputHistory());
    ASSERT_TRUE(prepared.BeginChange());
    std::atomic<bool> written{false};
    std::thread writer([&prepared, &written] {
        EXPECT_TRUE(prepared.ClaimWrite());
        prepared.WaitForChange();
        written = prepared.WriteNow();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(written) << "written while the change was in progress";
    prepared.EndChange();
    writer.join();
    EXPECT_TRUE(written);
    EXPECT_FALSE(prepared.BeginChange());
    fs::remove(path);
}

// Deferred to the first change: lines that change nothing read and build
// nothing, and a write then leaves the file as it is; the first change
// prepares what the saves would write.
TEST(PreparedSaveStartTest, AtFirstChangeBuildsNothingUntilSomethingChanged) {
    const struct {
        const char* Behaviour;
        std::vector<std::string> Unchanging;
        std::string Changing;
        bool EnterInHistory;
    } rows[] = {
        {"an assignment", {"1 + 1", "a"}, "x = 3", false},
        {"an entered line", {"2 * 3"}, "4", true},
        {"a format", {"\"text\""}, "@FORMAT \"0.00\"", false},
        {"a deletion", {}, "@DELVAR a", false},
    };
    const fs::path path = fs::temp_directory_path() / ("quenmark-deferred-" + std::to_string(getpid()) + ".cfg");
    for (const auto& row : rows) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << EarlierFile;
        testing::EchoContext context;
        TSettings settings(path.string());
        settings.Load();
        TCCInterpreter interpreter(context);
        ReadVariablesSection(settings, interpreter.Variables());
        TLineSession session(interpreter, settings);
        session.LoadHistory();
        session.RestoreOutputFormat();
        TPreparedSave prepared(settings, interpreter.Variables(), session.InputHistory(),
                               TPrepareStart::AtFirstChange);
        for (const std::string& line : row.Unchanging) {
            session.InterpretLine(line);
            prepared.Refresh();
        }
        EXPECT_FALSE(prepared.Prepared()) << row.Behaviour;
        EXPECT_FALSE(session.HasUnsavedChanges()) << row.Behaviour;
        fs::remove(path);
        EXPECT_TRUE(prepared.WriteNow()) << row.Behaviour;
        EXPECT_FALSE(fs::exists(path)) << row.Behaviour << ": a write with nothing prepared writes nothing";
        std::ofstream(path, std::ios::binary | std::ios::trunc) << EarlierFile;

        if (row.EnterInHistory) session.ExecuteLine(row.Changing);
        else session.InterpretLine(row.Changing);
        prepared.Refresh();
        EXPECT_TRUE(prepared.Prepared()) << row.Behaviour;
        EXPECT_TRUE(session.HasUnsavedChanges()) << row.Behaviour;
        const std::string expected = prepared.Contents();
        ASSERT_TRUE(session.SaveAll().Saved) << row.Behaviour;
        EXPECT_EQ(FileBytes(path), expected) << row.Behaviour;
        EXPECT_FALSE(session.HasUnsavedChanges()) << row.Behaviour << ", after the save";
    }
    fs::remove(path);
}

}  // namespace
}  // namespace quenmark
