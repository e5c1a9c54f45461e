#!/usr/bin/env python3
"""Writes function_reference.txt, the reference values for the accuracy test
of the math module's functions.

Run once by hand with python3 and python3-mpmath; the table is kept beside this
script, and the tests only read it. Each line is

    NAME argument... expected

An argument written without "." or "e" is passed as an Integer, any other as
a Real (Python's shortest text, which reads back as the same double). The
expected value is the exact result to 21 significant digits, or the failure
the function must report: DOMAIN (101), RANGE (103) or WHOLE (104).
"""

import math
import os
import random
import sys
from decimal import Decimal, ROUND_DOWN, ROUND_HALF_UP, localcontext
from fractions import Fraction

import mpmath
from mpmath import mp, mpf

mp.prec = 1300  # enough to reduce trigonometric arguments up to 2**1024 exactly

EXACT_LIMIT = 2**53
OVERFLOW_LIMIT = mpf(2) ** 1024 - mpf(2) ** 970  # the nearest double of anything above is infinite


def text_of(argument):
    return str(argument) if isinstance(argument, int) else repr(float(argument))


def expected_of(value):
    if isinstance(value, str):
        return value
    value = mpf(value)
    if abs(value) >= OVERFLOW_LIMIT:
        return "RANGE"
    if value == 0:
        return "0"
    return mpmath.nstr(value, 21, min_fixed=1, max_fixed=0)


def log_spread(rng, low, high, count, signed=True):
    """count doubles with magnitudes spread evenly in exponent over 10**low..10**high."""
    values = []
    for _ in range(count):
        magnitude = 10 ** rng.uniform(low, high)
        values.append(-magnitude if signed and rng.random() < 0.5 else magnitude)
    return values


def uniform(rng, low, high, count):
    return [rng.uniform(low, high) for _ in range(count)]


def neighbours(x):
    return [math.nextafter(x, -math.inf), x, math.nextafter(x, math.inf)]


TINY = [5e-324, 1e-320, 2.2250738585072014e-308, 1e-300, 1e-200, 1e-100, 1e-20, 1e-10, 1.4901161193847656e-08]
HUGE = [1e10, 1e20, 1e100, 1e200, 1e300, 1.7976931348623157e308]
COMMON = [0.0, 0.5, 1.0, 1.5, 2.0, 3.0, 10.0, 0.1, 0.3, 0.7, math.pi, math.pi / 2, math.e]


def both_signs(values):
    return [v for x in values for v in (x, -x)]


def unary(rng):
    basics = both_signs(COMMON + TINY)
    trig_args = basics + both_signs(HUGE) + uniform(rng, -10, 10, 120) + log_spread(rng, -8, 22, 100)
    trig_args += [n * math.pi / 4 for n in range(-16, 17)]
    unit = [-1.0, 1.0] + neighbours(1.0)[:1] + neighbours(-1.0)[2:] + uniform(rng, -1, 1, 160)
    unit += log_spread(rng, -20, 0, 40) + both_signs(TINY) + neighbours(1.0)[2:] + neighbours(-1.0)[:1]
    unit += [1.5, -2.0, 10.0]
    wide = basics + both_signs(HUGE) + log_spread(rng, -30, 30, 160) + log_spread(rng, -300, 300, 40)
    positive = [abs(x) for x in wide] + neighbours(1.0) + [0.0, -1.0, -1e-300, -5.0]
    positive += [1 + 2.0**-k for k in range(1, 53, 4)] + [1 - 2.0**-k for k in range(1, 54, 4)]
    positive += [float(10**k) for k in range(-20, 23)] + [2.0**k for k in range(-1074, 1024, 97)]
    hyperbolic = basics + uniform(rng, -30, 30, 100) + uniform(rng, -712, 712, 80) + log_spread(rng, -20, 2, 40)
    hyperbolic += neighbours(710.4758600739439) + [711.0, -711.0, 1000.0, -1000.0]
    exponent = basics + uniform(rng, -750, 710, 120) + uniform(rng, -5, 5, 60) + log_spread(rng, -20, 2, 40)
    exponent += neighbours(709.782712893384) + [710.0, -745.2, -745.0, -744.0, -708.4, 1000.0, -1000.0]
    at_least_one = [1.0] + neighbours(1.0)[2:] + [1 + abs(x) for x in log_spread(rng, -16, 0, 80)]
    at_least_one += [abs(x) for x in log_spread(rng, 0, 300, 100)] + HUGE + [0.5, 0.0, -2.0]
    return {
        "SIN": (trig_args, mpmath.sin),
        "COS": (trig_args, mpmath.cos),
        "TAN": (trig_args, mpmath.tan),
        "ASIN": (unit, lambda x: "DOMAIN" if abs(x) > 1 else mpmath.asin(x)),
        "ACOS": (unit, lambda x: "DOMAIN" if abs(x) > 1 else mpmath.acos(x)),
        "ATAN": (wide, mpmath.atan),
        "SINH": (hyperbolic, mpmath.sinh),
        "COSH": (hyperbolic, mpmath.cosh),
        "TANH": (hyperbolic + wide, mpmath.tanh),
        "ASINH": (wide, mpmath.asinh),
        "ACOSH": (at_least_one, lambda x: "DOMAIN" if x < 1 else mpmath.acosh(x)),
        "ATANH": (unit, lambda x: "DOMAIN" if abs(x) >= 1 else mpmath.atanh(x)),
        "SQRT": (positive, lambda x: "DOMAIN" if x < 0 else mpmath.sqrt(x)),
        "CBRT": (wide + [27.0, -27.0, 1e-309, 8e300], lambda x: mpmath.sign(x) * mpmath.cbrt(abs(x))),
        "EXP": (exponent, mpmath.exp),
        "LN": (positive, lambda x: "DOMAIN" if x <= 0 else mpmath.ln(x)),
        "LOG": (positive, lambda x: "DOMAIN" if x <= 0 else mpmath.log10(x)),
        "LOG2": (positive, lambda x: "DOMAIN" if x <= 0 else mpmath.log(x, 2)),
        "DEG": (wide + [math.pi, math.pi / 2, 1e307, 3.2e306, -1e307], lambda x: x * 180 / mp.pi),
        "RAD": (wide + [180.0, 90.0, 360.0, 45.0], lambda x: x * mp.pi / 180),
    }


def round_half_away(x):
    whole = mpmath.floor(abs(x) + mpf(1) / 2)
    return -whole if x < 0 else whole


def rounding(rng):
    halves = both_signs([k + 0.5 for k in range(0, 12)] + [0.49999999999999994, 4503599627370495.5,
                                                         2147483647.5, 2147483646.5, 1e15 + 0.5])
    values = halves + both_signs(COMMON + TINY + HUGE) + log_spread(rng, -5, 17, 160)
    values += both_signs([2.0**52, 2.0**52 + 1, 2.0**53, 2147483647.0, 2147483648.0, 0.9999999999999999])
    values += [3, -3, 0, 2147483647, -2147483648]
    return {
        "ABS": (values, abs),
        "SIGN": (values, mpmath.sign),
        "INT": (values, lambda x: mpmath.floor(x) if x >= 0 else mpmath.ceil(x)),
        "FRAC": (values, lambda x: x - (mpmath.floor(x) if x >= 0 else mpmath.ceil(x))),
        "ROUND": (values, round_half_away),
        "FLOOR": (values, mpmath.floor),
        "CEIL": (values, mpmath.ceil),
    }


def pairs(rng, count, low, high):
    values = log_spread(rng, low, high, 2 * count)
    return list(zip(values[:count], values[count:]))


def atan2(y, x):
    """Zeros keep their signs (the arguments that are zero stay floats): the
    angle of (-0, y) is +-pi, that of (+0, y) is +-0."""
    if y == 0:
        x_negative = x < 0 or (x == 0 and math.copysign(1, x) < 0)
        return math.copysign(1, y) * mp.pi if x_negative else 0
    return mpmath.atan2(y, x)


def binary(rng):
    plain = pairs(rng, 150, -20, 20) + pairs(rng, 40, -300, 300)
    plain += [(x, y) for x in (0.0, -0.0, 1.0, -1.0, 3.0, 1e300, -1e-300) for y in (0.0, -0.0, 2.0, -2.0, 1e-300)]
    plain += [(3, 4), (-5, 12), (1.7976931348623157e308, 1.7976931348623157e308), (1e308, 1e308),
              (1.2e308, 1.2e308), (5e-324, 5e-324), (3e-320, 4e-320)]
    near = [(x, x * (1 + rng.uniform(-1e-8, 1e-8))) for x in log_spread(rng, -5, 5, 40)]
    return {
        "ATAN2": (plain + near, atan2),
        "HYPOT": (plain + near, lambda x, y: mpmath.hypot(x, y)),
        "MIN": (plain + near + [(3, 2.5), (2, 2), (-1, -1.5)], min),
        "MAX": (plain + near + [(3, 2.5), (2, 2), (-1, -1.5)], max),
    }


def whole(value):
    """A whole number as the calculator passes it: Integer when it fits in 32 bits."""
    return value if -2**31 <= value < 2**31 else float(value)


def checked_whole(function):
    """The argument checks of the counting functions, in their order: each
    argument in turn must be whole, then no larger than 2**53."""
    def checked(*args):
        values = [a if isinstance(a, int) else float(a) for a in args]
        for x in values:
            if x != math.trunc(x):
                return "WHOLE"
            if abs(x) > EXACT_LIMIT:
                return "DOMAIN"
        return function(*[int(x) for x in values])
    return checked


def selection(ordered):
    def count(n, k):
        if n < 0 or k < 0:
            return "DOMAIN"
        if k > n:
            return 0
        return math.perm(n, k) if ordered else math.comb(n, k)
    return checked_whole(count)


def lcm(a, b):
    value = math.lcm(a, b)
    return "RANGE" if value > EXACT_LIMIT else value


def counting(rng):
    numbers = [whole(rng.randrange(-10**6, 10**6)) for _ in range(80)]
    numbers += [whole(rng.randrange(1, 2**53)) for _ in range(40)]
    divisor_pairs = list(zip(numbers[::2], numbers[1::2]))
    divisor_pairs += [(0, 0), (12, -18), (0, 5), (2**31 - 1, 2**31 - 2), (float(2**53), 6.0),
                      (float(2**53 + 2), 3), (1.5, 2), (4, 6.5), (3 * 2**40 * 1.0, 5 * 2**40 * 1.0),
                      (2**26 * 1.0 + 1, 2**27 * 1.0 + 3), (94906267, 94906265)]
    divisor_pairs += [(whole(a * c), whole(b * c)) for a, b, c in
                      ((rng.randrange(1, 1000), rng.randrange(1, 1000), rng.randrange(1, 10**9)) for _ in range(60))]
    factorials = list(range(0, 171)) + [171, 200, 1000, -1, 2.5, 1e16, 170.0]
    choices = [(n, k) for n in (0, 1, 2, 5, 10, 52, 100, 170, 171, 500, 1000, 1029, 1030, 1100)
               for k in sorted({0, 1, 2, 3, n // 3, n // 2, n - 1, n, n + 1} - {-1})]
    choices += [(n, rng.randrange(0, n + 1)) for n in (rng.randrange(0, 1200) for _ in range(120))]
    choices += [(whole(rng.randrange(2**31, 2**53)), rng.randrange(0, 40)) for _ in range(40)]
    choices += [(2**53 * 1.0, 2), (2**53 * 1.0 + 2, 1), (-1, 0), (5, -1), (5.5, 2), (10, 2.5), (60, 30),
                (67, 33), (1000, 500), (1023, 512)]
    return {
        "GCD": (divisor_pairs, checked_whole(math.gcd)),
        "LCM": (divisor_pairs, checked_whole(lcm)),
        "FACT": ([(n,) for n in factorials],
                 checked_whole(lambda n: "DOMAIN" if n < 0 else math.factorial(n))),
        "NCR": (choices, selection(False)),
        "NPR": (choices, selection(True)),
    }


def is_gamma_pole(x):
    return x <= 0 and x == mpmath.floor(x)


def log_gamma(x):
    if is_gamma_pole(x):
        return "DOMAIN"
    return mpmath.loggamma(x) if x > 0 else mpmath.log(abs(mpmath.gamma(x)))


def special(rng):
    basics = both_signs(COMMON + TINY)
    error_args = basics + uniform(rng, -6, 6, 150) + log_spread(rng, -20, 1.5, 60) + both_signs([27.0, 30.0, 1e300])
    erfc_args = error_args + uniform(rng, -6, 27.3, 100) + [26.5, 27.2, 27.3, 28.0, 100.0]
    gamma_args = uniform(rng, -170, 172, 150) + [float(n) for n in range(1, 173)] + [0.0, -1.0, -2.0, -170.0]
    gamma_args += both_signs(TINY[3:]) + [0.5, 1.5, -0.5, -1.5, -170.5, -180.5, -1 + 1e-10, -1 - 1e-10, 171.6, 171.7]
    gamma_args += log_spread(rng, -5, 2.2, 60)
    lgamma_args = [abs(x) for x in log_spread(rng, -300, 300, 80)] + uniform(rng, -50, 50, 100)
    lgamma_args += [1 + 2.0**-k for k in range(1, 53, 6)] + [2 - 2.0**-k for k in range(1, 53, 6)]
    lgamma_args += [1.0, 2.0, 3.0, 0.0, -1.0, -3.0, 0.5, -0.5, 1e305, 1.7976931348623157e308] + TINY
    exponent = basics + uniform(rng, -750, 710, 100) + uniform(rng, -5, 5, 60) + log_spread(rng, -20, 2, 40)
    exponent += [709.782712893384, 710.0, -745.0, 1000.0]
    above_minus_one = [abs(x) for x in log_spread(rng, -30, 300, 100)] + uniform(rng, -1, 1, 80) + basics[:20]
    above_minus_one += [-1.0, -1.5, -1 + 2.0**-53, -0.5, -0.9999, 1e-300, -1e-300] + both_signs(TINY)
    powers_of_two = uniform(rng, -1100, 1025, 100) + [float(k) for k in range(-1074, 1024, 61)] + basics + [1024.0, -1075.0]
    powers_of_ten = uniform(rng, -330, 309, 100) + [float(k) for k in range(-22, 23)] + basics + [308.25, 308.3]
    beta_args = [(abs(x), abs(y)) for x, y in pairs(rng, 100, -3, 3)]
    beta_args += [(rng.uniform(0, 50), abs(y)) for y in log_spread(rng, 2.9, 6, 60)]
    beta_args += [(abs(x), rng.uniform(800, 1000)) for x in log_spread(rng, -2, 3.2, 40)]
    beta_args += [(1, 1), (2, 3), (0.5, 0.5), (1, 2000), (1e-300, 1000), (5e-324, 1), (850, 850), (900, 1000),
                  (700, 1e6), (2.5, 1e300), (0.5, 1e10), (10, 2000), (100, 1e4), (0, 1), (-1, 2), (1, -0.5),
                  (1000.5, 699.5), (849.9, 850.2), (300, 1500), (1500, 300), (0.001, 1e300), (1.5, 1699.0)]
    return {
        "ERF": (error_args, mpmath.erf),
        # beyond 1000 the exact value lies far below the least double
        "ERFC": (erfc_args, lambda x: mpf(0) if x > 1000 else mpmath.erfc(x)),
        "GAMMA": (gamma_args, lambda x: "DOMAIN" if is_gamma_pole(x) else mpmath.gamma(x)),
        "LGAMMA": (lgamma_args, log_gamma),
        "BETA": (beta_args, lambda a, b: "DOMAIN" if a <= 0 or b <= 0 else mpmath.beta(a, b)),
        "EXPM1": (exponent, mpmath.expm1),
        "LN1P": (above_minus_one, lambda x: "DOMAIN" if x <= -1 else mpmath.log1p(x)),
        "EXP2": (powers_of_two, lambda x: mpf(2) ** x),
        "EXP10": (powers_of_ten, lambda x: mpf(10) ** x),
    }


def logarithm_to_base(x, base):
    if x <= 0 or base <= 0 or base == 1:
        return "DOMAIN"
    return mpmath.log(x) / mpmath.log(base)


def root(x, n):
    n = float(n) if not isinstance(n, int) else n
    if n != math.trunc(n):
        return "WHOLE"
    if abs(n) > EXACT_LIMIT:
        return "DOMAIN"
    if n == 0 or (x == 0 and n < 0) or (x < 0 and int(n) % 2 == 0):
        return "DOMAIN"
    return mpmath.sign(x) * abs(mpf(x)) ** (mpf(1) / int(n))


# The shortest decimal stands for a double from the smallest normal double
# (subnormals hold fewer digits) to 1e17 (beyond, 17 digits no longer hold
# the whole part).
SHORTEST_RANGE = (sys.float_info.min, 1e17)


def decimal_places(rounding):
    """x rounded (half away from zero) or cut to d decimals: within
    SHORTEST_RANGE the shortest decimal that reads back as x (Python's repr),
    outside it the exact binary value; an Integer with d >= 0 stays as it is."""
    def to_places(x, d):
        d = float(d) if not isinstance(d, int) else d
        if d != math.trunc(d):
            return "WHOLE"
        if abs(d) > EXACT_LIMIT:
            return "DOMAIN"
        x = float(x)
        with localcontext() as context:
            context.prec = 2000
            decimal = Decimal(repr(x)) if SHORTEST_RANGE[0] <= abs(x) < SHORTEST_RANGE[1] else Decimal(x)
            value = decimal.quantize(Decimal(1).scaleb(-int(d)), rounding=rounding)
        return mpf(str(value))
    return to_places


def whole_quotient(a, b):
    if b == 0:
        return "DOMAIN"
    quotient = Fraction(float(a)) / Fraction(float(b))
    return math.trunc(quotient)


def remainder(a, b):
    if b == 0:
        return "DOMAIN"
    fa, fb = Fraction(float(a)), Fraction(float(b))
    rest = fa - math.trunc(fa / fb) * fb
    return mpf(rest.numerator) / rest.denominator


def places_and_roots(rng):
    logs = [(abs(x), abs(y)) for x, y in pairs(rng, 120, -30, 30)] + [(abs(x), abs(y)) for x, y in pairs(rng, 30, -300, 300)]
    logs += [(8, 2), (1000, 10), (1e22, 10), (81, 3), (0.0009765625, 2), (0.001, 10), (5e-324, 2), (1024, 0.5),
             (2, 1), (0, 10), (10, 0), (-8, 2), (8, -2), (1.7976931348623157e308, 2), (1 + 2.0**-52, 10)]
    logs += [(float(b) ** k, b) for b in (2, 3, 5, 7, 10) for k in range(-20, 21, 3) if float(b) ** k >= 5e-324]
    roots = [(abs(x), rng.randrange(2, 30)) for x in log_spread(rng, -300, 300, 80)]
    roots += [(x, n) for x in log_spread(rng, -20, 20, 40) for n in (rng.choice([3, 5, 7, -3, 2, 4, -2]),)]
    roots += [(27, 3), (-27, 3), (-16, 4), (16, 4), (2, 2), (8, -3), (0, 3), (0, -2), (2, 0), (2, 2.5), (-8, 3.0),
              (5e-324, 3), (1.7976931348623157e308, 2), (2, 1000000), (1e300, 7), (-1e-300, 5), (1024, 10),
              (3.0**40, 40), (7.0**18, 18), (1e-300, -3), (2, 2.0**60)]
    places = [(x, rng.randrange(-5, 16)) for x in log_spread(rng, -8, 17, 150)]
    places += [(2.675, 2), (2.5, 0), (-2.5, 0), (0.125, 2), (-0.125, 2), (1234.5678, -2), (1250, -2), (1249, -2),
               (1.005, 2), (2.5, 0.5), (0.5, -1), (5, -1), (-5, -1), (1e-320, 320), (5e-324, 1074), (5e-324, 323),
               (1.7976931348623157e308, -308), (1.7976931348623157e308, -309), (123.456, -400), (9.995, 2),
               (0.0, 3), (-0.0004, 3), (999999.5, 0), (-999.96, 1), (7, 3), (-7, -1), (2.0**60, 3)]
    divisions = [(x, y) for x, y in pairs(rng, 80, -10, 10)] + [(x, y) for x, y in pairs(rng, 30, -200, 200)]
    divisions += [(7, 2), (-7, 2), (7, -2), (-7, -2), (1, 0.1), (1e300, 1e-300), (5, 0), (5.5, 0.0), (0, 3),
                  (-2147483648, -1), (2.0**53, 3), (2.0**60, 7), (1e17, 3.0), (0.3, 0.1), (-1e-320, 3e-321),
                  (6, 3), (-6, 3), (6.0, 1.5)]
    return {
        "LOGB": (logs, logarithm_to_base),
        "ROOT": (roots, root),
        "ROUNDTO": (places, decimal_places(ROUND_HALF_UP)),
        "TRUNCTO": (places, decimal_places(ROUND_DOWN)),
        "IDIV": (divisions, whole_quotient),
        "MODF": (divisions, remainder),
    }


def degrees_pole_tangent(x):
    cosine = mpmath.cospi(x / 180)
    return "DOMAIN" if cosine == 0 else mpmath.sinpi(x / 180) / cosine


def angles(rng):
    basics = both_signs(COMMON + TINY)
    radians = basics + both_signs(HUGE) + uniform(rng, -10, 10, 100) + log_spread(rng, -8, 22, 60)
    radians += [n * math.pi / 4 for n in range(-8, 9)]
    beyond_one = [1.0, -1.0] + neighbours(1.0)[2:] + neighbours(-1.0)[:1] + [1 + 2.0**-k for k in range(1, 53, 5)]
    beyond_one += [-(1 + 2.0**-k) for k in range(1, 53, 7)] + log_spread(rng, 0, 300, 80) + [0.5, -0.5, 0.0]
    wide = basics + both_signs(HUGE) + log_spread(rng, -30, 30, 100) + log_spread(rng, -300, 300, 30)
    degrees = [float(k * 15) for k in range(-48, 49)] + uniform(rng, -1000, 1000, 100) + log_spread(rng, -10, 22, 60)
    degrees += basics + both_signs(HUGE) + [1e22, 2.0**60 + 90, 90.0 + 360 * 2**40, 0.1, 89.99999999999999]
    unit = [-1.0, 1.0, 0.5, -0.5] + uniform(rng, -1, 1, 100) + log_spread(rng, -20, 0, 30) + [1.5, -2.0]
    unit += neighbours(1.0)[:1] + neighbours(-1.0)[2:] + both_signs(TINY)
    dms = [(12, 30, 0), (-12, 30, 0), (-12, -30, 0), (0, -30, 0), (12, 30, 36), (0, 0, 1), (0, 0, -0.5),
           (359, 59, 59.999), (1e300, 1e300, 1e300), (0, 90, 0), (45, 0, 0), (-0.0, 0, 0)]
    dms += [(rng.randrange(-360, 361), rng.randrange(0, 60), rng.uniform(0, 60)) for _ in range(100)]
    return {
        "SEC": (radians, mpmath.sec),
        "CSC": (radians, lambda x: "DOMAIN" if x == 0 else mpmath.csc(x)),
        "COT": (radians, lambda x: "DOMAIN" if x == 0 else mpmath.cot(x)),
        "ASEC": (beyond_one, lambda x: "DOMAIN" if abs(x) < 1 else mpmath.acos(1 / mpf(x))),
        "ACSC": (beyond_one, lambda x: "DOMAIN" if abs(x) < 1 else mpmath.asin(1 / mpf(x))),
        "ACOT": (wide, lambda x: mp.pi / 2 if x == 0 else mpmath.atan(1 / mpf(x))),
        "SIND": (degrees, lambda x: mpmath.sinpi(mpf(x) / 180)),
        "COSD": (degrees, lambda x: mpmath.cospi(mpf(x) / 180)),
        "TAND": (degrees, lambda x: degrees_pole_tangent(mpf(x))),
        "ASIND": (unit, lambda x: "DOMAIN" if abs(x) > 1 else mpmath.asin(x) * 180 / mp.pi),
        "ACOSD": (unit, lambda x: "DOMAIN" if abs(x) > 1 else mpmath.acos(x) * 180 / mp.pi),
        "ATAND": (wide, lambda x: mpmath.atan(x) * 180 / mp.pi),
        "GRAD": (wide, lambda x: x * 200 / mp.pi),
        "GRAD2RAD": (wide, lambda x: x * mp.pi / 200),
        "DEG2GRAD": (wide + [90.0, 360.0, 1e308], lambda x: mpf(x) * 10 / 9),
        "GRAD2DEG": (wide + [100.0, 400.0], lambda x: mpf(x) * 9 / 10),
        "DMS": (dms, lambda d, m, s: (-1 if min(d, m, s) < 0 else 1) * (abs(d) + abs(mpf(m)) / 60 + abs(mpf(s)) / 3600)),
    }


def growth(rate, periods):
    return (1 + mpf(rate)) ** periods - 1


def discount(rate, periods):
    return 1 - (1 + mpf(rate)) ** -mpf(periods)


def payment(rate, periods, present):
    if rate <= -1 or periods <= 0:
        return "DOMAIN"
    if rate == 0:
        return -mpf(present) / periods
    return -mpf(present) * rate / discount(rate, periods)


def future_value(rate, periods, pay):
    if rate <= -1 or periods < 0:
        return "DOMAIN"
    return -mpf(pay) * periods if rate == 0 else -mpf(pay) * growth(rate, periods) / rate


def present_value(rate, periods, pay):
    if rate <= -1 or periods < 0:
        return "DOMAIN"
    return -mpf(pay) * periods if rate == 0 else -mpf(pay) * discount(rate, periods) / rate


def periods_needed(rate, pay, present):
    if rate <= -1 or pay == 0:
        return "DOMAIN"
    if rate == 0:
        periods = -mpf(present) / pay
    else:
        share = mpf(present) * rate / pay
        if share <= -1:
            return "DOMAIN"
        periods = -mpmath.log1p(share) / mpmath.log1p(rate)
    return "DOMAIN" if periods < 0 else periods


def finance(rng):
    rates = [abs(x) for x in log_spread(rng, -6, -0.3, 60)] + [-abs(x) for x in log_spread(rng, -6, -1.5, 12)]
    rates += [0.0, 0.05 / 12, 0.05, 1e-12, 2.0, -1.0, -1.5]
    periods = [rng.randrange(1, 601) for _ in range(40)] + [rng.uniform(0.5, 100) for _ in range(10)] + [0, 1, 360, 1e6]
    cases = [(rng.choice(rates), rng.choice(periods), x) for x in log_spread(rng, 0, 7, 160)]
    cases += [(0.05 / 12, 360, 200000), (0, 12, 1200), (0.05, 0, 100), (-1.0, 10, 100), (0.05, 1e6, 100),
              (1e-12, 360, 100000), (-0.5, 2000, 100), (0.08, 8000, 100)]
    nper = [(rate, -abs(pay), abs(pv)) for rate, pay, pv in
            ((rng.choice(rates), x, y) for x, y in pairs(rng, 120, 1, 5))]
    nper += [(rng.choice(rates), x, y) for x, y in pairs(rng, 60, 0, 6)]
    nper += [(0.05 / 12, -1073.64, 200000), (0.1, -50, 1000), (0.05, 100, 1000), (0, -100, 1000), (0.05, 0, 1000),
             (0.1, -100, 1000), (0.1, -100.0000001, 1000), (-0.01, -10, 1000), (1e-12, -1, 100), (0.05, -100, 0)]
    return {
        "PMT": (cases, payment),
        "FV": (cases, future_value),
        "PV": (cases, present_value),
        "NPER": (nper, periods_needed),
    }


def write_table(out):
    rng = random.Random(20240515)
    tables = {}
    tables.update(unary(rng))
    tables.update(rounding(rng))
    tables.update(binary(rng))
    tables.update(counting(rng))
    tables.update(special(rng))
    tables.update(places_and_roots(rng))
    tables.update(angles(rng))
    tables.update(finance(rng))
    out.write("# Made by make_function_reference.py; do not edit.\n")
    for name, (arguments, function) in tables.items():
        for args in arguments:
            args = args if isinstance(args, tuple) else (args,)
            exact = [a if isinstance(a, int) or a == 0 else mpf(a) for a in args]
            value = function(*exact)
            out.write(" ".join([name] + [text_of(a) for a in args] + [expected_of(value)]) + "\n")


if __name__ == "__main__":
    default = os.path.join(os.path.dirname(os.path.abspath(__file__)), "function_reference.txt")
    with open(sys.argv[1] if len(sys.argv) > 1 else default, "w") as table:
        write_table(table)
