#pragma once

#include "vm/variant.h"

namespace quenmark {

// The arithmetic of the machine on Variant values.
//
// Integer operations stay Integer while the exact result fits in 32 bits;
// otherwise "+", "-" and "*" are done again in real arithmetic. Real
// arithmetic runs in long double and is stored as a double. A String taking
// part is converted to a number (Real, or Integer where the operator needs
// one) with the given separators (those of the machine's context), except
// that String + String concatenates.
//
// Failures are reported by explicit checks, never by hardware traps:
// EInvalidOp (0/0, a Real outside the Integer range where an Integer is
// needed, the logarithm of a negative number, a NaN made from numbers),
// EZeroDivide (a division by zero), EOverflow (a computation on finite
// numbers whose stored double is infinite, a number text beyond the double
// range), EConvertError (a String that is not a number).

Variant Add(const Variant& a, const Variant& b, const NumberSeparators& separators);
Variant Subtract(const Variant& a, const Variant& b, const NumberSeparators& separators);
Variant Multiply(const Variant& a, const Variant& b, const NumberSeparators& separators);

// Always a Real, also for two Integers.
Variant Divide(const Variant& a, const Variant& b, const NumberSeparators& separators);

// Integer division truncating toward zero, and its remainder (the sign of
// the dividend). Both operands are converted to Integer, rounding half to
// even. -2147483648 div -1 overflows; -2147483648 mod -1 is 0.
Variant IntDivide(const Variant& a, const Variant& b, const NumberSeparators& separators);
Variant Modulo(const Variant& a, const Variant& b, const NumberSeparators& separators);

// Bitwise on 32 bits after conversion to Integer.
Variant And(const Variant& a, const Variant& b, const NumberSeparators& separators);
Variant Or(const Variant& a, const Variant& b, const NumberSeparators& separators);
Variant Xor(const Variant& a, const Variant& b, const NumberSeparators& separators);
Variant Not(const Variant& a, const NumberSeparators& separators);

// The sign change: a multiplication by the Integer -1, so -2147483648 gives
// the Real 2147483648 and a String becomes a Real.
Variant Negate(const Variant& a, const NumberSeparators& separators);

// base to the power of exponent, always a Real: exponent 0 gives 1, base 0
// with a positive exponent gives 0, an integral exponent up to 2147483647 in
// magnitude is done by repeated squaring, anything else as
// exp(exponent * ln base).
Variant Power(const Variant& base, const Variant& exponent, const NumberSeparators& separators);

}  // namespace quenmark
