/* The function table of the math and numbers modules: one list of entries
   from which both the table the program reads and the dispatch are made,
   so that the two cannot disagree. */
#ifndef QUENMARK_MATH_TABLE_H
#define QUENMARK_MATH_TABLE_H

#include "math_values.h"

typedef struct MathEntry {
    const char* Name;
    int32_t ArgCount;
    const char* Description;
    MathHandler Handler;
} MathEntry;

/* Fills functions[0..count) from the entries. */
void MathFillFunctions(const MathEntry* entries, int32_t count, VMXFunction* functions);

/* Runs the entry of the name with the arguments, all of which must be
   numbers; mathUnknownCall for an unknown name or a wrong count. */
int32_t MathDispatch(const MathEntry* entries, int32_t count, const char* name, VMXValue* result,
                     const VMXValue* args, int32_t argCount);

#endif
