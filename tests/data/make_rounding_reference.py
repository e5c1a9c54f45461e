#!/usr/bin/env python3
"""Writes rounding_reference.txt, the reference table for ROUND, ROUNDTO and
TRUNCTO: each rounds the shortest decimal that reads back as the double
(Python's repr), halves away from zero.

Run once by hand with python3 (only the standard library); the table is kept
beside this script, and the tests only read it. Each line is

    x d ROUNDTO(x, d) TRUNCTO(x, d) ROUND(x)

every number in Python's shortest text. The values x are random doubles of
every sign written with 0 to 6 decimals, as a user types them (many end in 5,
so that the rounding digit is a half), and random doubles of any digits; d is
mostly one decimal fewer than x has, otherwise anything from -3 to 8.
"""

import os
import random
import sys
from decimal import Decimal, ROUND_DOWN, ROUND_HALF_UP, localcontext

CASES = 10000


def typed_value(rng):
    decimals = rng.randrange(0, 7)
    digits = rng.randrange(1, 16)
    mantissa = rng.randrange(10 ** (digits - 1), 10 ** digits)
    if rng.random() < 0.5:
        mantissa = mantissa // 10 * 10 + 5  # a half in the last decimal
    value = float(Decimal(mantissa).scaleb(-decimals))
    return (-value if rng.random() < 0.5 else value), decimals


def any_value(rng):
    value = 10 ** rng.uniform(-8, 16)
    return (-value if rng.random() < 0.5 else value), rng.randrange(0, 7)


def places(rng, decimals):
    return decimals - 1 if rng.random() < 0.6 else rng.randrange(-3, 9)


def to_places(x, d, rounding):
    with localcontext() as context:
        context.prec = 100
        value = Decimal(repr(x)).quantize(Decimal(1).scaleb(-d), rounding=rounding)
    return repr(float(value))


def write_table(out):
    rng = random.Random(20240601)
    out.write("# Made by make_rounding_reference.py; do not edit.\n")
    for case in range(CASES):
        x, decimals = typed_value(rng) if case % 5 else any_value(rng)
        d = places(rng, decimals)
        fields = [repr(x), str(d), to_places(x, d, ROUND_HALF_UP), to_places(x, d, ROUND_DOWN),
                  to_places(x, 0, ROUND_HALF_UP)]
        out.write(" ".join(fields) + "\n")


if __name__ == "__main__":
    default = os.path.join(os.path.dirname(os.path.abspath(__file__)), "rounding_reference.txt")
    with open(sys.argv[1] if len(sys.argv) > 1 else default, "w") as table:
        write_table(table)
