#include "vm/command_list.h"

namespace quenmark {

namespace {

std::optional<TVMOperand> OperandOf(const TVMCommandList& list, uint32_t operand) {
    if (operand == TVMInstruction::Absent) return std::nullopt;
    if (TVMInstruction::IsRegister(operand))
        return TVMOperand::Register(static_cast<RegisterNumber>(TVMInstruction::RegisterOf(operand)));
    return list.Stored(operand);
}

}  // namespace

TVMCommand TVMCommandList::operator[](size_t index) const {
    const TVMInstruction& instruction = Instruction(index);
    TVMCommand command(instruction.Opcode);
    command.Group = instruction.Group;
    command.Operand1 = OperandOf(*this, instruction.Operands[0]);
    command.Operand2 = OperandOf(*this, instruction.Operands[1]);
    command.Operand3 = OperandOf(*this, instruction.Operands[2]);
    return command;
}

void TVMCommandList::Add(const TVMCommand& command) {
    TVMInstruction& instruction = Append(command.Opcode, command.Group);
    instruction.Operands[0] = Keep(command.Operand1);
    instruction.Operands[1] = Keep(command.Operand2);
    instruction.Operands[2] = Keep(command.Operand3);
}

uint32_t TVMCommandList::Keep(TVMOperand&& operand) {
    if (operand.Kind == okRegister && operand.Value.IsInteger() && !operand.Found) {
        const int32_t number = operand.Value.AsInteger();
        if (number >= 0 && number < static_cast<int32_t>(HX) + 1)
            return TVMInstruction::RegisterFlag | static_cast<uint32_t>(number);
    }
    std::vector<TVMOperand>* chunk = &FOperands.back();
    if (chunk->size() == OperandChunkSize) {
        FOperands.emplace_back();
        chunk = &FOperands.back();
    }
    if (chunk->capacity() == 0) chunk->reserve(OperandChunkSize);
    chunk->push_back(std::move(operand));
    return static_cast<uint32_t>(FOperandCount++);
}

void TVMCommandList::AddChunk() { FChunks.push_back(std::make_unique<TVMInstruction[]>(ChunkSize)); }

}  // namespace quenmark
