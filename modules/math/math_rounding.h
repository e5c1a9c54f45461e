/* Rounding to whole numbers and decimal places and division to whole quotients in math.vmx. */
#ifndef QUENMARK_MATH_ROUNDING_H
#define QUENMARK_MATH_ROUNDING_H

#include "math_values.h"

int32_t MathRound(const VMXValue* args, VMXValue* result);
int32_t MathRoundTo(const VMXValue* args, VMXValue* result);
int32_t MathTruncTo(const VMXValue* args, VMXValue* result);
int32_t MathIdiv(const VMXValue* args, VMXValue* result);
int32_t MathModf(const VMXValue* args, VMXValue* result);

#endif /* QUENMARK_MATH_ROUNDING_H */
