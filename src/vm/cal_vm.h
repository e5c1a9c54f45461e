#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/context.h"
#include "vm/builtin_function_list.h"
#include "vm/callable_list.h"
#include "vm/command_list.h"
#include "vm/guarded_buffer.h"
#include "vm/line_interrupt.h"
#include "vm/memory.h"
#include "vm/user_function_list.h"
#include "vm/variable_list.h"

namespace quenmark {

// Runs the VM code of one expression and leaves the result on its stack.
// Every failure it reports is an EVMError with a coded message; conversion
// failures of the operators map to CVM001 (invalid operation), CVM005
// (division by zero), CVM006 (overflow) and CVM007 (not a number), and code
// the parser never produces (an empty stack, an unknown variable, a slot
// number out of range, a missing operand) to CVM003. The messages and the
// number separators are those of the context the machine is made with.
class TCalVM {
public:
    static constexpr size_t StackSize = 1024;
    static constexpr size_t MemorySize = 1024;
    static constexpr size_t RegisterCount = 8;
    // Size of the buffer a function may write its String result into.
    static constexpr size_t ResultBufferSize = 1024;
    // The longest String a concatenation may build. A longer one throws
    // std::length_error, which the line reports as running out of memory,
    // instead of attempting an allocation of gigabytes.
    static constexpr size_t MaxStringLength = size_t{16} << 20;

    // The context must outlive the machine.
    TCalVM(const TCCContext& context, TVMVariableList& variables, TVMCommandList& code, TVMCallableList& callables);

    const TCCContext& Context() const { return FContext; }
    // The user's functions, which a call finds by name after the module
    // functions; none until set. The list must outlive the machine.
    void SetUserFunctions(TVMUserFunctionList* functions) { FUserFunctions = functions; }
    // The program's own functions, found after the module functions; none
    // until set. The list must outlive the machine.
    void SetBuiltinFunctions(const TVMBuiltinFunctionList* functions) { FBuiltins = functions; }
    // The request to abandon this machine's line; nothing else stops it.
    TLineInterrupt& Interrupt() { return FInterrupt; }
    const TLineInterrupt& Interrupt() const { return FInterrupt; }

    // Every slot of the stack, the memory and the registers becomes Integer 0.
    void Reset();
    // Every slot of the memory becomes Integer 0: with Run, which clears
    // the stack and the registers, the same as Reset before Run.
    void ClearMemory();
    // Clears the stack and the registers (the memory keeps its slots) and
    // executes the shared command list.
    void Run();
    void Execute(TVMCommandList& list);

    // Every variable write keeps the value it replaced until the line ends:
    // Keep drops those values, Undo puts them back (newest first), so that a
    // line that runs out of memory leaves the variables as they were.
    void KeepVariableWrites() { FReplacedValues.clear(); }
    void UndoVariableWrites();
    // Returns the new SP. Slot 0 is never used, so 1023 values fit.
    int32_t Push(const Variant& value) {
        CheckPush();
        FStack.Put(static_cast<size_t>(FSP), value);
        return FSP;
    }
    int32_t Push(Variant&& value) {
        CheckPush();
        FStack.Put(static_cast<size_t>(FSP), std::move(value));
        return FSP;
    }
    // A copy of the top value; its slot keeps the content.
    Variant Pop();

    int32_t SP() const { return FSP; }

    // The value an operand stands for as a source; valid until the next write.
    const Variant& ReadOperand(const TVMOperand& operand) const;
    // Stores into a register, memory slot or variable; other kinds drop it.
    void WriteOperand(const TVMOperand& operand, const Variant& value);
    void WriteOperand(const TVMOperand& operand, Variant&& value);
    // Pops the arguments, calls the module's dispatcher, pushes its result.
    // A write past the result buffer fails the call with CVM010.
    void CallFunction(const TVMCallable& callable);
    // Runs a user function on the argCount values on top of the stack,
    // which stay there as its parameters, above them two slots that bound
    // the depth of recursion by the stack's size; then the result replaces
    // them. Throws CVM121 for a wrong number of arguments.
    void CallUserFunction(TVMUserFunction& function, size_t argCount);
    // Pops the arguments, runs the function, pushes its result.
    void CallBuiltinFunction(const TVMBuiltinFunction& function, size_t argCount);
    // Runs a built-in routine; PowerRoutineName is the only one.
    void CallInternal(std::string_view name);

    using BinaryOperation = Variant (*)(const Variant&, const Variant&, const NumberSeparators&);
    using UnaryOperation = Variant (*)(const Variant&, const NumberSeparators&);
    // The operation an operator's opcode stands for, as the machine does it;
    // null for other opcodes.
    static BinaryOperation BinaryOperationOf(uint8_t opcode);
    static UnaryOperation UnaryOperationOf(uint8_t opcode);

private:
    void ExecuteInstructions(TVMCommandList& list);
    void ExecuteData(const TVMCommandList& list, const TVMInstruction& instruction);
    bool RunOperatorStep(TVMCommandList& list, const TVMInstruction& first);
    void ExecuteBinary(const TVMCommandList& list, const TVMInstruction& instruction, BinaryOperation operation);
    void ExecuteUnary(const TVMCommandList& list, const TVMInstruction& instruction, UnaryOperation operation);
    void ExecuteCall(const TVMCommandList& list, const TVMInstruction& instruction);
    void ExecuteInternalCall(const TVMCommandList& list, const TVMInstruction& instruction);
    std::string_view RoutineName(const TVMCommandList& list, const TVMInstruction& instruction,
                                 std::string& buffer) const;
    const Variant& Source(const TVMCommandList& list, uint32_t operand) const {
        if (TVMInstruction::IsRegister(operand)) return FRegisters.Get(TVMInstruction::RegisterOf(operand));
        if (operand == TVMInstruction::Absent) MissingOperand();
        const TVMOperand& stored = list.Stored(operand);
        return stored.Kind == okConstant ? stored.Value : ReadOperand(stored);
    }
    [[noreturn]] void MissingOperand() const;
    template <typename Value>
    void Destination(const TVMCommandList& list, uint32_t operand, Value&& value);

    // The top slot, removed from the stack but left unchanged in place.
    const Variant& PopSlot();
    void CheckPush() {
        ++FSP;
        if (FSP >= static_cast<int32_t>(StackSize)) StackOverflow();
        if (static_cast<size_t>(FSP) >= FStackUsed) FStackUsed = static_cast<size_t>(FSP) + 1;
    }
    [[noreturn]] void StackOverflow() const;
    const Variant& LocalValue(const Variant& number) const;
    void ClearStack();
    TVMVariable& VariableOf(const TVMOperand& operand) const;
    template <typename Value>
    void Store(const TVMOperand& operand, Value&& value);

    const TCCContext& FContext;
    TLineInterrupt FInterrupt;
    TVMMemory FStack{StackSize};
    TVMMemory FMemory{MemorySize};
    TVMMemory FRegisters{RegisterCount};
    // Lent to every function call for its String result.
    TGuardedBuffer FResultBuffer{ResultBufferSize};
    int32_t FSP = 0;
    // The highest stack and memory slots written since they were last
    // cleared: clearing stops there, as the slots above still hold Integer 0.
    size_t FStackUsed = 0;
    size_t FMemoryUsed = 0;
    TVMVariableList& FVariables;
    std::vector<std::pair<TVMVariable*, Variant>> FReplacedValues;
    TVMCommandList& FCode;
    TVMCallableList& FCallables;
    TVMUserFunctionList* FUserFunctions = nullptr;
    const TVMBuiltinFunctionList* FBuiltins = nullptr;
    // The parameters of the user function running: the stack slot of the
    // first and their count; FFrameBase 0 outside every user function.
    size_t FFrameBase = 0;
    size_t FFrameSize = 0;
};

}  // namespace quenmark
