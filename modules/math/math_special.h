/* Special functions, logarithms and roots of math.vmx: the error function,
   the gamma and beta functions, exponentials and logarithms near their exact points,
   logarithms to any base and roots of any degree. */
#ifndef QUENMARK_MATH_SPECIAL_H
#define QUENMARK_MATH_SPECIAL_H

#include "math_values.h"

int32_t MathErf(const VMXValue* args, VMXValue* result);
int32_t MathErfc(const VMXValue* args, VMXValue* result);
int32_t MathGamma(const VMXValue* args, VMXValue* result);
int32_t MathLgamma(const VMXValue* args, VMXValue* result);
int32_t MathBeta(const VMXValue* args, VMXValue* result);
int32_t MathExpm1(const VMXValue* args, VMXValue* result);
int32_t MathLn1p(const VMXValue* args, VMXValue* result);
int32_t MathExp2(const VMXValue* args, VMXValue* result);
int32_t MathExp10(const VMXValue* args, VMXValue* result);
int32_t MathLogb(const VMXValue* args, VMXValue* result);
int32_t MathRoot(const VMXValue* args, VMXValue* result);

#endif /* QUENMARK_MATH_SPECIAL_H */
