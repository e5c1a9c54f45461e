#pragma once

#include <cstdint>
#include <vector>

#include "vm/command.h"

namespace quenmark {

// The instructions of one compiled expression, with a cursor for running
// them. Clear keeps the capacity, so a reused list stops allocating.
class TVMCommandList {
public:
    explicit TVMCommandList(size_t capacity = 32) { FCommands.reserve(capacity); }

    size_t Count() const { return FCommands.size(); }
    const TVMCommand& operator[](size_t index) const { return FCommands[index]; }
    TVMCommand& operator[](size_t index) { return FCommands[index]; }
    void Add(TVMCommand command) { FCommands.push_back(std::move(command)); }
    template <typename... Args>
    void Emit(Args&&... args) { FCommands.emplace_back(std::forward<Args>(args)...); }

    void Clear() {
        FCommands.clear();
        Rewind();
    }
    void Rewind() { Cursor = 0; }
    // The command at the cursor, advancing it; null past the end.
    const TVMCommand* Next() {
        if (Cursor < 0 || static_cast<size_t>(Cursor) >= FCommands.size()) return nullptr;
        return &FCommands[static_cast<size_t>(Cursor++)];
    }

    auto begin() const { return FCommands.begin(); }
    auto end() const { return FCommands.end(); }

    int32_t Cursor = 0;

private:
    std::vector<TVMCommand> FCommands;
};

}  // namespace quenmark
