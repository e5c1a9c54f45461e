#include "bits.h"

#define PATTERN_BITS 32

static int32_t PatternArgument(const VMXValue* arg, uint32_t* pattern) {
    int64_t whole = 0;
    const int32_t status = MathWholeArgument(arg, &whole);
    if (status != vmxSuccess) return status;
    if (whole < INT32_MIN || whole > (int64_t)UINT32_MAX) return mathOutsideDomain;
    *pattern = (uint32_t)whole;
    return vmxSuccess;
}

static int32_t TwoPatterns(const VMXValue* args, uint32_t* a, uint32_t* b) {
    const int32_t status = PatternArgument(&args[0], a);
    return status != vmxSuccess ? status : PatternArgument(&args[1], b);
}

/* A shift count: whole and not negative; 32 and more shift every bit out. */
static int32_t ShiftArgument(const VMXValue* arg, int* count) {
    int64_t whole = 0;
    const int32_t status = MathWholeArgument(arg, &whole);
    if (status != vmxSuccess) return status;
    if (whole < 0) return mathOutsideDomain;
    *count = whole > PATTERN_BITS ? PATTERN_BITS : (int)whole;
    return vmxSuccess;
}

/* A rotation count: any whole number, taken modulo 32; a negative one turns
   the other way. */
static int32_t RotationArgument(const VMXValue* arg, int* count) {
    int64_t whole = 0;
    const int32_t status = MathWholeArgument(arg, &whole);
    if (status != vmxSuccess) return status;
    *count = (int)(((whole % PATTERN_BITS) + PATTERN_BITS) % PATTERN_BITS);
    return vmxSuccess;
}

static int32_t SetPattern(VMXValue* result, uint32_t pattern) { return MathSetInteger(result, (int32_t)pattern); }

/* SHL and SHR shift the pattern, filling with zeros (SHR is the logical
   shift: the sign bit is not copied). */
static int32_t Shift(const VMXValue* args, VMXValue* result, int left) {
    uint32_t pattern = 0;
    int count = 0;
    int32_t status = PatternArgument(&args[0], &pattern);
    if (status == vmxSuccess) status = ShiftArgument(&args[1], &count);
    if (status != vmxSuccess) return status;
    if (count == PATTERN_BITS) return SetPattern(result, 0);
    return SetPattern(result, left ? pattern << count : pattern >> count);
}

static int32_t Rotate(const VMXValue* args, VMXValue* result, int left) {
    uint32_t pattern = 0;
    int count = 0;
    int32_t status = PatternArgument(&args[0], &pattern);
    if (status == vmxSuccess) status = RotationArgument(&args[1], &count);
    if (status != vmxSuccess) return status;
    if (!left) count = (PATTERN_BITS - count) % PATTERN_BITS;
    if (count == 0) return SetPattern(result, pattern);
    return SetPattern(result, (pattern << count) | (pattern >> (PATTERN_BITS - count)));
}

int32_t NumbersShl(const VMXValue* args, VMXValue* result) { return Shift(args, result, 1); }
int32_t NumbersShr(const VMXValue* args, VMXValue* result) { return Shift(args, result, 0); }
int32_t NumbersRol(const VMXValue* args, VMXValue* result) { return Rotate(args, result, 1); }
int32_t NumbersRor(const VMXValue* args, VMXValue* result) { return Rotate(args, result, 0); }

int32_t NumbersBitAnd(const VMXValue* args, VMXValue* result) {
    uint32_t a = 0, b = 0;
    const int32_t status = TwoPatterns(args, &a, &b);
    return status != vmxSuccess ? status : SetPattern(result, a & b);
}

int32_t NumbersBitOr(const VMXValue* args, VMXValue* result) {
    uint32_t a = 0, b = 0;
    const int32_t status = TwoPatterns(args, &a, &b);
    return status != vmxSuccess ? status : SetPattern(result, a | b);
}

int32_t NumbersBitXor(const VMXValue* args, VMXValue* result) {
    uint32_t a = 0, b = 0;
    const int32_t status = TwoPatterns(args, &a, &b);
    return status != vmxSuccess ? status : SetPattern(result, a ^ b);
}

int32_t NumbersBitNot(const VMXValue* args, VMXValue* result) {
    uint32_t pattern = 0;
    const int32_t status = PatternArgument(&args[0], &pattern);
    return status != vmxSuccess ? status : SetPattern(result, ~pattern);
}

/* The number of bits set in the pattern. */
int32_t NumbersBitCount(const VMXValue* args, VMXValue* result) {
    uint32_t pattern = 0;
    const int32_t status = PatternArgument(&args[0], &pattern);
    return status != vmxSuccess ? status : MathSetInteger(result, __builtin_popcount(pattern));
}
