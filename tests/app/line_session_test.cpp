#include "app/line_session.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/settings.h"
#include "support/echo_messages.h"
#include "vm/number_text.h"

namespace quenmark {
namespace {

namespace fs = std::filesystem;

class LineSessionTest : public ::testing::Test {
protected:
    LineSessionTest()
        : path_(fs::temp_directory_path() /
                ("quenmark-session-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                 ".cfg")),
          settings_(path_.string()), session_(interpreter_, settings_) {
        fs::remove(path_);
        session_.OnLogLine = [this](const std::string& line) { log_.push_back(line); };
        session_.OnOutputModeSelected = [this](OutputMode mode) { selected_.push_back(mode); };
    }
    ~LineSessionTest() override { fs::remove(path_); }

    fs::path path_;
    testing::EchoContext context_;
    TCCInterpreter interpreter_{context_};
    TSettings settings_;
    TLineSession session_;
    std::vector<std::string> log_;
    std::vector<OutputMode> selected_;
};

TEST_F(LineSessionTest, EchoesTheLineThenItsOutput) {
    session_.ExecuteLine("1+2");
    session_.ExecuteLine("nosuch");
    EXPECT_EQ(log_, (std::vector<std::string>{"> 1+2", "3", "> nosuch", "INT044: nosuch"}));
    EXPECT_TRUE(interpreter_.OutputLines().empty());
}

TEST_F(LineSessionTest, TellsWhetherTheLineFailedWithItsErrorLast) {
    struct Row {
        const char* line;
        const char* errorCode;  // empty when the line succeeds
    };
    const Row rows[] = {
        {"1+2", ""},          {"", ""},            {"@HEX", ""},       {"@DEC", ""},
        {"1 / 0", "CVM005"},  {"nosuch", "INT044"}, {"(1", "INT043"},
    };
    for (const Row& row : rows) {
        const bool failing = *row.errorCode != '\0';
        EXPECT_EQ(session_.ExecuteLine(row.line), !failing) << row.line;
        if (failing) {
            EXPECT_EQ(log_.back().substr(0, 6), row.errorCode) << row.line;
        }
    }
}

TEST_F(LineSessionTest, CommandLineCopiesModeAndFormatIntoSettings) {
    session_.ExecuteLine("@OCT");
    EXPECT_EQ(settings_.OutputMode, 2);
    EXPECT_EQ(selected_, std::vector<OutputMode>{OutputMode::OCT});
    session_.ExecuteLine("@FORMAT \"0.0\"");
    EXPECT_EQ(settings_.OutputFormat, "0.0");
    settings_.OutputMode = 9;
    session_.ExecuteLine("2 + 2");  // an expression leaves the settings alone
    EXPECT_EQ(settings_.OutputMode, 9);
    EXPECT_EQ(selected_.size(), 2u);
}

// A script keeps its mode and format to itself: the interpreter shows
// them, the settings stay as loaded and nothing is left to save.
TEST_F(LineSessionTest, WithoutKeepingTheFormatCommandLinesLeaveTheSettings) {
    session_.KeepsOutputFormat = false;
    session_.InterpretLine("@HEX");
    session_.InterpretLine("@FORMAT \"0.0\"");
    EXPECT_EQ(interpreter_.GetOutputMode(), OutputMode::HEX);
    EXPECT_EQ(interpreter_.FormatMask(), "0.0");
    EXPECT_EQ(settings_.OutputMode, 0);
    EXPECT_EQ(settings_.OutputFormat, "");
    EXPECT_EQ(selected_, std::vector<OutputMode>(2, OutputMode::HEX)) << "the front end is still told";
    EXPECT_FALSE(session_.HasUnsavedChanges());
    session_.KeepsOutputFormat = true;
    session_.InterpretLine("@OCT");
    EXPECT_TRUE(session_.HasUnsavedChanges()) << "a kept mode is a change of the settings";
}

TEST_F(LineSessionTest, FailingLineIsStillRecorded) {
    session_.ExecuteLine("(1");
    EXPECT_EQ(session_.History(), std::vector<std::string>{"(1"});
    EXPECT_EQ(log_.back(), "INT043");
}

TEST_F(LineSessionTest, AVeryLongLineIsCalculatedButNotRecorded) {
    session_.ExecuteLine("1");
    std::string line = "x = 1";
    while (line.size() <= TInputHistory::MaxEntryBytes) line += " + 1";
    EXPECT_TRUE(session_.ExecuteLine(line));
    EXPECT_EQ(log_.back(), std::to_string((line.size() - 5) / 4 + 1));
    EXPECT_EQ(session_.History(), std::vector<std::string>{"1"});
}

TEST_F(LineSessionTest, HistoryKeepsOnlyTheNewestSpellingAtTheEnd) {
    for (const char* line : {"a = 1", "b = 2", "A = 1", ""}) session_.ExecuteLine(line);
    EXPECT_EQ(session_.History(), (std::vector<std::string>{"b = 2", "A = 1", ""}));
    EXPECT_EQ(session_.HistoryIndex(), 3);  // on the draft below the newest
}

TEST_F(LineSessionTest, HistoryIsLimitedToMaxHistory) {
    settings_.MaxHistory = 2;
    for (const char* line : {"1", "2", "3"}) session_.ExecuteLine(line);
    EXPECT_EQ(session_.History(), (std::vector<std::string>{"2", "3"}));
    settings_.MaxHistory = 0;
    session_.ExecuteLine("4");
    EXPECT_TRUE(session_.History().empty());
    EXPECT_EQ(session_.HistoryUp(""), "");
    EXPECT_EQ(session_.HistoryDown("typed"), "typed");
}

TEST_F(LineSessionTest, UpAndDownWalkTheHistoryAndStopAtItsEnds) {
    for (const char* line : {"1", "2", "3"}) session_.ExecuteLine(line);
    EXPECT_EQ(session_.HistoryUp(""), "3");
    EXPECT_EQ(session_.HistoryUp("3"), "2");
    EXPECT_EQ(session_.HistoryUp("2"), "1");
    EXPECT_EQ(session_.HistoryUp("1"), "1");  // stays at the oldest
    EXPECT_EQ(session_.HistoryDown("1"), "2");
    EXPECT_EQ(session_.HistoryDown("2"), "3");
    EXPECT_EQ(session_.HistoryDown("3"), "");  // the empty draft below the newest
    EXPECT_EQ(session_.HistoryDown(""), "");
}

TEST_F(LineSessionTest, UpKeepsTheLineBeingTypedAndDownGivesItBack) {
    for (const char* line : {"1", "2"}) session_.ExecuteLine(line);
    EXPECT_EQ(session_.HistoryUp("2*"), "2");
    EXPECT_EQ(session_.HistoryUp("2"), "1");
    EXPECT_EQ(session_.HistoryDown("1"), "2");
    EXPECT_EQ(session_.HistoryDown("2"), "2*");
}

TEST_F(LineSessionTest, AnEnteredLineStartsTheNextWalkOnAnEmptyDraft) {
    for (const char* line : {"1", "2"}) session_.ExecuteLine(line);
    session_.HistoryUp("draft");
    session_.HistoryUp("2");
    session_.ExecuteLine("1");
    EXPECT_EQ(session_.HistoryIndex(), 2);
    EXPECT_EQ(session_.HistoryUp(""), "1");
    EXPECT_EQ(session_.HistoryDown("1"), "");
}

TEST_F(LineSessionTest, TypedTextLikeTheNewestEntryIsKeptAsTheDraftAsItWasTyped) {
    for (const char* line : {"abc", "def"}) session_.ExecuteLine(line);
    EXPECT_EQ(session_.HistoryUp("  DEF "), "def");
    EXPECT_EQ(session_.HistoryDown("def"), "  DEF ");
}

TEST_F(LineSessionTest, RestoreRunsFormatAndModeWithoutRecordingThem) {
    settings_.OutputFormat = "0.00";
    settings_.OutputMode = 1;
    session_.RestoreOutputFormat();
    EXPECT_EQ(interpreter_.FormatMask(), "0.00");
    EXPECT_EQ(interpreter_.GetOutputMode(), OutputMode::HEX);
    EXPECT_EQ(settings_.OutputMode, 1);
    EXPECT_TRUE(session_.History().empty());
}

TEST_F(LineSessionTest, RestoreKeepsQuotesOfTheMask) {
    settings_.OutputFormat = "\"$\"0.00";
    session_.RestoreOutputFormat();
    EXPECT_EQ(interpreter_.FormatMask(), "\"$\"0.00");
}

TEST_F(LineSessionTest, UnknownStoredModeRunsNoModeCommand) {
    settings_.OutputMode = 7;
    session_.RestoreOutputFormat();
    EXPECT_EQ(interpreter_.GetOutputMode(), OutputMode::DEC);
    EXPECT_EQ(selected_, std::vector<OutputMode>{OutputMode::DEC});  // from the format line only
}

// Counts the texts asked for.
class CountingMessages : public MessageSource {
public:
    std::optional<std::string> Text(std::string_view code) const override {
        ++Asked;
        return std::string(code);
    }
    std::optional<std::string> TextWith(std::string_view code, std::string_view) const override { return Text(code); }
    mutable int Asked = 0;
};

// A restore that nobody logs asks for no text (so no message file is
// read), with the same outcome as the logged one.
TEST(LineSessionRestoreTest, UnheardRestoreAsksForNoTextAndMatchesTheLoggedOne) {
    for (const bool heard : {false, true}) {
        CountingMessages messages;
        TCCContext context;
        context.SetMessages(&messages);
        TCCInterpreter interpreter(context);
        TSettings settings(context, (fs::temp_directory_path() / "quenmark-session-unheard.cfg").string());
        settings.OutputFormat = "\"$\"0.00";
        settings.OutputMode = 2;
        TLineSession session(interpreter, settings);
        std::vector<std::string> log;
        if (heard) session.OnLogLine = [&log](const std::string& line) { log.push_back(line); };
        session.RestoreOutputFormat();
        EXPECT_EQ(interpreter.FormatMask(), "\"$\"0.00") << heard;
        EXPECT_EQ(interpreter.GetOutputMode(), OutputMode::OCT) << heard;
        EXPECT_EQ(settings.OutputMode, 2) << heard;
        EXPECT_EQ(settings.OutputFormat, "\"$\"0.00") << heard;
        EXPECT_TRUE(session.History().empty()) << heard;
        EXPECT_EQ(messages.Asked > 0, heard);
    }
}

TEST_F(LineSessionTest, WelcomeOnlyUntilTheSettingsNameTheUser) {
    EXPECT_EQ(session_.WelcomeLines(), std::vector<std::string>{"QEN101"});
    session_.SaveAll();
    EXPECT_TRUE(session_.WelcomeLines().empty());
}

TEST_F(LineSessionTest, SavedHistoryAndVariablesComeBack) {
    session_.ExecuteLine("x = 7");
    session_.SaveAll();

    TCCInterpreter interpreter;
    TSettings settings(path_.string());
    settings.Load();
    TLineSession session(interpreter, settings);
    session.LoadHistory();
    EXPECT_EQ(session.History(), std::vector<std::string>{"x = 7"});
    EXPECT_EQ(session.HistoryUp(""), "x = 7");
}

TEST(TrimLineTest, RemovesBlanksAndControlCharacters) {
    EXPECT_EQ(TrimLine(" \t 1 + 2\r\n"), "1 + 2");
    EXPECT_EQ(TrimLine("\x01\x7F"), "");
    EXPECT_EQ(TrimLine("a b"), "a b");
    for (const char* text : {" \t 1 + 2\r\n", "\x01\x7F", "a b", ""}) {
        std::string line = text;
        TrimLineInPlace(line);
        EXPECT_EQ(line, TrimLine(text)) << text;
    }
}

TEST(BannerTest, NamesVersionAndLevel) {
    EXPECT_EQ(TLineSession::Banner(), "Quenmark Version 1.1 (Interpreter Level 1A)");
}

}  // namespace
}  // namespace quenmark
