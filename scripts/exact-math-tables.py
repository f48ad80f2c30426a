#!/usr/bin/env python3
"""Writes model/ExactMathTables.h: the constants and tables behind model/ExactMath.cpp.

   scripts/exact-math-tables.py > model/ExactMathTables.h   (formatted by clang-format)

Every value is worked out here in exact rational or 90-digit decimal arithmetic (Python's own
fractions and decimal, nothing else) and written as hexadecimal doubles, so that the product
holds no value a compiler or a C library has computed. A double-double is a pair of doubles
whose sum is the value to about 2^-106 of it."""

import os
import subprocess
from decimal import Decimal, getcontext
from fractions import Fraction

getcontext().prec = 90

# log: the mantissa falls into 128 parts of [0.6875, 1.375), 2^-8 wide below 1 and 2^-7 above
# (the parts that the top seven bits of the stored mantissa name, counted from 0.6875).
LOG_PARTS = 128
# cos: the reduced argument, at most pi/4, is taken as j/64 plus at most 1/128.
COS_STEP = 64
COS_ENTRIES = 51


def dec(q):
    return Decimal(q.numerator) / Decimal(q.denominator)


def to_fraction(d):
    return Fraction(d)


def nearest(q):
    """The double nearest q (ties to even): Python's float of a Fraction rounds correctly."""
    return float(q)


def round_bits(q, bits):
    """q rounded to a double of at most `bits` significant bits."""
    if q == 0:
        return 0.0
    e = 0
    a = abs(q)
    while a >= 2:
        a /= 2
        e += 1
    while a < 1:
        a *= 2
        e -= 1
    scale = Fraction(2) ** (bits - 1 - e)
    n = round(q * scale)  # Fraction.__round__ rounds half to even
    return float(Fraction(n) / scale)


def split(q, parts_bits):
    """q as a sum of doubles of the given widths, each the rest rounded."""
    out = []
    rest = q
    for bits in parts_bits:
        p = round_bits(rest, bits)
        out.append(p)
        rest -= Fraction(p)
    return out


def dd(q):
    hi = nearest(q)
    return hi, nearest(q - Fraction(hi))


def atan_inverse(n):
    x = Fraction(1, n)
    total, k, term = Fraction(0), 0, x
    while abs(term) > Fraction(1, 10**100):
        total += term / (2 * k + 1) * (-1) ** k
        k += 1
        term *= x * x
    return total


PI = 16 * atan_inverse(5) - 4 * atan_inverse(239)  # Machin's formula, within 1e-100


def ln(q):
    return to_fraction(dec(q).ln())


def sin_cos(q):
    s, c = Fraction(0), Fraction(0)
    term = Fraction(1)
    for n in range(0, 60):
        if n > 0:
            term = term * q / n
        if n % 4 == 0:
            c += term
        elif n % 4 == 1:
            s += term
        elif n % 4 == 2:
            c -= term
        else:
            s -= term
    return s, c


def h(x):
    return float.hex(x) if x != 0 else "0.0"


def main():
    ln2 = ln(Fraction(2))
    pio2 = PI / 2
    out = []
    w = out.append
    w("#pragma once")
    w("// Constants and tables of model/ExactMath.cpp, written by scripts/exact-math-tables.py")
    w("// (exact arithmetic; do not edit by hand).")
    w("")
    w("namespace ExactMathTables {")
    w("")
    w("// ln 2 in parts of 42, 42 and 53 bits: k times either of the first two is exact for every")
    w("// exponent k of a double; Ln2Lo is the rest after the first.")
    a, b, c = split(ln2, [42, 42, 53])
    w(f"constexpr double Ln2A = {h(a)};")
    w(f"constexpr double Ln2B = {h(b)};")
    w(f"constexpr double Ln2C = {h(c)};")
    w(f"constexpr double Ln2Lo = {h(nearest(ln2 - Fraction(a)))};")
    w("")
    w("// pi/2 in parts of 49, 49, 49 and 53 bits: k times any of the first three is exact for k up")
    w("// to 15; and 2/pi, to pick k.")
    p = split(pio2, [49, 49, 49, 53])
    for name, part in zip("ABCD", p):
        w(f"constexpr double PiOver2{name} = {h(part)};")
    w(f"constexpr double TwoOverPi = {h(nearest(2 / PI))};")
    w("")
    w("// (-1)^(n+1) / n, the coefficients of log(1 + z), as double-doubles for n = 1 to 8 and as")
    w("// doubles for n = 1 to 15.")
    w("constexpr double LogSeries[16][2] = {")
    w("    {0.0, 0.0},")
    for n in range(1, 16):
        hi, lo = dd(Fraction((-1) ** (n + 1), n))
        w(f"    {{{h(hi)}, {h(lo)}}}, // {'+' if n % 2 else '-'}1/{n}")
    w("};")
    w("")
    w("// Taylor coefficients of sin and cos, 1/n! with the sign of its term, as double-doubles.")
    w("constexpr double Factorial[16][2] = {")
    fact = 1
    for n in range(0, 16):
        if n > 0:
            fact *= n
        sign = -1 if (n // 2) % 2 else 1
        hi, lo = dd(Fraction(sign, fact))
        w(f"    {{{h(hi)}, {h(lo)}}}, // {'+' if sign > 0 else '-'}1/{n}!")
    w("};")
    w("")
    w("// For part i of the mantissa's range: c, about 1 over the part's middle in at most 21 bits")
    w("// (so that m c is an exact double-double), and -ln c as a double-double. The two parts")
    w("// beside 1 take c = 1, so that near 1 nothing cancels.")
    w("struct LogEntry {")
    w("    double c, logHi, logLo;")
    w("};")
    w(f"constexpr LogEntry LogTable[{LOG_PARTS}] = {{")
    lower = Fraction(11, 16)
    for i in range(LOG_PARTS):
        if i < 80:
            start = lower + Fraction(i, 256)
            width = Fraction(1, 256)
        else:
            start = 1 + Fraction(i - 80, 128)
            width = Fraction(1, 128)
        if i in (79, 80):
            cval = 1.0
        else:
            cval = round_bits(1 / (start + width / 2), 21)
        lhi, llo = dd(-ln(Fraction(cval))) if cval != 1.0 else (0.0, 0.0)
        w(f"    {{{h(cval)}, {h(lhi)}, {h(llo)}}},")
    w("};")
    w("")
    w(f"// sin(j/{COS_STEP}) and cos(j/{COS_STEP}) as double-doubles (sin hi, sin lo, cos hi, cos lo),")
    w(f"// j = 0 to {COS_ENTRIES - 1}.")
    w(f"constexpr double CosTable[{COS_ENTRIES}][4] = {{")
    for j in range(COS_ENTRIES):
        s, c = sin_cos(Fraction(j, COS_STEP))
        sh, sl = dd(s)
        ch, cl = dd(c)
        w(f"    {{{h(sh)}, {h(sl)}, {h(ch)}, {h(cl)}}},")
    w("};")
    w("")
    w("} // namespace ExactMathTables")
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    formatted = subprocess.run(["clang-format", "--assume-filename=model/ExactMathTables.h"],
                               input="\n".join(out) + "\n", text=True, cwd=root,
                               capture_output=True, check=True).stdout
    print(formatted, end="")


main()
