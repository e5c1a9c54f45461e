/* Bit operations of numbers.vmx on the 32-bit pattern of an Integer. A
   pattern argument is a whole number from -2^31 to 2^32 - 1 (0xFFFFFFFF and
   -1 are the same pattern); the result is the Integer with that pattern. */
#ifndef QUENMARK_BITS_H
#define QUENMARK_BITS_H

#include "../math/math_values.h"

int32_t NumbersShl(const VMXValue* args, VMXValue* result);
int32_t NumbersShr(const VMXValue* args, VMXValue* result);
int32_t NumbersRol(const VMXValue* args, VMXValue* result);
int32_t NumbersRor(const VMXValue* args, VMXValue* result);
int32_t NumbersBitAnd(const VMXValue* args, VMXValue* result);
int32_t NumbersBitOr(const VMXValue* args, VMXValue* result);
int32_t NumbersBitXor(const VMXValue* args, VMXValue* result);
int32_t NumbersBitNot(const VMXValue* args, VMXValue* result);
int32_t NumbersBitCount(const VMXValue* args, VMXValue* result);

#endif /* QUENMARK_BITS_H */
