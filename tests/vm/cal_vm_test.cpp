#include "vm/cal_vm.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/context.h"
#include "base/exception.h"
#include "vm/number_text.h"
#include "vm/vmx_value.h"

namespace quenmark {
namespace {

constexpr int32_t IntMin = std::numeric_limits<int32_t>::min();

Variant I(int32_t value) { return Variant(value); }
Variant R(double value) { return Variant(value); }
Variant S(const char* value) { return Variant(value); }

TVMOperand Reg(RegisterNumber number) { return TVMOperand::Register(number); }
TVMOperand Const(Variant value) { return TVMOperand::Constant(std::move(value)); }

// Texts that show a message's argument after its code.
class CodeAndArgumentMessages : public MessageSource {
public:
    std::optional<std::string> Text(std::string_view) const override { return std::nullopt; }
    std::optional<std::string> TextWith(std::string_view code, std::string_view argument) const override {
        return std::string(code) + " " + std::string(argument);
    }
};

// The message of the EVMError an action raises; other exceptions fail the test.
template <typename Action>
std::string VMErrorOf(Action action) {
    try {
        action();
    } catch (const EVMError& error) {
        return error.Message();
    }
    return "no error";
}

class CalVMTest : public testing::Test {
protected:
    CalVMTest() { Context.SetMessages(&FMessages); }

    void EmitPush(Variant value) { Code.Emit(opPUSH, Const(std::move(value))); }
    // The parser's shape of a binary operator: left in BX, right in CX.
    void EmitBinary(uint8_t opcode) {
        Code.Emit(opPOP, Reg(CX));
        Code.Emit(opPOP, Reg(BX));
        Code.Emit(opcode, Reg(AX), Reg(BX), Reg(CX));
        Code.Emit(opPUSH, Reg(AX));
    }
    void EmitUnary(uint8_t opcode) {
        Code.Emit(opPOP, Reg(BX));
        Code.Emit(opcode, Reg(AX), Reg(BX));
        Code.Emit(opPUSH, Reg(AX));
    }
    void EmitRet() { Code.Emit(opRET); }
    // A fresh program of left, right and the operator: one instruction at a
    // time, or as the command list emits an operator to run in one step.
    void EmitBinaryProgram(const Variant& left, const Variant& right, uint8_t opcode, bool oneStep) {
        Code.Clear();
        EmitPush(left);
        EmitPush(right);
        if (oneStep) Code.EmitBinaryOperator(opcode);
        else EmitBinary(opcode);
        EmitRet();
    }

    Variant RunAndPop() {
        VM.Run();
        return VM.Pop();
    }
    std::string RunError() {
        return VMErrorOf([this] { VM.Run(); });
    }

    // The machine's own context: the messages above, "." and ",".
    TCCContext Context;
    TVMVariableList Variables;
    TVMCommandList Code;
    TVMCallableList Callables;
    TCalVM VM{Context, Variables, Code, Callables};

private:
    CodeAndArgumentMessages FMessages;
};

// Execution of command lists

TEST_F(CalVMTest, ListOfOnlyRetLeavesTheStackEmpty) {
    EmitRet();
    VM.Run();
    EXPECT_EQ(VM.SP(), 0);
}

TEST_F(CalVMTest, ParserShapedCodeLeavesTheResultOnTop) {
    EmitPush(I(2));
    EmitPush(I(3));
    EmitPush(I(4));
    EmitBinary(opMUL);
    EmitBinary(opADD);
    EmitRet();
    VM.Run();
    EXPECT_EQ(VM.SP(), 1);
    EXPECT_EQ(VM.Pop(), I(14));
    EXPECT_EQ(VM.SP(), 0);
}

TEST_F(CalVMTest, ExecutionStopsAtRet) {
    EmitPush(I(1));
    EmitRet();
    EmitPush(I(2));
    VM.Run();
    EXPECT_EQ(VM.SP(), 1);
    EXPECT_EQ(VM.Pop(), I(1));
}

TEST_F(CalVMTest, ExecutionEndsWithTheListWithoutRet) {
    EmitPush(I(1));
    VM.Run();
    EXPECT_EQ(VM.SP(), 1);
}

TEST_F(CalVMTest, UnassignedOpcodesAndNopDoNothing) {
    EmitPush(I(7));
    for (uint8_t opcode : {uint8_t{0}, uint8_t{4}, uint8_t{5}, uint8_t{17}, uint8_t{18}})
        Code.Emit(opcode, Reg(AX), Const(I(1)), Const(I(2)));
    EmitRet();
    VM.Run();
    EXPECT_EQ(VM.SP(), 1);
    EXPECT_EQ(VM.Pop(), I(7));
    EXPECT_EQ(VM.ReadOperand(Reg(AX)), I(0));
}

TEST_F(CalVMTest, ExecuteRewindsTheListItRuns) {
    TVMCommandList other;
    other.Emit(opPUSH, Const(I(9)));
    VM.Execute(other);
    VM.Execute(other);
    EXPECT_EQ(VM.SP(), 2);
    EXPECT_EQ(VM.Pop(), I(9));
}

// Data instructions follow the operator rules

struct InstructionRow {
    const char* behaviour;
    uint8_t opcode;
    Variant left;
    Variant right;
    Variant expected;
};

void PrintTo(const InstructionRow& row, std::ostream* out) { *out << row.behaviour; }

class CalVMInstructionTest : public CalVMTest, public testing::WithParamInterface<InstructionRow> {};

// One by one, and as the single step the command list's operator emitter
// lets the machine take: the same result and the same registers.
TEST_P(CalVMInstructionTest, WritesTheOperatorResult) {
    const InstructionRow& row = GetParam();
    for (const bool oneStep : {false, true}) {
        EmitBinaryProgram(row.left, row.right, row.opcode, oneStep);
        EXPECT_EQ(RunAndPop(), row.expected) << "one step: " << oneStep;
        EXPECT_EQ(VM.ReadOperand(Reg(BX)), row.left);
        EXPECT_EQ(VM.ReadOperand(Reg(CX)), row.right);
        EXPECT_EQ(VM.ReadOperand(Reg(AX)), row.expected);
        EXPECT_EQ(VM.SP(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Binary, CalVMInstructionTest, testing::Values(
    InstructionRow{"AddSums", opADD, I(7), I(2), I(9)},
    InstructionRow{"AddOverflowGivesReal", opADD, I(2147483647), I(1), R(2147483648.0)},
    InstructionRow{"AddConcatenatesStrings", opADD, S("ab"), S("cd"), S("abcd")},
    InstructionRow{"SubSubtractsRightFromLeft", opSUB, I(7), I(2), I(5)},
    InstructionRow{"MulMultiplies", opMUL, I(7), I(2), I(14)},
    InstructionRow{"DivGivesReal", opDIV, I(7), I(2), R(3.5)},
    InstructionRow{"IdvTruncates", opIDV, I(-7), I(2), I(-3)},
    InstructionRow{"ModKeepsTheDividendSign", opMOD, I(-7), I(2), I(-1)},
    InstructionRow{"ModOfSmallestIntegerByMinusOneIsZero", opMOD, I(IntMin), I(-1), I(0)},
    InstructionRow{"AndIsBitwise", opAND, I(7), I(2), I(2)},
    InstructionRow{"OrIsBitwise", opOR, I(7), I(8), I(15)},
    InstructionRow{"XorIsBitwise", opXOR, I(7), I(2), I(5)}),
    [](const auto& row) { return std::string(row.param.behaviour); });

TEST_F(CalVMTest, UnaryInstructionsUseTheirOperatorRules) {
    const struct {
        uint8_t opcode;
        Variant operand;
        Variant expected;
    } rows[] = {
        {opMOVE, S("kept"), S("kept")},
        {opINV, I(IntMin), R(2147483648.0)},
        {opINV, S("3"), R(-3.0)},
        {opNOT, R(1.5), I(-3)},
    };
    for (const auto& row : rows) {
        for (const bool oneStep : {false, true}) {
            Code.Clear();
            EmitPush(row.operand);
            if (oneStep) Code.EmitUnaryOperator(row.opcode);
            else EmitUnary(row.opcode);
            EmitRet();
            EXPECT_EQ(RunAndPop(), row.expected) << "opcode " << int{row.opcode} << ", one step: " << oneStep;
        }
    }
}

// Failures of the operators become coded messages

struct ErrorRow {
    const char* behaviour;
    uint8_t opcode;
    Variant left;
    Variant right;
    const char* code;
};

void PrintTo(const ErrorRow& row, std::ostream* out) { *out << row.behaviour; }

class CalVMErrorMapTest : public CalVMTest, public testing::WithParamInterface<ErrorRow> {};

TEST_P(CalVMErrorMapTest, RaisesTheCodedMessage) {
    const ErrorRow& row = GetParam();
    for (const bool oneStep : {false, true}) {
        EmitBinaryProgram(row.left, row.right, row.opcode, oneStep);
        EXPECT_EQ(RunError(), row.code) << "one step: " << oneStep;
    }
}

INSTANTIATE_TEST_SUITE_P(Operators, CalVMErrorMapTest, testing::Values(
    ErrorRow{"RealDivisionByZero", opDIV, I(1), I(0), "CVM005"},
    ErrorRow{"ZeroByZeroIsInvalid", opDIV, I(0), I(0), "CVM001"},
    ErrorRow{"IntegerDivisionByZero", opIDV, I(1), I(0), "CVM005"},
    ErrorRow{"RemainderByZero", opMOD, I(1), I(0), "CVM005"},
    ErrorRow{"RealOutsideTheIntegerRange", opIDV, R(1e10), I(3), "CVM001"},
    ErrorRow{"SmallestIntegerDivByMinusOneOverflows", opIDV, I(IntMin), I(-1), "CVM006"},
    ErrorRow{"RealProductOverflows", opMUL, R(1e308), I(10), "CVM006"},
    ErrorRow{"StringThatIsNoNumber", opADD, S("x"), I(1), "CVM007"},
    ErrorRow{"StringBeyondTheDoubleRange", opSUB, S("1e999"), I(1), "CVM006"},
    ErrorRow{"BitwiseOfAStringThatIsNoNumber", opXOR, I(1), S("1x"), "CVM007"}),
    [](const auto& row) { return std::string(row.param.behaviour); });

TEST_F(CalVMTest, NotOfAStringThatIsNoNumberRaisesCVM007) {
    EmitPush(S("abc"));
    EmitUnary(opNOT);
    EXPECT_EQ(RunError(), "CVM007");
}

TEST_F(CalVMTest, FailureKeepsEarlierVariableWrites) {
    Variables.Add("x", I(1));
    EmitPush(I(5));
    Code.Emit(opPOP, TVMOperand::Variable("x"));
    Code.Emit(opPUSH, TVMOperand::Variable("x"));
    EmitPush(I(1));
    EmitPush(I(0));
    EmitBinary(opDIV);
    EmitRet();
    EXPECT_EQ(RunError(), "CVM005");
    EXPECT_EQ(Variables.Find("x")->Value, I(5));
}

TEST_F(CalVMTest, UndoPutsBackTheReplacedValuesUntilTheyAreKept) {
    Variables.Add("x", I(1));
    Variables.Add("y", S("y"));
    VM.WriteOperand(TVMOperand::Variable("x"), I(2));
    VM.WriteOperand(TVMOperand::Variable("x"), I(3));
    VM.WriteOperand(TVMOperand::Variable("y"), I(4));
    VM.WriteOperand(TVMOperand::Variable("y"), VM.ReadOperand(TVMOperand::Variable("y")));
    EXPECT_EQ(Variables.Find("y")->Value, I(4)) << "a value stored into its own variable stays";
    VM.UndoVariableWrites();
    EXPECT_EQ(Variables.Find("x")->Value, I(1));
    EXPECT_EQ(Variables.Find("y")->Value, S("y"));
    VM.WriteOperand(TVMOperand::Variable("x"), I(5));
    VM.KeepVariableWrites();
    VM.UndoVariableWrites();
    EXPECT_EQ(Variables.Find("x")->Value, I(5));
}

TEST_F(CalVMTest, ConcatenationBeyondTheLongestStringIsRefused) {
    const std::string half(TCalVM::MaxStringLength / 2, 'a');
    EmitPush(Variant(half));
    EmitPush(Variant(half));
    EmitBinary(opADD);
    EmitRet();
    EXPECT_EQ(RunAndPop().AsString().size(), TCalVM::MaxStringLength);
    Code.Clear();
    EmitPush(Variant(half));
    EmitPush(Variant(half + "a"));
    EmitBinary(opADD);
    EmitRet();
    EXPECT_THROW(VM.Run(), std::length_error);
}

// Operands

TEST_F(CalVMTest, VariableOperandsIgnoreTheLetterCaseOfTheName) {
    TVMVariable& counter = Variables.Add("Counter", I(1));
    VM.WriteOperand(TVMOperand::Variable("COUNTER"), I(41));
    EXPECT_EQ(counter.Value, I(41));
    EXPECT_EQ(VM.ReadOperand(TVMOperand::Variable("counter")), I(41));
}

TEST_F(CalVMTest, WritesToConstantsAndNamesAreDropped) {
    const TVMOperand constant = Const(I(3));
    VM.WriteOperand(constant, I(99));
    EXPECT_EQ(VM.ReadOperand(constant), I(3));
    const TVMOperand callable = TVMOperand::Callable("f");
    VM.WriteOperand(callable, I(99));
    EXPECT_EQ(VM.ReadOperand(callable), S("f"));
    EXPECT_EQ(VM.ReadOperand(TVMOperand::InternalRoutine("POWER")), S("POWER"));
}

TEST_F(CalVMTest, RegistersAndMemorySlotsHoldValues) {
    VM.WriteOperand(Reg(HX), S("last register"));
    VM.WriteOperand(TVMOperand::Address(1023), R(2.5));
    EXPECT_EQ(VM.ReadOperand(Reg(HX)), S("last register"));
    EXPECT_EQ(VM.ReadOperand(TVMOperand::Address(1023)), R(2.5));
}

TEST_F(CalVMTest, KindBitsAreTestedInTheirOrder) {
    // Reading tests Constant before Register; writing tests Register first.
    EXPECT_EQ(VM.ReadOperand(TVMOperand(okConstant | okRegister, I(500))), I(500));
    VM.WriteOperand(TVMOperand(okRegister | okAddress, I(3)), I(8));
    EXPECT_EQ(VM.ReadOperand(Reg(DX)), I(8));
    EXPECT_EQ(VM.ReadOperand(TVMOperand::Address(3)), I(0));
}

TEST_F(CalVMTest, RunClearsStackAndRegistersButKeepsMemory) {
    VM.WriteOperand(TVMOperand::Address(5), I(55));
    VM.WriteOperand(Reg(AX), I(11));
    VM.Push(S("left over"));
    Code.Emit(opPUSH, Reg(AX));
    Code.Emit(opPUSH, TVMOperand::Address(5));
    EmitRet();
    VM.Run();
    EXPECT_EQ(VM.SP(), 2);
    EXPECT_EQ(VM.Pop(), I(55));
    EXPECT_EQ(VM.Pop(), I(0));
}

TEST_F(CalVMTest, ResetClearsMemoryRegistersAndStack) {
    VM.WriteOperand(TVMOperand::Address(700), I(7));
    VM.WriteOperand(Reg(CX), I(3));
    VM.Push(I(1));
    VM.Reset();
    EXPECT_EQ(VM.SP(), 0);
    EXPECT_EQ(VM.ReadOperand(TVMOperand::Address(700)), I(0));
    EXPECT_EQ(VM.ReadOperand(Reg(CX)), I(0));
    VM.Push(I(2));
    EXPECT_EQ(VM.Pop(), I(2));
}

// The stack

TEST_F(CalVMTest, PopReturnsValuesInReverseOrder) {
    EXPECT_EQ(VM.Push(I(1)), 1);
    EXPECT_EQ(VM.Push(S("two")), 2);
    EXPECT_EQ(VM.Pop(), S("two"));
    EXPECT_EQ(VM.Pop(), I(1));
    EXPECT_EQ(VM.SP(), 0);
}

TEST_F(CalVMTest, StackHolds1023ValuesAndRefusesThe1024th) {
    for (int32_t i = 1; i <= 1023; ++i) ASSERT_EQ(VM.Push(I(i)), i);
    EXPECT_EQ(VMErrorOf([this] { VM.Push(I(0)); }), "CVM002");
    EXPECT_EQ(VM.SP(), 1024);
    VM.Reset();
    EXPECT_EQ(VM.SP(), 0);
}

TEST_F(CalVMTest, CodeNeeding1024StackValuesFailsAnd1023Fit) {
    for (int i = 0; i < 1023; ++i) EmitPush(I(i));
    VM.Run();
    EXPECT_EQ(VM.SP(), 1023);
    EXPECT_EQ(VM.Pop(), I(1022));
    EmitPush(I(1023));
    EXPECT_EQ(RunError(), "CVM002");
    Code.Clear();
    EmitPush(I(1));
    VM.Run();  // the next run starts from an empty stack again
    EXPECT_EQ(VM.SP(), 1);
}

// Code the parser never produces stops with an internal error

TEST_F(CalVMTest, InvalidCodeRaisesCVM003) {
    Variables.Add("known", I(0));
    const struct {
        const char* behaviour;
        std::function<void()> action;
    } rows[] = {
        {"pop from an empty stack", [this] { VM.Pop(); }},
        {"read of an unknown variable", [this] { VM.ReadOperand(TVMOperand::Variable("unknown")); }},
        {"write of an unknown variable", [this] { VM.WriteOperand(TVMOperand::Variable("unknown"), I(1)); }},
        {"register 8", [this] { VM.ReadOperand(TVMOperand(okRegister, I(8))); }},
        {"register -1", [this] { VM.WriteOperand(TVMOperand(okRegister, I(-1)), I(1)); }},
        {"memory slot 1024", [this] { VM.ReadOperand(TVMOperand::Address(1024)); }},
        {"memory slot -1", [this] { VM.WriteOperand(TVMOperand::Address(-1), I(1)); }},
        {"slot number that is a text", [this] { VM.ReadOperand(TVMOperand(okRegister, S("AX"))); }},
        {"operand without a kind", [this] { VM.ReadOperand(TVMOperand(0, I(0))); }},
    };
    for (const auto& row : rows) EXPECT_EQ(VMErrorOf(row.action), "CVM003") << row.behaviour;
}

TEST_F(CalVMTest, InstructionsWithInvalidOperandsRaiseCVM003) {
    const struct {
        const char* behaviour;
        TVMCommand command;
    } rows[] = {
        {"POP on an empty stack", TVMCommand(opPOP, Reg(AX))},
        {"ADD without sources", TVMCommand(opADD, Reg(AX))},
        {"PUSH without operand", TVMCommand(opPUSH)},
        {"PUSH of an unknown variable", TVMCommand(opPUSH, TVMOperand::Variable("nowhere"))},
        {"MOVE into register 9", TVMCommand(opMOVE, TVMOperand(okRegister, I(9)), Const(I(1)))},
    };
    for (const auto& row : rows) {
        Code.Clear();
        Code.Add(row.command);
        EXPECT_EQ(RunError(), "CVM003") << row.behaviour;
    }
}

// The built-in routine

TEST_F(CalVMTest, PowerPopsExponentThenBaseAndPushesAReal) {
    EmitPush(I(2));
    EmitPush(I(10));
    Code.Emit(opICALL, TVMOperand::InternalRoutine("POWER"));
    EmitRet();
    VM.Run();
    EXPECT_EQ(VM.SP(), 1);
    EXPECT_EQ(VM.Pop(), R(1024.0));
}

TEST_F(CalVMTest, PowerFailuresUseTheErrorMap) {
    const struct {
        Variant base;
        Variant exponent;
        const char* code;
    } rows[] = {
        {I(0), I(-1), "CVM005"},
        {I(-8), R(0.5), "CVM001"},
        {I(10), I(400), "CVM006"},
        {S("x"), I(2), "CVM007"},
    };
    for (const auto& row : rows) {
        VM.Reset();
        VM.Push(row.base);
        VM.Push(row.exponent);
        EXPECT_EQ(VMErrorOf([this] { VM.CallInternal("POWER"); }), row.code) << row.base.ToText(Context.Separators());
    }
}

// An operand remembers the variable its name found; once a variable has
// been removed, the name is looked up again.
TEST_F(CalVMTest, VariableOperandFollowsItsNameAfterARemoval) {
    TVMVariable& first = Variables.Add("x", I(1));
    Code.Emit(opPUSH, TVMOperand::Variable("x", first, Variables.Removals()));
    EmitRet();
    EXPECT_EQ(RunAndPop(), I(1));
    Variables.Remove(&first);
    Variables.Add("X", I(2));
    EXPECT_EQ(RunAndPop(), I(2));
}

TEST_F(CalVMTest, OperatorStepWithTooShortAStackRaisesCVM003) {
    EmitPush(I(2));
    Code.EmitBinaryOperator(opADD);
    EmitRet();
    EXPECT_EQ(RunError(), "CVM003");
}

TEST_F(CalVMTest, PowerWithOneValueOnTheStackRaisesCVM003) {
    VM.Push(I(2));
    EXPECT_EQ(VMErrorOf([this] { VM.CallInternal("POWER"); }), "CVM003");
}

TEST_F(CalVMTest, OtherRoutineNamesRaiseCVM031WithTheName) {
    VM.Push(I(2));
    VM.Push(I(3));
    Code.Emit(opICALL, TVMOperand::InternalRoutine("Power"));
    EXPECT_EQ(VMErrorOf([this] { VM.Execute(Code); }), "CVM031 Power");
    EXPECT_EQ(VM.SP(), 2);
}

// Function calls through module dispatchers

// Fields of the packed records are unaligned and cannot bind to the
// references the expectation macros take.
template <typename T>
T Copy(T value) {
    return value;
}

// What the last dispatcher call received.
struct DispatchRecord {
    std::string name;
    bool argumentsNull = false;
    int32_t argumentCount = -1;
    std::vector<VMXValue> argumentRecords;
    std::vector<Variant> arguments;
    VMXValue result{};
    int32_t status = 0;
};

DispatchRecord& LastCall() {
    static DispatchRecord record;
    return record;
}

void Record(const char* name, const VMXValue* result, const VMXValue* args, int32_t argCount) {
    DispatchRecord& record = LastCall();
    record.name = name;
    record.argumentsNull = args == nullptr;
    record.argumentCount = argCount;
    record.result = *result;
    record.argumentRecords.assign(args, args + (args ? argCount : 0));
    record.arguments.clear();
    for (const VMXValue& arg : record.argumentRecords) record.arguments.push_back(VMXToVariant(arg));
}

// Sums Integer arguments into an Integer result.
int32_t SumDispatcher(const char* name, VMXValue* result, VMXValue* args, int32_t argCount) {
    Record(name, result, args, argCount);
    int32_t sum = 0;
    for (int32_t i = 0; i < argCount; ++i) sum += args[i].IntValue;
    result->ValueType = vmxInteger;
    result->IntValue = sum;
    return 0;
}

// Joins String arguments into the program's result buffer.
int32_t JoinDispatcher(const char* name, VMXValue* result, VMXValue* args, int32_t argCount) {
    Record(name, result, args, argCount);
    std::string joined;
    for (int32_t i = 0; i < argCount; ++i) joined.append(args[i].StrValue, static_cast<size_t>(args[i].StrLength));
    std::memcpy(result->StrValue, joined.c_str(), joined.size() + 1);
    result->ValueType = vmxString;
    result->StrLength = static_cast<int32_t>(joined.size());
    return 0;
}

// Points the result at the module's own characters.
int32_t OwnTextDispatcher(const char* name, VMXValue* result, VMXValue* args, int32_t argCount) {
    Record(name, result, args, argCount);
    static char text[] = "module text and more";
    result->ValueType = vmxString;
    result->StrValue = text;
    result->StrLength = 11;
    return 0;
}

// Answers with the status the test chose, leaving a valid Real result.
int32_t StatusDispatcher(const char* name, VMXValue* result, VMXValue* args, int32_t argCount) {
    Record(name, result, args, argCount);
    result->ValueType = vmxReal;
    result->RealValue = 2.5;
    return LastCall().status;
}

int32_t UnknownTypeDispatcher(const char* name, VMXValue* result, VMXValue* args, int32_t argCount) {
    Record(name, result, args, argCount);
    result->ValueType = 9;
    return 0;
}

// Fills the whole buffer without a zero byte and claims a longer text.
int32_t OverlongDispatcher(const char* name, VMXValue* result, VMXValue* args, int32_t argCount) {
    Record(name, result, args, argCount);
    std::memset(result->StrValue, 'a', static_cast<size_t>(result->StrSize));
    result->ValueType = vmxString;
    result->StrLength = 5000;
    return 0;
}

// Writes a one-character String result and then count bytes past the
// buffer it was lent.
template <size_t count>
int32_t OverrunDispatcher(const char* name, VMXValue* result, VMXValue* args, int32_t argCount) {
    Record(name, result, args, argCount);
    std::memset(result->StrValue, 'b', static_cast<size_t>(result->StrSize) + count);
    result->ValueType = vmxString;
    result->StrLength = 1;
    return 0;
}

class CalVMCallTest : public CalVMTest {
protected:
    CalVMCallTest() { LastCall() = DispatchRecord{}; }

    void EmitCall(const char* name) { Code.Emit(opCALL, TVMOperand::Callable(name)); }
};

TEST_F(CalVMCallTest, ArgumentsArriveInSourceOrderAndTheResultIsPushed) {
    Callables.RegisterFunction("Sum", &SumDispatcher, "adds", 3);
    EmitPush(I(100));
    EmitPush(I(1));
    EmitPush(I(20));
    EmitPush(I(300));
    EmitCall("sum");
    EmitRet();
    VM.Run();
    EXPECT_EQ(LastCall().name, "SUM");
    EXPECT_EQ(LastCall().argumentCount, 3);
    EXPECT_EQ(LastCall().arguments, (std::vector<Variant>{I(1), I(20), I(300)}));
    EXPECT_EQ(VM.SP(), 2);
    EXPECT_EQ(VM.Pop(), I(321));
    EXPECT_EQ(VM.Pop(), I(100));
}

TEST_F(CalVMCallTest, ResultRecordIsPreparedWithTheProgramBuffer) {
    Callables.RegisterFunction("now", &SumDispatcher, "", 0);
    EmitCall("NOW");
    VM.Run();
    const VMXValue& result = LastCall().result;
    EXPECT_EQ(Copy(result.ValueType), 0);
    EXPECT_NE(Copy(result.StrValue), nullptr);
    EXPECT_EQ(Copy(result.StrLength), 0);
    EXPECT_EQ(Copy(result.StrSize), 1024);
    for (uint8_t byte : result.Reserved) EXPECT_EQ(byte, 0);
}

TEST_F(CalVMCallTest, CallWithoutArgumentsGetsANullPointerAndCountZero) {
    Callables.RegisterFunction("now", &SumDispatcher, "", 0);
    VM.Push(I(5));
    EmitCall("now");
    VM.Execute(Code);
    EXPECT_TRUE(LastCall().argumentsNull);
    EXPECT_EQ(LastCall().argumentCount, 0);
    EXPECT_EQ(VM.SP(), 2);
    EXPECT_EQ(VM.Pop(), I(0));
}

TEST_F(CalVMCallTest, StringArgumentsAndResultsCrossTheBoundary) {
    Callables.RegisterFunction("join", &JoinDispatcher, "", 2);
    EmitPush(S("ab"));
    EmitPush(S("cde"));
    EmitCall("join");
    EXPECT_EQ(RunAndPop(), S("abcde"));
    const VMXValue& second = LastCall().argumentRecords.at(1);
    EXPECT_EQ(Copy(second.ValueType), vmxString);
    EXPECT_EQ(Copy(second.StrLength), 3);
    EXPECT_EQ(Copy(second.StrSize), 3);
}

TEST_F(CalVMCallTest, NumbersArePassedWithTheirTypeTags) {
    Callables.RegisterFunction("pair", &SumDispatcher, "", 2);
    EmitPush(R(0.5));
    EmitPush(I(-4));
    EmitCall("pair");
    VM.Run();
    ASSERT_EQ(LastCall().argumentRecords.size(), 2u);
    EXPECT_EQ(Copy(LastCall().argumentRecords[0].ValueType), vmxReal);
    EXPECT_EQ(Copy(LastCall().argumentRecords[0].RealValue), 0.5);
    EXPECT_EQ(Copy(LastCall().argumentRecords[1].ValueType), vmxInteger);
    EXPECT_EQ(Copy(LastCall().argumentRecords[1].IntValue), -4);
}

TEST_F(CalVMCallTest, StringResultInModuleMemoryIsCopiedToItsLength) {
    Callables.RegisterFunction("text", &OwnTextDispatcher, "", 0);
    EmitCall("text");
    EXPECT_EQ(RunAndPop(), S("module text"));
}

TEST_F(CalVMCallTest, StringResultLongerThanTheBufferStopsAtItsEnd) {
    Callables.RegisterFunction("long", &OverlongDispatcher, "", 0);
    EmitCall("long");
    EXPECT_EQ(RunAndPop(), Variant(std::string(1024, 'a')));
}

TEST_F(CalVMCallTest, WritePastTheResultBufferFailsTheCallWithCVM010) {
    Callables.RegisterFunction("spill", &OverrunDispatcher<1>, "", 0);
    Callables.RegisterFunction("flood", &OverrunDispatcher<TGuardedBuffer::GuardSize>, "", 0);
    Callables.RegisterFunction("long", &OverlongDispatcher, "", 0);
    for (const char* name : {"spill", "flood"}) {
        Code.Clear();
        EmitCall(name);
        EXPECT_EQ(RunError(), std::string("CVM010 ") + name);
        // The guard is clean again: a call that keeps to the buffer succeeds.
        Code.Clear();
        EmitCall("long");
        EXPECT_EQ(RunAndPop(), Variant(std::string(1024, 'a')));
    }
}

TEST_F(CalVMCallTest, InterruptRequestStopsTheLineBeforeItsNextInstruction) {
    Callables.RegisterFunction("now", &SumDispatcher, "", 0);
    EmitCall("now");
    VM.Interrupt().Request();
    EXPECT_EQ(RunError(), "CVM040");
    EXPECT_EQ(LastCall().argumentCount, -1);  // the call never ran
    VM.Interrupt().Clear();
    EXPECT_EQ(RunAndPop(), I(0));
}

struct StatusRow {
    int32_t status;
    const char* message;
};

void PrintTo(const StatusRow& row, std::ostream* out) { *out << "status " << row.status; }

class CalVMDispatcherStatusTest : public CalVMCallTest, public testing::WithParamInterface<StatusRow> {};

TEST_P(CalVMDispatcherStatusTest, FailureStatusGivesItsCodeWithTheName) {
    Callables.RegisterFunction("Fail", &StatusDispatcher, "", 1);
    LastCall().status = GetParam().status;
    EmitPush(I(1));
    EmitCall("FAIL");
    EXPECT_EQ(RunError(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(Results, CalVMDispatcherStatusTest, testing::Values(
    StatusRow{101, "CVM021 Fail"}, StatusRow{102, "CVM022 Fail"}, StatusRow{103, "CVM023 Fail"},
    StatusRow{104, "CVM024 Fail"}, StatusRow{105, "CVM025 Fail"}, StatusRow{7, "CVM010 Fail"},
    StatusRow{100, "CVM010 Fail"}, StatusRow{106, "CVM010 Fail"}, StatusRow{-1, "CVM010 Fail"}),
    [](const auto& row) {
        const int32_t status = row.param.status;
        return "Status" + (status < 0 ? "Minus" + std::to_string(-status) : std::to_string(status));
    });

TEST_F(CalVMCallTest, ResultOfAnUnknownTypeRaisesCVM026) {
    Callables.RegisterFunction("odd", &UnknownTypeDispatcher, "", 0);
    EmitCall("odd");
    EXPECT_EQ(RunError(), "CVM026 odd");
}

TEST_F(CalVMCallTest, UnassignedArgumentRaisesCVM010BeforeTheCall) {
    TVMCallable& callable = Callables.RegisterFunction("Sum", &SumDispatcher, "", 1);
    VM.Push(Variant());
    EXPECT_EQ(VMErrorOf([&] { VM.CallFunction(callable); }), "CVM010 Sum");
    EXPECT_EQ(LastCall().argumentCount, -1);
}

TEST_F(CalVMCallTest, UnknownFunctionNameRaisesCVM011WithTheName) {
    EmitCall("nosuch");
    EXPECT_EQ(RunError(), "CVM011 nosuch");
}

TEST_F(CalVMCallTest, MissingArgumentsRaiseCVM003) {
    Callables.RegisterFunction("pair", &SumDispatcher, "", 2);
    EmitPush(I(1));
    EmitCall("pair");
    EXPECT_EQ(RunError(), "CVM003");
    EXPECT_EQ(LastCall().argumentCount, -1);
}

TEST_F(CalVMCallTest, ResultThatDoesNotFitOnTheStackRaisesCVM002) {
    Callables.RegisterFunction("now", &SumDispatcher, "", 0);
    for (int i = 0; i < 1023; ++i) EmitPush(I(i));
    EmitCall("now");
    EXPECT_EQ(RunError(), "CVM002");
}

}  // namespace
}  // namespace quenmark
