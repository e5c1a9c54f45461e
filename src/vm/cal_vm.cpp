#include "vm/cal_vm.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

#include "base/context.h"
#include "base/exception.h"
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
    FFrameBase = FFrameSize = 0;
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
    FFrameBase = FFrameSize = 0;
    ClearStack();
    FRegisters.Clear();
    FSP = 0;
    Execute(FCode);
}

// Conversion failures of the operators become coded messages; the calls
// report their own failures as EVMError already, which passes unchanged.
void TCalVM::Execute(TVMCommandList& list) {
    try {
        ExecuteInstructions(list);
    } catch (const Exception&) {
        RethrowAsVMError(FContext);
    }
}

// The body of a user function runs here too, without a handler of its own:
// a failure deep in a recursion goes straight to the one in Execute.
void TCalVM::ExecuteInstructions(TVMCommandList& list) {
    list.Rewind();
    while (const TVMInstruction* instruction = list.Next()) {
        if (FInterrupt.Requested()) throw EVMError(FContext.GetText("CVM040"));
        switch (instruction->Opcode) {
        case opNOP: break;
        case opPOP:
            if (instruction->Group == TVMCommand::Step::Single || !RunOperatorStep(list, *instruction))
                ExecuteData(list, *instruction);
            break;
        case opPUSH: Push(Source(list, instruction->Operands[0])); break;  // the commonest, in line
        case opCALL: ExecuteCall(list, *instruction); break;
        case opRET: return;
        case opICALL: ExecuteInternalCall(list, *instruction); break;
        default: ExecuteData(list, *instruction);
        }
    }
}

TCalVM::BinaryOperation TCalVM::BinaryOperationOf(uint8_t opcode) {
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

TCalVM::UnaryOperation TCalVM::UnaryOperationOf(uint8_t opcode) {
    switch (opcode) {
    case opINV: return &Negate;
    case opNOT: return &Not;
    default: return nullptr;
    }
}

// Runs the instructions of an operator as one step: the same pops, register
// writes and push as one by one, without decoding each operand. Returns
// false, having done nothing, where the stack is too short for the short
// way; the instructions then run one by one and report the fault.
bool TCalVM::RunOperatorStep(TVMCommandList& list, const TVMInstruction& first) {
    const size_t next = static_cast<size_t>(list.Cursor);
    const bool binary = first.Group == TVMCommand::Step::BinaryOperator;
    if (next + (binary ? 3 : 2) > list.Count()) return false;
    if (binary) {
        const BinaryOperation operation = BinaryOperationOf(list.Instruction(next + 1).Opcode);
        if (!operation || FSP < 2 || FSP >= static_cast<int32_t>(StackSize)) return false;
        FRegisters.Put(CX, FStack.Get(static_cast<size_t>(FSP--)));
        FRegisters.Put(BX, FStack.Get(static_cast<size_t>(FSP--)));
        FRegisters.Put(AX, operation(FRegisters.Get(BX), FRegisters.Get(CX), FContext.Separators()));
        list.Cursor += 3;
    } else {
        const UnaryOperation operation = UnaryOperationOf(list.Instruction(next).Opcode);
        if (!operation || FSP < 1 || FSP >= static_cast<int32_t>(StackSize)) return false;
        FRegisters.Put(BX, FStack.Get(static_cast<size_t>(FSP--)));
        FRegisters.Put(AX, operation(FRegisters.Get(BX), FContext.Separators()));
        list.Cursor += 2;
    }
    Push(FRegisters.Get(AX));
    return true;
}

void TCalVM::MissingOperand() const { throw InternalError(FContext); }

template <typename Value>
void TCalVM::Destination(const TVMCommandList& list, uint32_t operand, Value&& value) {
    if (operand == TVMInstruction::Absent) throw InternalError(FContext);
    if (TVMInstruction::IsRegister(operand)) FRegisters.Put(TVMInstruction::RegisterOf(operand), std::forward<Value>(value));
    else Store(list.Stored(operand), std::forward<Value>(value));
}

void TCalVM::ExecuteData(const TVMCommandList& list, const TVMInstruction& instruction) {
    const uint32_t* operands = instruction.Operands;
    switch (instruction.Opcode) {
    case opMOVE:
        if (operands[0] == TVMInstruction::Absent) throw InternalError(FContext);
        Destination(list, operands[0], Source(list, operands[1]));
        break;
    case opPUSH: Push(Source(list, operands[0])); break;
    case opPOP:
        if (operands[0] == TVMInstruction::Absent) throw InternalError(FContext);
        Destination(list, operands[0], PopSlot());
        break;
    case opADD: ExecuteBinary(list, instruction, &BoundedAdd); break;
    case opSUB: ExecuteBinary(list, instruction, &Subtract); break;
    case opMUL: ExecuteBinary(list, instruction, &Multiply); break;
    case opDIV: ExecuteBinary(list, instruction, &Divide); break;
    case opIDV: ExecuteBinary(list, instruction, &IntDivide); break;
    case opMOD: ExecuteBinary(list, instruction, &Modulo); break;
    case opINV: ExecuteUnary(list, instruction, &Negate); break;
    case opAND: ExecuteBinary(list, instruction, &And); break;
    case opOR: ExecuteBinary(list, instruction, &Or); break;
    case opXOR: ExecuteBinary(list, instruction, &Xor); break;
    case opNOT: ExecuteUnary(list, instruction, &Not); break;
    default: break;  // the unassigned codes do nothing
    }
}

void TCalVM::ExecuteBinary(const TVMCommandList& list, const TVMInstruction& instruction, BinaryOperation operation) {
    const uint32_t* operands = instruction.Operands;
    if (operands[0] == TVMInstruction::Absent) throw InternalError(FContext);
    const Variant& a = Source(list, operands[1]);
    const Variant& b = Source(list, operands[2]);
    Destination(list, operands[0], operation(a, b, FContext.Separators()));
}

void TCalVM::ExecuteUnary(const TVMCommandList& list, const TVMInstruction& instruction, UnaryOperation operation) {
    const uint32_t* operands = instruction.Operands;
    if (operands[0] == TVMInstruction::Absent) throw InternalError(FContext);
    Destination(list, operands[0], operation(Source(list, operands[1]), FContext.Separators()));
}

// A call whose argument count the code gives (the calls of a user
// function's body, and of user functions) is checked against the function
// found now; the others were checked as the line compiled.
void TCalVM::ExecuteCall(const TVMCommandList& list, const TVMInstruction& instruction) {
    std::string buffer;
    const std::string_view name = RoutineName(list, instruction, buffer);
    std::optional<size_t> argCount;
    if (instruction.Operands[1] != TVMInstruction::Absent) {
        const Variant& count = Source(list, instruction.Operands[1]);
        if (!count.IsInteger() || count.AsInteger() < 0) throw InternalError(FContext);
        argCount = static_cast<size_t>(count.AsInteger());
    }
    if (const TVMCallable* callable = FCallables.Find(name)) {
        if (argCount && *argCount != static_cast<size_t>(std::max(callable->ArgCount, 0)))
            throw EVMError(FContext.GetTextWith("CVM121", callable->Name));
        return CallFunction(*callable);
    }
    if (const TVMBuiltinFunction* builtin = FBuiltins ? FBuiltins->Find(name) : nullptr)
        return CallBuiltinFunction(*builtin, argCount.value_or(static_cast<size_t>(std::max(builtin->ArgCount, 0))));
    if (TVMUserFunction* function = FUserFunctions ? FUserFunctions->Find(name) : nullptr)
        return CallUserFunction(*function, argCount.value_or(function->Parameters.size()));
    throw EVMError(FContext.GetTextWith("CVM011", name));
}

namespace {

// Puts the machine's frame and the body's cursor back however the call ends.
class TFrameRestore {
public:
    TFrameRestore(size_t& base, size_t& size, int32_t& cursor)
        : FBase(base), FSize(size), FCursor(cursor), FOldBase(base), FOldSize(size), FOldCursor(cursor) {}
    ~TFrameRestore() {
        FBase = FOldBase;
        FSize = FOldSize;
        FCursor = FOldCursor;
    }
    TFrameRestore(const TFrameRestore&) = delete;
    TFrameRestore& operator=(const TFrameRestore&) = delete;

private:
    size_t& FBase;
    size_t& FSize;
    int32_t& FCursor;
    size_t FOldBase, FOldSize;
    int32_t FOldCursor;
};

}  // namespace

void TCalVM::CallUserFunction(TVMUserFunction& function, size_t argCount) {
    if (argCount != function.Parameters.size()) throw EVMError(FContext.GetTextWith("CVM121", function.Name));
    if (argCount > static_cast<size_t>(std::max(FSP, 0))) throw InternalError(FContext);
    const size_t base = static_cast<size_t>(FSP) - argCount + 1;
    // A recursion keeps the calls above it waiting at their places in the
    // same body, so the cursor is kept with the frame.
    const TFrameRestore restore(FFrameBase, FFrameSize, function.Body.Cursor);
    // Two slots per call even without parameters: a recursion that never
    // ends fills the stack (CVM002) within at most 511 calls, each of
    // which holds a few hundred bytes of the native stack.
    Push(Variant(int32_t{0}));
    Push(Variant(int32_t{0}));
    const int32_t frameTop = FSP;
    FFrameBase = base;
    FFrameSize = argCount;
    ExecuteInstructions(function.Body);
    if (FSP <= frameTop) throw InternalError(FContext);
    Variant result = Pop();
    FSP = static_cast<int32_t>(base) - 1;
    Push(std::move(result));
}

void TCalVM::CallBuiltinFunction(const TVMBuiltinFunction& function, size_t argCount) {
    if (argCount != static_cast<size_t>(std::max(function.ArgCount, 0)))
        throw EVMError(FContext.GetTextWith("CVM121", function.Name));
    if (argCount > static_cast<size_t>(std::max(FSP, 0))) throw InternalError(FContext);
    std::vector<Variant> arguments(argCount);
    for (size_t i = argCount; i-- > 0;) arguments[i] = PopSlot();
    Push(function.Run(arguments));
}

const Variant& TCalVM::LocalValue(const Variant& number) const {
    if (!number.IsInteger() || number.AsInteger() < 0) throw InternalError(FContext);
    const size_t index = static_cast<size_t>(number.AsInteger());
    if (FFrameBase == 0 || index >= FFrameSize) throw InternalError(FContext);
    return FStack.Get(FFrameBase + index);
}

void TCalVM::ExecuteInternalCall(const TVMCommandList& list, const TVMInstruction& instruction) {
    std::string buffer;
    CallInternal(RoutineName(list, instruction, buffer));
}

// The text of a call's name operand; buffer holds it when it is no String.
std::string_view TCalVM::RoutineName(const TVMCommandList& list, const TVMInstruction& instruction,
                                     std::string& buffer) const {
    const Variant& name = Source(list, instruction.Operands[0]);
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
    // A user function's body names variables that need not exist when it
    // is defined; elsewhere the parser names only variables that exist.
    if (!variable && FFrameBase != 0) throw EVMError(FContext.GetTextWith("CVM120", operand.Value.AsString()));
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
    if (kind & okLocal) return LocalValue(operand.Value);
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
