#include "math_functions.h"

#include <math.h>

#include "exact_count.h"

/* 180/pi and pi/180 to the precision of long double. */
#define MATH_DEGREES_PER_RADIAN 57.2957795130823208767981548141L
#define MATH_RADIANS_PER_DEGREE 0.0174532925199432957692369076849L
#define MATH_LARGEST_FACTORIAL 170

static int32_t Unary(const VMXValue* args, VMXValue* result, double (*function)(double)) {
    return MathSetReal(result, function(MathNumber(&args[0])));
}

/* Where the C library's double function may be off by more than half an ulp
   (tan, the hyperbolic functions and their inverses, cbrt, log10, and the
   degree conversions), the function is evaluated in long double, at least 11
   more bits, and rounded once to double: the result is then within an ulp of
   the correctly rounded one, and one beyond the double range is infinite.
   The other functions are close enough to correct rounding in double. */
static double Extended(long double (*function)(long double), double x) { return (double)function((long double)x); }

static int32_t UnaryExtended(const VMXValue* args, VMXValue* result, long double (*function)(long double)) {
    return MathSetReal(result, Extended(function, MathNumber(&args[0])));
}

int32_t MathSin(const VMXValue* args, VMXValue* result) { return Unary(args, result, sin); }
int32_t MathCos(const VMXValue* args, VMXValue* result) { return Unary(args, result, cos); }
int32_t MathTan(const VMXValue* args, VMXValue* result) { return UnaryExtended(args, result, tanl); }
int32_t MathAtan(const VMXValue* args, VMXValue* result) { return Unary(args, result, atan); }
int32_t MathSinh(const VMXValue* args, VMXValue* result) { return UnaryExtended(args, result, sinhl); }
int32_t MathCosh(const VMXValue* args, VMXValue* result) { return UnaryExtended(args, result, coshl); }
int32_t MathTanh(const VMXValue* args, VMXValue* result) { return UnaryExtended(args, result, tanhl); }
int32_t MathAsinh(const VMXValue* args, VMXValue* result) { return UnaryExtended(args, result, asinhl); }
int32_t MathCbrt(const VMXValue* args, VMXValue* result) { return UnaryExtended(args, result, cbrtl); }
int32_t MathExp(const VMXValue* args, VMXValue* result) { return Unary(args, result, exp); }

int32_t MathAsin(const VMXValue* args, VMXValue* result) {
    const double x = MathNumber(&args[0]);
    return x < -1.0 || x > 1.0 ? mathOutsideDomain : MathSetReal(result, asin(x));
}

int32_t MathAcos(const VMXValue* args, VMXValue* result) {
    const double x = MathNumber(&args[0]);
    return x < -1.0 || x > 1.0 ? mathOutsideDomain : MathSetReal(result, acos(x));
}

int32_t MathAcosh(const VMXValue* args, VMXValue* result) {
    const double x = MathNumber(&args[0]);
    return x < 1.0 ? mathOutsideDomain : MathSetReal(result, Extended(acoshl, x));
}

int32_t MathAtanh(const VMXValue* args, VMXValue* result) {
    const double x = MathNumber(&args[0]);
    return x <= -1.0 || x >= 1.0 ? mathOutsideDomain : MathSetReal(result, Extended(atanhl, x));
}

int32_t MathSqrt(const VMXValue* args, VMXValue* result) {
    const double x = MathNumber(&args[0]);
    return x < 0.0 ? mathOutsideDomain : MathSetReal(result, sqrt(x));
}

int32_t MathLn(const VMXValue* args, VMXValue* result) {
    const double x = MathNumber(&args[0]);
    return x <= 0.0 ? mathOutsideDomain : MathSetReal(result, log(x));
}

int32_t MathLog(const VMXValue* args, VMXValue* result) {
    const double x = MathNumber(&args[0]);
    return x <= 0.0 ? mathOutsideDomain : MathSetReal(result, Extended(log10l, x));
}

int32_t MathLog2(const VMXValue* args, VMXValue* result) {
    const double x = MathNumber(&args[0]);
    return x <= 0.0 ? mathOutsideDomain : MathSetReal(result, log2(x));
}

int32_t MathAtan2(const VMXValue* args, VMXValue* result) {
    return MathSetReal(result, atan2(MathNumber(&args[0]), MathNumber(&args[1])));
}

int32_t MathHypot(const VMXValue* args, VMXValue* result) {
    return MathSetReal(result, hypot(MathNumber(&args[0]), MathNumber(&args[1])));
}

int32_t MathDeg(const VMXValue* args, VMXValue* result) {
    return MathSetReal(result, (double)(MathNumber(&args[0]) * MATH_DEGREES_PER_RADIAN));
}

int32_t MathRad(const VMXValue* args, VMXValue* result) {
    return MathSetReal(result, (double)(MathNumber(&args[0]) * MATH_RADIANS_PER_DEGREE));
}

int32_t MathAbs(const VMXValue* args, VMXValue* result) {
    if (args[0].ValueType == vmxReal) return MathSetReal(result, fabs(args[0].RealValue));
    /* The magnitude of the smallest Integer is no Integer. */
    if (args[0].IntValue == INT32_MIN) return MathSetReal(result, 2147483648.0);
    return MathSetInteger(result, args[0].IntValue < 0 ? -args[0].IntValue : args[0].IntValue);
}

int32_t MathSign(const VMXValue* args, VMXValue* result) {
    const double x = MathNumber(&args[0]);
    return MathSetInteger(result, x > 0.0 ? 1 : (x < 0.0 ? -1 : 0));
}

/* An Integer stays as it is; a Real is rounded by the function given. */
static int32_t ToWhole(const VMXValue* args, VMXValue* result, double (*rounding)(double)) {
    if (args[0].ValueType == vmxInteger) return MathSetInteger(result, args[0].IntValue);
    return MathSetWhole(result, rounding(args[0].RealValue));
}

int32_t MathInt(const VMXValue* args, VMXValue* result) { return ToWhole(args, result, trunc); }
int32_t MathFloor(const VMXValue* args, VMXValue* result) { return ToWhole(args, result, floor); }
int32_t MathCeil(const VMXValue* args, VMXValue* result) { return ToWhole(args, result, ceil); }

int32_t MathFrac(const VMXValue* args, VMXValue* result) {
    if (args[0].ValueType == vmxInteger) return MathSetInteger(result, 0);
    return MathSetReal(result, args[0].RealValue - trunc(args[0].RealValue));
}

/* The chosen argument, with its own type. */
static int32_t Choose(const VMXValue* chosen, VMXValue* result) {
    if (chosen->ValueType == vmxInteger) return MathSetInteger(result, chosen->IntValue);
    return MathSetReal(result, chosen->RealValue);
}

int32_t MathMin(const VMXValue* args, VMXValue* result) {
    return Choose(MathNumber(&args[1]) < MathNumber(&args[0]) ? &args[1] : &args[0], result);
}

int32_t MathMax(const VMXValue* args, VMXValue* result) {
    return Choose(MathNumber(&args[1]) > MathNumber(&args[0]) ? &args[1] : &args[0], result);
}

static uint64_t Magnitude(int64_t value) { return value < 0 ? (uint64_t)(-value) : (uint64_t)value; }

int32_t MathGcd(const VMXValue* args, VMXValue* result) {
    int64_t a, b;
    const int32_t status = MathTwoWholeArguments(args, &a, &b);
    if (status != vmxSuccess) return status;
    return MathSetWhole(result, (double)MathGreatestCommonDivisor(Magnitude(a), Magnitude(b)));
}

int32_t MathLcm(const VMXValue* args, VMXValue* result) {
    int64_t a, b;
    const int32_t status = MathTwoWholeArguments(args, &a, &b);
    if (status != vmxSuccess) return status;
    if (a == 0 || b == 0) return MathSetInteger(result, 0);
    const long double lcm =
        (long double)(Magnitude(a) / MathGreatestCommonDivisor(Magnitude(a), Magnitude(b))) * Magnitude(b);
    if (lcm > MATH_EXACT_LIMIT) return mathOutOfRange;
    return MathSetWhole(result, (double)lcm);
}

int32_t MathFact(const VMXValue* args, VMXValue* result) {
    int64_t n;
    const int32_t status = MathWholeArgument(&args[0], &n);
    if (status != vmxSuccess) return status;
    if (n < 0) return mathOutsideDomain;
    if (n > MATH_LARGEST_FACTORIAL) return mathOutOfRange;
    return MathSetWhole(result, ExactPermutations((uint64_t)n, (uint64_t)n));
}

/* Combinations or permutations of k out of n; both whole, not negative. */
static int32_t Selections(const VMXValue* args, VMXValue* result, int ordered) {
    int64_t n, k;
    const int32_t status = MathTwoWholeArguments(args, &n, &k);
    if (status != vmxSuccess) return status;
    if (n < 0 || k < 0) return mathOutsideDomain;
    if (k > n) return MathSetInteger(result, 0);
    /* An infinite count is beyond the double range: SetWhole reports it. */
    return MathSetWhole(result, ordered ? ExactPermutations((uint64_t)n, (uint64_t)k)
                                    : ExactCombinations((uint64_t)n, (uint64_t)k));
}

int32_t MathNcr(const VMXValue* args, VMXValue* result) { return Selections(args, result, 0); }
int32_t MathNpr(const VMXValue* args, VMXValue* result) { return Selections(args, result, 1); }
