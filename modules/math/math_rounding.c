#include "math_rounding.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* Every double is a whole number times 2^-1074, so 1074 decimals write it
   exactly; no double reaches 10^309. */
#define EXACT_DECIMALS 1074
#define LARGEST_WHOLE_DIGITS 309
#define DIGITS_CAPACITY (LARGEST_WHOLE_DIGITS + EXACT_DECIMALS + 8)

/* The exact decimal digits of |x|, without a point, and how many of them
   stand before the point. printf writes the binary value exactly; the
   point is whatever the C locale makes it, so every non-digit is skipped. */
static int ExactDigits(double x, char* digits, int* wholeDigits) {
    char text[DIGITS_CAPACITY + 16];
    snprintf(text, sizeof text, "%.*f", EXACT_DECIMALS, fabs(x));
    int count = 0;
    *wholeDigits = -1;
    for (const char* c = text; *c; ++c) {
        if (*c >= '0' && *c <= '9') digits[count++] = *c;
        else if (*wholeDigits < 0) *wholeDigits = count;
    }
    if (*wholeDigits < 0) *wholeDigits = count;
    digits[count] = '\0';
    return count;
}

/* Adds one to the last of the first `count` digits; the first digit is a
   leading zero that takes any carry. */
static void IncrementDigits(char* digits, int count) {
    int i = count - 1;
    while (digits[i] == '9') digits[i--] = '0';
    ++digits[i];
}

/* x to `places` decimals (tens, hundreds, ... for negative places), cut
   toward zero or rounded half away from zero as ROUND is. This works on the
   exact binary value of x: the double 2.675 lies below 2.675, so it rounds
   to 2.67. The decimal result is then converted once to the nearest double. */
static int32_t ToDecimalPlaces(const VMXValue* args, VMXValue* result, int rounded) {
    int64_t places = 0;
    const int32_t status = MathWholeArgument(&args[1], &places);
    if (status != vmxSuccess) return status;
    if (args[0].ValueType == vmxInteger && places >= 0) return MathSetInteger(result, args[0].IntValue);
    const double x = MathNumber(&args[0]);
    if (places >= EXACT_DECIMALS) return MathSetReal(result, x);
    if (places < -LARGEST_WHOLE_DIGITS - 1) places = -LARGEST_WHOLE_DIGITS - 1;

    char digits[DIGITS_CAPACITY + 32];
    digits[0] = '0';
    int wholeDigits = 0;
    const int count = ExactDigits(x, digits + 1, &wholeDigits);
    const int kept = wholeDigits + (int)places; /* digits of x that stay */
    double magnitude = 0.0;
    if (kept >= 0) {
        if (rounded && kept < count && digits[1 + kept] >= '5') IncrementDigits(digits, 1 + kept);
        snprintf(digits + 1 + kept, sizeof digits - 1 - (size_t)kept, "e%d", -(int)places);
        magnitude = strtod(digits, NULL);
    }
    const double value = x < 0.0 && magnitude != 0.0 ? -magnitude : magnitude;
    return args[0].ValueType == vmxInteger ? MathSetWhole(result, value) : MathSetReal(result, value);
}

int32_t MathRoundTo(const VMXValue* args, VMXValue* result) { return ToDecimalPlaces(args, result, 1); }
int32_t MathTruncTo(const VMXValue* args, VMXValue* result) { return ToDecimalPlaces(args, result, 0); }

/* The whole quotient of a / b, cut toward zero like the remainder MODF
   leaves: IDIV(1, 0.1) is 9, as 0.1 is slightly more than a tenth. Rounding
   the quotient may carry it to the next whole number; the exact sign of
   a - q * b (one fused multiply-add) tells, and q steps back. Beyond 2^53
   the rounded quotient is kept, within an ulp of the exact one. */
int32_t MathIdiv(const VMXValue* args, VMXValue* result) {
    const double a = MathNumber(&args[0]);
    const double b = MathNumber(&args[1]);
    if (b == 0.0) return mathOutsideDomain;
    double quotient = trunc(a / b);
    if (isinf(quotient)) return mathOutOfRange;
    if (quotient != 0.0 && fabs(quotient) <= MATH_EXACT_LIMIT) {
        const double rest = fma(-quotient, b, a);
        if (rest != 0.0 && (rest < 0.0) != (a < 0.0)) quotient -= copysign(1.0, quotient);
    }
    return MathSetWhole(result, quotient);
}

/* a - IDIV(a, b) * b, with the sign of a; exact for every pair of doubles.
   Two Integers give an Integer. */
int32_t MathModf(const VMXValue* args, VMXValue* result) {
    const double b = MathNumber(&args[1]);
    if (b == 0.0) return mathOutsideDomain;
    const double rest = fmod(MathNumber(&args[0]), b);
    if (args[0].ValueType == vmxInteger && args[1].ValueType == vmxInteger) return MathSetInteger(result, (int32_t)rest);
    return MathSetReal(result, rest);
}
