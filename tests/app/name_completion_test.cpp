#include "app/name_completion.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/exception.h"
#include "expression/command_words.h"
#include "expression/interpreter.h"
#include "vm/module_list.h"

namespace quenmark {
namespace {

// An interpreter with the example module's ANSWER, TWICE and HELLO, a few
// functions and constants of its own and some variables.
class NameCompletionTest : public ::testing::Test {
protected:
    NameCompletionTest() {
        auto module = std::make_unique<TVMModule>(interpreter_.Context(), QUENMARK_EXAMPLE_MODULE_DIR, "sample.vmx");
        module->LoadConstants(interpreter_.Variables());
        module->LoadFunctions(interpreter_.Callables());
        modules_.Add(std::move(module));
        interpreter_.Callables().RegisterFunction("TAN", nullptr, "TAN(x): tangent", 1);
        interpreter_.Callables().RegisterFunction("Tick", nullptr, "TICK(): a counter", 0);
        interpreter_.Variables().RegisterConstant("TAU", Variant(6.25));
        for (const char* line : {"total = 12", "Tax = \"per cent\"", "tag2 = 1.5"}) interpreter_.ProcessLine(line);
        interpreter_.OutputLines().clear();
    }

    // "Kind Name|Insert|Description" of each candidate.
    std::vector<std::string> Offered(const std::string& line, size_t cursor) const {
        static const char* const Kinds[] = {"variable", "function", "constant", "command"};
        std::vector<std::string> offered;
        for (const TCompletionCandidate& c : completion_.CandidatesAt(line, cursor))
            offered.push_back(std::string(Kinds[static_cast<int>(c.Kind)]) + " " + c.Name + "|" + c.Insert + "|" +
                              c.Description);
        return offered;
    }

    TCCInterpreter interpreter_;
    TVMModuleList modules_;
    TNameCompletion completion_{interpreter_, &modules_};
};

constexpr size_t End = std::string::npos;

struct OfferRow {
    const char* Behaviour;
    std::string Line;
    size_t Cursor;
    std::vector<std::string> Expected;
};

TEST_F(NameCompletionTest, OffersTheNamesThatStartWithTheTypedText) {
    const OfferRow rows[] = {
        {"one letter offers nothing", "t", End, {}},
        {"variables, functions, constants; alphabetical in each; any case",
         "tA",
         End,
         {"variable tag2|tag2|1.5", "variable Tax|Tax|\"per cent\"", "function TAN|TAN(|TAN(x): tangent",
          "constant TAU|TAU|"}},
        {"a function without arguments gets both parentheses", "x = ti", End, {"function Tick|Tick()|TICK(): a counter"}},
        {"module texts describe functions and constants",
         "2 * an + tw",
         6,
         {"constant ANSWER|ANSWER|The answer"}},
        {"the name ends at the cursor", "tw + 1", 2, {"function TWICE|TWICE(|TWICE(x): x times 2"}},
        {"commands after @ at the start of the line", " @de", End,
         {"command @DEBUG|@DEBUG|INT106", "command @DEC|@DEC|INT104", "command @DELVAR|@DELVAR |INT102",
          "command @DELVARALL|@DELVARALL|INT102", "command @DESERT|@DESERT |INT103"}},
        {"@ and one letter", "@h", End, {"command @HEX|@HEX|INT104"}},
        {"the module listing", "@mo", End, {"command @MOD|@MOD|INT101", "command @MODULES|@MODULES|INT101"}},
        {"@ alone offers nothing", "@", End, {}},
        {"no command in the middle of a line", "x = @he", End, {}},
        {"nothing inside a string", "\"ta", End, {}},
        {"nothing in a number", "0xta", End, {}},
        {"nothing that matches", "zz", End, {}},
    };
    for (const OfferRow& row : rows)
        EXPECT_EQ(Offered(row.Line, row.Cursor == End ? row.Line.size() : row.Cursor), row.Expected) << row.Behaviour;
}

// Only texts that come from a module are marked as the module's, so that the
// window can say they are in English.
TEST_F(NameCompletionTest, OnlyModuleTextsAreMarkedAsTheModules) {
    interpreter_.ProcessLine("tail(x) = x");
    std::vector<std::string> marked;
    for (const TCompletionCandidate& c : completion_.CandidatesAt("ta", End))
        if (c.DescribedByModule) marked.push_back(c.Name);
    EXPECT_EQ(marked, (std::vector<std::string>{"TAN", "TAU"}));
}

TEST_F(NameCompletionTest, EveryOfferedCommandIsOneTheInterpreterKnows) {
    for (const TCompletionCandidate& command : completion_.Candidates("@")) FAIL() << command.Name;
    for (char first = 'A'; first <= 'Z'; ++first) {
        for (const TCompletionCandidate& command : completion_.Candidates(std::string("@") + first)) {
            try {
                interpreter_.ProcessLine(command.Name);
            } catch (const EINError& error) {
                // Without its argument a command fails for that, not for an unknown word.
                EXPECT_EQ(std::string(error.what()), "INT111") << command.Name;
            }
        }
    }
}

TEST_F(NameCompletionTest, EveryCommandWordIsOfferedWithItsHelpLine) {
    for (const TCommandWord& command : CommandWords()) {
        const std::string name = std::string("@") + command.Word;
        bool offered = false;
        for (const TCompletionCandidate& candidate : completion_.Candidates(name)) {
            if (candidate.Name != name) continue;
            offered = true;
            EXPECT_EQ(candidate.Insert, command.TakesArgument ? name + " " : name);
            EXPECT_EQ(candidate.Description, command.HelpCode);
        }
        EXPECT_TRUE(offered) << name;
    }
}

struct ApplyRow {
    const char* Behaviour;
    std::string Line;
    size_t Cursor;
    TCompletionCandidate Candidate;
    std::string Text;
    size_t NewCursor;
};

TEST(ApplyCandidateTest, ReplacesTheTypedName) {
    const TCompletionCandidate sin{TCandidateKind::Function, "SIN", "SIN(", ""};
    const TCompletionCandidate now{TCandidateKind::Function, "NOW", "NOW()", ""};
    const TCompletionCandidate format{TCandidateKind::Command, "@FORMAT", "@FORMAT ", ""};
    const ApplyRow rows[] = {
        {"at the end", "x = si", 6, sin, "x = SIN(", 8},
        {"before text", "si + 1", 2, sin, "SIN( + 1", 4},
        {"a parenthesis there is not doubled", "si(2)", 2, sin, "SIN(2)", 4},
        {"nor for a function without arguments", "no()", 2, now, "NOW()", 4},
        {"a call without arguments is complete", "no", 2, now, "NOW()", 5},
        {"a command with its @", "@fo", 3, format, "@FORMAT ", 8},
    };
    for (const ApplyRow& row : rows) {
        const TCompletedLine completed = ApplyCandidate(row.Line, row.Cursor, row.Candidate);
        EXPECT_EQ(completed.Text, row.Text) << row.Behaviour;
        EXPECT_EQ(completed.Cursor, row.NewCursor) << row.Behaviour;
    }
}

}  // namespace
}  // namespace quenmark

namespace quenmark {
namespace {

// The user's functions and the program's own are offered with the module
// functions, a user function described by its definition.
TEST(UserFunctionCompletionTest, OffersFunctionsOfTheUserAndThePrograms) {
    TCCInterpreter interpreter;
    interpreter.BuiltinFunctions().Register("CONVERT", 3, "CONVERT(value, from, to)",
                                            [](std::span<const Variant>) { return Variant(int32_t{0}); });
    interpreter.ProcessLine("cube(x) = x * x * x");
    interpreter.ProcessLine("cuckoo() = 1");
    const TNameCompletion completion(interpreter, nullptr);
    std::vector<std::string> offered;
    for (const TCompletionCandidate& c : completion.CandidatesAt("cu", std::string::npos))
        offered.push_back(c.Name + "|" + c.Insert + "|" + c.Description);
    EXPECT_EQ(offered, (std::vector<std::string>{"cube|cube(|cube(x) = x * x * x", "cuckoo|cuckoo()|cuckoo() = 1"}));
    offered.clear();
    for (const TCompletionCandidate& c : completion.CandidatesAt("CON", std::string::npos)) offered.push_back(c.Name);
    EXPECT_EQ(offered, std::vector<std::string>{"CONVERT"});
}

}  // namespace
}  // namespace quenmark
