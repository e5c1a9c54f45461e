#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "vm/variant.h"

namespace quenmark {

struct TVMVariable;

// Operand kinds are single bits; an operand carries exactly one.
enum OperandKind : uint8_t {
    okConstant = 1,
    okRegister = 2,
    okAddress = 4,
    okVariable = 8,
    okCallable = 16,
    okInternalRoutine = 32,
    // A parameter of the user function being run: its number, from 0.
    okLocal = 64,
};

enum RegisterNumber : int32_t { AX = 0, BX = 1, CX = 2, DX = 3, EX = 4, FX = 5, GX = 6, HX = 7 };

// The one internal routine the machine runs: the power operator, taking
// base and exponent from the stack.
inline constexpr const char* PowerRoutineName = "POWER";

// One operand of an instruction.
struct TVMOperand {
    TVMOperand(uint8_t kind, Variant&& value) : Kind(kind), Value(std::move(value)) {}
    TVMOperand(uint8_t kind, const Variant& value) : Kind(kind), Value(value) {}

    static TVMOperand Constant(Variant value) { return {okConstant, std::move(value)}; }
    static TVMOperand Register(RegisterNumber number) { return {okRegister, Variant(int32_t{number})}; }
    static TVMOperand Address(int32_t slot) { return {okAddress, Variant(slot)}; }
    static TVMOperand Variable(std::string_view name) { return {okVariable, Variant(name)}; }
    // A variable operand that also remembers the variable its name found
    // when the code was made, with the table's removal count at that time.
    static TVMOperand Variable(std::string_view name, TVMVariable& variable, uint64_t removals) {
        TVMOperand operand = Variable(name);
        operand.Found = &variable;
        operand.FoundAtRemovals = removals;
        return operand;
    }
    static TVMOperand Callable(std::string_view name) { return {okCallable, Variant(name)}; }
    static TVMOperand InternalRoutine(std::string_view name) { return {okInternalRoutine, Variant(name)}; }
    static TVMOperand Local(int32_t number) { return {okLocal, Variant(number)}; }

    uint8_t Kind;
    Variant Value;
    // For a variable: where its name led, valid while the table's removal
    // count is still FoundAtRemovals; otherwise the name is looked up.
    TVMVariable* Found = nullptr;
    uint64_t FoundAtRemovals = 0;
};

// The listing text of an operand; a Real constant with the given separators.
std::string OperandText(const TVMOperand& operand, const NumberSeparators& separators);

}  // namespace quenmark
