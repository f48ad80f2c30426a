#include "LinkLength.h"

#include "GermanLocale.h"
#include "NumberText.h"
#include "PathloomError.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <random>

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
    // Subnormal probabilities, 2 and 6 units: 0.2 * 8 = 1.6 units is below the first sum.
    EXPECT_EQ(DrawFrom("discrete(1:1e-323, 4:3e-323)", {0.2}), 1.0);
    EXPECT_EQ(DrawFrom("uniform(2, 6)", {0.25}), 3.0);
    EXPECT_DOUBLE_EQ(DrawFrom("exponential(2)", {0.5}), 2.0 * std::log(2.0));
    // ln correctly rounded, where the C library here is one unit off.
    EXPECT_EQ(DrawFrom("exponential(1)", {1.0 - 0x1.2fbe136a86afp-5}), 0x1.a5b9d06be7ac9p+1);
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
        {"discrete(0.1:1e-323)", "discrete(0.1:1e-323)", 0.1},
        {"discrete(1:1e-323, 4:3e-323)", "discrete(1:1e-323, 4:3e-323)", 3.25},
        {"discrete(1:1e300, 3:1e300)", "discrete(1:1e+300, 3:1e+300)", 2.0},
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
        {"uniform(0x1, 2)", "not a number in a distribution: '0x1'"},
        {"discrete(1)", "discrete takes VALUE:PROBABILITY pairs: '1'"},
        {"discrete(1:0)", "a probability must be above 0: '1:0'"},
        {many, "discrete takes 1 to 64 values: '" + many.substr(0, 60) + "...'"},
        {"normal(1e39, 1)", "the mean is beyond the float range: 'normal(1e39, 1)'"},
    };
    for (const auto& [text, message] : cases)
        EXPECT_EQ(Refusal(text), message);
}

// Every double's text reads back as the very same bits, under a locale whose decimal separator
// is a comma too: the largest double, subnormals, one that needs 17 digits, and random bits.
TEST(LinkLength, NumbersRoundTripThroughTheTextUnderAnyLocale) {
    GermanLocale german;
    if (!german.Available())
        GTEST_SKIP() << "localedef is missing (Debian package locales)";
    ASSERT_EQ(GermanLocale::DecimalPoint(), ",");
    std::vector<double> values = {std::numeric_limits<double>::max(),
                                  std::numeric_limits<double>::denorm_min(),
                                  std::numeric_limits<double>::min(),
                                  std::nextafter(std::numeric_limits<double>::min(), 0.0),
                                  0.30000000000000004,
                                  0.1,
                                  1e23,
                                  123456789012345680.0};
    std::mt19937_64 bits(2024);
    while (values.size() < 20000) {
        const uint64_t word = bits();
        double value;
        std::memcpy(&value, &word, sizeof value);
        if (std::isfinite(value))
            values.push_back(std::fabs(value));
    }
    for (const double value : values) {
        const std::string number = NumberText::Shortest(value);
        // As a probability: any positive double is one, however far beyond the float range.
        const std::string text = "discrete(0:" + number + ")";
        EXPECT_EQ(LinkLength::Parse(text).Text(), text);
        const double back = NumberText::Read<double>(number).value_or(-1.0);
        EXPECT_EQ(std::memcmp(&back, &value, sizeof value), 0) << number;
    }
    EXPECT_EQ(LinkLength::Parse("normal(0.30000000000000004, 2.5e-1)").Text(),
              "normal(0.30000000000000004, 0.25)");
}

TEST(LinkLength, RefusedWhereOneDrawInTenOrMoreOverflowsAFloat) {
    // Shares beyond 3.4028235e38 (the least double that rounds to an infinite float) shown.
    const std::pair<const char*, bool> cases[] = {
        {"exponential(1e38)", false},     // e^-3.4 = 0.033
        {"exponential(3e38)", true},      // e^-1.13 = 0.32
        {"normal(0, 1e38)", false},       // 2 Q(3.4) = 0.0007
        {"normal(0, 2e38)", false},       // 2 Q(1.7) = 0.089
        {"normal(3e38, 1e38)", true},     // Q(0.4) = 0.34
        {"normal(0, 1e308)", true},       // nearly 1
        {"uniform(-1e300, 1e300)", true}, // nearly 1
        {"uniform(0, 3.7e38)", false},    // 0.08
        {"uniform(-4e38, 4e38)", true},   // 0.15
        {"uniform(3e38, 3e38)", false},
        {"discrete(1e39:1, 0:9.5)", false}, // 1 / 10.5
        {"discrete(1e39:1, 0:9)", true},    // 1 / 10
        {"discrete(-1e39:1e-323, 0:9e-323)", true},
    };
    for (const auto& [text, refused] : cases) {
        const std::string refusal =
            "one draw in ten or more would be beyond the float range: '" + std::string(text) + "'";
        EXPECT_EQ(Refusal(text), refused ? refusal : "accepted");
    }
}

} // namespace
