#include "ExactMath.h"

#include "ExactMathTables.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

// Built with -ffp-contract=off (model/CMakeLists.txt): a fused multiply-add would break the
// exact products and sums below, and differ between machines.

namespace {

using ExactMath::Sum;
using namespace ExactMathTables;

// The exact sum of two doubles as the rounded sum and its error (Knuth).
[[gnu::always_inline]] inline Sum TwoSum(double a, double b) {
    const double s = a + b;
    const double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

// The same where a is 0 or a's exponent is at least b's (Dekker).
[[gnu::always_inline]] inline Sum FastTwoSum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// The exact product of two doubles as the rounded product and its error (Dekker, with
// Veltkamp's split into halves of at most 26 bits, whose products are exact).
[[gnu::always_inline]] inline Sum TwoProduct(double a, double b) {
    const double p = a * b;
    const double ca = 134217729.0 * a, cb = 134217729.0 * b; // 2^27 + 1
    const double ah = ca - (ca - a), bh = cb - (cb - b);
    const double al = a - ah, bl = b - bh;
    return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

// Double-double arithmetic, within about 2^-104 of the result.
[[gnu::always_inline]] inline Sum Add(Sum a, Sum b) {
    Sum s = TwoSum(a.hi, b.hi);
    const Sum t = TwoSum(a.lo, b.lo);
    s = FastTwoSum(s.hi, s.lo + t.hi);
    return FastTwoSum(s.hi, s.lo + t.lo);
}

[[gnu::always_inline]] inline Sum Mul(Sum a, Sum b) {
    const Sum p = TwoProduct(a.hi, b.hi);
    return FastTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

double Decide(Sum quick, double bound, Sum (*careful)(double), double x) {
    if (ExactMath::Decides(quick, bound))
        return quick.hi + quick.lo;
    const Sum s = careful(x);
    return s.hi + s.lo;
}

uint64_t Bits(double x) {
    uint64_t b;
    std::memcpy(&b, &x, sizeof b);
    return b;
}

double FromBits(uint64_t b) {
    double x;
    std::memcpy(&x, &b, sizeof x);
    return x;
}

// x = 2^k m with m in [0.6875, 1.375), the part of that range m falls into, and z = m c - 1
// exactly for that part's c: ln x = k ln 2 - ln c + ln(1 + z), |z| < 2^-7.
struct LogReduced {
    int k;
    const LogEntry* entry;
    Sum z;
};

[[gnu::always_inline]] inline LogReduced ReduceLog(double x) {
    // The parts of [0.6875, 1.375) are those of bits - Off: its top bits are k + 2048 (the sum
    // never wraps for a positive x), the next seven the part.
    constexpr uint64_t Off = 0x3fe6000000000000;                       // 0.6875
    const int scale = x < std::numeric_limits<double>::min() ? 52 : 0; // subnormal
    const uint64_t bits = Bits(x * (scale ? 0x1p52 : 1.0));
    const uint64_t shifted = bits + ((uint64_t(1) << 63) - Off);
    const int k = static_cast<int>(shifted >> 52) - 2048;
    const double m = FromBits(bits - (static_cast<uint64_t>(k) << 52)); // modulo 2^64
    LogReduced r;
    r.entry = &LogTable[(shifted >> 45) & 127];
    r.k = k - scale;
    // c has at most 21 bits, so m's halves times c are exact, and so is Dekker's error.
    const double c = r.entry->c;
    const double cm = 134217729.0 * m;
    const double mh = cm - (cm - m), ml = m - mh;
    const double p = m * c;
    r.z = FastTwoSum(p - 1.0, (mh * c - p) + ml * c); // p - 1 is exact: p is within 2^-6 of 1
    return r;
}

// The reduced cosine: cos x = sign (a cos t + b sin t) with t = |r| - j/64, |t| <= 1/128, where
// r = x - q pi/2 and (a, b) is (sin, cos)(j/64) when q is odd, else (cos, -sin)(j/64).
struct CosReduced {
    Sum t, a, b;
    double sign;
};

[[gnu::always_inline]] inline CosReduced ReduceCos(double x) {
    const double ax = std::fabs(x);
    const int q = static_cast<int>(ax * TwoOverPi + 0.5);
    const double dq = q;
    // |x| - q A is exact (Sterbenz), and so are the products and the sum after it. The last two
    // parts are below 2^-99 and |r| above 2^-54 unless q is 0 (no double of the domain comes
    // nearer a multiple of pi/2), so rounding their sum keeps r within 2^-102 of itself.
    const Sum d = TwoSum(ax - dq * PiOver2A, -dq * PiOver2B);
    Sum r = FastTwoSum(d.hi, (d.lo - dq * PiOver2C) - dq * PiOver2D);
    // Without branches, which random arguments would mispredict: cos x is cos r, -sin r, -cos r,
    // sin r as q is 0, 1, 2, 3 modulo 4, and sin r is -sin |r| for a negative r.
    constexpr double Signs[4][2] = {{1.0, 1.0}, {-1.0, 1.0}, {-1.0, -1.0}, {1.0, -1.0}};
    const int odd = q & 1;
    const int negative = r.hi < 0.0;
    const double unit = std::copysign(1.0, r.hi);
    r = {r.hi * unit, r.lo * unit};
    const int j = static_cast<int>(r.hi * 64.0 + 0.5);
    const double* e = CosTable[j]; // sin hi, sin lo, cos hi, cos lo
    const double bSign = 2 * odd - 1;
    CosReduced out;
    out.t = TwoSum(r.hi - j / 64.0, r.lo); // the difference is exact: r.hi is near j/64
    out.a = {e[2 - 2 * odd], e[3 - 2 * odd]};
    out.b = {bSign * e[2 * odd], bSign * e[2 * odd + 1]};
    out.sign = Signs[q & 3][negative];
    return out;
}

// Horner's rule over coefficients[from], [from - step], ..., [to] (the series' terms), in double
// and in double-double from a double-double accumulator.
template <std::size_t N>
[[gnu::always_inline]] inline double Horner(const double (&coefficients)[N][2], int from, int to,
                                            int step, double x) {
    double acc = coefficients[from][0];
    for (int n = from - step; n >= to; n -= step)
        acc = acc * x + coefficients[n][0];
    return acc;
}

template <std::size_t N>
[[gnu::always_inline]] inline Sum Horner(const double (&coefficients)[N][2], int from, int to,
                                         int step, Sum acc, Sum x) {
    for (int n = from; n >= to; n -= step)
        acc = Add(Mul(acc, x), Sum{coefficients[n][0], coefficients[n][1]});
    return acc;
}

} // namespace

namespace ExactMath {

// Rounding is monotonic: when both ends of the interval round alike, so does every value in it.
bool Decides(Sum quick, double bound) {
    const double d = bound * std::fabs(quick.hi);
    return quick.hi + (quick.lo + d) == quick.hi + (quick.lo - d);
}

Sum QuickLog(double x) {
    const LogReduced r = ReduceLog(x);
    const double k = r.k, z1 = r.z.hi, z1lo = r.z.lo;
    // ln x = k ln 2 - ln c + z - z^2/2 + z^3 (1/3 - z/4 + ... + z^7/10): the leading parts of the
    // first two, z and z^2/2 exactly, the rest in double (beyond z^10 the terms are below 2^-73).
    const Sum zz = TwoProduct(z1, z1);
    const Sum big = FastTwoSum(k * Ln2A, r.entry->logHi); // |k ln 2| > |ln c| unless k is 0
    const Sum small = FastTwoSum(z1, -0.5 * zz.hi);       // |z| > z^2/2
    const Sum s = TwoSum(big.hi, small.hi);
    const double z2 = zz.hi, z4 = z2 * z2;
    const auto c = [](int n) { return LogSeries[n][0]; };
    const double cubic = z1 * z2 *
                         (((c(3) + c(4) * z1) + z2 * (c(5) + c(6) * z1)) +
                          z4 * ((c(7) + c(8) * z1) + z2 * (c(9) + c(10) * z1)));
    const double rest = (k * Ln2Lo + r.entry->logLo) + (z1lo - 0.5 * zz.lo) + z1lo * (z2 - z1);
    return FastTwoSum(s.hi, ((big.lo + small.lo) + s.lo) + (rest + cubic));
}

Sum CarefulLog(double x) {
    const LogReduced r = ReduceLog(x);
    const double k = r.k;
    // The terms beyond z^8 are below 2^-56 of z: double is enough for them.
    const double tail = Horner(LogSeries, 15, 9, 1, r.z.hi);
    const Sum series = Mul(Horner(LogSeries, 8, 1, 1, Sum{tail, 0.0}, r.z), r.z);
    Sum s = Add(Sum{k * Ln2A, 0.0}, Sum{r.entry->logHi, r.entry->logLo});
    s = Add(s, Sum{k * Ln2B, 0.0});
    s = Add(s, Sum{k * Ln2C, 0.0});
    return Add(s, series);
}

double Log(double x) {
    if (x == 0.0)
        return -std::numeric_limits<double>::infinity();
    if (!(x > 0.0))
        return std::numeric_limits<double>::quiet_NaN();
    if (x == std::numeric_limits<double>::infinity())
        return x;
    return Decide(QuickLog(x), QuickLogBound, CarefulLog, x);
}

Sum QuickCos(double x) {
    const CosReduced r = ReduceCos(x);
    const double th = r.t.hi, tl = r.t.lo;
    // a cos t + b sin t = a + b t + a (cos t - 1) + b (sin t - t): b t exactly, the rest in double
    // (t.lo is below 2^-53 of t, so only its product with b counts; the terms beyond t^6 in cos t
    // and t^7 in sin t are below 2^-70 of the result).
    const Sum bt = TwoProduct(r.b.hi, th);
    const Sum s = FastTwoSum(r.a.hi, bt.hi); // |a| > |b t|, or a is 0
    const double u = th * th, u2 = u * u;
    const auto f = [](int n) { return Factorial[n][0]; };
    const double cosMinus1 = u * ((f(2) + f(4) * u) + u2 * f(6));
    const double sinMinusT = th * u * ((f(3) + f(5) * u) + u2 * f(7));
    const double lo =
        s.lo + bt.lo + r.a.lo + r.b.hi * tl + r.b.lo * th + r.a.hi * cosMinus1 + r.b.hi * sinMinusT;
    const Sum sum = FastTwoSum(s.hi, lo);
    return {r.sign * sum.hi, r.sign * sum.lo};
}

Sum CarefulCos(double x) {
    const CosReduced r = ReduceCos(x);
    const Sum t = r.t;
    Sum u = TwoProduct(t.hi, t.hi);
    u = FastTwoSum(u.hi, u.lo + 2.0 * t.hi * t.lo);
    // sin t = t (1 - u/3! + u^2/5! - ...), cos t - 1 = u (-1/2! + u/4! - ...) with u = t^2; the
    // later terms in double, whose rounding stays below 2^-100 of the sum.
    const Sum sinT =
        Mul(Horner(Factorial, 5, 1, 2, Sum{Horner(Factorial, 13, 7, 2, u.hi), 0.0}, u), t);
    const Sum cosMinus1 =
        Mul(Horner(Factorial, 4, 2, 2, Sum{Horner(Factorial, 14, 6, 2, u.hi), 0.0}, u), u);
    const Sum sum = Add(r.a, Add(Mul(r.b, sinT), Mul(r.a, cosMinus1)));
    return {r.sign * sum.hi, r.sign * sum.lo};
}

double Cos(double x) {
    if (!(std::fabs(x) <= 16.0))
        return std::numeric_limits<double>::quiet_NaN();
    return Decide(QuickCos(x), QuickCosBound, CarefulCos, x);
}

} // namespace ExactMath
