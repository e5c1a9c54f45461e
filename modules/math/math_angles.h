/* Angles in math.vmx: the reciprocal trigonometric functions and their
   inverses, trigonometry in degrees, gradians, and degrees from degrees,
   minutes and seconds. */
#ifndef QUENMARK_MATH_ANGLES_H
#define QUENMARK_MATH_ANGLES_H

#include "math_values.h"

int32_t MathSec(const VMXValue* args, VMXValue* result);
int32_t MathCsc(const VMXValue* args, VMXValue* result);
int32_t MathCot(const VMXValue* args, VMXValue* result);
int32_t MathAsec(const VMXValue* args, VMXValue* result);
int32_t MathAcsc(const VMXValue* args, VMXValue* result);
int32_t MathAcot(const VMXValue* args, VMXValue* result);

int32_t MathSind(const VMXValue* args, VMXValue* result);
int32_t MathCosd(const VMXValue* args, VMXValue* result);
int32_t MathTand(const VMXValue* args, VMXValue* result);
int32_t MathAsind(const VMXValue* args, VMXValue* result);
int32_t MathAcosd(const VMXValue* args, VMXValue* result);
int32_t MathAtand(const VMXValue* args, VMXValue* result);

int32_t MathGrad(const VMXValue* args, VMXValue* result);
int32_t MathGradToRad(const VMXValue* args, VMXValue* result);
int32_t MathDegToGrad(const VMXValue* args, VMXValue* result);
int32_t MathGradToDeg(const VMXValue* args, VMXValue* result);
int32_t MathDms(const VMXValue* args, VMXValue* result);

#endif /* QUENMARK_MATH_ANGLES_H */
