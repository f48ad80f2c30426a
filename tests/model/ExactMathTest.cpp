#include "ExactMath.h"

#include "QuadReference.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

// The full check, on tens of millions of arguments, is bench/exact_math (bench/run.sh exact-math).

namespace {

constexpr double TwoPi = 6.283185307179586; // LinkLength's: a draw passes cos 2 pi u
constexpr double Inf = std::numeric_limits<double>::infinity();

// Ours against the correctly rounded value; each step within its bound, the quick one with a
// quarter of it in reserve. Says whether the quick step decided.
bool Expect(double x, Quad exact, double ours, ExactMath::Sum quick, double bound,
            ExactMath::Sum careful) {
    const Rounded r = RoundedOf(exact);
    EXPECT_TRUE(r.decided) << std::hexfloat << x;
    EXPECT_EQ(ours, r.value) << std::hexfloat << x;
    EXPECT_LE(RelativeError(quick.hi, quick.lo, exact), bound / 4) << std::hexfloat << x;
    EXPECT_LE(RelativeError(careful.hi, careful.lo, exact), 0x1p-100) << std::hexfloat << x;
    return ExactMath::Decides(quick, bound);
}

bool ExpectLog(double x) {
    return Expect(x, logq(x), ExactMath::Log(x), ExactMath::QuickLog(x), ExactMath::QuickLogBound,
                  ExactMath::CarefulLog(x));
}

bool ExpectCos(double x) {
    return Expect(x, cosq(x), ExactMath::Cos(x), ExactMath::QuickCos(x), ExactMath::QuickCosBound,
                  ExactMath::CarefulCos(x));
}

TEST(ExactMath, EdgesOfTheDomains) {
    EXPECT_EQ(ExactMath::Log(1.0), 0.0);
    EXPECT_EQ(ExactMath::Log(0.0), -Inf);
    EXPECT_EQ(ExactMath::Log(-0.0), -Inf);
    EXPECT_EQ(ExactMath::Log(Inf), Inf);
    EXPECT_EQ(ExactMath::Cos(0.0), 1.0);
    for (const double x : {-1.0, -Inf, std::nan("")})
        EXPECT_TRUE(std::isnan(ExactMath::Log(x))) << x;
    for (const double x : {16.000000000000004, -17.0, Inf, std::nan("")})
        EXPECT_TRUE(std::isnan(ExactMath::Cos(x))) << x;
    // The least and greatest doubles, subnormal and normal; 16 and -16 at the ends of cos's.
    for (const double x : {0x1p-1074, 0x1.fffffffffffffp-1023, 0x1p-1022, 0x1.fffffffffffffp+1023})
        ExpectLog(x);
    for (const double x : {16.0, -16.0, -1.0, -TwoPi * 0.25})
        ExpectCos(x);
    EXPECT_EQ(ExactMath::Cos(-2.5), ExactMath::Cos(2.5));
}

// Arguments whose value lies nearest a midpoint between doubles (its distance from it, in units
// in the last place, after each), the hardest bench/exact_math met among 10 million; and those
// the draws pass nearest 1 and 0 (log: 1 - 2^-52 gives 2^-53.6) and the quarter turns (cos).
TEST(ExactMath, HardArgumentsAreCorrectlyRounded) {
    for (const double x : {
             0x1.fb7ffd5b7d7ebp-1, // 2^-25.2
             0x1.486c07c46d49p-1,  // 2^-25.1
             0x1.baed5bbfc713cp-1, // 2^-25.1
             0x1.c0c86a1e22593p-1, // 2^-25.1
             0x1.d138cp-35,        // 2^-24.1
             0x1.4888p-39,         // 2^-21.6
             0x1.8d46352p-26,      // 2^-20.5
             0x1.2fbe136a86afp-5,  // 2^-21.1, where the C library is one unit off
         })
        ExpectLog(x);
    for (const double x : {
             0x1.64ea4554bcf74p+2, // 2^-27.4
             0x1.e91abcf52148bp-1, // 2^-23.2
             0x1.18f94bd75a817p+1, // 2^-22.9
             0x1.30b8a76b9344ep+2, // 2^-22.6
         })
        ExpectCos(x);
    for (int n = 1; n <= 1 << 14; ++n) {
        ExpectLog(1.0 - n * 0x1p-53); // the 2^14 greatest arguments of the draws
        ExpectLog(n * 0x1p-53);       // and the least
    }
    for (int quarter = 0; quarter <= 4; ++quarter)
        for (int i = -(1 << 10); i < 1 << 10; ++i) {
            const double u = quarter * 0.25 + i * 0x1p-53;
            if (u >= 0.0 && u < 1.0)
                ExpectCos(TwoPi * u);
        }
}

// Arguments as the draws make them, from uniform numbers of 53 bits: 1 - u for log, 2 pi u for
// cos. The quick step alone decides nearly all (bench/exact_math: all but 0.07% and 0.3%). And
// log above 1, where the reduced argument comes to its largest, 2^-7.
TEST(ExactMath, DrawArgumentsAreCorrectlyRounded) {
    std::mt19937_64 random(7);
    const auto uniform = [&random] { return static_cast<double>(random() >> 11) * 0x1p-53; };
    constexpr int Count = 200000;
    int quickLogs = 0, quickCosines = 0;
    for (int k = 0; k < Count; ++k) {
        quickLogs += ExpectLog(1.0 - uniform());
        quickCosines += ExpectCos(TwoPi * uniform());
    }
    EXPECT_GE(quickLogs, Count * 0.998);
    EXPECT_GE(quickCosines, Count * 0.99);
    for (int k = 0; k < Count / 4; ++k)
        ExpectLog(1.0 + uniform());
}

} // namespace
