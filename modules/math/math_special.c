#include "math_special.h"

#include <math.h>

/* Every function here is evaluated in long double, 11 bits more than double,
   and rounded once: the result lies within an ulp of the exact value. */
static int32_t SetExtended(VMXValue* result, long double value) { return MathSetReal(result, (double)value); }

static long double Argument(const VMXValue* args, int index) { return (long double)MathNumber(&args[index]); }

/* Zero and the negative whole numbers are the poles of the gamma function. */
static int IsGammaPole(long double x) { return x <= 0.0L && x == truncl(x); }

int32_t MathErf(const VMXValue* args, VMXValue* result) { return SetExtended(result, erfl(Argument(args, 0))); }

int32_t MathErfc(const VMXValue* args, VMXValue* result) { return SetExtended(result, erfcl(Argument(args, 0))); }

int32_t MathGamma(const VMXValue* args, VMXValue* result) {
    const long double x = Argument(args, 0);
    return IsGammaPole(x) ? mathOutsideDomain : SetExtended(result, tgammal(x));
}

/* The logarithm of the magnitude of the gamma function. */
int32_t MathLgamma(const VMXValue* args, VMXValue* result) {
    const long double x = Argument(args, 0);
    int sign = 0;
    return IsGammaPole(x) ? mathOutsideDomain : SetExtended(result, lgammal_r(x, &sign));
}

int32_t MathExpm1(const VMXValue* args, VMXValue* result) { return SetExtended(result, expm1l(Argument(args, 0))); }

int32_t MathLn1p(const VMXValue* args, VMXValue* result) {
    const long double x = Argument(args, 0);
    return x <= -1.0L ? mathOutsideDomain : SetExtended(result, log1pl(x));
}

int32_t MathExp2(const VMXValue* args, VMXValue* result) { return SetExtended(result, exp2l(Argument(args, 0))); }

int32_t MathExp10(const VMXValue* args, VMXValue* result) { return SetExtended(result, powl(10.0L, Argument(args, 0))); }

/* log(x) / log(base); exact powers of the base come out whole, as the
   quotient in long double is far closer to them than half an ulp of double. */
int32_t MathLogb(const VMXValue* args, VMXValue* result) {
    const long double x = Argument(args, 0);
    const long double base = Argument(args, 1);
    if (x <= 0.0L || base <= 0.0L || base == 1.0L) return mathOutsideDomain;
    return SetExtended(result, logl(x) / logl(base));
}

/* The n-th root of x for a whole n other than 0: negative x only for odd n,
   where the root is negative; a negative n gives the reciprocal. An exact
   root (ROOT(27, 3)) comes out exact, as the long double power lies far
   closer to it than half an ulp of double. */
int32_t MathRoot(const VMXValue* args, VMXValue* result) {
    int64_t n = 0;
    const int32_t status = MathWholeArgument(&args[1], &n);
    if (status != vmxSuccess) return status;
    const long double x = Argument(args, 0);
    if (n == 0 || (x == 0.0L && n < 0)) return mathOutsideDomain;
    const int odd = (n % 2) != 0;
    if (x < 0.0L && !odd) return mathOutsideDomain;
    const long double magnitude = fabsl(x);
    long double root;
    if (n == 2) root = sqrtl(magnitude);
    else if (n == 3) root = cbrtl(magnitude);
    else root = powl(magnitude, 1.0L / (long double)n);
    return SetExtended(result, x < 0.0L ? -root : root);
}
