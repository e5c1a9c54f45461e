#include "math_table.h"

#include <string.h>

void MathFillFunctions(const MathEntry* entries, int32_t count, VMXFunction* functions) {
    for (int32_t i = 0; i < count; ++i) {
        functions[i].Size = sizeof(VMXFunction);
        functions[i].Name = entries[i].Name;
        functions[i].Description = entries[i].Description;
        functions[i].ArgCount = entries[i].ArgCount;
    }
}

int32_t MathDispatch(const MathEntry* entries, int32_t count, const char* name, VMXValue* result,
                     const VMXValue* args, int32_t argCount) {
    for (int32_t i = 0; i < count; ++i) {
        if (strcmp(entries[i].Name, name) != 0) continue;
        if (argCount != entries[i].ArgCount || (argCount > 0 && !args)) return mathUnknownCall;
        for (int32_t a = 0; a < argCount; ++a)
            if (args[a].ValueType != vmxInteger && args[a].ValueType != vmxReal) return mathNotNumber;
        return entries[i].Handler(args, result);
    }
    return mathUnknownCall;
}
