#include "math_angles.h"

#include <math.h>

/* pi and the conversion factors to the precision of long double. */
#define ANGLE_PI 3.14159265358979323846264338327950288L
#define ANGLE_DEGREES_PER_RADIAN 57.2957795130823208767981548141L
#define ANGLE_RADIANS_PER_DEGREE 0.0174532925199432957692369076849L
#define ANGLE_GRADIANS_PER_RADIAN 63.6619772367581343075535053490L
#define ANGLE_RADIANS_PER_GRADIAN 0.0157079632679489661923132169164L

/* As in the other functions, long double intermediates rounded once. */
static int32_t SetExtended(VMXValue* result, long double value) { return MathSetReal(result, (double)value); }

static long double Argument(const VMXValue* args) { return (long double)MathNumber(&args[0]); }

int32_t MathSec(const VMXValue* args, VMXValue* result) { return SetExtended(result, 1.0L / cosl(Argument(args))); }

/* The sine of a double is zero only at 0, the one pole. */
int32_t MathCsc(const VMXValue* args, VMXValue* result) {
    const long double x = Argument(args);
    return x == 0.0L ? mathOutsideDomain : SetExtended(result, 1.0L / sinl(x));
}

int32_t MathCot(const VMXValue* args, VMXValue* result) {
    const long double x = Argument(args);
    return x == 0.0L ? mathOutsideDomain : SetExtended(result, cosl(x) / sinl(x));
}

/* sqrt(x^2 - 1) as (|x| - 1)(|x| + 1), where |x| - 1 is exact: near 1 the
   angle is found from it without losing digits as acos(1/x) would. */
static long double SqrtSquareLessOne(long double x) {
    const long double magnitude = fabsl(x);
    return sqrtl((magnitude - 1.0L) * (magnitude + 1.0L));
}

/* ASEC(x) = acos(1/x), in [0, pi], for |x| >= 1. */
int32_t MathAsec(const VMXValue* args, VMXValue* result) {
    const long double x = Argument(args);
    if (fabsl(x) < 1.0L) return mathOutsideDomain;
    const long double angle = atanl(SqrtSquareLessOne(x));
    return SetExtended(result, x > 0.0L ? angle : ANGLE_PI - angle);
}

/* ACSC(x) = asin(1/x), in [-pi/2, pi/2], for |x| >= 1. */
int32_t MathAcsc(const VMXValue* args, VMXValue* result) {
    const long double x = Argument(args);
    if (fabsl(x) < 1.0L) return mathOutsideDomain;
    const long double angle = atan2l(1.0L, SqrtSquareLessOne(x));
    return SetExtended(result, x > 0.0L ? angle : -angle);
}

/* ACOT(x) = atan(1/x), in (-pi/2, pi/2]; ACOT(0) = pi/2. */
int32_t MathAcot(const VMXValue* args, VMXValue* result) {
    const long double x = Argument(args);
    return SetExtended(result, x == 0.0L ? ANGLE_PI / 2.0L : atanl(1.0L / x));
}

/* An angle in degrees split exactly into a quarter turn count and the rest,
   -45 <= rest <= 45: whole multiples of 90 degrees then give exact zeros
   and ones, and the rest converts to radians without a large argument. */
typedef struct QuarterTurns {
    int Quarter; /* 0 to 3 */
    long double Radians;
} QuarterTurns;

static QuarterTurns SplitDegrees(double degrees) {
    const double turn = fmod(degrees, 360.0); /* exact */
    const double quarters = nearbyint(turn / 90.0);
    const double rest = turn - quarters * 90.0; /* exact: both are near each other */
    QuarterTurns split = {((int)quarters % 4 + 4) % 4, (long double)rest * ANGLE_RADIANS_PER_DEGREE};
    return split;
}

static long double SineOfDegrees(double degrees) {
    const QuarterTurns split = SplitDegrees(degrees);
    switch (split.Quarter) {
    case 0: return sinl(split.Radians);
    case 1: return cosl(split.Radians);
    case 2: return -sinl(split.Radians);
    default: return -cosl(split.Radians);
    }
}

static long double CosineOfDegrees(double degrees) {
    const QuarterTurns split = SplitDegrees(degrees);
    switch (split.Quarter) {
    case 0: return cosl(split.Radians);
    case 1: return -sinl(split.Radians);
    case 2: return -cosl(split.Radians);
    default: return sinl(split.Radians);
    }
}

int32_t MathSind(const VMXValue* args, VMXValue* result) {
    const double x = MathNumber(&args[0]);
    if (!isfinite(x)) return mathOutsideDomain;
    return SetExtended(result, SineOfDegrees(x) + 0.0L); /* no negative zero from -sin(0) */
}

int32_t MathCosd(const VMXValue* args, VMXValue* result) {
    const double x = MathNumber(&args[0]);
    if (!isfinite(x)) return mathOutsideDomain;
    return SetExtended(result, CosineOfDegrees(x) + 0.0L);
}

/* The tangent has its poles at the odd multiples of 90 degrees, where the
   cosine is an exact zero. */
int32_t MathTand(const VMXValue* args, VMXValue* result) {
    const double x = MathNumber(&args[0]);
    if (!isfinite(x)) return mathOutsideDomain;
    const long double cosine = CosineOfDegrees(x);
    if (cosine == 0.0L) return mathOutsideDomain;
    return SetExtended(result, SineOfDegrees(x) / cosine + 0.0L);
}

int32_t MathAsind(const VMXValue* args, VMXValue* result) {
    const long double x = Argument(args);
    return fabsl(x) > 1.0L ? mathOutsideDomain : SetExtended(result, asinl(x) * ANGLE_DEGREES_PER_RADIAN);
}

int32_t MathAcosd(const VMXValue* args, VMXValue* result) {
    const long double x = Argument(args);
    return fabsl(x) > 1.0L ? mathOutsideDomain : SetExtended(result, acosl(x) * ANGLE_DEGREES_PER_RADIAN);
}

int32_t MathAtand(const VMXValue* args, VMXValue* result) {
    return SetExtended(result, atanl(Argument(args)) * ANGLE_DEGREES_PER_RADIAN);
}

int32_t MathGrad(const VMXValue* args, VMXValue* result) {
    return SetExtended(result, Argument(args) * ANGLE_GRADIANS_PER_RADIAN);
}

int32_t MathGradToRad(const VMXValue* args, VMXValue* result) {
    return SetExtended(result, Argument(args) * ANGLE_RADIANS_PER_GRADIAN);
}

/* 400 gradians make 360 degrees; x * 10 and x * 9 are exact in long double. */
int32_t MathDegToGrad(const VMXValue* args, VMXValue* result) {
    return SetExtended(result, Argument(args) * 10.0L / 9.0L);
}

int32_t MathGradToDeg(const VMXValue* args, VMXValue* result) {
    return SetExtended(result, Argument(args) * 9.0L / 10.0L);
}

/* Degrees, minutes and seconds as decimal degrees. The parts add by their
   magnitudes and the angle is negative when any part is: DMS(-12, 30, 0)
   and DMS(-12, -30, 0) are both -12.5, DMS(0, -30, 0) is -0.5. */
int32_t MathDms(const VMXValue* args, VMXValue* result) {
    const long double degrees = (long double)MathNumber(&args[0]);
    const long double minutes = (long double)MathNumber(&args[1]);
    const long double seconds = (long double)MathNumber(&args[2]);
    const long double magnitude = fabsl(degrees) + fabsl(minutes) / 60.0L + fabsl(seconds) / 3600.0L;
    const int negative = degrees < 0.0L || minutes < 0.0L || seconds < 0.0L;
    return SetExtended(result, negative ? -magnitude : magnitude);
}
