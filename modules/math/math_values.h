/* What the math and numbers modules share: their failure codes, the reading
   of numeric arguments and the making of result records. */
#ifndef QUENMARK_MATH_VALUES_H
#define QUENMARK_MATH_VALUES_H

#include "vm/vmx.h"

/* What the failure codes of these modules mean. */
enum {
    mathOutsideDomain = vmxFailure1, /* an argument lies outside the function's domain */
    mathNotNumber = vmxFailure2,     /* an argument is not of the type the function takes */
    mathOutOfRange = vmxFailure3,    /* the result is beyond the range of numbers */
    mathNotWhole = vmxFailure4,      /* an argument must be a whole number */
    mathUnknownCall = vmxFailure5    /* no such function, or the wrong number of arguments */
};

/* Doubles hold every whole number up to this magnitude exactly. */
#define MATH_EXACT_LIMIT 9007199254740992.0 /* 2^53 */

typedef int32_t (*MathHandler)(const VMXValue* args, VMXValue* result);

/* The numeric value of an Integer or Real record. */
double MathNumber(const VMXValue* value);

int32_t MathSetInteger(VMXValue* result, int32_t value);

/* A Real result; NaN means the arguments were outside the domain, an
   infinity that the result is too large. */
int32_t MathSetReal(VMXValue* result, double value);

/* A whole number: an Integer where it fits, a Real beyond. */
int32_t MathSetWhole(VMXValue* result, double value);

/* A whole-number argument of at most 2^53 in magnitude as a 64-bit integer;
   mathNotWhole for a fraction, mathOutsideDomain beyond 2^53. */
int32_t MathWholeArgument(const VMXValue* arg, int64_t* whole);

/* Both arguments as whole numbers, checked in order. */
int32_t MathTwoWholeArguments(const VMXValue* args, int64_t* a, int64_t* b);

/* The greatest common divisor by Euclid's method; a when b is 0. */
uint64_t MathGreatestCommonDivisor(uint64_t a, uint64_t b);

#endif /* QUENMARK_MATH_VALUES_H */
