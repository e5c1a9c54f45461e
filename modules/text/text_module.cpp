// text.vmx: text functions for Quenmark, and PRINT, which writes a value
// into the calculator's output.
#include <cstring>
#include <iterator>
#include <string>

#include "text_functions.h"
#include "vm/vmx.h"

namespace {

using namespace textmodule;

VMXOutputProc Output = nullptr;

// PRINT(x): writes the text of x as an output line and returns x.
int32_t Print(const VMXValue* args, VMXValue* result) {
    std::string text = ValueText(args[0]);
    if (Output) Output(text.c_str(), static_cast<int32_t>(text.size()));
    if (args[0].ValueType == vmxString) return SetText(result, std::move(text));
    result->ValueType = args[0].ValueType;
    if (args[0].ValueType == vmxInteger) result->IntValue = args[0].IntValue;
    else result->RealValue = args[0].RealValue;
    return vmxSuccess;
}

struct TextEntry {
    const char* Name;
    int32_t ArgCount;
    const char* Description;
    TextHandler Handler;
};

constexpr TextEntry Entries[] = {
    {"LEN", 1, "LEN(s): number of characters in the text s", Len},
    {"UPPER", 1, "UPPER(s): s with every letter in capitals", Upper},
    {"LOWER", 1, "LOWER(s): s with every letter in small letters", Lower},
    {"LEFT", 2, "LEFT(s, n): the first n characters of s", Left},
    {"RIGHT", 2, "RIGHT(s, n): the last n characters of s", Right},
    {"MID", 3, "MID(s, start, n): n characters of s from position start (the first is 1)", Mid},
    {"STR", 1, "STR(x): the number x as text, written as the calculator shows it", Str},
    {"VAL", 1, "VAL(s): the number written in the text s, with \".\" as the decimal point", Val},
    {"PRINT", 1, "PRINT(x): writes x as an output line and returns x", Print},
};

constexpr int32_t EntryCount = static_cast<int32_t>(std::size(Entries));

struct FunctionTable {
    FunctionTable() {
        for (int32_t i = 0; i < EntryCount; ++i)
            Records[i] = VMXFunction{sizeof(VMXFunction), Entries[i].Name, Entries[i].Description, Entries[i].ArgCount};
    }
    VMXFunction Records[std::size(Entries)];
};

const FunctionTable Functions;

const VMXModuleInfo Info = {
    sizeof(VMXModuleInfo),
    "Text",
    "Text functions and PRINT. Failures: 101 argument outside the domain, 102 argument of the wrong type, "
    "103 result out of range, 104 argument not a whole number, 105 unknown function or argument count.",
    "Func&Const",
    "1",
    nullptr,
    "The Quenmark developers",
    "Free to use, change and pass on.",
};

}  // namespace

VMX_EXPORT int32_t SetStdout(VMXOutputProc output) {
    Output = output;
    return 0;
}

VMX_EXPORT const VMXModuleInfo* GetModuleInfo() { return &Info; }

VMX_EXPORT int32_t GetFunctionsNum() { return EntryCount; }

VMX_EXPORT const VMXFunction* GetFunctions() { return Functions.Records; }

VMX_EXPORT int32_t FunctionDispatcher(const char* name, VMXValue* result, VMXValue* args, int32_t argCount) {
    for (const TextEntry& entry : Entries) {
        if (std::strcmp(entry.Name, name) != 0) continue;
        if (argCount != entry.ArgCount || (argCount > 0 && !args)) return textUnknownCall;
        return entry.Handler(args, result);
    }
    return textUnknownCall;
}
