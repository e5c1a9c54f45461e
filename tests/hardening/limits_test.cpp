// Limits that keep one line from taking the program down: nesting beyond
// the parser's limit is refused with INT049 before the native stack runs
// out, and a line of 1000 characters of any content finishes promptly.
#include <gtest/gtest.h>
#include <pthread.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "expression/expression_parser.h"
#include "loaded_calculator.h"

namespace quenmark {
namespace {

constexpr int Limit = TCCExpressionParser::MaxNesting;

std::string Repeat(const std::string& part, size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) text += part;
    return text;
}

// A form of nesting: builds a line that nests depth levels below the top
// level of the line, and tells the result of the line where it runs.
struct NestingForm {
    const char* Behaviour;
    std::function<std::string(size_t depth)> Line;
    std::function<std::string(size_t depth)> Result;
};

const std::vector<NestingForm>& NestingForms() {
    static const std::vector<NestingForm> forms = {
        {"parentheses", [](size_t n) { return Repeat("(", n) + "7" + Repeat(")", n); },
         [](size_t) { return std::string("7"); }},
        {"prefix minus", [](size_t n) { return Repeat("-", n) + "7"; },
         [](size_t n) { return std::string(n % 2 ? "-7" : "7"); }},
        {"prefix plus", [](size_t n) { return Repeat("+", n) + "7"; }, [](size_t) { return std::string("7"); }},
        {"prefix not", [](size_t n) { return Repeat("!", n) + "7"; },
         [](size_t n) { return std::string(n % 2 ? "-8" : "7"); }},
        {"assignments", [](size_t n) { return Repeat("a=", n) + "7"; }, [](size_t) { return std::string("7"); }},
        {"function arguments", [](size_t n) { return Repeat("INT(", n) + "7.5" + Repeat(")", n); },
         [](size_t n) { return std::string(n ? "7" : "7.5"); }},
        {"arguments after a comma", [](size_t n) { return Repeat("MAX(0,", n) + "7" + Repeat(")", n); },
         [](size_t) { return std::string("7"); }},
    };
    return forms;
}

TEST(NestingLimitTest, EveryFormNestsUpToTheLimit) {
    for (const NestingForm& form : NestingForms()) {
        LoadedCalculator calculator;
        const size_t deepest = Limit - 1;  // the line's own level is the first
        EXPECT_EQ(calculator.Run(form.Line(deepest)), std::vector<std::string>{form.Result(deepest)})
            << form.Behaviour;
    }
}

TEST(NestingLimitTest, OneLevelBeyondTheLimitIsRefused) {
    for (const NestingForm& form : NestingForms()) {
        LoadedCalculator calculator;
        EXPECT_EQ(calculator.Run(form.Line(Limit)), std::vector<std::string>{"INT049"}) << form.Behaviour;
        EXPECT_EQ(calculator.Run("1 + 1"), std::vector<std::string>{"2"}) << form.Behaviour << ": usable afterwards";
    }
}

TEST(NestingLimitTest, FarBeyondTheLimitIsRefusedWithoutExhaustingTheStack) {
    for (const NestingForm& form : NestingForms()) {
        LoadedCalculator calculator;
        EXPECT_EQ(calculator.Run(form.Line(200000)), std::vector<std::string>{"INT049"}) << form.Behaviour;
    }
    LoadedCalculator calculator;
    EXPECT_EQ(calculator.Run(Repeat("(-", 100000) + "1"), std::vector<std::string>{"INT049"}) << "mixed forms";
}

// Runs the deepest line of every form on a thread whose stack is far
// smaller than a process's main stack, so the limit keeps a wide margin.
void* RunDeepestLines(void* failures) {
    for (const NestingForm& form : NestingForms()) {
        LoadedCalculator calculator;
        if (calculator.Run(form.Line(Limit - 1)) != std::vector<std::string>{form.Result(Limit - 1)})
            static_cast<std::vector<std::string>*>(failures)->push_back(form.Behaviour);
    }
    return nullptr;
}

TEST(NestingLimitTest, TheDeepestLinesFitInASmallStack) {
#if defined(__SANITIZE_ADDRESS__)
    constexpr size_t StackSize = 4 << 20;  // the sanitizer's red zones widen every frame
#else
    constexpr size_t StackSize = 1 << 20;
#endif
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, StackSize);
    std::vector<std::string> failures;
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, &attributes, RunDeepestLines, &failures), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
    EXPECT_TRUE(failures.empty()) << failures.front();
}

// Lines of exactly 1000 characters built to be expensive: long literals,
// long runs of one operator, long names and texts, blanks, control and
// high bytes, and commands with long arguments.
struct WorstLine {
    const char* Behaviour;
    std::string Line;
};

std::string Fill(const std::string& head, const std::string& part, const std::string& tail) {
    std::string line = head;
    while (line.size() + part.size() + tail.size() <= 1000) line += part;
    line += tail;
    line.resize(1000, ' ');
    return line;
}

std::vector<WorstLine> WorstLines() {
    std::string allBytes;
    for (int i = 0; i < 1000; ++i) allBytes += static_cast<char>(1 + i % 255);
    std::string highBytes;
    for (int i = 0; i < 1000; ++i) highBytes += static_cast<char>(0x80 + i % 128);
    return {
        {"decimal digits", Fill("", "9", "")},
        {"fraction digits", Fill("0.", "0", "1")},
        {"exponent digits", Fill("1e", "9", "")},
        {"hexadecimal digits", Fill("0x", "F", "")},
        {"octal digits", Fill("0", "7", "")},
        {"opening parentheses", Fill("", "(", "")},
        {"closing parentheses", Fill("", ")", "")},
        {"prefix minus", Fill("", "-", "1")},
        {"sums", Fill("1", "+1", "")},
        {"products of reals", Fill("1.5", "*1.5", "")},
        {"powers", Fill("2", "^2", "")},
        {"module power operator", Fill("2", "**2", "")},
        {"module remainder word", Fill("7", " mod 3", "")},
        {"divisions by zero", Fill("1", "/0", "")},
        {"shifts", Fill("1", "<<31", "")},
        {"assignments", Fill("", "a=", "1")},
        {"function calls", Fill("", "SIN(", "1")},
        {"string literal", Fill("\"", "x", "\"")},
        {"unterminated string", Fill("\"", "x", "")},
        {"doubled quotes", Fill("\"", "\"\"", "\"")},
        {"string sums", Fill("\"ab\"", "+\"ab\"", "")},
        {"long name", Fill("", "a", "")},
        {"commas", Fill("", ",", "")},
        {"blanks", Fill("", " ", "")},
        {"at marks", Fill("", "@", "")},
        {"format with a long mask", Fill("@FORMAT \"", "#,##0.00;", "\"")},
        {"format with long text", Fill("@FORMAT \"", "x", "\"")},
        {"delete a long name", Fill("@DELVAR ", "z", "")},
        {"every byte", allBytes},
        {"high bytes", highBytes},
    };
}

TEST(LineLengthTest, WorstLinesOfAThousandCharactersFinishPromptly) {
    // Orders of magnitude above the real cost, so that only runaway work
    // (work growing faster than the line) fails even on a loaded machine
    // with the sanitizers on.
    constexpr auto Bound = std::chrono::seconds(1);
    const char* const modes[] = {"@DEC", "@HEX", "@OCT", "@BIN"};
    for (const WorstLine& worst : WorstLines()) {
        ASSERT_EQ(worst.Line.size(), 1000u) << worst.Behaviour;
        for (bool debug : {false, true}) {
            for (const char* mode : modes) {
                LoadedCalculator calculator;
                calculator.Run(mode);
                if (debug) calculator.Run("@DEBUG");
                calculator.Run("@FORMAT \"#,##0.00\"");
                const auto start = std::chrono::steady_clock::now();
                calculator.Run(worst.Line);
                calculator.Run("v = 1");
                calculator.Run("v");
                const auto elapsed = std::chrono::steady_clock::now() - start;
                EXPECT_LT(elapsed, Bound) << worst.Behaviour << " in " << mode << (debug ? " with the trace" : "");
            }
        }
    }
}

}  // namespace
}  // namespace quenmark
