// Runs every transcript under tests/scripts: each input line goes through a
// fresh interpreter the way the log window does it, and the resulting log
// must equal the file line for line.
#include <gtest/gtest.h>

#include "definitions/text_lookup.h"
#include "expression/interpreter.h"
#include "support/echo_messages.h"
#include "support/transcript.h"
#include "vm/exception.h"
#include "vm/number_text.h"

namespace quenmark {
namespace {

std::vector<std::string> RunSession(const std::vector<std::string>& inputs) {
    TCCInterpreter interpreter;
    std::vector<std::string> log;
    for (const std::string& input : inputs) {
        log.push_back(input.empty() ? ">" : "> " + input);
        try {
            interpreter.ProcessLine(input);
        } catch (const EINError& error) {
            interpreter.OutputLines().push_back(error.what());
        } catch (const std::exception& error) {
            if (interpreter.DebugMode())
                interpreter.OutputLines().push_back(std::string("Runtime error : ") + error.what());
            interpreter.OutputLines().push_back(GetText("INT999"));
        }
        for (const std::string& line : interpreter.OutputLines()) log.push_back(line);
        interpreter.OutputLines().clear();
    }
    return log;
}

class TranscriptTest : public ::testing::TestWithParam<std::string> {};

TEST_P(TranscriptTest, LogMatches) {
    const NumberSeparators saved = CurrentSeparators();
    SetCurrentSeparators({".", ","});
    testing::EchoMessages echo;
    const auto transcript = testing::ReadTranscript(std::string(QUENMARK_TEST_SCRIPTS_DIR) + "/" + GetParam());
    ASSERT_FALSE(transcript.Inputs.empty()) << "no input line in " << GetParam();
    EXPECT_EQ(RunSession(transcript.Inputs), transcript.Log);
    SetCurrentSeparators(saved);
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name;
    for (char c : info.param.substr(0, info.param.size() - 4)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Scripts, TranscriptTest,
                         ::testing::ValuesIn(testing::ListTranscripts(QUENMARK_TEST_SCRIPTS_DIR)), TestName);

}  // namespace
}  // namespace quenmark
