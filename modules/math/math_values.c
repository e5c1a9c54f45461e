#include "math_values.h"

#include <math.h>

double MathNumber(const VMXValue* value) {
    return value->ValueType == vmxInteger ? (double)value->IntValue : value->RealValue;
}

int32_t MathSetInteger(VMXValue* result, int32_t value) {
    result->ValueType = vmxInteger;
    result->IntValue = value;
    return vmxSuccess;
}

int32_t MathSetReal(VMXValue* result, double value) {
    if (isnan(value)) return mathOutsideDomain;
    if (isinf(value)) return mathOutOfRange;
    result->ValueType = vmxReal;
    result->RealValue = value;
    return vmxSuccess;
}

int32_t MathSetWhole(VMXValue* result, double value) {
    if (value >= -2147483648.0 && value <= 2147483647.0) return MathSetInteger(result, (int32_t)value);
    return MathSetReal(result, value);
}

int32_t MathWholeArgument(const VMXValue* arg, int64_t* whole) {
    const double value = MathNumber(arg);
    if (value != trunc(value)) return mathNotWhole;
    if (fabs(value) > MATH_EXACT_LIMIT) return mathOutsideDomain;
    *whole = (int64_t)value;
    return vmxSuccess;
}

int32_t MathTwoWholeArguments(const VMXValue* args, int64_t* a, int64_t* b) {
    const int32_t status = MathWholeArgument(&args[0], a);
    return status != vmxSuccess ? status : MathWholeArgument(&args[1], b);
}

uint64_t MathGreatestCommonDivisor(uint64_t a, uint64_t b) {
    while (b != 0) {
        const uint64_t rest = a % b;
        a = b;
        b = rest;
    }
    return a;
}
