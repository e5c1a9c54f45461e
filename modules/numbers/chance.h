/* Random numbers of numbers.vmx, from a xoshiro256** generator started once
   from the system's entropy. Not for secrets. */
#ifndef QUENMARK_CHANCE_H
#define QUENMARK_CHANCE_H

#include "../math/math_values.h"

int32_t NumbersRandom(const VMXValue* args, VMXValue* result);
int32_t NumbersRandInt(const VMXValue* args, VMXValue* result);

#endif /* QUENMARK_CHANCE_H */
