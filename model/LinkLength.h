#pragma once
// A link's length as a random variable: one text everywhere ("discrete(v:p, ...)",
// "uniform(a, b)", "normal(mean, sd)", "exponential(mean)"), its mean, and one draw from uniform
// numbers, computed the same way on every machine.

#include "ExactMath.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

class LinkLength {
  public:
    enum class Kind { Discrete, Uniform, Normal, Exponential };

    // Reads the text (names in any letter case, spaces between the parts, plain decimal numbers);
    // raises PathloomError (source "LinkLength") with a message that says what is wrong.
    static LinkLength Parse(const std::string& text);
    // True when the text names a distribution rather than being a plain number: the one test of
    // every reader that takes "a number or a distribution".
    static bool LooksLikeDistribution(const std::string& text);

    // The text Parse reads back as the same distribution, numbers at their shortest.
    std::string Text() const;
    // The expected length, in 64 bits; within the float range (Parse refuses anything else).
    double Mean() const;

    // One draw in 64 bits from the uniform numbers in [0, 1) that next() gives, in order.
    template <typename Next> double Draw(Next&& next) const;

  private:
    LinkLength() = default;

    Kind kind_ = Kind::Uniform;
    // The share of draws that lie beyond the float range (where a drawn length overflows).
    double ShareBeyondFloats() const;
    // A discrete probability as the sums hold it.
    double Scaled(double probability) const { return std::ldexp(probability, scale_); }

    // Discrete: the values and their probabilities as written, and the running sums of those
    // scaled by 2^scale_, which brings the largest near 1: exact, and subnormal probabilities
    // keep their weight.
    std::vector<double> values_, probabilities_, sums_;
    int scale_ = 0;
    // Uniform: a, b; normal: mean, sd; exponential: mean.
    double first_ = 0.0, second_ = 0.0;
    static constexpr double TwoPi = 6.283185307179586;
};

// Here, so that a run's loop has it inline: a draw is a few nanoseconds beside a link step.
template <typename Next> double LinkLength::Draw(Next&& next) const {
    switch (kind_) {
    case Kind::Discrete: {
        // The first value whose running sum exceeds u * T, else the last: the sums never
        // decrease, so that is the count of the sums before the last that do not; counted
        // without a branch that a random draw would mispredict.
        const double mark = next() * sums_.back();
        std::size_t at = 0;
        for (std::size_t k = 0; k + 1 < sums_.size(); ++k)
            at += sums_[k] <= mark;
        return values_[at];
    }
    case Kind::Uniform:
        return first_ + next() * (second_ - first_);
    case Kind::Exponential:
        return -first_ * ExactMath::Log(1.0 - next());
    case Kind::Normal:
        break;
    }
    const double u1 = next();
    const double u2 = next();
    return first_ +
           second_ * std::sqrt(-2.0 * ExactMath::Log(1.0 - u1)) * ExactMath::Cos(TwoPi * u2);
}
