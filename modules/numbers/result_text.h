/* Text results of numbers.vmx. */
#ifndef QUENMARK_RESULT_TEXT_H
#define QUENMARK_RESULT_TEXT_H

#include "vm/vmx.h"

/* Longest text a function of this module writes: a factorization of a
   number up to 2^53 or 53 binary digits, with room to spare. */
#define RESULT_TEXT_CAPACITY 128

/* Copies text into memory of the module that stays valid until the next
   call and points the result at it. */
int32_t SetResultText(VMXValue* result, const char* text);

#endif /* QUENMARK_RESULT_TEXT_H */
