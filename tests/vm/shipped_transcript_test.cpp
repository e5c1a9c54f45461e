// Runs the transcripts under tests/scripts/functions/shipped: each case goes
// through a line session on an interpreter with the shipped modules loaded,
// and the resulting log must equal the case line for line.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "module_test_support.h"
#include "support/echo_messages.h"
#include "support/transcript.h"
#include "support/transcript_session.h"

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
    for (const testing::Transcript& transcript : testing::ReadTranscriptCases(ShippedScripts + "/" + GetParam())) {
        SCOPED_TRACE("case " + transcript.Name);
        ASSERT_FALSE(transcript.Inputs.empty()) << "no input line in " << GetParam();
        testing::ModuleSession modules(testing::ProgramModuleDirectory());
        EXPECT_EQ(testing::RunThroughLineSession(modules.Interpreter, transcript.Inputs), transcript.Log);
    }
}

INSTANTIATE_TEST_SUITE_P(Scripts, ShippedTranscriptTest, ::testing::ValuesIn(testing::ListTranscripts(ShippedScripts)),
                         [](const auto& row) { return testing::TranscriptTestName(row.param); });

}  // namespace
}  // namespace quenmark
