#pragma once

#include <atomic>
#include <string>

namespace quenmark {

// Which module entry point the process is running, for a handler of fatal
// signals that must name it with async-signal-safe calls only. The loader
// notes each module's entry points with the module's file name; every call
// into a module is marked by a scope around it.

// Remembers the module that an entry point belongs to. Up to 256 entry
// points are kept; a name is cut to 127 bytes.
void NoteModuleEntry(const void* entry, const std::string& moduleFileName);

// Marks a call of entry under the function name for its lifetime. The name
// must outlive the scope.
namespace module_call_site {
// The running call; read by the fatal-signal handler.
extern std::atomic<const void*> runningEntry;
extern std::atomic<const char*> runningFunction;
// Set by TNamedModuleCallScope only: the module's file name, and whether
// the module is being loaded.
extern std::atomic<const char*> runningModule;
extern std::atomic<bool> runningAtLoad;
}  // namespace module_call_site

// In line, as every token position of every line calls a module.
class TModuleCallScope {
public:
    TModuleCallScope(const void* entry, const char* function)
        : FOuterEntry(module_call_site::runningEntry.load(std::memory_order_relaxed)),
          FOuterFunction(module_call_site::runningFunction.load(std::memory_order_relaxed)) {
        module_call_site::runningFunction.store(function, std::memory_order_relaxed);
        module_call_site::runningEntry.store(entry, std::memory_order_relaxed);
        std::atomic_signal_fence(std::memory_order_seq_cst);
    }
    ~TModuleCallScope() {
        std::atomic_signal_fence(std::memory_order_seq_cst);
        module_call_site::runningEntry.store(FOuterEntry, std::memory_order_relaxed);
        module_call_site::runningFunction.store(FOuterFunction, std::memory_order_relaxed);
    }
    TModuleCallScope(const TModuleCallScope&) = delete;
    TModuleCallScope& operator=(const TModuleCallScope&) = delete;

private:
    const void* FOuterEntry;
    const char* FOuterFunction;
};

// Marks a call into a module named directly, for the calls that are not
// made through a noted entry point: those made while the module loads
// (atLoad) and those that ask a loaded module about itself. The texts must
// outlive the scope; such scopes do not nest within each other.
class TNamedModuleCallScope {
public:
    TNamedModuleCallScope(const char* module, const char* function, bool atLoad);
    ~TNamedModuleCallScope();
    TNamedModuleCallScope(const TNamedModuleCallScope&) = delete;
    TNamedModuleCallScope& operator=(const TNamedModuleCallScope&) = delete;

private:
    const void* FOuterEntry;
    const char* FOuterFunction;
    const char* FOuterModule;
    bool FOuterAtLoad;
};

// The running call into module code, as a fatal-signal handler sees it.
struct TRunningModuleCall {
    const char* Module = "?";
    const char* Function = "?";
    bool AtLoad = false;  // the module was being loaded
};

// The module and function of the running call: false when no module code
// runs. Async-signal-safe; the texts stay valid. An entry point that was
// never noted gives the module name "?".
bool RunningModuleCall(TRunningModuleCall& call);
bool RunningModuleCall(const char*& module, const char*& function);

}  // namespace quenmark
