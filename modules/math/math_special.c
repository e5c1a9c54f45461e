#include "math_special.h"

#include <math.h>

/* From libquadmath, which comes with GCC; declared here because clang does
   not search the GCC directory that holds its header. */
__float128 log1pq(__float128 x);
__float128 logq(__float128 x);
__float128 expq(__float128 x);

/* Every function here is evaluated in long double, 11 bits more than double
   (part of BETA in quadruple precision), and rounded once: the result lies
   within an ulp of the exact value. */
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

/* From this argument on, Stirling's series with five terms leaves an error
   of at most 1.1 * 10^-19 in ln GAMMA; below it tgammal is accurate enough,
   as its error grows with the size of ln GAMMA. */
#define STIRLING_FROM 30.0L
#define HALF_LN_TWO_PI 0.918938533204672741780329736405617639L

/* The remainder of Stirling's series: ln GAMMA(x) minus
   (x - 1/2) ln x - x + ln(2 pi) / 2. */
static long double StirlingRemainder(long double x) {
    const long double r = 1.0L / (x * x);
    return (1.0L / 12.0L - r * (1.0L / 360.0L - r * (1.0L / 1260.0L - r * (1.0L / 1680.0L - r / 1188.0L)))) / x;
}

/* GAMMA(b) / GAMMA(a + b) for b >= 30 as b^-a exp(s), where Stirling's
   series gives s = a - (a + b - 1/2) ln(1 + a/b) + the difference of the
   remainders; no large logarithms cancel, so s keeps its digits. */
static long double GammaRatio(long double a, long double b) {
    const long double s = a - (a + b - 0.5L) * log1pl(a / b) + StirlingRemainder(b) - StirlingRemainder(a + b);
    return powl(b, -a) * expl(s);
}

/* BETA(a, b) for 30 <= a <= b from Stirling's series, as the exponential of
   -(a - 1/2) ln(1 + b/a) - (b - 1/2) ln(1 + a/b) - ln(a + b) / 2 + ln(2 pi) / 2
   plus the remainders. The terms reach hundreds and their exponential must
   be exact to an ulp, more than long double logarithms give, so they are
   evaluated in quadruple precision. */
static long double BetaOfLarge(long double a, long double b) {
    const __float128 qa = a, qb = b, half = 0.5;
    const long double remainders = StirlingRemainder(a) + StirlingRemainder(b) - StirlingRemainder(a + b);
    const __float128 exponent = -(qa - half) * log1pq(qb / qa) - (qb - half) * log1pq(qa / qb) -
                                half * logq(qa + qb) + (__float128)(HALF_LN_TWO_PI + remainders);
    return (long double)expq(exponent);
}

/* BETA(a, b) = GAMMA(a) GAMMA(b) / GAMMA(a + b) for a, b > 0. */
int32_t MathBeta(const VMXValue* args, VMXValue* result) {
    long double a = Argument(args, 0), b = Argument(args, 1);
    if (a <= 0.0L || b <= 0.0L) return mathOutsideDomain;
    if (a > b) {
        const long double larger = a;
        a = b;
        b = larger;
    }
    if (b < STIRLING_FROM) return SetExtended(result, tgammal(a) / tgammal(a + b) * tgammal(b));
    if (a < STIRLING_FROM) return SetExtended(result, tgammal(a) * GammaRatio(a, b));
    return SetExtended(result, BetaOfLarge(a, b));
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
