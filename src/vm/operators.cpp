#include "vm/operators.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "vm/exception.h"

namespace quenmark {

namespace {

// Intermediate results of Real arithmetic: 80-bit extended on x86-64.
using Extended = long double;

constexpr int64_t IntegerMin = std::numeric_limits<int32_t>::min();
constexpr int64_t IntegerMax = std::numeric_limits<int32_t>::max();

// Rounds an extended result to the stored double and reports what a trapping
// floating-point unit would: a NaN made from numbers is an invalid operation,
// an infinity made from finite numbers an overflow. NaN or infinite operands
// pass through quietly, as they would in hardware.
double StoreReal(Extended result, double a, double b) {
    const double stored = static_cast<double>(result);
    if (std::isnan(stored) && !std::isnan(a) && !std::isnan(b)) throw EInvalidOp();
    if (std::isinf(stored) && std::isfinite(a) && std::isfinite(b)) throw EOverflow();
    return stored;
}

// "+", "-" and "*": two Integers give the exact result when it fits in 32
// bits; otherwise, and whenever a Real or a String takes part, the operation
// is done in real arithmetic.
template <typename Operation>
Variant Arithmetic(const Variant& a, const Variant& b, Operation operation) {
    if (a.IsInteger() && b.IsInteger()) {
        const int64_t exact = operation(int64_t{a.AsInteger()}, int64_t{b.AsInteger()});
        if (exact >= IntegerMin && exact <= IntegerMax) return Variant(static_cast<int32_t>(exact));
    }
    const double x = a.ToReal();
    const double y = b.ToReal();
    return Variant(StoreReal(operation(Extended{x}, Extended{y}), x, y));
}

// Square-and-multiply over the bits of the exponent, starting from 1. The
// base is squared only while bits remain, so no needless square overflows.
Extended IntegralPower(Extended base, uint32_t exponent) {
    Extended result = 1;
    while (exponent != 0) {
        if (exponent & 1u) result *= base;
        exponent >>= 1;
        if (exponent != 0) base *= base;
    }
    return result;
}

double PowerByIntegral(double base, double exponent) {
    const Extended product = IntegralPower(base, static_cast<uint32_t>(std::fabs(exponent)));
    if (std::isinf(product) && std::isfinite(base)) throw EOverflow();
    if (exponent > 0) return StoreReal(product, base, exponent);
    if (product == 0) throw EZeroDivide();
    return StoreReal(1 / product, base, exponent);
}

double RealPower(double base, double exponent) {
    if (exponent == 0) return 1.0;
    if (base == 0 && exponent > 0) return 0.0;
    if (std::trunc(exponent) == exponent && std::fabs(exponent) <= static_cast<double>(IntegerMax))
        return PowerByIntegral(base, exponent);
    // exp(exponent * ln base): the logarithm needs a positive base.
    if (base < 0) throw EInvalidOp();
    if (base == 0) throw EZeroDivide();
    return StoreReal(std::exp(Extended{exponent} * std::log(Extended{base})), base, exponent);
}

}  // namespace

Variant Add(const Variant& a, const Variant& b) {
    if (a.IsString() && b.IsString()) return Variant(a.AsString() + b.AsString());
    return Arithmetic(a, b, [](auto x, auto y) { return x + y; });
}

Variant Subtract(const Variant& a, const Variant& b) {
    return Arithmetic(a, b, [](auto x, auto y) { return x - y; });
}

Variant Multiply(const Variant& a, const Variant& b) {
    return Arithmetic(a, b, [](auto x, auto y) { return x * y; });
}

Variant Divide(const Variant& a, const Variant& b) {
    const double x = a.ToReal();
    const double y = b.ToReal();
    if (y == 0 && std::isfinite(x)) {
        if (x == 0) throw EInvalidOp();
        throw EZeroDivide();
    }
    return Variant(StoreReal(Extended{x} / y, x, y));
}

Variant IntDivide(const Variant& a, const Variant& b) {
    const int32_t x = a.ToInteger();
    const int32_t y = b.ToInteger();
    if (y == 0) throw EZeroDivide();
    if (y == -1 && x == IntegerMin) throw EOverflow();
    return Variant(static_cast<int32_t>(x / y));
}

Variant Modulo(const Variant& a, const Variant& b) {
    const int32_t x = a.ToInteger();
    const int32_t y = b.ToInteger();
    if (y == 0) throw EZeroDivide();
    // Every Integer is a multiple of -1; the division itself would overflow.
    if (y == -1) return Variant(int32_t{0});
    return Variant(static_cast<int32_t>(x % y));
}

Variant And(const Variant& a, const Variant& b) {
    const int32_t x = a.ToInteger();
    return Variant(static_cast<int32_t>(x & b.ToInteger()));
}

Variant Or(const Variant& a, const Variant& b) {
    const int32_t x = a.ToInteger();
    return Variant(static_cast<int32_t>(x | b.ToInteger()));
}

Variant Xor(const Variant& a, const Variant& b) {
    const int32_t x = a.ToInteger();
    return Variant(static_cast<int32_t>(x ^ b.ToInteger()));
}

Variant Not(const Variant& a) { return Variant(static_cast<int32_t>(~a.ToInteger())); }

Variant Negate(const Variant& a) { return Multiply(a, Variant(int32_t{-1})); }

Variant Power(const Variant& base, const Variant& exponent) {
    const double x = base.ToReal();
    const double e = exponent.ToReal();
    return Variant(RealPower(x, e));
}

}  // namespace quenmark
