// Runs every transcript under tests/scripts: each case goes through a line
// session on a fresh interpreter, as both front ends run their lines, and
// the resulting log must equal the case line for line.
#include <gtest/gtest.h>

#include "base/context.h"
#include "expression/interpreter.h"
#include "support/echo_messages.h"
#include "support/transcript.h"
#include "support/transcript_session.h"

namespace quenmark {
namespace {

using testing::Transcript;

// Functions the transcripts call: TWICE(x), PAIR(a, b), NONE(), and
// FAIL(code), whose dispatcher answers with the code it is given.
int32_t TestDispatcher(const char* name, VMXValue* result, VMXValue* args, int32_t) {
    const std::string function = name;
    if (function == "NONE") {
        static char none[] = "none";
        result->ValueType = vmxString;
        result->StrValue = none;
        result->StrLength = 4;
        return 0;
    }
    if (function == "FAIL") return args[0].IntValue;
    const double first = args[0].ValueType == vmxInteger ? args[0].IntValue : args[0].RealValue;
    result->ValueType = vmxReal;
    result->RealValue = function == "TWICE" ? 2 * first : first * 10 + args[1].IntValue;
    return 0;
}

void AddTestFunctions(TCCInterpreter& interpreter) {
    auto& callables = interpreter.Callables();
    callables.RegisterFunction("Twice", TestDispatcher, "TWICE(x): x times two", 1);
    callables.RegisterFunction("Pair", TestDispatcher, "PAIR(a, b): a times ten plus b", 2);
    callables.RegisterFunction("None", TestDispatcher, "NONE(): the text none", 0);
    callables.RegisterFunction("Fail", TestDispatcher, "FAIL(code): answers with the code", 1);
    interpreter.Variables().RegisterConstant("K", Variant(int32_t{10}));
}

std::vector<std::string> RunCase(const TCCContext& context, const Transcript& transcript, bool withFunctions) {
    TCCInterpreter interpreter(context);
    if (withFunctions) AddTestFunctions(interpreter);
    return testing::RunThroughLineSession(interpreter, transcript.Inputs);
}

class TranscriptTest : public ::testing::TestWithParam<std::string> {};

TEST_P(TranscriptTest, LogMatches) {
    testing::EchoMessages echo;
    TCCContext context(NumberSeparators{".", ","});
    context.SetMessages(&echo);
    // Transcripts under functions/ see the test functions and the constant K.
    const bool withFunctions = GetParam().rfind("functions/", 0) == 0;
    const std::string path = std::string(QUENMARK_TEST_SCRIPTS_DIR) + "/" + GetParam();
    for (const Transcript& transcript : testing::ReadTranscriptCases(path)) {
        SCOPED_TRACE("case " + transcript.Name);
        ASSERT_FALSE(transcript.Inputs.empty()) << "no input line in " << GetParam();
        EXPECT_EQ(RunCase(context, transcript, withFunctions), transcript.Log);
    }
}

// Transcripts under functions/shipped/ need the shipped modules; the module
// tests run them.
std::vector<std::string> CoreTranscripts() {
    std::vector<std::string> names;
    for (std::string& name : testing::ListTranscripts(QUENMARK_TEST_SCRIPTS_DIR))
        if (name.rfind("functions/shipped/", 0) != 0) names.push_back(std::move(name));
    return names;
}

INSTANTIATE_TEST_SUITE_P(Scripts, TranscriptTest, ::testing::ValuesIn(CoreTranscripts()),
                         [](const auto& row) { return testing::TranscriptTestName(row.param); });

}  // namespace
}  // namespace quenmark
