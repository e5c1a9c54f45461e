#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

#include "vm/command.h"

namespace quenmark {

// The instructions of one compiled expression, with a cursor for running
// them. They are kept in chunks of fixed capacity, so a long line's code
// grows without ever being moved or held twice; Clear keeps the first chunk,
// so a reused list stops allocating, and lets the others go.
class TVMCommandList {
public:
    static constexpr size_t ChunkSize = 512;

    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = TVMCommand;
        using difference_type = std::ptrdiff_t;
        using pointer = const TVMCommand*;
        using reference = const TVMCommand&;

        const_iterator() = default;
        const_iterator(const TVMCommandList* list, size_t index) : FList(list), FIndex(index) {}
        reference operator*() const { return (*FList)[FIndex]; }
        pointer operator->() const { return &(*FList)[FIndex]; }
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

    explicit TVMCommandList(size_t capacity = 32) : FChunks(1) { FChunks[0].reserve(capacity); }

    size_t Count() const { return FCount; }
    const TVMCommand& operator[](size_t index) const { return FChunks[index / ChunkSize][index % ChunkSize]; }
    TVMCommand& operator[](size_t index) { return FChunks[index / ChunkSize][index % ChunkSize]; }
    void Add(TVMCommand command) { Emit(std::move(command)); }
    // In line: the parser emits a few instructions for every token.
    template <typename... Args>
    [[gnu::always_inline]] void Emit(Args&&... args) {
        std::vector<TVMCommand>* chunk = &FChunks.back();
        if (chunk->size() == chunk->capacity()) chunk = &Grow();
        chunk->emplace_back(std::forward<Args>(args)...);
        ++FCount;
    }

    // A binary operator: the right operand is popped into CX, the left into
    // BX, the result is made in AX and pushed.
    void EmitBinaryOperator(uint8_t opcode) {
        Emit(opPOP, TVMOperand::Register(CX));
        Last().Group = TVMCommand::Step::BinaryOperator;
        Emit(opPOP, TVMOperand::Register(BX));
        Emit(opcode, TVMOperand::Register(AX), TVMOperand::Register(BX), TVMOperand::Register(CX));
        Emit(opPUSH, TVMOperand::Register(AX));
    }
    // A unary operator: the operand is popped into BX, the result is made
    // in AX and pushed.
    void EmitUnaryOperator(uint8_t opcode) {
        Emit(opPOP, TVMOperand::Register(BX));
        Last().Group = TVMCommand::Step::UnaryOperator;
        Emit(opcode, TVMOperand::Register(AX), TVMOperand::Register(BX));
        Emit(opPUSH, TVMOperand::Register(AX));
    }

    void Clear() {
        FChunks.resize(1);
        FChunks[0].clear();
        FCount = 0;
        Rewind();
    }
    void Rewind() { Cursor = 0; }
    // The command at the cursor, advancing it; null past the end.
    const TVMCommand* Next() {
        if (Cursor < 0 || static_cast<size_t>(Cursor) >= FCount) return nullptr;
        return &(*this)[static_cast<size_t>(Cursor++)];
    }

    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, FCount}; }

    int32_t Cursor = 0;

private:
    TVMCommand& Last() { return FChunks.back().back(); }
    // The chunk with room for the next instruction: the last one with its
    // capacity doubled up to ChunkSize, or a new one.
    [[gnu::noinline]] std::vector<TVMCommand>& Grow() {
        std::vector<TVMCommand>& last = FChunks.back();
        if (last.capacity() < ChunkSize) {
            last.reserve(std::min(ChunkSize, std::max<size_t>(2 * last.capacity(), 8)));
            return last;
        }
        FChunks.emplace_back();
        FChunks.back().reserve(ChunkSize);
        return FChunks.back();
    }

    std::vector<std::vector<TVMCommand>> FChunks;
    size_t FCount = 0;
};

}  // namespace quenmark
