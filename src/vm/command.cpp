#include "vm/command.h"

#include <array>

namespace quenmark {

namespace {

struct OpcodeInfo {
    const char* Mnemonic;
    int OperandCount;  // -1 for an unassigned code
};

constexpr std::array<OpcodeInfo, OpcodeCount> Opcodes = {{
    {"NOP", 0}, {"MOVE", 2}, {"PUSH", 1}, {"POP", 1}, {"", -1}, {"", -1},
    {"ADD", 3}, {"SUB", 3}, {"MUL", 3}, {"DIV", 3}, {"IDV", 3}, {"MOD", 3},
    {"INV", 2}, {"AND", 3}, {"OR", 3}, {"XOR", 3}, {"NOT", 2}, {"", -1}, {"", -1},
    {"CALL", 1}, {"RET", 0}, {"ICALL", 1},
}};
static_assert(Opcodes.size() == OpcodeCount, "one entry per opcode");

std::string TextOf(const std::optional<TVMOperand>& operand) {
    return operand ? OperandText(*operand) : "";
}

}  // namespace

const char* Mnemonic(uint8_t opcode) { return opcode < OpcodeCount ? Opcodes[opcode].Mnemonic : ""; }

std::string CommandText(const TVMCommand& command) {
    if (command.Opcode >= OpcodeCount) return "";
    const OpcodeInfo& info = Opcodes[command.Opcode];
    std::string text = info.Mnemonic;
    if (info.OperandCount >= 1) text += "\t" + TextOf(command.Operand1);
    if (info.OperandCount >= 2) text += ",  \t" + TextOf(command.Operand2);
    if (info.OperandCount >= 3) text += ", \t" + TextOf(command.Operand3);
    return text;
}

}  // namespace quenmark
