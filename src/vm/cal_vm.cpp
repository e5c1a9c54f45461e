#include "vm/cal_vm.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "base/context.h"
#include "base/exception.h"
#include "vm/line_interrupt.h"
#include "vm/module_call_site.h"
#include "vm/operators.h"
#include "vm/vmx_value.h"

namespace quenmark {

namespace {

// Code that the parser never produces: the machine stops with an internal
// error instead of reading or writing outside its tables.
EVMError InternalError(const TCCContext& context) { return EVMError(context.GetText("CVM003")); }

// Turns a conversion failure of the operators into its coded message; any
// other exception is passed on unchanged. Called from a catch block.
[[noreturn]] void RethrowAsVMError(const TCCContext& context) {
    try {
        throw;
    } catch (const EInvalidOp&) {
        throw EVMError(context.GetText("CVM001"));
    } catch (const EZeroDivide&) {
        throw EVMError(context.GetText("CVM005"));
    } catch (const EOverflow&) {
        throw EVMError(context.GetText("CVM006"));
    } catch (const EConvertError&) {
        throw EVMError(context.GetText("CVM007"));
    }
}

// Add, but a concatenation longer than MaxStringLength is refused before
// any of it is allocated.
Variant BoundedAdd(const Variant& a, const Variant& b, const NumberSeparators& separators) {
    if (a.IsString() && b.IsString() && a.AsString().size() + b.AsString().size() > TCalVM::MaxStringLength)
        throw std::length_error("String beyond the longest the machine builds");
    return Add(a, b, separators);
}

const TVMOperand& Required(const std::optional<TVMOperand>& operand, const TCCContext& context) {
    if (!operand) throw InternalError(context);
    return *operand;
}

// The slot number of an operand that is no Integer, converted and checked
// against the slot count.
[[gnu::noinline]] size_t ConvertedSlotIndex(const Variant& number, size_t count, const TCCContext& context) {
    int64_t index = -1;
    try {
        index = number.ToInteger(context.Separators());
    } catch (const Exception&) {
        throw InternalError(context);
    }
    if (index < 0 || static_cast<size_t>(index) >= count) throw InternalError(context);
    return static_cast<size_t>(index);
}

// The slot number an operand names, checked against the slot count. The
// parser writes Integers, which take the short way at every instruction.
inline size_t SlotIndex(const Variant& number, size_t count, const TCCContext& context) {
    if (number.IsInteger()) {
        const int32_t index = number.AsInteger();
        if (index >= 0 && static_cast<size_t>(index) < count) return static_cast<size_t>(index);
        throw InternalError(context);
    }
    return ConvertedSlotIndex(number, count, context);
}

// The message code of a dispatcher's failure result.
const char* DispatcherFailureCode(int32_t status) {
    static constexpr std::array<const char*, 5> Codes{"CVM021", "CVM022", "CVM023", "CVM024", "CVM025"};
    if (status >= 101 && status <= 105) return Codes[static_cast<size_t>(status - 101)];
    return "CVM010";
}

}  // namespace

TCalVM::TCalVM(const TCCContext& context, TVMVariableList& variables, TVMCommandList& code,
               TVMCallableList& callables)
    : FContext(context), FVariables(variables), FCode(code), FCallables(callables) {
    Reset();
}

void TCalVM::Reset() {
    ClearStack();
    ClearMemory();
    FRegisters.Clear();
    FSP = 0;
}

void TCalVM::UndoVariableWrites() {
    for (auto it = FReplacedValues.rbegin(); it != FReplacedValues.rend(); ++it) {
        it->first->Value = std::move(it->second);
        FVariables.NoteChanged(*it->first);
    }
    FReplacedValues.clear();
}

void TCalVM::Run() {
    ClearStack();
    FRegisters.Clear();
    FSP = 0;
    Execute(FCode);
}

// Conversion failures of the operators become coded messages; the calls
// report their own failures as EVMError already, which passes unchanged.
void TCalVM::Execute(TVMCommandList& list) {
    list.Rewind();
    try {
        while (const TVMCommand* command = list.Next()) {
            if (LineInterruptRequested()) throw EVMError(FContext.GetText("CVM040"));
            switch (command->Opcode) {
            case opNOP: break;
            case opPOP:
                if (command->Group == TVMCommand::Step::Single || !RunOperatorStep(list, *command))
                    ExecuteData(*command);
                break;
            case opCALL: ExecuteCall(*command); break;
            case opRET: return;
            case opICALL: ExecuteInternalCall(*command); break;
            default: ExecuteData(*command);
            }
        }
    } catch (const Exception&) {
        RethrowAsVMError(FContext);
    }
}

namespace {

TCalVM::BinaryOperation BinaryOperationOf(uint8_t opcode) {
    switch (opcode) {
    case opADD: return &BoundedAdd;
    case opSUB: return &Subtract;
    case opMUL: return &Multiply;
    case opDIV: return &Divide;
    case opIDV: return &IntDivide;
    case opMOD: return &Modulo;
    case opAND: return &And;
    case opOR: return &Or;
    case opXOR: return &Xor;
    default: return nullptr;
    }
}

TCalVM::UnaryOperation UnaryOperationOf(uint8_t opcode) {
    switch (opcode) {
    case opINV: return &Negate;
    case opNOT: return &Not;
    default: return nullptr;
    }
}

}  // namespace

// Runs the instructions of an operator as one step: the same pops, register
// writes and push as one by one, without decoding each operand. Returns
// false, having done nothing, where the stack is too short for the short
// way; the instructions then run one by one and report the fault.
bool TCalVM::RunOperatorStep(TVMCommandList& list, const TVMCommand& first) {
    const size_t next = static_cast<size_t>(list.Cursor);
    const bool binary = first.Group == TVMCommand::Step::BinaryOperator;
    if (next + (binary ? 3 : 2) > list.Count()) return false;
    if (binary) {
        const BinaryOperation operation = BinaryOperationOf(list[next + 1].Opcode);
        if (!operation || FSP < 2 || FSP >= static_cast<int32_t>(StackSize)) return false;
        FRegisters.Put(CX, FStack.Get(static_cast<size_t>(FSP--)));
        FRegisters.Put(BX, FStack.Get(static_cast<size_t>(FSP--)));
        FRegisters.Put(AX, operation(FRegisters.Get(BX), FRegisters.Get(CX), FContext.Separators()));
        list.Cursor += 3;
    } else {
        const UnaryOperation operation = UnaryOperationOf(list[next].Opcode);
        if (!operation || FSP < 1 || FSP >= static_cast<int32_t>(StackSize)) return false;
        FRegisters.Put(BX, FStack.Get(static_cast<size_t>(FSP--)));
        FRegisters.Put(AX, operation(FRegisters.Get(BX), FContext.Separators()));
        list.Cursor += 2;
    }
    Push(FRegisters.Get(AX));
    return true;
}

void TCalVM::ExecuteData(const TVMCommand& command) {
    switch (command.Opcode) {
    case opMOVE:
        WriteOperand(Required(command.Operand1, FContext), ReadOperand(Required(command.Operand2, FContext)));
        break;
    case opPUSH: Push(ReadOperand(Required(command.Operand1, FContext))); break;
    case opPOP: {
        const TVMOperand& destination = Required(command.Operand1, FContext);
        WriteOperand(destination, PopSlot());
        break;
    }
    case opADD: ExecuteBinary(command, &BoundedAdd); break;
    case opSUB: ExecuteBinary(command, &Subtract); break;
    case opMUL: ExecuteBinary(command, &Multiply); break;
    case opDIV: ExecuteBinary(command, &Divide); break;
    case opIDV: ExecuteBinary(command, &IntDivide); break;
    case opMOD: ExecuteBinary(command, &Modulo); break;
    case opINV: ExecuteUnary(command, &Negate); break;
    case opAND: ExecuteBinary(command, &And); break;
    case opOR: ExecuteBinary(command, &Or); break;
    case opXOR: ExecuteBinary(command, &Xor); break;
    case opNOT: ExecuteUnary(command, &Not); break;
    default: break;  // the unassigned codes do nothing
    }
}

void TCalVM::ExecuteBinary(const TVMCommand& command, BinaryOperation operation) {
    const TVMOperand& destination = Required(command.Operand1, FContext);
    const Variant& a = ReadOperand(Required(command.Operand2, FContext));
    const Variant& b = ReadOperand(Required(command.Operand3, FContext));
    WriteOperand(destination, operation(a, b, FContext.Separators()));
}

void TCalVM::ExecuteUnary(const TVMCommand& command, UnaryOperation operation) {
    const TVMOperand& destination = Required(command.Operand1, FContext);
    WriteOperand(destination, operation(ReadOperand(Required(command.Operand2, FContext)), FContext.Separators()));
}

void TCalVM::ExecuteCall(const TVMCommand& command) {
    std::string buffer;
    const std::string_view name = RoutineName(command, buffer);
    const TVMCallable* callable = FCallables.Find(name);
    if (!callable) throw EVMError(FContext.GetTextWith("CVM011", name));
    CallFunction(*callable);
}

void TCalVM::ExecuteInternalCall(const TVMCommand& command) {
    std::string buffer;
    CallInternal(RoutineName(command, buffer));
}

// The text of a call's name operand; buffer holds it when it is no String.
std::string_view TCalVM::RoutineName(const TVMCommand& command, std::string& buffer) const {
    const Variant& name = ReadOperand(Required(command.Operand1, FContext));
    if (name.IsString()) return name.AsString();
    buffer = name.ToText(FContext.Separators());
    return buffer;
}

void TCalVM::StackOverflow() const { throw EVMError(FContext.GetText("CVM002")); }

const Variant& TCalVM::PopSlot() {
    if (FSP <= 0 || FSP >= static_cast<int32_t>(StackSize)) throw InternalError(FContext);
    return FStack.Get(static_cast<size_t>(FSP--));
}

Variant TCalVM::Pop() { return PopSlot(); }

void TCalVM::ClearStack() {
    for (size_t i = 0; i < FStackUsed; ++i) FStack.Put(i, Variant(int32_t{0}));
    FStackUsed = 0;
}

void TCalVM::ClearMemory() {
    for (size_t i = 0; i < FMemoryUsed; ++i) FMemory.Put(i, Variant(int32_t{0}));
    FMemoryUsed = 0;
}

TVMVariable& TCalVM::VariableOf(const TVMOperand& operand) const {
    if (operand.Found && operand.FoundAtRemovals == FVariables.Removals()) return *operand.Found;
    if (!operand.Value.IsString()) throw InternalError(FContext);
    TVMVariable* variable = FVariables.Find(operand.Value.AsString());
    if (!variable) throw InternalError(FContext);
    return *variable;
}

const Variant& TCalVM::ReadOperand(const TVMOperand& operand) const {
    const uint8_t kind = operand.Kind;
    if (kind & okConstant) return operand.Value;
    if (kind & okRegister) return FRegisters.Get(SlotIndex(operand.Value, RegisterCount, FContext));
    if (kind & okAddress) return FMemory.Get(SlotIndex(operand.Value, MemorySize, FContext));
    if (kind & okVariable) return VariableOf(operand).Value;
    if (kind & (okCallable | okInternalRoutine)) return operand.Value;
    throw InternalError(FContext);
}

template <typename Value>
void TCalVM::Store(const TVMOperand& operand, Value&& value) {
    const uint8_t kind = operand.Kind;
    if (kind & okRegister) {
        FRegisters.Put(SlotIndex(operand.Value, RegisterCount, FContext), std::forward<Value>(value));
    } else if (kind & okAddress) {
        const size_t slot = SlotIndex(operand.Value, MemorySize, FContext);
        FMemory.Put(slot, std::forward<Value>(value));
        FMemoryUsed = std::max(FMemoryUsed, slot + 1);
    } else if (kind & okVariable) {
        TVMVariable& variable = VariableOf(operand);
        if (&variable.Value == &value) return;  // a variable stored into itself stays as it is
        FReplacedValues.emplace_back(&variable, std::move(variable.Value));
        variable.Value = std::forward<Value>(value);
        FVariables.NoteChanged(variable);
    }
}

void TCalVM::WriteOperand(const TVMOperand& operand, const Variant& value) { Store(operand, value); }

void TCalVM::WriteOperand(const TVMOperand& operand, Variant&& value) { Store(operand, std::move(value)); }

void TCalVM::CallFunction(const TVMCallable& callable) {
    // Zeroed, so a String result without its zero byte ends inside the buffer.
    FResultBuffer.Clear();
    char* const buffer = FResultBuffer.Data();
    VMXValue result;
    std::memset(&result, 0, sizeof result);
    result.StrValue = buffer;
    result.StrSize = static_cast<int32_t>(ResultBufferSize);

    const size_t count = callable.ArgCount > 0 ? static_cast<size_t>(callable.ArgCount) : 0;
    if (count > static_cast<size_t>(std::max(FSP, 0))) throw InternalError(FContext);
    std::vector<VMXValue> arguments(count);
    if (count > 0) std::memset(arguments.data(), 0, count * sizeof(VMXValue));
    // The last argument is on top. The popped slots keep their values, so a
    // String argument's characters stay valid while the dispatcher runs.
    for (size_t i = count; i-- > 0;) {
        const Variant& argument = PopSlot();
        try {
            VariantToVMX(argument, arguments[i]);
        } catch (const Exception&) {
            throw EVMError(FContext.GetTextWith("CVM010", callable.Name));
        }
    }
    if (!callable.Dispatcher) throw EVMError(FContext.GetTextWith("CVM010", callable.Name));

    int32_t status = 0;
    {
        const TModuleCallScope scope(reinterpret_cast<const void*>(callable.Dispatcher), callable.Name.c_str());
        status = callable.Invoke(&result, count > 0 ? arguments.data() : nullptr);
    }
    // A write past the buffer is the module's failure, whatever it reports.
    const bool overrun = FResultBuffer.GuardTouched();
    FResultBuffer.RestoreGuard();
    if (overrun) throw EVMError(FContext.GetTextWith("CVM010", callable.Name));
    if (status != 0) throw EVMError(FContext.GetTextWith(DispatcherFailureCode(status), callable.Name));
    // A length beyond our own buffer would read past it.
    constexpr int32_t bufferLength = static_cast<int32_t>(ResultBufferSize);
    if (result.ValueType == vmxString && result.StrValue == buffer && result.StrLength > bufferLength)
        result.StrLength = bufferLength;
    Variant value;
    try {
        value = VMXToVariant(result);
    } catch (const Exception&) {
        throw EVMError(FContext.GetTextWith("CVM026", callable.Name));
    }
    Push(std::move(value));
}

void TCalVM::CallInternal(std::string_view name) {
    if (name != PowerRoutineName) throw EVMError(FContext.GetTextWith("CVM031", name));
    try {
        const Variant& exponent = PopSlot();
        const Variant& base = PopSlot();
        // Both slots stay intact until the result is pushed over the base.
        Push(Power(base, exponent, FContext.Separators()));
    } catch (const Exception&) {
        RethrowAsVMError(FContext);
    }
}

}  // namespace quenmark
