#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "vm/operand.h"

namespace quenmark {

enum Opcode : uint8_t {
    opNOP = 0,
    opMOVE = 1,
    opPUSH = 2,
    opPOP = 3,
    opADD = 6,
    opSUB = 7,
    opMUL = 8,
    opDIV = 9,
    opIDV = 10,
    opMOD = 11,
    opINV = 12,
    opAND = 13,
    opOR = 14,
    opXOR = 15,
    opNOT = 16,
    opCALL = 19,
    opRET = 20,
    opICALL = 21,
};

// The mnemonic of an opcode; empty for the unassigned codes and beyond.
const char* Mnemonic(uint8_t opcode);

// One instruction: Operand1 is the destination or the only operand,
// Operand2 and Operand3 the sources.
struct TVMCommand {
    explicit TVMCommand(uint8_t opcode) : Opcode(opcode) {}
    TVMCommand(uint8_t opcode, TVMOperand&& operand1) : Opcode(opcode), Operand1(std::move(operand1)) {}
    TVMCommand(uint8_t opcode, TVMOperand&& operand1, TVMOperand&& operand2)
        : Opcode(opcode), Operand1(std::move(operand1)), Operand2(std::move(operand2)) {}
    TVMCommand(uint8_t opcode, TVMOperand&& operand1, TVMOperand&& operand2, TVMOperand&& operand3)
        : Opcode(opcode), Operand1(std::move(operand1)), Operand2(std::move(operand2)),
          Operand3(std::move(operand3)) {}

    // What the machine may run as one step from this instruction on: the
    // whole sequence of a binary or unary operator as the command list
    // emits it. Only the command list sets it; the instructions are listed
    // and behave as they would one by one.
    enum class Step : uint8_t { Single, BinaryOperator, UnaryOperator };

    uint8_t Opcode;
    Step Group = Step::Single;
    std::optional<TVMOperand> Operand1;
    std::optional<TVMOperand> Operand2;
    std::optional<TVMOperand> Operand3;
};

// The listing line of an instruction: the mnemonic and the operand texts,
// each after a tab; a Real constant with the given separators.
std::string CommandText(const TVMCommand& command, const NumberSeparators& separators);

}  // namespace quenmark
