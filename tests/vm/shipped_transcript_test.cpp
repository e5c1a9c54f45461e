// Runs the transcripts under tests/scripts/functions/shipped: each goes
// through one session with the shipped modules loaded, and the resulting log
// must equal the file line for line.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "module_test_support.h"
#include "support/echo_messages.h"
#include "support/transcript.h"

namespace quenmark {
namespace {

const std::string ShippedScripts = std::string(QUENMARK_TEST_SCRIPTS_DIR) + "/functions/shipped";

class ShippedTranscriptTest : public ::testing::TestWithParam<std::string> {
protected:
    // The session shows numbers with "."; the text module reads the locale's
    // separator itself, so the locale must agree.
    static void SetUpTestSuite() { setenv("LC_ALL", "C", 1); }
};

TEST_P(ShippedTranscriptTest, LogMatches) {
    testing::EchoMessages echo;
    const auto transcript = testing::ReadTranscript(ShippedScripts + "/" + GetParam());
    ASSERT_FALSE(transcript.Inputs.empty()) << "no input line in " << GetParam();
    testing::ModuleSession session(testing::ProgramModuleDirectory());
    std::vector<std::string> log;
    for (const std::string& input : transcript.Inputs) {
        log.push_back("> " + input);
        for (const std::string& line : session.Run(input)) log.push_back(line);
    }
    EXPECT_EQ(log, transcript.Log);
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name;
    for (char c : info.param.substr(0, info.param.size() - 4)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Scripts, ShippedTranscriptTest, ::testing::ValuesIn(testing::ListTranscripts(ShippedScripts)),
                         TestName);

}  // namespace
}  // namespace quenmark
