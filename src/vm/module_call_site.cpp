#include "vm/module_call_site.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>

namespace quenmark {

namespace {

struct EntryName {
    const void* Entry = nullptr;
    char Module[128] = {};
};

// Fixed storage: the signal handler reads it without taking any lock. It
// is written only while modules load, before any of them is called.
std::array<EntryName, 256> entryNames;
std::atomic<size_t> entryCount{0};

}  // namespace

namespace module_call_site {
std::atomic<const void*> runningEntry{nullptr};
std::atomic<const char*> runningFunction{nullptr};
}  // namespace module_call_site

using module_call_site::runningEntry;
using module_call_site::runningFunction;

void NoteModuleEntry(const void* entry, const std::string& moduleFileName) {
    const size_t count = entryCount.load();
    if (!entry || count == entryNames.size()) return;
    EntryName& slot = entryNames[count];
    slot.Entry = entry;
    const size_t length = std::min(moduleFileName.size(), sizeof slot.Module - 1);
    std::memcpy(slot.Module, moduleFileName.data(), length);
    slot.Module[length] = 0;
    entryCount.store(count + 1);
}

bool RunningModuleCall(const char*& module, const char*& function) {
    const void* entry = runningEntry.load(std::memory_order_relaxed);
    if (!entry) return false;
    function = runningFunction.load(std::memory_order_relaxed);
    if (!function) function = "?";
    module = "?";
    const size_t count = entryCount.load();
    for (size_t i = 0; i < count; ++i)
        if (entryNames[i].Entry == entry) module = entryNames[i].Module;
    return true;
}

}  // namespace quenmark
