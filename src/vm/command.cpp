#include "vm/command.h"

namespace quenmark {

namespace {

struct OpcodeInfo {
    const char* Mnemonic;
    int OperandCount;  // -1 for an unassigned code
};

// A switch without a default: a missing case fails the build, whatever
// the build's warning options.
#pragma GCC diagnostic error "-Wswitch"
OpcodeInfo InfoOf(uint8_t code) {
    switch (static_cast<Opcode>(code)) {
    case opNOP: return {"NOP", 0};
    case opMOVE: return {"MOVE", 2};
    case opPUSH: return {"PUSH", 1};
    case opPOP: return {"POP", 1};
    case opADD: return {"ADD", 3};
    case opSUB: return {"SUB", 3};
    case opMUL: return {"MUL", 3};
    case opDIV: return {"DIV", 3};
    case opIDV: return {"IDV", 3};
    case opMOD: return {"MOD", 3};
    case opINV: return {"INV", 2};
    case opAND: return {"AND", 3};
    case opOR: return {"OR", 3};
    case opXOR: return {"XOR", 3};
    case opNOT: return {"NOT", 2};
    case opCALL: return {"CALL", 1};
    case opRET: return {"RET", 0};
    case opICALL: return {"ICALL", 1};
    }
    return {"", -1};
}

std::string TextOf(const std::optional<TVMOperand>& operand, const NumberSeparators& separators) {
    return operand ? OperandText(*operand, separators) : "";
}

}  // namespace

const char* Mnemonic(uint8_t opcode) { return InfoOf(opcode).Mnemonic; }

std::string CommandText(const TVMCommand& command, const NumberSeparators& separators) {
    const OpcodeInfo info = InfoOf(command.Opcode);
    if (info.OperandCount < 0) return "";
    std::string text = info.Mnemonic;
    if (info.OperandCount >= 1) text += "\t" + TextOf(command.Operand1, separators);
    if (info.OperandCount >= 2) text += ",  \t" + TextOf(command.Operand2, separators);
    if (info.OperandCount >= 3) text += ", \t" + TextOf(command.Operand3, separators);
    return text;
}

}  // namespace quenmark
