#pragma once
// A link's length as a random variable: one text everywhere ("discrete(v:p, ...)",
// "uniform(a, b)", "normal(mean, sd)", "exponential(mean)"), its mean, and one draw from uniform
// numbers, computed the same way on every machine.

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
    // How many uniform numbers a draw takes.
    int UniformsPerDraw() const { return kind_ == Kind::Normal ? 2 : 1; }

    // One draw in 64 bits from the uniform numbers in [0, 1) that next() gives, in order.
    template <typename Next> double Draw(Next&& next) const;

    Kind GetKind() const { return kind_; }

  private:
    LinkLength() = default;
    double DrawDiscrete(double u) const;
    double DrawContinuous(double u1, double u2) const;

    Kind kind_ = Kind::Uniform;
    // Discrete: the values and their probabilities as written, and the running sums of those.
    std::vector<double> values_, probabilities_, sums_;
    // Uniform: a, b; normal: mean, sd; exponential: mean.
    double first_ = 0.0, second_ = 0.0;
};

template <typename Next> double LinkLength::Draw(Next&& next) const {
    if (kind_ == Kind::Discrete)
        return DrawDiscrete(next());
    const double u1 = next();
    const double u2 = kind_ == Kind::Normal ? next() : 0.0;
    return DrawContinuous(u1, u2);
}
