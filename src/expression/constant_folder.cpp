#include "expression/constant_folder.h"

#include <utility>

#include "vm/cal_vm.h"
#include "vm/command.h"

namespace quenmark {

void TConstantFolder::Start() {
    FStack.clear();
    FActive = true;
}

// The machine's stack never uses its slot 0, so it holds one value fewer
// than its size; a line that would fill it is left to the machine.
void TConstantFolder::Literal(const Variant& value) {
    if (!FActive) return;
    if (FStack.size() + 2 >= TCalVM::StackSize) return Stop();
    FStack.push_back(value);
}

// A line to be abandoned is left to the machine, which reports it at its
// first step.
bool TConstantFolder::Folding() {
    if (FActive && FInterrupt.Requested()) Stop();
    return FActive;
}

// An operation that fails would fail the same way when the code runs,
// where the machine reports it: the folding only stops.
void TConstantFolder::Binary(uint8_t opcode) {
    if (!Folding()) return;
    const TCalVM::BinaryOperation operation = TCalVM::BinaryOperationOf(opcode);
    if (!operation || FStack.size() < 2) return Stop();
    try {
        Variant result = operation(FStack[FStack.size() - 2], FStack.back(), FContext.Separators());
        FStack.pop_back();
        FStack.back() = std::move(result);
    } catch (...) {
        Stop();
    }
}

void TConstantFolder::Unary(uint8_t opcode) {
    if (!Folding()) return;
    if (FStack.empty()) return Stop();
    if (opcode == opMOVE) return;
    const TCalVM::UnaryOperation operation = TCalVM::UnaryOperationOf(opcode);
    if (!operation) return Stop();
    try {
        FStack.back() = operation(FStack.back(), FContext.Separators());
    } catch (...) {
        Stop();
    }
}

}  // namespace quenmark
