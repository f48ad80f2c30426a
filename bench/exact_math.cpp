// The draws' log and cos (model/ExactMath) against the C library's and against libquadmath's
// 113-bit logq and cosq, on the arguments the draws pass: how often the C library is correctly
// rounded, whether ours agrees with it there, whether ours is ever not correctly rounded; the
// largest errors of the quick and careful steps, the arguments nearest a rounding boundary; the
// time per call, and per normal and exponential draw against the same formulas over the C
// library's log and cos (the draws before), in processor time.
//   exact_math [N]     N arguments for each of log and cos as the draws make them (10,000,000)

#include "ExactMath.h"
#include "LinkLength.h"
#include "QuadReference.h"
#include "Random.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

// What the draws pass to cos: LinkLength's 2 pi times a uniform number.
constexpr double TwoPi = 6.283185307179586;

struct Tally {
    explicit Tally(double quickBound) : bound(quickBound) {}
    double bound;
    int64_t checked = 0, undecided = 0, libraryRounded = 0, agreed = 0, oursRounded = 0,
            careful = 0;
    double quickError = 0, carefulError = 0;        // the largest, relative to the value
    std::vector<std::pair<double, double>> hardest; // (hardness, argument), the 4 hardest
    std::vector<double> missed;                     // arguments ours rounds wrongly
};

void Check(Tally& t, double x, double library, double ours, ExactMath::Sum quick,
           ExactMath::Sum careful, Quad exact) {
    const Rounded r = RoundedOf(exact);
    ++t.checked;
    t.careful += !ExactMath::Decides(quick, t.bound);
    t.quickError = std::max(t.quickError, RelativeError(quick.hi, quick.lo, exact));
    t.carefulError = std::max(t.carefulError, RelativeError(careful.hi, careful.lo, exact));
    t.hardest.push_back({r.hardness, x});
    std::sort(t.hardest.begin(), t.hardest.end());
    t.hardest.resize(std::min<std::size_t>(t.hardest.size(), 4));
    if (!r.decided) {
        ++t.undecided;
        return;
    }
    const bool libraryRight = library == r.value;
    t.libraryRounded += libraryRight;
    t.agreed += libraryRight && ours == library;
    t.oursRounded += ours == r.value;
    if (ours != r.value && t.missed.size() < 10)
        t.missed.push_back(x);
}

void CheckLog(Tally& t, double x) {
    Check(t, x, std::log(x), ExactMath::Log(x), ExactMath::QuickLog(x), ExactMath::CarefulLog(x),
          logq(x));
}

void CheckCos(Tally& t, double x) {
    Check(t, x, std::cos(x), ExactMath::Cos(x), ExactMath::QuickCos(x), ExactMath::CarefulCos(x),
          cosq(x));
}

void Print(const char* what, const Tally& t) {
    std::printf("%s\n", what);
    std::printf("  checked %lld, undecided at 113 bits %lld\n", static_cast<long long>(t.checked),
                static_cast<long long>(t.undecided));
    std::printf("  C library correctly rounded %lld, ours the same there %lld; ours correctly "
                "rounded %lld, not %lld\n",
                static_cast<long long>(t.libraryRounded), static_cast<long long>(t.agreed),
                static_cast<long long>(t.oursRounded),
                static_cast<long long>(t.checked - t.undecided - t.oursRounded));
    std::printf("  careful step taken %lld times; largest errors: quick 2^%.1f (its bound 2^%.0f), "
                "careful 2^%.1f\n",
                static_cast<long long>(t.careful), std::log2(t.quickError), std::log2(t.bound),
                std::log2(t.carefulError));
    std::printf("  nearest a rounding boundary:");
    for (const auto& [hardness, x] : t.hardest)
        std::printf(" %a (2^%.1f)", x, std::log2(hardness));
    std::printf("\n");
    for (const double x : t.missed)
        std::printf("  NOT correctly rounded: %a\n", x);
}

// This process's processor time in nanoseconds: other work on the machine sways it less than
// the clock on the wall.
double ProcessorNanoseconds() {
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

// The better of 5 passes over the arguments, in nanoseconds per call.
template <typename F> double NanosecondsPerCall(const std::vector<double>& xs, F f) {
    double best = 1e300;
    for (int pass = 0; pass < 5; ++pass) {
        const double start = ProcessorNanoseconds();
        double sum = 0;
        for (const double x : xs)
            sum += f(x);
        volatile double sink = sum;
        (void)sink;
        best = std::min(best, (ProcessorNanoseconds() - start) / static_cast<double>(xs.size()));
    }
    return best;
}

// The better of 5 passes of 2,000,000 draws added up as a path's cost, in nanoseconds per draw.
template <typename Draw> double NanosecondsPerDraw(Draw draw) {
    constexpr int Draws = 2000000;
    double best = 1e300;
    for (int pass = 0; pass < 5; ++pass) {
        Xoshiro256StarStar random(5);
        const auto next = [&random] { return random.Uniform(); };
        const double start = ProcessorNanoseconds();
        float cost = 0.0f;
        for (int k = 0; k < Draws; ++k)
            cost = static_cast<float>(double(cost) + double(static_cast<float>(draw(next))));
        volatile float sink = cost;
        (void)sink;
        best = std::min(best, (ProcessorNanoseconds() - start) / Draws);
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    const int64_t n = argc > 1 ? std::atoll(argv[1]) : 10000000;
    Xoshiro256StarStar random(20240601);

    Tally draws(ExactMath::QuickLogBound), binades = draws, nearOne = draws;
    Tally angles(ExactMath::QuickCosBound), special = angles;
    for (int64_t k = 0; k < n; ++k)
        CheckLog(draws, 1.0 - random.Uniform());
    Print("log(1 - u), u uniform as the draws make it", draws);
    for (int64_t k = 0; k < n / 10; ++k) {
        // n 2^-53 with n's binade uniform over the 53 the draws reach, n uniform within it.
        const int e = static_cast<int>(random.Next() % 53);
        const uint64_t m = (uint64_t(1) << e) + (random.Next() & ((uint64_t(1) << e) - 1));
        CheckLog(binades, static_cast<double>(m) * 0x1p-53);
    }
    Print("log(1 - u) over every binade the draws reach, 2^-53 to 1", binades);
    for (int64_t i = 1; i <= (int64_t(1) << 20); ++i)
        CheckLog(nearOne, 1.0 - static_cast<double>(i) * 0x1p-53);
    Print("log(1 - u) for the 2^20 smallest u above 0", nearOne);

    for (int64_t k = 0; k < n; ++k)
        CheckCos(angles, TwoPi * random.Uniform());
    Print("cos(2 pi u), u uniform as the draws make it", angles);
    for (int quarter = 0; quarter <= 4; ++quarter)
        for (int64_t i = -(int64_t(1) << 18); i < (int64_t(1) << 18); ++i) {
            const double u = quarter * 0.25 + static_cast<double>(i) * 0x1p-53;
            if (u >= 0.0 && u < 1.0)
                CheckCos(special, TwoPi * u);
        }
    Print("cos(2 pi u) for u within 2^-35 of 0, 1/4, 1/2, 3/4 and 1", special);

    std::vector<double> logs(1000000), cosines(1000000);
    for (double& x : logs)
        x = 1.0 - random.Uniform();
    for (double& x : cosines)
        x = TwoPi * random.Uniform();
    std::printf("processor time per call, the better of 5 passes over 1,000,000 arguments:\n");
    std::printf("  log: C library %.1f ns, ours %.1f ns\n",
                NanosecondsPerCall(logs, [](double x) { return std::log(x); }),
                NanosecondsPerCall(logs, ExactMath::Log));
    std::printf("  cos: C library %.1f ns, ours %.1f ns\n",
                NanosecondsPerCall(cosines, [](double x) { return std::cos(x); }),
                NanosecondsPerCall(cosines, ExactMath::Cos));

    const LinkLength normal = LinkLength::Parse("normal(5, 1)");
    const LinkLength exponential = LinkLength::Parse("exponential(5)");
    std::printf("processor time per draw, the better of 5 passes of 2,000,000 draws:\n");
    std::printf("  normal(5, 1): C library's log and cos %.1f ns, ours %.1f ns\n",
                NanosecondsPerDraw([](auto& next) {
                    const double u1 = next(), u2 = next();
                    return 5.0 + 1.0 * std::sqrt(-2.0 * std::log(1.0 - u1)) * std::cos(TwoPi * u2);
                }),
                NanosecondsPerDraw([&normal](auto& next) { return normal.Draw(next); }));
    std::printf("  exponential(5): C library's log %.1f ns, ours %.1f ns\n",
                NanosecondsPerDraw([](auto& next) { return -5.0 * std::log(1.0 - next()); }),
                NanosecondsPerDraw([&exponential](auto& next) { return exponential.Draw(next); }));
    return 0;
}
