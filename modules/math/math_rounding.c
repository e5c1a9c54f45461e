#include "math_rounding.h"

#include <float.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* Every double is a whole number times 2^-1074, so 1074 decimals write it
   exactly; no double reaches 10^309. */
#define EXACT_DECIMALS 1074
#define LARGEST_WHOLE_DIGITS 309
#define DIGITS_CAPACITY (LARGEST_WHOLE_DIGITS + EXACT_DECIMALS + 8)

/* 17 significant digits tell every double apart. From the smallest normal
   double to 10^17 they hold its whole part too, and rounding works on the
   shortest decimal that reads back as the double, the decimal the user typed
   and sees. Outside that range (subnormals, which hold fewer digits, and
   whole numbers longer than 17 digits) rounding works on the exact digits of
   the binary value. */
#define SHORTEST_DIGITS_MAX 17
#define SHORTEST_LOWEST DBL_MIN
#define SHORTEST_LIMIT 1e17

/* Every double from 2^52 on is a whole number. */
#define MATH_WHOLE_FROM 4503599627370496.0

/* The decimal digits of a magnitude: text[0] is a leading zero that takes a
   carry, the digits follow from text[1]; `point` of them stand before the
   decimal point (it may be negative, or beyond `count`). */
typedef struct {
    char text[DIGITS_CAPACITY + 32];
    int count;
    int point;
} DecimalDigits;

/* The exact decimal digits of |x|. printf writes the binary value exactly;
   the point is whatever the C locale makes it, so every non-digit is
   skipped. */
static void ExactDigits(double x, DecimalDigits* number) {
    char written[DIGITS_CAPACITY + 16];
    snprintf(written, sizeof written, "%.*f", EXACT_DECIMALS, fabs(x));
    char* digits = number->text + 1;
    number->count = 0;
    number->point = -1;
    for (const char* c = written; *c; ++c) {
        if (*c >= '0' && *c <= '9') digits[number->count++] = *c;
        else if (number->point < 0) number->point = number->count;
    }
    if (number->point < 0) number->point = number->count;
    digits[number->count] = '\0';
}

/* The digits of `written` (printf's "%e" form of a positive number) up to
   its "e", into digits; returns their number and sets the decimal exponent. */
static int ScientificDigits(const char* written, char* digits, int* exponent) {
    int count = 0;
    const char* c = written;
    for (; *c && *c != 'e'; ++c)
        if (*c >= '0' && *c <= '9') digits[count++] = *c;
    digits[count] = '\0';
    *exponent = *c == 'e' ? atoi(c + 1) : 0;
    return count;
}

/* The fewest significant digits of |x| (at most 17) that read back as |x|.
   Any decimal of up to 15 digits reads back through the nearest double, so
   when the 15-digit form of |x| reads back as |x|, it is the shortest one
   with zeros appended; otherwise the nearest 16-digit, else 17-digit form.
   The read-back text has no decimal point, so the locale cannot change it. */
static void ShortestDigits(double x, DecimalDigits* number) {
    const double magnitude = fabs(x);
    char* digits = number->text + 1;
    for (int precision = DBL_DIG; precision <= SHORTEST_DIGITS_MAX; ++precision) {
        char written[64];
        snprintf(written, sizeof written, "%.*e", precision - 1, magnitude);
        int exponent = 0;
        number->count = ScientificDigits(written, digits, &exponent);
        number->point = exponent + 1;
        char readBack[64];
        snprintf(readBack, sizeof readBack, "%se%d", digits, exponent - (number->count - 1));
        if (strtod(readBack, NULL) == magnitude) break;
    }
    while (number->count > 1 && digits[number->count - 1] == '0') digits[--number->count] = '\0';
}

/* Adds one to the last of the first `count` characters of text; text[0] is
   a leading zero that takes any carry. */
static void IncrementDigits(char* text, int count) {
    int i = count - 1;
    while (text[i] == '9') text[i--] = '0';
    ++text[i];
}

/* x to `places` decimals (tens, hundreds, ... for negative places), cut
   toward zero or rounded half away from zero. The decimal result is
   converted once to the nearest double. */
static double ToPlaces(double x, int64_t places, int rounded) {
    if (x == 0.0) return 0.0;
    if (!isfinite(x) || places >= EXACT_DECIMALS || (places >= 0 && fabs(x) >= MATH_WHOLE_FROM)) return x;
    if (places < -LARGEST_WHOLE_DIGITS - 1) places = -LARGEST_WHOLE_DIGITS - 1;
    DecimalDigits number;
    number.text[0] = '0';
    if (fabs(x) >= SHORTEST_LOWEST && fabs(x) < SHORTEST_LIMIT) ShortestDigits(x, &number);
    else ExactDigits(x, &number);
    const int kept = number.point + (int)places; /* digits of x that stay */
    if (kept >= number.count) return x;
    double magnitude = 0.0;
    if (kept >= 0) {
        if (rounded && number.text[1 + kept] >= '5') IncrementDigits(number.text, 1 + kept);
        snprintf(number.text + 1 + kept, sizeof number.text - 1 - (size_t)kept, "e%d", -(int)places);
        magnitude = strtod(number.text, NULL);
    }
    return x < 0.0 && magnitude != 0.0 ? -magnitude : magnitude;
}

static int32_t ToDecimalPlaces(const VMXValue* args, VMXValue* result, int rounded) {
    int64_t places = 0;
    const int32_t status = MathWholeArgument(&args[1], &places);
    if (status != vmxSuccess) return status;
    if (args[0].ValueType == vmxInteger && places >= 0) return MathSetInteger(result, args[0].IntValue);
    const double value = ToPlaces(MathNumber(&args[0]), places, rounded);
    return args[0].ValueType == vmxInteger ? MathSetWhole(result, value) : MathSetReal(result, value);
}

int32_t MathRoundTo(const VMXValue* args, VMXValue* result) { return ToDecimalPlaces(args, result, 1); }
int32_t MathTruncTo(const VMXValue* args, VMXValue* result) { return ToDecimalPlaces(args, result, 0); }

/* An Integer stays as it is; a Real is rounded to a whole number as ROUNDTO
   rounds it to no decimals. */
int32_t MathRound(const VMXValue* args, VMXValue* result) {
    if (args[0].ValueType == vmxInteger) return MathSetInteger(result, args[0].IntValue);
    return MathSetWhole(result, ToPlaces(args[0].RealValue, 0, 1));
}

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
