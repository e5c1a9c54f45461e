#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "vm/command.h"

namespace quenmark {

// One instruction as the machine runs it: 16 bytes, where a TVMCommand
// takes more than two hundred. Each operand is absent, a register number
// kept in line, or the index of a full operand in the list's store.
struct TVMInstruction {
    static constexpr uint32_t Absent = 0xFFFFFFFFu;
    static constexpr uint32_t RegisterFlag = 0x80000000u;

    static bool IsRegister(uint32_t operand) { return operand != Absent && (operand & RegisterFlag) != 0; }
    static uint32_t RegisterOf(uint32_t operand) { return operand & ~RegisterFlag; }

    uint8_t Opcode = opNOP;
    TVMCommand::Step Group = TVMCommand::Step::Single;
    uint32_t Operands[3] = {Absent, Absent, Absent};
};

// The instructions of one compiled expression, with a cursor for running
// them. They are kept in chunks of ChunkSize, so a long line's code grows
// without ever being moved or held twice; Clear keeps the first chunk, so a
// reused list stops allocating, and lets the others go. Operands other
// than plain registers (constants, variables, names) are kept in a store
// that does not move them either. A TVMCommand is made from an instruction
// whenever one is asked for, for listings and for inspection.
class TVMCommandList {
public:
    static constexpr size_t ChunkSize = 512;
    static constexpr size_t OperandChunkSize = 256;

    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = TVMCommand;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = TVMCommand;

        const_iterator() = default;
        const_iterator(const TVMCommandList* list, size_t index) : FList(list), FIndex(index) {}
        TVMCommand operator*() const { return (*FList)[FIndex]; }
        const_iterator& operator++() {
            ++FIndex;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++FIndex;
            return before;
        }
        bool operator==(const const_iterator& other) const { return FIndex == other.FIndex; }

    private:
        const TVMCommandList* FList = nullptr;
        size_t FIndex = 0;
    };

    TVMCommandList() : FOperands(1) { AddChunk(); }

    size_t Count() const { return FCount; }
    // The instruction at index as a command.
    TVMCommand operator[](size_t index) const;
    const TVMInstruction& Instruction(size_t index) const { return FChunks[index / ChunkSize][index % ChunkSize]; }
    TVMInstruction& Instruction(size_t index) { return FChunks[index / ChunkSize][index % ChunkSize]; }
    // The full operand an instruction's operand stands for; not for registers
    // kept in line.
    const TVMOperand& Stored(uint32_t operand) const {
        return FOperands[operand / OperandChunkSize][operand % OperandChunkSize];
    }

    void Add(const TVMCommand& command);
    template <typename... Given>
    void Emit(uint8_t opcode, Given&&... operands) {
        static_assert(sizeof...(Given) <= 3, "an instruction has at most three operands");
        const uint32_t kept[] = {Keep(std::forward<Given>(operands))..., TVMInstruction::Absent};
        TVMInstruction& instruction = Append(opcode);
        for (size_t i = 0; i < sizeof...(Given); ++i) instruction.Operands[i] = kept[i];
    }

    // A binary operator: the right operand is popped into CX, the left into
    // BX, the result is made in AX and pushed.
    void EmitBinaryOperator(uint8_t opcode) {
        // Written in place: a copy from a sequence built on the stack stalls
        // on reading back what was just stored.
        if (TVMInstruction* at = Room(4)) {
            SetInstruction(at[0], opPOP, TVMCommand::Step::BinaryOperator, InLine(CX));
            SetInstruction(at[1], opPOP, TVMCommand::Step::Single, InLine(BX));
            SetInstruction(at[2], opcode, TVMCommand::Step::Single, InLine(AX), InLine(BX), InLine(CX));
            SetInstruction(at[3], opPUSH, TVMCommand::Step::Single, InLine(AX));
            return;
        }
        Append(opPOP, TVMCommand::Step::BinaryOperator).Operands[0] = InLine(CX);
        Append(opPOP).Operands[0] = InLine(BX);
        TVMInstruction& operation = Append(opcode);
        operation.Operands[0] = InLine(AX);
        operation.Operands[1] = InLine(BX);
        operation.Operands[2] = InLine(CX);
        Append(opPUSH).Operands[0] = InLine(AX);
    }
    // A unary operator: the operand is popped into BX, the result is made
    // in AX and pushed.
    void EmitUnaryOperator(uint8_t opcode) {
        Append(opPOP, TVMCommand::Step::UnaryOperator).Operands[0] = InLine(BX);
        TVMInstruction& operation = Append(opcode);
        operation.Operands[0] = InLine(AX);
        operation.Operands[1] = InLine(BX);
        Append(opPUSH).Operands[0] = InLine(AX);
    }

    void Clear() {
        FChunks.resize(1);
        FOperands.resize(1);
        FOperands[0].clear();
        FOperandCount = 0;
        FCount = 0;
        Rewind();
    }
    void Rewind() { Cursor = 0; }
    // The instruction at the cursor, advancing it; null past the end.
    const TVMInstruction* Next() {
        if (Cursor < 0 || static_cast<size_t>(Cursor) >= FCount) return nullptr;
        return &Instruction(static_cast<size_t>(Cursor++));
    }

    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, FCount}; }

    int32_t Cursor = 0;

private:
    static uint32_t InLine(RegisterNumber number) { return TVMInstruction::RegisterFlag | static_cast<uint32_t>(number); }

    [[gnu::always_inline]] TVMInstruction& Append(uint8_t opcode, TVMCommand::Step group = TVMCommand::Step::Single) {
        if (FCount == FChunks.size() * ChunkSize) AddChunk();
        TVMInstruction& instruction = Instruction(FCount++);
        instruction = TVMInstruction{};
        instruction.Opcode = opcode;
        instruction.Group = group;
        return instruction;
    }
    // Room for count instructions at the end of the last chunk, counted as
    // appended; null when they do not fit there.
    TVMInstruction* Room(size_t count) {
        if (FCount % ChunkSize + count > ChunkSize || FCount >= FChunks.size() * ChunkSize) return nullptr;
        TVMInstruction* at = &Instruction(FCount);
        FCount += count;
        return at;
    }
    static void SetInstruction(TVMInstruction& instruction, uint8_t opcode, TVMCommand::Step group,
                               uint32_t first = TVMInstruction::Absent, uint32_t second = TVMInstruction::Absent,
                               uint32_t third = TVMInstruction::Absent) {
        instruction.Opcode = opcode;
        instruction.Group = group;
        instruction.Operands[0] = first;
        instruction.Operands[1] = second;
        instruction.Operands[2] = third;
    }
    // A plain register stays in line; any other operand goes to the store.
    uint32_t Keep(TVMOperand&& operand);
    uint32_t Keep(const TVMOperand& operand) { return Keep(TVMOperand(operand)); }
    uint32_t Keep(const std::optional<TVMOperand>& operand) {
        return operand ? Keep(*operand) : TVMInstruction::Absent;
    }
    void AddChunk();

    std::vector<std::unique_ptr<TVMInstruction[]>> FChunks;
    std::vector<std::vector<TVMOperand>> FOperands;
    size_t FCount = 0;
    size_t FOperandCount = 0;
};

}  // namespace quenmark
