// A shipped module opened directly, so that tests can call its functions
// with exact argument records and read the exact result records.
#pragma once

#include <dlfcn.h>

#include <string>
#include <vector>

#include "module_test_support.h"
#include "vm/vmx.h"

namespace quenmark::testing {

class ShippedLibrary {
public:
    explicit ShippedLibrary(const std::string& fileName)
        : handle_(dlopen((ProgramModuleDirectory() + fileName).c_str(), RTLD_NOW | RTLD_LOCAL)) {}
    ~ShippedLibrary() {
        if (handle_) dlclose(handle_);
    }
    ShippedLibrary(const ShippedLibrary&) = delete;
    ShippedLibrary& operator=(const ShippedLibrary&) = delete;

    bool IsOpen() const { return handle_ && Dispatcher(); }

    // The status the module answers; the result record is filled on success.
    int32_t Call(const std::string& name, std::vector<VMXValue> args, VMXValue& result) const {
        result = VMXValue{};
        return Dispatcher()(name.c_str(), &result, args.data(), static_cast<int32_t>(args.size()));
    }

    template <typename Procedure>
    Procedure Symbol(const char* name) const {
        return reinterpret_cast<Procedure>(dlsym(handle_, name));
    }

private:
    VMXFunctionDispatcher Dispatcher() const { return Symbol<VMXFunctionDispatcher>("FunctionDispatcher"); }

    void* handle_;
};

inline VMXValue IntegerRecord(int32_t value) {
    VMXValue record{};
    record.ValueType = vmxInteger;
    record.IntValue = value;
    return record;
}

inline VMXValue RealRecord(double value) {
    VMXValue record{};
    record.ValueType = vmxReal;
    record.RealValue = value;
    return record;
}

// The number of an Integer or Real record, read by value: the records are
// packed, so their fields must not be bound to references.
inline double NumberOf(const VMXValue& record) {
    return record.ValueType == vmxInteger ? record.IntValue : record.RealValue;
}

}  // namespace quenmark::testing
