/* math.vmx: mathematical constants and functions for Quenmark. */
#include <string.h>

#include "math_functions.h"
#include "vm/vmx.h"

typedef struct MathEntry {
    const char* Name;
    int32_t ArgCount;
    const char* Description;
    MathHandler Handler;
} MathEntry;

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
};

#define ENTRY_COUNT ((int32_t)(sizeof Entries / sizeof Entries[0]))

static VMXFunction Functions[sizeof Entries / sizeof Entries[0]];

#define REAL_CONSTANT(name, description, value) \
    {sizeof(VMXConstant), name, description, {.ValueType = vmxReal, .RealValue = value}}

static const VMXConstant Constants[] = {
    REAL_CONSTANT("PI", "Ratio of a circle's circumference to its diameter", 3.14159265358979323846),
    REAL_CONSTANT("E", "Base of the natural logarithm", 2.71828182845904523536),
    REAL_CONSTANT("PHI", "Golden ratio, (1 + SQRT(5)) / 2", 1.61803398874989484820),
    REAL_CONSTANT("SQRT2", "Square root of 2", 1.41421356237309504880),
    REAL_CONSTANT("LN2", "Natural logarithm of 2", 0.69314718055994530942),
    REAL_CONSTANT("LN10", "Natural logarithm of 10", 2.30258509299404568402),
};

static const VMXModuleInfo Info = {
    sizeof(VMXModuleInfo),
    "Mathematics",
    "Trigonometric, logarithmic, rounding and counting functions with the usual constants. "
    "Failures: 101 argument outside the domain, 102 argument of the wrong type, "
    "103 result out of range, 104 argument not a whole number, 105 unknown function or argument count.",
    "Func&Const",
    "1",
    NULL,
    "The Quenmark developers",
    "Free to use, change and pass on.",
};

/* The function table is made from Entries, so the two cannot disagree. */
static void FillFunctions(void) {
    for (int32_t i = 0; i < ENTRY_COUNT; ++i) {
        Functions[i].Size = sizeof(VMXFunction);
        Functions[i].Name = Entries[i].Name;
        Functions[i].Description = Entries[i].Description;
        Functions[i].ArgCount = Entries[i].ArgCount;
    }
}

VMX_EXPORT int32_t Init(void) {
    FillFunctions();
    return vmxSuccess;
}

VMX_EXPORT const VMXModuleInfo* GetModuleInfo(void) { return &Info; }

VMX_EXPORT int32_t GetConstantsNum(void) { return (int32_t)(sizeof Constants / sizeof Constants[0]); }

VMX_EXPORT const VMXConstant* GetConstants(void) { return Constants; }

VMX_EXPORT int32_t GetFunctionsNum(void) { return ENTRY_COUNT; }

VMX_EXPORT const VMXFunction* GetFunctions(void) {
    FillFunctions();
    return Functions;
}

VMX_EXPORT int32_t FunctionDispatcher(const char* name, VMXValue* result, VMXValue* args, int32_t argCount) {
    for (int32_t i = 0; i < ENTRY_COUNT; ++i) {
        if (strcmp(Entries[i].Name, name) != 0) continue;
        if (argCount != Entries[i].ArgCount || (argCount > 0 && !args)) return mathUnknownCall;
        for (int32_t a = 0; a < argCount; ++a)
            if (args[a].ValueType != vmxInteger && args[a].ValueType != vmxReal) return mathNotNumber;
        return Entries[i].Handler(args, result);
    }
    return mathUnknownCall;
}
