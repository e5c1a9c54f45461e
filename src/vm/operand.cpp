#include "vm/operand.h"

namespace quenmark {

namespace {
const char* const RegisterNames[] = {"AX", "BX", "CX", "DX", "EX", "FX", "GX", "HX"};
}

std::string OperandText(const TVMOperand& operand, const NumberSeparators& separators) {
    if (operand.Kind & okRegister) {
        const int number = operand.Value.ToInteger(separators) & 0x7F;
        return number < 8 ? RegisterNames[number] : "";
    }
    if (operand.Kind & okConstant) return operand.Value.ToText(separators);
    if (operand.Kind & okAddress) return "Address(" + operand.Value.ToText(separators) + ")";
    if (operand.Kind & okVariable) return "Variable('" + operand.Value.ToText(separators) + "')";
    if (operand.Kind & okCallable) return "Callable('" + operand.Value.ToText(separators) + "')";
    if (operand.Kind & okInternalRoutine) return "InternalRoutine('" + operand.Value.ToText(separators) + "')";
    if (operand.Kind & okLocal) return "Local(" + operand.Value.ToText(separators) + ")";
    return "";
}

}  // namespace quenmark
