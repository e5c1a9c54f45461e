/* BIN, HEX and OCT of numbers.vmx: a whole number written in base 2, 16 or
   8, digits in capitals, without prefix. Numbers from 0 to 2^53 are written
   as they are; a negative one from -2^31 as its 32-bit pattern, as the
   calculator shows Integers in those modes (HEX(-1) is "FFFFFFFF"). */
#ifndef QUENMARK_RADIX_TEXT_H
#define QUENMARK_RADIX_TEXT_H

#include "../math/math_values.h"

int32_t NumbersBin(const VMXValue* args, VMXValue* result);
int32_t NumbersHex(const VMXValue* args, VMXValue* result);
int32_t NumbersOct(const VMXValue* args, VMXValue* result);

#endif /* QUENMARK_RADIX_TEXT_H */
