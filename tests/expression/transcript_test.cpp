// Runs every transcript under tests/scripts: each input line goes through a
// fresh interpreter the way the log window does it, and the resulting log
// must equal the file line for line.
#include <gtest/gtest.h>

#include "base/text_lookup.h"
#include "expression/interpreter.h"
#include "support/echo_messages.h"
#include "support/transcript.h"
#include "base/exception.h"
#include "vm/number_text.h"

namespace quenmark {
namespace {

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

std::vector<std::string> RunSession(const std::vector<std::string>& inputs, bool withFunctions) {
    TCCInterpreter interpreter;
    if (withFunctions) AddTestFunctions(interpreter);
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
    // Transcripts under functions/ see the test functions and the constant K.
    const bool withFunctions = GetParam().rfind("functions/", 0) == 0;
    EXPECT_EQ(RunSession(transcript.Inputs, withFunctions), transcript.Log);
    SetCurrentSeparators(saved);
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name;
    for (char c : info.param.substr(0, info.param.size() - 4)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

// Transcripts under functions/shipped/ need the shipped modules; the module
// tests run them.
std::vector<std::string> CoreTranscripts() {
    std::vector<std::string> names;
    for (std::string& name : testing::ListTranscripts(QUENMARK_TEST_SCRIPTS_DIR))
        if (name.rfind("functions/shipped/", 0) != 0) names.push_back(std::move(name));
    return names;
}

INSTANTIATE_TEST_SUITE_P(Scripts, TranscriptTest, ::testing::ValuesIn(CoreTranscripts()), TestName);

}  // namespace
}  // namespace quenmark
