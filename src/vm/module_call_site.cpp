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
std::atomic<const char*> runningModule{nullptr};
std::atomic<bool> runningAtLoad{false};
}  // namespace module_call_site

using module_call_site::runningEntry;
using module_call_site::runningFunction;
using module_call_site::runningAtLoad;
using module_call_site::runningModule;

namespace {

// A distinct address that marks a call of a named module as running.
const char namedCallEntry = 0;

}  // namespace

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

TNamedModuleCallScope::TNamedModuleCallScope(const char* module, const char* function, bool atLoad)
    : FOuterEntry(runningEntry.load(std::memory_order_relaxed)),
      FOuterFunction(runningFunction.load(std::memory_order_relaxed)),
      FOuterModule(runningModule.load(std::memory_order_relaxed)),
      FOuterAtLoad(runningAtLoad.load(std::memory_order_relaxed)) {
    runningModule.store(module, std::memory_order_relaxed);
    runningAtLoad.store(atLoad, std::memory_order_relaxed);
    runningFunction.store(function, std::memory_order_relaxed);
    // The entry last: it is what makes the call count as running.
    std::atomic_signal_fence(std::memory_order_seq_cst);
    runningEntry.store(&namedCallEntry, std::memory_order_relaxed);
    std::atomic_signal_fence(std::memory_order_seq_cst);
}

TNamedModuleCallScope::~TNamedModuleCallScope() {
    std::atomic_signal_fence(std::memory_order_seq_cst);
    runningEntry.store(FOuterEntry, std::memory_order_relaxed);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    runningFunction.store(FOuterFunction, std::memory_order_relaxed);
    runningModule.store(FOuterModule, std::memory_order_relaxed);
    runningAtLoad.store(FOuterAtLoad, std::memory_order_relaxed);
}

bool RunningModuleCall(TRunningModuleCall& call) {
    const void* entry = runningEntry.load(std::memory_order_relaxed);
    if (!entry) return false;
    const char* function = runningFunction.load(std::memory_order_relaxed);
    call.Function = function ? function : "?";
    call.Module = "?";
    call.AtLoad = false;
    if (entry == &namedCallEntry) {
        const char* module = runningModule.load(std::memory_order_relaxed);
        if (module) call.Module = module;
        call.AtLoad = runningAtLoad.load(std::memory_order_relaxed);
        return true;
    }
    const size_t count = entryCount.load();
    for (size_t i = 0; i < count; ++i)
        if (entryNames[i].Entry == entry) call.Module = entryNames[i].Module;
    return true;
}

bool RunningModuleCall(const char*& module, const char*& function) {
    TRunningModuleCall call;
    if (!RunningModuleCall(call)) return false;
    module = call.Module;
    function = call.Function;
    return true;
}

}  // namespace quenmark
