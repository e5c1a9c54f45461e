/* The entry points of a module whose functions come from a table of
   MathEntry records (and whose constants, if any, from a table of
   VMXConstant records), written once for every such module. A module
   declares its tables and its information record, then names them at file
   scope:

       TABLE_MODULE_FUNCTIONS(Info, Entries)
       TABLE_MODULE_CONSTANTS(Constants)      -- only if it has constants

   The first defines Init, GetModuleInfo, GetFunctionsNum, GetFunctions and
   FunctionDispatcher; the second GetConstantsNum and GetConstants. A module
   without constants exports neither of the two, as the program expects. */
#ifndef QUENMARK_TABLE_MODULE_H
#define QUENMARK_TABLE_MODULE_H

#include "math_table.h"

#define TABLE_MODULE_COUNT(table) ((int32_t)(sizeof(table) / sizeof((table)[0])))

/* The function records are filled from the entries in Init and again in
   GetFunctions, so that the table is complete whichever the program calls
   first. */
#define TABLE_MODULE_FUNCTIONS(info, entries)                                                               \
    static VMXFunction TableModuleFunctions[sizeof(entries) / sizeof((entries)[0])];                       \
                                                                                                            \
    VMX_EXPORT int32_t Init(void) {                                                                         \
        MathFillFunctions(entries, TABLE_MODULE_COUNT(entries), TableModuleFunctions);                      \
        return vmxSuccess;                                                                                  \
    }                                                                                                       \
                                                                                                            \
    VMX_EXPORT const VMXModuleInfo* GetModuleInfo(void) { return &(info); }                                 \
                                                                                                            \
    VMX_EXPORT int32_t GetFunctionsNum(void) { return TABLE_MODULE_COUNT(entries); }                        \
                                                                                                            \
    VMX_EXPORT const VMXFunction* GetFunctions(void) {                                                      \
        MathFillFunctions(entries, TABLE_MODULE_COUNT(entries), TableModuleFunctions);                      \
        return TableModuleFunctions;                                                                        \
    }                                                                                                       \
                                                                                                            \
    VMX_EXPORT int32_t FunctionDispatcher(const char* name, VMXValue* result, VMXValue* args,               \
                                          int32_t argCount) {                                               \
        return MathDispatch(entries, TABLE_MODULE_COUNT(entries), name, result, args, argCount);            \
    }

#define TABLE_MODULE_CONSTANTS(constants)                                                                   \
    VMX_EXPORT int32_t GetConstantsNum(void) { return TABLE_MODULE_COUNT(constants); }                      \
                                                                                                            \
    VMX_EXPORT const VMXConstant* GetConstants(void) { return constants; }

#endif
