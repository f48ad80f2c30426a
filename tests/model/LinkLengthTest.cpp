#include "LinkLength.h"

#include "PathloomError.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

std::string Refusal(const std::string& text) {
    try {
        LinkLength::Parse(text);
    } catch (const PathloomError& e) {
        return e.Description();
    }
    return "accepted";
}

// A draw from the given uniform numbers, in order; all of them must be taken.
double DrawFrom(const std::string& text, std::vector<double> us) {
    const LinkLength length = LinkLength::Parse(text);
    std::size_t next = 0;
    const double drawn = length.Draw([&] { return us.at(next++); });
    EXPECT_EQ(next, us.size()) << text;
    return drawn;
}

TEST(LinkLength, DrawsWorkedByHand) {
    // T = 5, running sums 1, 4, 5: the first sum above u * T, else the last.
    EXPECT_EQ(DrawFrom("discrete(2:1, 5:3, 9:1)", {0.1}), 2.0);
    EXPECT_EQ(DrawFrom("discrete(2:1, 5:3, 9:1)", {0.2}), 5.0); // 1 is not above 1
    EXPECT_EQ(DrawFrom("discrete(2:1, 5:3, 9:1)", {0.9}), 9.0);
    EXPECT_EQ(DrawFrom("uniform(2, 6)", {0.25}), 3.0);
    EXPECT_DOUBLE_EQ(DrawFrom("exponential(2)", {0.5}), 2.0 * std::log(2.0));
    // u1 sets the radius sqrt(2 ln 2), u2 the angle: pi, then a right angle.
    EXPECT_DOUBLE_EQ(DrawFrom("normal(10, 2)", {0.5, 0.5}),
                     10.0 - 2.0 * std::sqrt(2 * std::log(2)));
    EXPECT_NEAR(DrawFrom("normal(10, 2)", {0.5, 0.25}), 10.0, 1e-12);
}

TEST(LinkLength, TextAndMean) {
    const std::tuple<const char*, const char*, double> cases[] = {
        {" Discrete( 2 : 1,5:3 , 9:1 ) ", "discrete(2:1, 5:3, 9:1)", 5.2},
        {"UNIFORM(1.5,2.5)", "uniform(1.5, 2.5)", 2.0},
        {"normal(6.7, 0.1)", "normal(6.7, 0.1)", 6.7},
        {"exponential(1e3)", "exponential(1000)", 1000.0},
    };
    for (const auto& [text, shown, mean] : cases) {
        const LinkLength length = LinkLength::Parse(text);
        EXPECT_EQ(length.Text(), shown);
        EXPECT_DOUBLE_EQ(length.Mean(), mean) << text;
        EXPECT_EQ(LinkLength::Parse(length.Text()).Text(), shown);
    }
}

TEST(LinkLength, RefusalsSayWhatIsWrong) {
    std::string many = "discrete(";
    for (int k = 0; k < 65; ++k)
        many += std::to_string(k) + ":1,";
    many.back() = ')';
    const std::pair<std::string, std::string> cases[] = {
        {"7", "a length is a number or a distribution NAME(NUMBERS): '7'"},
        {"uniform(1, 2", "a length is a number or a distribution NAME(NUMBERS): 'uniform(1, 2'"},
        {"uniform((1, 2)", "unbalanced parentheses in 'uniform((1, 2)'"},
        {"gamma(1, 2)", "unknown distribution 'gamma': discrete, uniform, normal or exponential"},
        {"uniform(1)", "uniform(a, b) takes 2 numbers: 'uniform(1)'"},
        {"exponential(1, 2)", "exponential(mean) takes 1 number: 'exponential(1, 2)'"},
        {"uniform(3, 1)", "uniform(a, b) needs a <= b: 'uniform(3, 1)'"},
        {"normal(1, -0.5)", "normal(mean, sd) needs sd >= 0: 'normal(1, -0.5)'"},
        {"exponential(0)", "exponential(mean) needs a mean above 0: 'exponential(0)'"},
        {"exponential(inf)", "not a number in a distribution: 'inf'"},
        {"uniform(0x1, 2)", "not a number in a distribution: '0x1'"},
        {"uniform(, 2)", "not a number in a distribution: ''"},
        {"discrete(1)", "discrete takes VALUE:PROBABILITY pairs: '1'"},
        {"discrete(1:0)", "a probability must be above 0: '1:0'"},
        {many, "discrete takes 1 to 64 values: '" + many + "'"},
        {"normal(1e39, 1)", "the mean is beyond the float range: 'normal(1e39, 1)'"},
    };
    for (const auto& [text, message] : cases)
        EXPECT_EQ(Refusal(text), message);
}

} // namespace
