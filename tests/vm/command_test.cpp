#include "vm/command.h"

#include <gtest/gtest.h>

#include "vm/command_list.h"
#include "vm/number_text.h"

namespace quenmark {
namespace {

using Op = TVMOperand;

// The separators the listings are given, unless a test gives others.
const NumberSeparators Plain{".", ","};

struct OperandRow {
    const char* behaviour;
    TVMOperand operand;
    const char* expected;
};

TEST(OperandTextTest, FormsByKind) {
    const OperandRow rows[] = {
        {"register 0 is AX", Op::Register(AX), "AX"},
        {"register 7 is HX", Op::Register(HX), "HX"},
        {"register 9 has no name", Op(okRegister, Variant(int32_t{9})), ""},
        {"register number uses its low seven bits", Op(okRegister, Variant(int32_t{129})), "BX"},
        {"integer constant", Op::Constant(Variant(int32_t{12})), "12"},
        {"string constant is its text", Op::Constant(Variant("ab")), "ab"},
        {"address", Op::Address(12), "Address(12)"},
        {"variable", Op::Variable("Foo"), "Variable('Foo')"},
        {"callable", Op::Callable("f"), "Callable('f')"},
        {"internal routine", Op::InternalRoutine("POWER"), "InternalRoutine('POWER')"},
        {"no kind bit", Op(0, Variant(int32_t{1})), ""},
    };
    for (const OperandRow& row : rows) EXPECT_EQ(OperandText(row.operand, Plain), row.expected) << row.behaviour;
}

TEST(OperandTextTest, RealConstantUsesLocaleSeparator) {
    EXPECT_EQ(OperandText(Op::Constant(Variant(1.5)), NumberSeparators{",", "."}), "1,5");
}

struct CommandRow {
    const char* behaviour;
    TVMCommand command;
    const char* expected;
};

TEST(CommandTextTest, FormsByOperandCount) {
    const CommandRow rows[] = {
        {"no operand", TVMCommand(opRET), "RET"},
        {"nop", TVMCommand(opNOP), "NOP"},
        {"one operand", TVMCommand(opPUSH, Op::Constant(Variant(int32_t{5}))), "PUSH\t5"},
        {"call", TVMCommand(opCALL, Op::Callable("f")), "CALL\tCallable('f')"},
        {"two operands", TVMCommand(opMOVE, Op::Register(AX), Op::Register(BX)), "MOVE\tAX,  \tBX"},
        {"three operands", TVMCommand(opADD, Op::Register(AX), Op::Register(BX), Op::Register(CX)),
         "ADD\tAX,  \tBX, \tCX"},
        {"unassigned code 4", TVMCommand(4), ""},
        {"unassigned code 17", TVMCommand(17, Op::Register(AX)), ""},
        {"code beyond the set", TVMCommand(22), ""},
    };
    for (const CommandRow& row : rows) EXPECT_EQ(CommandText(row.command, Plain), row.expected) << row.behaviour;
}

TEST(CommandListTest, NextWalksOnceAndStopsAtTheEnd) {
    TVMCommandList list;
    list.Emit(opPUSH, Op::Constant(Variant(int32_t{1})));
    list.Emit(opRET);
    ASSERT_EQ(list.Next()->Opcode, opPUSH);
    ASSERT_EQ(list.Next()->Opcode, opRET);
    EXPECT_EQ(list.Next(), nullptr);
    EXPECT_EQ(list.Cursor, 2);
    list.Rewind();
    EXPECT_EQ(list.Next()->Opcode, opPUSH);
}

TEST(CommandListTest, ClearEmptiesAndRewinds) {
    TVMCommandList list;
    list.Emit(opRET);
    list.Next();
    list.Clear();
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(list.Cursor, 0);
    EXPECT_EQ(list.Next(), nullptr);
}

TEST(CommandListTest, CodeLongerThanAChunkKeepsItsOrder) {
    TVMCommandList list;
    const size_t count = 3 * TVMCommandList::ChunkSize + 7;
    for (int round = 0; round < 2; ++round) {  // the second round reuses the cleared list
        for (size_t i = 0; i < count; ++i) list.Emit(opPUSH, Op::Constant(Variant(static_cast<int32_t>(i))));
        ASSERT_EQ(list.Count(), count);
        size_t walked = 0;
        for (const TVMCommand& command : list) EXPECT_EQ(command.Operand1->Value, Variant(static_cast<int32_t>(walked++)));
        EXPECT_EQ(walked, count);
        size_t stepped = 0;
        while (const TVMInstruction* instruction = list.Next())
            EXPECT_EQ(&list.Instruction(stepped++), instruction);
        EXPECT_EQ(stepped, count);
        list.Clear();
        EXPECT_EQ(list.Count(), 0u);
    }
}

// An operator's instructions that do not fit in the last chunk go on into
// the next one in the same order.
TEST(CommandListTest, OperatorAcrossAChunkEndKeepsItsInstructions) {
    TVMCommandList list;
    for (size_t i = 0; i + 2 < TVMCommandList::ChunkSize; ++i) list.Emit(opNOP);
    list.EmitBinaryOperator(opSUB);
    ASSERT_EQ(list.Count(), TVMCommandList::ChunkSize + 2);
    const size_t first = TVMCommandList::ChunkSize - 2;
    EXPECT_EQ(CommandText(list[first], Plain), "POP\tCX");
    EXPECT_EQ(list[first].Group, TVMCommand::Step::BinaryOperator);
    EXPECT_EQ(CommandText(list[first + 1], Plain), "POP\tBX");
    EXPECT_EQ(CommandText(list[first + 2], Plain), "SUB\tAX,  \tBX, \tCX");
    EXPECT_EQ(CommandText(list[first + 3], Plain), "PUSH\tAX");
}

}  // namespace
}  // namespace quenmark
