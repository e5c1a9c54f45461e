#include "app/result_recall.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/line_session.h"
#include "app/settings.h"

namespace quenmark {
namespace {

struct LiteralRow {
    const char* Behaviour;
    Variant Value;
    OutputMode Mode;
    std::string Literal;
};

// Each literal is what a line gets, and it must read back as the value.
TEST(ResultLiteralTest, ReadsBackAsTheSameValue) {
    const LiteralRow rows[] = {
        {"an Integer in decimal", Variant(int32_t{14}), OutputMode::DEC, "14"},
        {"a Real with a point", Variant(2.5), OutputMode::DEC, "2.5"},
        {"a large Real", Variant(1e20), OutputMode::DEC, "1E+20"},
        {"an Integer in its radix", Variant(int32_t{14}), OutputMode::HEX, "0x0E"},
        {"a negative one as its pattern", Variant(int32_t{-1}), OutputMode::HEX, "0xFFFFFFFF"},
        {"binary", Variant(int32_t{5}), OutputMode::BIN, "0b0101"},
        {"octal", Variant(int32_t{8}), OutputMode::OCT, "00000000010"},
        {"octal too long for a literal stays decimal", Variant(int32_t{-1}), OutputMode::OCT, "-1"},
        {"a Real keeps its fraction in a radix mode", Variant(2.5), OutputMode::HEX, "2.5"},
        {"a String with its quotes doubled", Variant("say \"hi\""), OutputMode::HEX, "\"say \"\"hi\"\"\""},
    };
    for (const LiteralRow& row : rows) {
        EXPECT_EQ(ResultLiteral(row.Value, row.Mode), row.Literal) << row.Behaviour;
        TCCInterpreter interpreter;
        interpreter.ProcessLine(row.Literal);
        EXPECT_EQ(interpreter.LastResult(), row.Value) << row.Behaviour;
    }
}

TEST(ResultRecallTest, EachPressGoesOneResultBackUntilAnotherKey) {
    TResultRecall recall;
    TEditedLine line{"x = ", 4};
    EXPECT_FALSE(recall.Recall(line)) << "nothing to recall yet";
    for (const char* literal : {"1", "22", "333"}) recall.Record({literal, literal});

    const std::pair<const char*, size_t> expected[] = {{"x = 333", 7}, {"x = 22", 6}, {"x = 1", 5}};
    for (const auto& [text, cursor] : expected) {
        ASSERT_TRUE(recall.Recall(line));
        EXPECT_EQ(line.Text, text);
        EXPECT_EQ(line.Cursor, cursor);
    }
    EXPECT_FALSE(recall.Recall(line)) << "the oldest stays";
    EXPECT_EQ(line.Text, "x = 1");

    recall.EndSequence();
    line.Text += " + ";
    line.Cursor = line.Text.size();
    ASSERT_TRUE(recall.Recall(line));
    EXPECT_EQ(line.Text, "x = 1 + 333") << "after another key the last result comes first";

    line = {"(y)", 1};  // the user moved the cursor away from the inserted text
    ASSERT_TRUE(recall.Recall(line));
    EXPECT_EQ(line.Text, "(333y)");
}

TEST(ResultRecallTest, RecordsTheSessionsSuccessfulResultsAsTheLogShowsThem) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "quenmark-recall-test.cfg";
    TSettings settings(file.string());
    TCCInterpreter interpreter;
    TLineSession session(interpreter, settings);
    std::vector<std::string> log;
    session.OnLogLine = [&log](const std::string& line) { log.push_back(line); };
    int earlierHandlerCalls = 0;
    session.OnExpressionResult = [&earlierHandlerCalls](const Variant&) { ++earlierHandlerCalls; };
    TResultRecall recall;
    recall.Attach(session, interpreter);

    for (const char* line : {"6 * 7", "1 / 0", "@HEX", "255", "", "\"a\" + \"b\""}) session.ExecuteLine(line);

    ASSERT_EQ(recall.Results().size(), 3u) << "the failed line, the command and the empty line add none";
    EXPECT_EQ(earlierHandlerCalls, 4) << "the earlier handler still sees every expression line";
    EXPECT_EQ(recall.Last()->Shown, log.back());
    EXPECT_EQ(recall.Results()[1].Shown, "HEX : FF");
    EXPECT_EQ(recall.Results()[1].Literal, "0xFF");
    EXPECT_EQ(recall.Results()[2].Shown, "42");
    std::filesystem::remove(file);
}

}  // namespace
}  // namespace quenmark
