#include "expression/expression_parser.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/context.h"
#include "vm/command.h"
#include "base/exception.h"
#include "vm/cal_vm.h"
#include "vm/line_interrupt.h"

namespace quenmark {
namespace {

// Expected listings, built from the instruction texts of the listing.
struct Code {
    std::vector<std::string> Lines;
};

Code operator+(Code left, const Code& right) {
    left.Lines.insert(left.Lines.end(), right.Lines.begin(), right.Lines.end());
    return left;
}

Code Push(const std::string& constant) { return {{"PUSH\t" + constant}}; }
Code PushVar(const std::string& name) { return {{"PUSH\tVariable('" + name + "')"}}; }
Code PopVar(const std::string& name) { return {{"POP\tVariable('" + name + "')"}}; }
Code Binary(const std::string& op) { return {{"POP\tCX", "POP\tBX", op + "\tAX,  \tBX, \tCX", "PUSH\tAX"}}; }
Code Unary(const std::string& op) { return {{"POP\tBX", op + "\tAX,  \tBX", "PUSH\tAX"}}; }
Code Power() { return {{"ICALL\tInternalRoutine('POWER')"}}; }
Code Call(const std::string& name) { return {{"CALL\tCallable('" + name + "')"}}; }
Code Ret() { return {{"RET"}}; }

int32_t DummyDispatcher(const char*, VMXValue*, VMXValue*, int32_t) { return 0; }

// Operators that only modules provide: "**" power, "\" remainder and "?"
// factorial (which the parser has no place for).
class ModuleOperators : public ModuleTokenSource {
public:
    bool ReadToken(std::string_view rest, size_t& consumed, TCCToken& token) override {
        struct Rule {
            std::string_view Text;
            TokenKind Kind;
        };
        static constexpr Rule rules[] = {
            {"**", TokenKind::Power}, {"\\", TokenKind::Surplus}, {"?", TokenKind::Factorial}};
        for (const Rule& rule : rules) {
            if (!rest.starts_with(rule.Text)) continue;
            consumed = rule.Text.size();
            token.Set(rule.Text, TokenKinds{TokenKind::Operator, rule.Kind});
            return true;
        }
        return false;
    }
};

// A catalogue whose texts show the code and its argument, so that tests see
// which name an error reports.
class CodeAndArgument : public MessageSource {
public:
    std::optional<std::string> Text(std::string_view) const override { return std::nullopt; }
    std::optional<std::string> TextWith(std::string_view code, std::string_view argument) const override {
        return std::string(code) + " " + std::string(argument);
    }
};

// A fresh parser with its tables, as the interpreter sets them up, in a
// context whose messages show the code and the argument.
struct Session {
    Session() {
        context.SetMessages(&messages);
        tokenizer.SetModuleTokenSource(&moduleOperators);
        callables.Add(std::make_unique<TVMCallable>("Rnd", DummyDispatcher, "", 0));
        callables.Add(std::make_unique<TVMCallable>("Sqr", DummyDispatcher, "", 1));
        callables.Add(std::make_unique<TVMCallable>("Max", DummyDispatcher, "", 2));
        callables.Add(std::make_unique<TVMCallable>("TWIN", DummyDispatcher, "", 1));
        variables.Add("Pi", Variant(3.0), true, true);
        variables.Add("Locked", Variant(int32_t{7}), false, true);
        variables.Add("Abc", Variant(int32_t{1}));
        variables.Add("Twin", Variant(int32_t{2}));
    }

    // Compiles the line; returns the error message, or nothing on success.
    std::optional<std::string> Compile(const std::string& line) {
        tokenizer.SetText(line);
        try {
            parser.Compile();
        } catch (const EINError& error) {
            return error.Message();
        }
        return std::nullopt;
    }

    std::vector<std::string> Listing() const {
        std::vector<std::string> lines;
        for (const TVMCommand& command : commands) lines.push_back(CommandText(command, context.Separators()));
        return lines;
    }

    CodeAndArgument messages;
    TCCContext context;
    ModuleOperators moduleOperators;
    TCCStringTokenizer tokenizer{context};
    TVMCommandList commands;
    TVMCallableList callables;
    TVMVariableList variables;
    TLineInterrupt interrupt;
    TCCExpressionParser parser{tokenizer, commands, callables, variables, interrupt};
};

class ExpressionParserTest : public ::testing::Test {};

struct ShapeRow {
    const char* Behaviour;
    std::string Line;
    Code Expected;
};

void ExpectListings(const std::vector<ShapeRow>& rows) {
    for (const ShapeRow& row : rows) {
        SCOPED_TRACE(std::string(row.Behaviour) + ": " + row.Line);
        Session session;
        EXPECT_EQ(session.Compile(row.Line), std::nullopt);
        EXPECT_EQ(session.Listing(), row.Expected.Lines);
    }
}

TEST_F(ExpressionParserTest, OperandsCompileToPushes) {
    ExpectListings({
        {"integer literal", "5", Push("5") + Ret()},
        {"string literal", "\"ab\"", Push("ab") + Ret()},
        {"hexadecimal literal", "0xFF", Push("255") + Ret()},
        {"variable as typed", "abc", PushVar("abc") + Ret()},
        {"parenthesised operand", "((7))", Push("7") + Ret()},
    });
}

TEST_F(ExpressionParserTest, BinaryOperatorsUseRegistersInPostfixOrder) {
    ExpectListings({
        {"addition", "1 + 2", Push("1") + Push("2") + Binary("ADD") + Ret()},
        {"subtraction", "1 - 2", Push("1") + Push("2") + Binary("SUB") + Ret()},
        {"multiplication", "1 * 2", Push("1") + Push("2") + Binary("MUL") + Ret()},
        {"division", "1 / 2", Push("1") + Push("2") + Binary("DIV") + Ret()},
        {"integer division", "7 % 2", Push("7") + Push("2") + Binary("IDV") + Ret()},
        {"module remainder", "7 \\ 2", Push("7") + Push("2") + Binary("MOD") + Ret()},
        {"and", "1 & 2", Push("1") + Push("2") + Binary("AND") + Ret()},
        {"or", "1 | 2", Push("1") + Push("2") + Binary("OR") + Ret()},
        {"exclusive or", "1 ^ 2", Push("1") + Push("2") + Binary("XOR") + Ret()},
        {"module power", "2 ** 3", Push("2") + Push("3") + Power() + Ret()},
    });
}

TEST_F(ExpressionParserTest, PrecedenceAndAssociativity) {
    ExpectListings({
        {"product before sum", "1 + 2 * 3",
         Push("1") + Push("2") + Push("3") + Binary("MUL") + Binary("ADD") + Ret()},
        {"parentheses first", "(1 + 2) * 3",
         Push("1") + Push("2") + Binary("ADD") + Push("3") + Binary("MUL") + Ret()},
        {"sum before logic", "1 + 2 & 3",
         Push("1") + Push("2") + Binary("ADD") + Push("3") + Binary("AND") + Ret()},
        {"logic after sum on the right", "1 | 2 - 3",
         Push("1") + Push("2") + Push("3") + Binary("SUB") + Binary("OR") + Ret()},
        {"logic operators share a level", "1 & 2 ^ 3",
         Push("1") + Push("2") + Binary("AND") + Push("3") + Binary("XOR") + Ret()},
        {"subtraction is left-associative", "1 - 2 - 3",
         Push("1") + Push("2") + Binary("SUB") + Push("3") + Binary("SUB") + Ret()},
        {"division is left-associative", "8 / 4 % 2",
         Push("8") + Push("4") + Binary("DIV") + Push("2") + Binary("IDV") + Ret()},
        {"power before product", "2 * 3 ** 2",
         Push("2") + Push("3") + Push("2") + Power() + Binary("MUL") + Ret()},
        {"power is left-associative", "2 ** 3 ** 2",
         Push("2") + Push("3") + Power() + Push("2") + Power() + Ret()},
        {"prefix before power", "-2 ** 2", Push("2") + Unary("INV") + Push("2") + Power() + Ret()},
        {"prefix before product", "-2 * 3", Push("2") + Unary("INV") + Push("3") + Binary("MUL") + Ret()},
        {"prefix on a right operand", "1 - -2", Push("1") + Push("2") + Unary("INV") + Binary("SUB") + Ret()},
    });
}

TEST_F(ExpressionParserTest, PrefixOperators) {
    ExpectListings({
        {"plus moves", "+5", Push("5") + Unary("MOVE") + Ret()},
        {"minus inverts", "-5", Push("5") + Unary("INV") + Ret()},
        {"not complements", "!0", Push("0") + Unary("NOT") + Ret()},
        {"minus repeats", "--5", Push("5") + Unary("INV") + Unary("INV") + Ret()},
        {"mixed prefixes, innermost first", "-!0", Push("0") + Unary("NOT") + Unary("INV") + Ret()},
        {"minus of a parenthesis", "-(1)", Push("1") + Unary("INV") + Ret()},
    });
}

TEST_F(ExpressionParserTest, AssignmentsAndCalls) {
    ExpectListings({
        {"assignment of a sum", "x = 2 + 3 * 4",
         {{"PUSH\t2", "PUSH\t3", "PUSH\t4", "POP\tCX", "POP\tBX", "MUL\tAX,  \tBX, \tCX", "PUSH\tAX", "POP\tCX",
           "POP\tBX", "ADD\tAX,  \tBX, \tCX", "PUSH\tAX", "POP\tVariable('x')", "PUSH\tVariable('x')", "RET"}}},
        {"chained assignment is right-associative", "a = b = 3",
         Push("3") + PopVar("b") + PushVar("b") + PopVar("a") + PushVar("a") + Ret()},
        {"assignment inside parentheses", "(n = 1) + 2",
         Push("1") + PopVar("n") + PushVar("n") + Push("2") + Binary("ADD") + Ret()},
        {"new name readable on its right side", "y = y + 1",
         PushVar("y") + Push("1") + Binary("ADD") + PopVar("y") + PushVar("y") + Ret()},
        {"call without arguments", "rnd()", Call("Rnd") + Ret()},
        {"call with one argument", "sqr(1 + 2)", Push("1") + Push("2") + Binary("ADD") + Call("Sqr") + Ret()},
        {"arguments in written order", "max(1, 2)", Push("1") + Push("2") + Call("Max") + Ret()},
        {"nested calls", "max(sqr(4), rnd())", Push("4") + Call("Sqr") + Call("Rnd") + Call("Max") + Ret()},
        {"assignment as an argument", "sqr(k = 9)", Push("9") + PopVar("k") + PushVar("k") + Call("Sqr") + Ret()},
        {"call as an operand", "2 * sqr(3)", Push("2") + Push("3") + Call("Sqr") + Binary("MUL") + Ret()},
    });
}

TEST_F(ExpressionParserTest, LookupsIgnoreCaseAndKeepTheWrittenNames) {
    ExpectListings({
        {"reference keeps the typed spelling", "ABC + 1", PushVar("ABC") + Push("1") + Binary("ADD") + Ret()},
        {"assignment uses the stored spelling", "aBC = 2", Push("2") + PopVar("Abc") + PushVar("Abc") + Ret()},
        {"call uses the registered spelling", "mAX(1, 2)", Push("1") + Push("2") + Call("Max") + Ret()},
        {"variable hides a function", "twin", PushVar("twin") + Ret()},
        {"constant readable in any case", "PI", PushVar("PI") + Ret()},
    });
}

TEST_F(ExpressionParserTest, LiteralsKeepTheirValueKind) {
    struct Row {
        const char* Behaviour;
        std::string Line;
        Variant Expected;
    };
    const Row rows[] = {
        {"integer", "7", Variant(int32_t{7})},
        {"real", "2.5", Variant(2.5)},
        {"integral decimal stays integer", "1.0", Variant(int32_t{1})},
        {"string", "\"hi\"", Variant("hi")},
        {"binary", "0b101", Variant(int32_t{5})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Behaviour);
        Session session;
        ASSERT_EQ(session.Compile(row.Line), std::nullopt);
        ASSERT_EQ(session.commands.Count(), 2u);
        const TVMCommand& push = session.commands[0];
        EXPECT_EQ(push.Opcode, opPUSH);
        ASSERT_TRUE(push.Operand1.has_value());
        EXPECT_EQ(push.Operand1->Kind, okConstant);
        EXPECT_EQ(push.Operand1->Value, row.Expected);
    }
}

struct ErrorRow {
    const char* Behaviour;
    std::string Line;
    std::string Expected;
};

void ExpectErrors(const std::vector<ErrorRow>& rows) {
    for (const ErrorRow& row : rows) {
        SCOPED_TRACE(std::string(row.Behaviour) + ": " + row.Line);
        Session session;
        EXPECT_EQ(session.Compile(row.Line), row.Expected);
    }
}

TEST_F(ExpressionParserTest, MisplacedTokensAreSyntaxErrors) {
    ExpectErrors({
        {"operator at the end", "3 +", "INT001"},
        {"logic operator at the end", "3 &", "INT001"},
        {"power at the end", "2 **", "INT001"},
        {"remainder at the end", "7 \\", "INT001"},
        {"lone minus", "-", "INT001"},
        {"prefix after an operator at the end", "1 + !", "INT001"},
        {"closing parenthesis as operand", ")", "INT001"},
        {"comma as operand", ",", "INT001"},
        {"star as operand", "*", "INT001"},
        {"two operators", "1 * * 2", "INT001"},
        {"bracket as operand", "[1]", "INT001"},
        {"sharp as operand", "#", "INT001"},
        {"empty parentheses", "()", "INT001"},
        {"operand expected after an operator", "1 + )", "INT001"},
        {"two operands", "1 2", "INT001"},
        {"shift left has no level", "1 << 2", "INT001"},
        {"shift right has no level", "1 >> 2", "INT001"},
        {"shift where an operand is expected", "<< 1", "INT001"},
        {"factorial has no level", "3 ?", "INT001"},
        {"closing bracket left over", "1 ]", "INT001"},
        {"unbalanced closing parenthesis", "1 )", "INT001"},
        {"variable followed by a parenthesis", "twin(1)", "INT001"},
        {"missing argument of a one-parameter function", "sqr()", "INT001"},
        {"missing argument after a comma", "max(1, )", "INT001"},
    });
}

TEST_F(ExpressionParserTest, StructuralErrors) {
    ExpectErrors({
        {"nothing after the equal sign", "x =", "INT040"},
        {"only blanks after the equal sign", "x =   ", "INT040"},
        {"missing closing parenthesis", "(1 + 2", "INT043"},
        {"comma in parentheses", "(1, 2)", "INT043"},
        {"lone opening parenthesis", "(", "INT043"},
        {"one of two closing parentheses", "((1)", "INT043"},
        {"unclosed call", "sqr(1", "INT043"},
        {"unclosed call after the last argument", "max(1, 2", "INT043"},
        {"second operand where the call should end", "sqr(1 2)", "INT043"},
        {"argument to a function without parameters", "rnd(1)", "INT043"},
        {"missing comma between arguments", "max(1 2)", "INT046"},
        {"line ends where a comma is due", "max(1", "INT046"},
        {"too few arguments", "max(1)", "INT047 Max"},
        {"too many arguments", "max(1, 2, 3)", "INT047 Max"},
        {"trailing comma", "sqr(1,)", "INT047 Sqr"},
        {"comma in a call without parameters", "rnd(,)", "INT047 Rnd"},
    });
}

TEST_F(ExpressionParserTest, NameErrorsReportTheRightSpelling) {
    ExpectErrors({
        {"unknown name as typed", "1 + FoO", "INT044 FoO"},
        {"unknown name that looks like a call", "foo(1)", "INT044 foo"},
        {"function without parenthesis", "sqr 1", "INT045 Sqr"},
        {"function name alone", "SQR", "INT045 Sqr"},
        {"function without parameters needs parentheses", "rnd", "INT045 Rnd"},
        {"function name as a right operand", "1 + max", "INT045 Max"},
        {"assignment to a function, typed spelling", "sQr = 1", "INT041 sQr"},
        {"function checked before a variable of the same name", "twin = 1", "INT041 twin"},
        {"assignment to a constant, stored spelling", "PI = 1", "INT042 Pi"},
        {"constant checked before protection", "pi = pi", "INT042 Pi"},
        {"assignment to a protected variable", "locked = 1", "INT048 Locked"},
        {"protected variable inside a right side", "a = locked = 2", "INT048 Locked"},
    });
}

TEST_F(ExpressionParserTest, LexicalErrorsPassThrough) {
    ExpectErrors({
        {"unfinished hexadecimal literal", "1 + 0x", "INT003"},
        {"unclosed string", "s = 1 + \"abc", "INT013"},
        {"dot at the start of a number", "2 * .5", "INT008"},
    });
}

TEST_F(ExpressionParserTest, WithoutCatalogueTheMessageIsTheBareCode) {
    Session session;
    session.context.SetMessages(nullptr);
    EXPECT_EQ(session.Compile("nothing"), "INT044");
    EXPECT_EQ(session.Compile("max(1)"), "INT047");
}

TEST_F(ExpressionParserTest, AssignmentCreatesItsVariableOnlyWhenTheLineCompiles) {
    struct Row {
        const char* Behaviour;
        std::string Line;
        std::optional<std::string> Error;
        std::string Name;
        bool Created;
    };
    const Row rows[] = {
        {"successful assignment", "y = y + 1", std::nullopt, "y", true},
        {"right side fails to parse", "z = )", "INT001", "z", false},
        {"right side ends after an operator", "w = 1 +", "INT001", "w", false},
        {"right side names an unknown variable", "q = nothing", "INT044 nothing", "q", false},
        {"inner assignment of a failing chain", "a = b = )", "INT001", "b", false},
        {"outer assignment of a failing chain", "a = b = )", "INT001", "a", false},
        {"nothing after the equal sign", "x =", "INT040", "x", false},
        {"function name", "sqr = 1", "INT041 sqr", "sqr", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.Behaviour) + ": " + row.Line);
        Session session;
        const size_t before = session.variables.Count();
        EXPECT_EQ(session.Compile(row.Line), row.Error);
        const TVMVariable* variable = session.variables.Find(row.Name);
        ASSERT_EQ(variable != nullptr, row.Created);
        if (!row.Created) {
            EXPECT_EQ(session.variables.Count(), before);
            continue;
        }
        EXPECT_EQ(variable->Name, row.Name);
        EXPECT_EQ(variable->Value, Variant(int32_t{0}));
        EXPECT_FALSE(variable->IsConstant);
        EXPECT_FALSE(variable->IsProtected);
    }
}

TEST_F(ExpressionParserTest, AssignmentToAnExistingNameCreatesNothing) {
    Session session;
    const size_t before = session.variables.Count();
    ASSERT_EQ(session.Compile("abc = 5"), std::nullopt);
    ASSERT_EQ(session.Compile("PI = 5"), "INT042 Pi");
    ASSERT_EQ(session.Compile("Locked = 5"), "INT048 Locked");
    EXPECT_EQ(session.variables.Count(), before);
    EXPECT_EQ(session.variables.Find("abc")->Value, Variant(int32_t{1}));  // compiling runs nothing
}

TEST_F(ExpressionParserTest, CompileAppendsAndKeepsCodeBeforeAnError) {
    Session session;
    session.commands.Emit(opNOP);
    EXPECT_EQ(session.Compile("1 + 2 3"), "INT001");
    EXPECT_EQ(session.Listing(), (Code{{"NOP"}} + Push("1") + Push("2") + Binary("ADD")).Lines);
}

TEST_F(ExpressionParserTest, NextLineCompilesCleanlyAfterAFailure) {
    Session session;
    EXPECT_EQ(session.Compile("(((("), "INT043");
    EXPECT_EQ(session.Compile(std::string(1000, '(')), "INT049");
    session.commands.Clear();
    EXPECT_EQ(session.Compile("1 + 2"), std::nullopt);
    EXPECT_EQ(session.Listing(), (Push("1") + Push("2") + Binary("ADD") + Ret()).Lines);
}

TEST_F(ExpressionParserTest, NestingIsBoundedInsteadOfExhaustingTheStack) {
    const int limit = TCCExpressionParser::MaxNesting;
    // The whole line is one level; each parenthesis or prefix adds one.
    const auto parenthesised = [](int depth) {
        return std::string(static_cast<size_t>(depth), '(') + "1" + std::string(static_cast<size_t>(depth), ')');
    };
    const auto negated = [](int depth) { return std::string(static_cast<size_t>(depth), '-') + "1"; };
    struct Row {
        const char* Behaviour;
        std::string Line;
        std::optional<std::string> Error;
    };
    const Row rows[] = {
        {"parentheses up to the limit", parenthesised(limit - 1), std::nullopt},
        {"parentheses beyond the limit", parenthesised(limit), "INT049"},
        {"prefixes up to the limit", negated(limit - 1), std::nullopt},
        {"prefixes beyond the limit", negated(limit), "INT049"},
        {"far too many parentheses", std::string(200000, '('), "INT049"},
        {"far too many prefixes", std::string(200000, '!') + "1", "INT049"},
        {"far too many nested calls", [] {
             std::string line;
             for (int i = 0; i < 100000; ++i) line += "sqr(";
             return line;
         }(), "INT049"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Behaviour);
        Session session;
        EXPECT_EQ(session.Compile(row.Line), row.Error);
    }
}

TEST_F(ExpressionParserTest, DeepButAllowedNestingCompilesCompletely) {
    Session session;
    const size_t depth = 100;
    ASSERT_EQ(session.Compile(std::string(depth, '-') + "(7)"), std::nullopt);
    // One push, three instructions per prefix, the return.
    EXPECT_EQ(session.commands.Count(), 1 + 3 * depth + 1);
    EXPECT_EQ(CommandText(session.commands[0], session.context.Separators()), "PUSH\t7");
}

// A line of literals and operators is worked out while it compiles; its
// value must be what running its code gives. Anything that needs the code
// to run, and any operation that fails there, leaves the line unfolded.
TEST_F(ExpressionParserTest, FoldedValuesAreWhatTheCodeGives) {
    const auto deepStack = [] {
        // Three pending operands per parenthesis: more than the machine's
        // stack holds, within the nesting the parser allows.
        std::string line;
        for (int i = 0; i < 400; ++i) line += "1|1+1*(";
        return line + "1" + std::string(400, ')');
    }();
    struct Row {
        const char* Behaviour;
        std::string Line;
        bool Folded;
    };
    const std::vector<Row> rows = {
        {"integer arithmetic", "12345*678+9", true},
        {"integer overflow becomes Real", "2147483647+1", true},
        {"division", "7/2", true},
        {"prefix operators", "-(3-5) + +4 - !0", true},
        {"strings", "\"ab\" + \"cd\"", true},
        {"radix literals and bit operators", "0xFF & 0b1010 | 017 ^ 3", true},
        {"module operator of the machine", "7 \\ 2", true},
        {"division by zero fails when run", "1/0", false},
        {"variable", "abc + 1", false},
        {"call", "Sqr(4)", false},
        {"assignment", "x = 3", false},
        {"power routine", "2**3", false},
        {"deeper than the machine's stack", deepStack, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Behaviour);
        Session session;
        ASSERT_EQ(session.Compile(row.Line), std::nullopt);
        const Variant* folded = session.parser.FoldedValue();
        EXPECT_EQ(folded != nullptr, row.Folded);
        TCalVM machine(session.context, session.variables, session.commands, session.callables);
        try {
            machine.Run();
        } catch (const EVMError&) {
            EXPECT_FALSE(row.Folded);
            continue;
        }
        if (folded) {
            EXPECT_TRUE(*folded == machine.Pop());
        }
    }
}

// A line to be abandoned is left to the machine, which reports it.
TEST_F(ExpressionParserTest, AnInterruptedLineIsNotFolded) {
    Session session;
    session.interrupt.Request();
    EXPECT_EQ(session.Compile("1+2"), std::nullopt);
    session.interrupt.Clear();
    EXPECT_EQ(session.parser.FoldedValue(), nullptr);
}

}  // namespace
}  // namespace quenmark
