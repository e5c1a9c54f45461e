/* math.vmx: mathematical constants and functions for Quenmark. */
#include "math_angles.h"
#include "math_finance.h"
#include "math_functions.h"
#include "math_rounding.h"
#include "math_special.h"
#include "table_module.h"
#include "vm/vmx.h"

static const MathEntry Entries[] = {
    {"SIN", 1, "SIN(x): sine of x (radians)", MathSin},
    {"COS", 1, "COS(x): cosine of x (radians)", MathCos},
    {"TAN", 1, "TAN(x): tangent of x (radians)", MathTan},
    {"ASIN", 1, "ASIN(x): arc sine of x, -1 <= x <= 1, in radians", MathAsin},
    {"ACOS", 1, "ACOS(x): arc cosine of x, -1 <= x <= 1, in radians", MathAcos},
    {"ATAN", 1, "ATAN(x): arc tangent of x, in radians", MathAtan},
    {"ATAN2", 2, "ATAN2(y, x): angle of the point (x, y), in radians", MathAtan2},
    {"SINH", 1, "SINH(x): hyperbolic sine of x", MathSinh},
    {"COSH", 1, "COSH(x): hyperbolic cosine of x", MathCosh},
    {"TANH", 1, "TANH(x): hyperbolic tangent of x", MathTanh},
    {"ASINH", 1, "ASINH(x): inverse hyperbolic sine of x", MathAsinh},
    {"ACOSH", 1, "ACOSH(x): inverse hyperbolic cosine of x, x >= 1", MathAcosh},
    {"ATANH", 1, "ATANH(x): inverse hyperbolic tangent of x, -1 < x < 1", MathAtanh},
    {"SQRT", 1, "SQRT(x): square root of x, x >= 0", MathSqrt},
    {"CBRT", 1, "CBRT(x): cube root of x", MathCbrt},
    {"EXP", 1, "EXP(x): e raised to the power x", MathExp},
    {"LN", 1, "LN(x): natural logarithm of x, x > 0", MathLn},
    {"LOG", 1, "LOG(x): logarithm of x to base 10, x > 0", MathLog},
    {"LOG2", 1, "LOG2(x): logarithm of x to base 2, x > 0", MathLog2},
    {"ABS", 1, "ABS(x): absolute value of x", MathAbs},
    {"SIGN", 1, "SIGN(x): -1, 0 or 1 by the sign of x", MathSign},
    {"INT", 1, "INT(x): whole part of x, cut toward zero", MathInt},
    {"FRAC", 1, "FRAC(x): fractional part of x, x - INT(x)", MathFrac},
    {"ROUND", 1, "ROUND(x): x rounded to a whole number, halves away from zero", MathRound},
    {"FLOOR", 1, "FLOOR(x): greatest whole number not above x", MathFloor},
    {"CEIL", 1, "CEIL(x): least whole number not below x", MathCeil},
    {"MIN", 2, "MIN(a, b): the smaller of a and b", MathMin},
    {"MAX", 2, "MAX(a, b): the larger of a and b", MathMax},
    {"HYPOT", 2, "HYPOT(x, y): square root of x*x + y*y", MathHypot},
    {"GCD", 2, "GCD(a, b): greatest common divisor of whole numbers a and b", MathGcd},
    {"LCM", 2, "LCM(a, b): least common multiple of whole numbers a and b", MathLcm},
    {"FACT", 1, "FACT(n): factorial of the whole number n, 0 <= n <= 170", MathFact},
    {"NCR", 2, "NCR(n, k): number of ways to choose k of n, without order", MathNcr},
    {"NPR", 2, "NPR(n, k): number of ways to choose k of n, in order", MathNpr},
    {"DEG", 1, "DEG(x): radians x in degrees", MathDeg},
    {"RAD", 1, "RAD(x): degrees x in radians", MathRad},
    {"ERF", 1, "ERF(x): error function of x", MathErf},
    {"ERFC", 1, "ERFC(x): complementary error function of x, 1 - ERF(x)", MathErfc},
    {"GAMMA", 1, "GAMMA(x): gamma function of x, (x - 1)! for whole x; not at 0, -1, -2, ...", MathGamma},
    {"LGAMMA", 1, "LGAMMA(x): natural logarithm of the magnitude of GAMMA(x)", MathLgamma},
    {"BETA", 2, "BETA(a, b): beta function, GAMMA(a) * GAMMA(b) / GAMMA(a + b); a > 0, b > 0", MathBeta},
    {"EXPM1", 1, "EXPM1(x): EXP(x) - 1, exact also for x near 0", MathExpm1},
    {"LN1P", 1, "LN1P(x): LN(1 + x), exact also for x near 0; x > -1", MathLn1p},
    {"EXP2", 1, "EXP2(x): 2 raised to the power x", MathExp2},
    {"EXP10", 1, "EXP10(x): 10 raised to the power x", MathExp10},
    {"LOGB", 2, "LOGB(x, base): logarithm of x to the given base; x > 0, base > 0, base <> 1", MathLogb},
    {"ROOT", 2, "ROOT(x, n): n-th root of x for a whole n <> 0; negative x for odd n", MathRoot},
    {"ROUNDTO", 2, "ROUNDTO(x, d): x rounded to d decimals, halves away from zero; d < 0 rounds to tens, ...",
     MathRoundTo},
    {"TRUNCTO", 2, "TRUNCTO(x, d): x cut toward zero after d decimals; d < 0 cuts to tens, ...", MathTruncTo},
    {"IDIV", 2, "IDIV(a, b): whole quotient of a / b, cut toward zero", MathIdiv},
    {"MODF", 2, "MODF(a, b): remainder a - IDIV(a, b) * b, with the sign of a", MathModf},
    {"SEC", 1, "SEC(x): secant of x (radians), 1 / COS(x)", MathSec},
    {"CSC", 1, "CSC(x): cosecant of x (radians), 1 / SIN(x)", MathCsc},
    {"COT", 1, "COT(x): cotangent of x (radians), 1 / TAN(x)", MathCot},
    {"ASEC", 1, "ASEC(x): arc secant of x, |x| >= 1, in radians from 0 to pi", MathAsec},
    {"ACSC", 1, "ACSC(x): arc cosecant of x, |x| >= 1, in radians from -pi/2 to pi/2", MathAcsc},
    {"ACOT", 1, "ACOT(x): arc cotangent of x, ATAN(1 / x), in radians; ACOT(0) = pi/2", MathAcot},
    {"SIND", 1, "SIND(x): sine of x degrees", MathSind},
    {"COSD", 1, "COSD(x): cosine of x degrees", MathCosd},
    {"TAND", 1, "TAND(x): tangent of x degrees; not at 90, 270, ...", MathTand},
    {"ASIND", 1, "ASIND(x): arc sine of x, -1 <= x <= 1, in degrees", MathAsind},
    {"ACOSD", 1, "ACOSD(x): arc cosine of x, -1 <= x <= 1, in degrees", MathAcosd},
    {"ATAND", 1, "ATAND(x): arc tangent of x, in degrees", MathAtand},
    {"GRAD", 1, "GRAD(x): radians x in gradians (400 to the full turn)", MathGrad},
    {"GRAD2RAD", 1, "GRAD2RAD(x): gradians x in radians", MathGradToRad},
    {"DEG2GRAD", 1, "DEG2GRAD(x): degrees x in gradians", MathDegToGrad},
    {"GRAD2DEG", 1, "GRAD2DEG(x): gradians x in degrees", MathGradToDeg},
    {"DMS", 3, "DMS(d, m, s): degrees, minutes and seconds as decimal degrees; negative if any part is", MathDms},
    {"PMT", 3, "PMT(rate, n, pv): payment per period that pays off pv in n periods (paid out: negative)",
     MathPmt},
    {"FV", 3, "FV(rate, n, pmt): value after n periods of payments pmt (paid out: negative)", MathFv},
    {"PV", 3, "PV(rate, n, pmt): present value of n payments pmt (paid out: negative)", MathPv},
    {"NPER", 3, "NPER(rate, pmt, pv): number of periods of payments pmt that pay off pv", MathNper},
};

#define REAL_CONSTANT(name, description, value) \
    {sizeof(VMXConstant), name, description, {.ValueType = vmxReal, .RealValue = value}}

static const VMXConstant Constants[] = {
    REAL_CONSTANT("PI", "Ratio of a circle's circumference to its diameter", 3.14159265358979323846),
    REAL_CONSTANT("E", "Base of the natural logarithm", 2.71828182845904523536),
    REAL_CONSTANT("PHI", "Golden ratio, (1 + SQRT(5)) / 2", 1.61803398874989484820),
    REAL_CONSTANT("SQRT2", "Square root of 2", 1.41421356237309504880),
    REAL_CONSTANT("LN2", "Natural logarithm of 2", 0.69314718055994530942),
    REAL_CONSTANT("LN10", "Natural logarithm of 10", 2.30258509299404568402),
    /* Physical constants in SI units, CODATA 2018; "exact" where the SI
       defines the value. */
    REAL_CONSTANT("C_LIGHT", "Speed of light in vacuum, 299792458 m/s (exact)", 299792458.0),
    REAL_CONSTANT("H_PLANCK", "Planck constant, 6.62607015E-34 J s (exact)", 6.62607015e-34),
    REAL_CONSTANT("HBAR", "Reduced Planck constant, H_PLANCK / (2 PI), in J s", 1.05457181764615639126e-34),
    REAL_CONSTANT("N_AVOGADRO", "Avogadro constant, 6.02214076E+23 1/mol (exact)", 6.02214076e23),
    REAL_CONSTANT("K_BOLTZMANN", "Boltzmann constant, 1.380649E-23 J/K (exact)", 1.380649e-23),
    REAL_CONSTANT("E_CHARGE", "Elementary charge, 1.602176634E-19 C (exact)", 1.602176634e-19),
    REAL_CONSTANT("R_GAS", "Molar gas constant, N_AVOGADRO * K_BOLTZMANN, in J/(mol K)", 8.31446261815324),
    REAL_CONSTANT("F_FARADAY", "Faraday constant, N_AVOGADRO * E_CHARGE, in C/mol", 96485.3321233100184),
    REAL_CONSTANT("G_STANDARD", "Standard acceleration of gravity, 9.80665 m/s^2 (exact)", 9.80665),
    REAL_CONSTANT("P_ATM", "Standard atmosphere, 101325 Pa (exact)", 101325.0),
    REAL_CONSTANT("G_NEWTON", "Newtonian constant of gravitation, 6.67430E-11 m^3/(kg s^2)", 6.67430e-11),
    REAL_CONSTANT("M_ELECTRON", "Electron mass, 9.1093837015E-31 kg", 9.1093837015e-31),
    REAL_CONSTANT("M_PROTON", "Proton mass, 1.67262192369E-27 kg", 1.67262192369e-27),
    REAL_CONSTANT("M_NEUTRON", "Neutron mass, 1.67492749804E-27 kg", 1.67492749804e-27),
    REAL_CONSTANT("U_ATOMIC", "Atomic mass constant, 1.66053906660E-27 kg", 1.66053906660e-27),
    REAL_CONSTANT("EPSILON_0", "Vacuum electric permittivity, 8.8541878128E-12 F/m", 8.8541878128e-12),
    REAL_CONSTANT("MU_0", "Vacuum magnetic permeability, 1.25663706212E-06 N/A^2", 1.25663706212e-6),
    REAL_CONSTANT("ALPHA_FINE", "Fine-structure constant, 7.2973525693E-03", 7.2973525693e-3),
    REAL_CONSTANT("SIGMA_SB", "Stefan-Boltzmann constant, 5.670374419E-08 W/(m^2 K^4)", 5.670374419e-8),
    REAL_CONSTANT("R_INFINITY", "Rydberg constant, 10973731.568160 1/m", 10973731.568160),
    REAL_CONSTANT("A_BOHR", "Bohr radius, 5.29177210903E-11 m", 5.29177210903e-11),
};

static const VMXModuleInfo Info = {
    sizeof(VMXModuleInfo),
    "Mathematics",
    "Trigonometric, logarithmic, special, rounding, counting and annuity functions, angle conversions, "
    "the usual mathematical constants and physical constants (CODATA 2018, SI units). "
    "Failures: 101 argument outside the domain, 102 argument of the wrong type, "
    "103 result out of range, 104 argument not a whole number, 105 unknown function or argument count.",
    "Func&Const",
    "1",
    NULL,
    "The Quenmark developers",
    "Free to use, change and pass on.",
};

/* The entry points, made from the tables above. */
TABLE_MODULE_FUNCTIONS(Info, Entries)
TABLE_MODULE_CONSTANTS(Constants)
