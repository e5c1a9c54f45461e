/* The functions of math.vmx. Each takes its checked numeric arguments and
   fills the result record; it returns vmxSuccess or a failure code. */
#ifndef QUENMARK_MATH_FUNCTIONS_H
#define QUENMARK_MATH_FUNCTIONS_H

#include "math_values.h"

int32_t MathSin(const VMXValue* args, VMXValue* result);
int32_t MathCos(const VMXValue* args, VMXValue* result);
int32_t MathTan(const VMXValue* args, VMXValue* result);
int32_t MathAsin(const VMXValue* args, VMXValue* result);
int32_t MathAcos(const VMXValue* args, VMXValue* result);
int32_t MathAtan(const VMXValue* args, VMXValue* result);
int32_t MathAtan2(const VMXValue* args, VMXValue* result);
int32_t MathSinh(const VMXValue* args, VMXValue* result);
int32_t MathCosh(const VMXValue* args, VMXValue* result);
int32_t MathTanh(const VMXValue* args, VMXValue* result);
int32_t MathAsinh(const VMXValue* args, VMXValue* result);
int32_t MathAcosh(const VMXValue* args, VMXValue* result);
int32_t MathAtanh(const VMXValue* args, VMXValue* result);
int32_t MathSqrt(const VMXValue* args, VMXValue* result);
int32_t MathCbrt(const VMXValue* args, VMXValue* result);
int32_t MathExp(const VMXValue* args, VMXValue* result);
int32_t MathLn(const VMXValue* args, VMXValue* result);
int32_t MathLog(const VMXValue* args, VMXValue* result);
int32_t MathLog2(const VMXValue* args, VMXValue* result);
int32_t MathHypot(const VMXValue* args, VMXValue* result);
int32_t MathDeg(const VMXValue* args, VMXValue* result);
int32_t MathRad(const VMXValue* args, VMXValue* result);

int32_t MathAbs(const VMXValue* args, VMXValue* result);
int32_t MathSign(const VMXValue* args, VMXValue* result);
int32_t MathInt(const VMXValue* args, VMXValue* result);
int32_t MathFrac(const VMXValue* args, VMXValue* result);
int32_t MathFloor(const VMXValue* args, VMXValue* result);
int32_t MathCeil(const VMXValue* args, VMXValue* result);
int32_t MathMin(const VMXValue* args, VMXValue* result);
int32_t MathMax(const VMXValue* args, VMXValue* result);

int32_t MathGcd(const VMXValue* args, VMXValue* result);
int32_t MathLcm(const VMXValue* args, VMXValue* result);
int32_t MathFact(const VMXValue* args, VMXValue* result);
int32_t MathNcr(const VMXValue* args, VMXValue* result);
int32_t MathNpr(const VMXValue* args, VMXValue* result);

#endif /* QUENMARK_MATH_FUNCTIONS_H */
