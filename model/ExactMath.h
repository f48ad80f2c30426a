#pragma once
// The natural logarithm and the cosine of link length draws: correctly rounded in practice and
// computed by one fixed sequence of double operations, so that a draw has the same bits on every
// machine (the C library's differ in their last bit by processor).

#include <cfloat>

// Every double operation must round to double once; x87 arithmetic keeps more bits between them.
#if FLT_EVAL_METHOD != 0
#error "ExactMath needs double arithmetic evaluated in double (32-bit x86: -msse2 -mfpmath=sse)"
#endif

namespace ExactMath {

// ln x; -inf at 0, NaN below 0 and at NaN, +inf at +inf.
double Log(double x);
// cos x for |x| <= 16 (the draws pass [0, 2 pi)); NaN beyond, and at infinities and NaN.
double Cos(double x);

// The two steps behind each, apart for the checks that measure them (for x as Log and Cos take,
// apart from the infinities, NaN and Log's 0). The quick step's sum is within its bound times
// |hi| of the exact value (bench/exact_math measured 2^-68.6 and 2^-65.5 at most); where that
// leaves the rounding open, the careful step decides (within about 2^-100 of the value).
struct Sum {
    double hi, lo;
};
constexpr double QuickLogBound = 0x1p-64, QuickCosBound = 0x1p-62;
// Whether a quick sum's bound leaves its rounding fixed: then hi + lo is the result.
bool Decides(Sum quick, double bound);
Sum QuickLog(double x);
Sum CarefulLog(double x);
Sum QuickCos(double x);
Sum CarefulCos(double x);

} // namespace ExactMath
