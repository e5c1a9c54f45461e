#include "vm/operators.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "base/exception.h"

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
Variant Arithmetic(const Variant& a, const Variant& b, const NumberSeparators& separators, Operation operation) {
    if (a.IsInteger() && b.IsInteger()) {
        const int64_t exact = operation(int64_t{a.AsInteger()}, int64_t{b.AsInteger()});
        if (exact >= IntegerMin && exact <= IntegerMax) return Variant(static_cast<int32_t>(exact));
    }
    const double x = a.ToReal(separators);
    const double y = b.ToReal(separators);
    return Variant(StoreReal(operation(Extended{x}, Extended{y}), x, y));
}

// A finite power kept as Mantissa × 2^Exponent, so that no step of the
// square-and-multiply overflows or underflows however large the exponent.
struct ScaledReal {
    Extended Mantissa;
    int64_t Exponent;
};

ScaledReal Scaled(Extended mantissa, int64_t exponent) {
    int shift = 0;
    mantissa = std::frexp(mantissa, &shift);
    return {mantissa, exponent + shift};
}

ScaledReal operator*(const ScaledReal& a, const ScaledReal& b) {
    return Scaled(a.Mantissa * b.Mantissa, a.Exponent + b.Exponent);
}

// Square-and-multiply over the bits of the exponent, starting from 1. The
// base is squared only while bits remain.
template <typename Number>
Number IntegralPower(Number base, uint32_t exponent, Number one) {
    Number result = one;
    while (exponent != 0) {
        if (exponent & 1u) result = result * base;
        exponent >>= 1;
        if (exponent != 0) base = base * base;
    }
    return result;
}

// Rounds a scaled power to a double: beyond the double range is an overflow,
// below it the result is 0 (or the nearest subnormal), as the true value is.
double StoreScaled(const ScaledReal& value) {
    if (value.Mantissa == 0) return 0.0;
    if (value.Exponent > 2 * std::numeric_limits<double>::max_exponent) throw EOverflow();
    if (value.Exponent < 2 * std::numeric_limits<double>::min_exponent - 64)
        return std::signbit(value.Mantissa) ? -0.0 : 0.0;
    const double stored = static_cast<double>(std::ldexp(value.Mantissa, static_cast<int>(value.Exponent)));
    if (std::isinf(stored)) throw EOverflow();
    return stored;
}

double PowerByIntegral(double base, double exponent) {
    const auto count = static_cast<uint32_t>(std::fabs(exponent));
    if (!std::isfinite(base)) {
        // Infinities and NaN pass through as the hardware gives them.
        const Extended product = IntegralPower<Extended>(base, count, 1);
        return StoreReal(exponent > 0 ? product : 1 / product, base, exponent);
    }
    const ScaledReal product = IntegralPower(Scaled(base, 0), count, ScaledReal{1, 0});
    if (exponent > 0) return StoreScaled(product);
    if (product.Mantissa == 0) throw EZeroDivide();
    return StoreScaled(Scaled(1 / product.Mantissa, -product.Exponent));
}

double RealPower(double base, double exponent) {
    if (exponent == 0) return 1.0;
    if (base == 0 && exponent > 0) return 0.0;
    const bool integral = std::trunc(exponent) == exponent;
    if (integral && std::fabs(exponent) <= static_cast<double>(IntegerMax)) return PowerByIntegral(base, exponent);
    // A negative base to a huge whole power: the magnitude, with the sign
    // of the power's parity.
    if (integral && base < 0) {
        const double magnitude = RealPower(-base, exponent);
        return std::fmod(exponent, 2.0) != 0 ? -magnitude : magnitude;
    }
    // exp(exponent * ln base): the logarithm needs a positive base.
    if (base < 0) throw EInvalidOp();
    if (base == 0) throw EZeroDivide();
    return StoreReal(std::exp(Extended{exponent} * std::log(Extended{base})), base, exponent);
}

}  // namespace

Variant Add(const Variant& a, const Variant& b, const NumberSeparators& separators) {
    if (a.IsString() && b.IsString()) return Variant(a.AsString() + b.AsString());
    return Arithmetic(a, b, separators, [](auto x, auto y) { return x + y; });
}

Variant Subtract(const Variant& a, const Variant& b, const NumberSeparators& separators) {
    return Arithmetic(a, b, separators, [](auto x, auto y) { return x - y; });
}

Variant Multiply(const Variant& a, const Variant& b, const NumberSeparators& separators) {
    return Arithmetic(a, b, separators, [](auto x, auto y) { return x * y; });
}

Variant Divide(const Variant& a, const Variant& b, const NumberSeparators& separators) {
    const double x = a.ToReal(separators);
    const double y = b.ToReal(separators);
    if (y == 0 && std::isfinite(x)) {
        if (x == 0) throw EInvalidOp();
        throw EZeroDivide();
    }
    return Variant(StoreReal(Extended{x} / y, x, y));
}

Variant IntDivide(const Variant& a, const Variant& b, const NumberSeparators& separators) {
    const int32_t x = a.ToInteger(separators);
    const int32_t y = b.ToInteger(separators);
    if (y == 0) throw EZeroDivide();
    if (y == -1 && x == IntegerMin) throw EOverflow();
    return Variant(static_cast<int32_t>(x / y));
}

Variant Modulo(const Variant& a, const Variant& b, const NumberSeparators& separators) {
    const int32_t x = a.ToInteger(separators);
    const int32_t y = b.ToInteger(separators);
    if (y == 0) throw EZeroDivide();
    // Every Integer is a multiple of -1; the division itself would overflow.
    if (y == -1) return Variant(int32_t{0});
    return Variant(static_cast<int32_t>(x % y));
}

Variant And(const Variant& a, const Variant& b, const NumberSeparators& separators) {
    const int32_t x = a.ToInteger(separators);
    return Variant(static_cast<int32_t>(x & b.ToInteger(separators)));
}

Variant Or(const Variant& a, const Variant& b, const NumberSeparators& separators) {
    const int32_t x = a.ToInteger(separators);
    return Variant(static_cast<int32_t>(x | b.ToInteger(separators)));
}

Variant Xor(const Variant& a, const Variant& b, const NumberSeparators& separators) {
    const int32_t x = a.ToInteger(separators);
    return Variant(static_cast<int32_t>(x ^ b.ToInteger(separators)));
}

Variant Not(const Variant& a, const NumberSeparators& separators) {
    return Variant(static_cast<int32_t>(~a.ToInteger(separators)));
}

Variant Negate(const Variant& a, const NumberSeparators& separators) {
    return Multiply(a, Variant(int32_t{-1}), separators);
}

Variant Power(const Variant& base, const Variant& exponent, const NumberSeparators& separators) {
    const double x = base.ToReal(separators);
    const double e = exponent.ToReal(separators);
    return Variant(RealPower(x, e));
}

}  // namespace quenmark
