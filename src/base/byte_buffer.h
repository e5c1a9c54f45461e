#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

namespace quenmark {

// Bytes appended in line, without a call into the string library for each
// short piece; the room grows by doubling and is kept when the bytes are
// cleared or cut short.
class TByteBuffer {
public:
    TByteBuffer() : FData(new char[InitialRoom]), FRoom(InitialRoom) {}

    void Put(std::string_view bytes) {
        if (bytes.empty()) return;  // its data may be null, which memcpy must not see
        if (FRoom - FSize < bytes.size()) Grow(bytes.size());
        std::memcpy(FData.get() + FSize, bytes.data(), bytes.size());
        FSize += bytes.size();
    }
    void Put(char byte) {
        if (FRoom == FSize) Grow(1);
        FData[FSize++] = byte;
    }

    char* Data() { return FData.get(); }
    const char* Data() const { return FData.get(); }
    size_t Size() const { return FSize; }
    bool Empty() const { return FSize == 0; }
    void Clear() { FSize = 0; }
    // Keeps the first size bytes; size is at most Size().
    void CutTo(size_t size) { FSize = size; }

private:
    static constexpr size_t InitialRoom = 256;

    void Grow(size_t more) {
        size_t room = FRoom * 2;
        while (room - FSize < more) room *= 2;
        std::unique_ptr<char[]> data(new char[room]);
        std::memcpy(data.get(), FData.get(), FSize);
        FData = std::move(data);
        FRoom = room;
    }

    std::unique_ptr<char[]> FData;
    size_t FSize = 0;
    size_t FRoom = 0;
};

}  // namespace quenmark
