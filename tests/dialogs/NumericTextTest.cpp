#include "NumericText.h"

#include <cmath>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <string>

namespace {

TEST(NumericText, CheckLenientAndStrictReading) {
    constexpr std::nullopt_t none = std::nullopt;
    const struct {
        const char* text;
        bool valid;
        double lenient;
        std::optional<float> strict; // one whole number only
    } cases[] = {
        {"", false, 0, none},           {"   ", false, 0, none},     {"12", true, 12, 12.0f},
        {"  -1.5 ", true, -1.5, -1.5f}, {"0.25", true, 0.25, 0.25f}, {"+3", true, 3, 3.0f},
        {"-7", true, -7, -7.0f},        {"-.5", true, -0.5, -0.5f},  {".5", true, 0.5, 0.5f},
        {"5.", true, 5, 5.0f},          {"0.1", true, 0.1, 0.1f},    {"+", true, 0, none},
        {"-", true, 0, none},           {".", true, 0, none},        {"+.", true, 0, none},
        {"1.2.3", false, 1.2, none},    {"+-1", false, 0, none},     {"1-2", true, 1, none},
        {"12-", true, 12, none},        {"1,5", false, 1, none},     {"1e5", false, 1, none},
        {"abc", false, 0, none},        {"1 2", false, 1, none},     {"\t1", false, 0, none},
        {"1\t", false, 1, none},        {"0x10", false, 0, none},    {"007", true, 7, 7.0f},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsValidNumber(c.text), c.valid) << '"' << c.text << '"';
        EXPECT_DOUBLE_EQ(ReadNumber(c.text), c.lenient) << '"' << c.text << '"';
        EXPECT_EQ(ConvertSingleStrict(c.text), c.strict) << '"' << c.text << '"';
    }
}

TEST(NumericText, NumbersPastTheFloatRangeAreNoSingles) {
    const std::string huge(50, '9'), tiny = "0." + std::string(400, '0') + "1";
    EXPECT_TRUE(IsValidNumber(huge) && IsValidSingle("340282300000000000000000000000000000000"));
    EXPECT_FALSE(IsValidSingle(huge) || ConvertSingleStrict(huge) || FitsSingle(1e39));
    EXPECT_TRUE(std::isinf(ToSingle(-1e39)) && ToSingle(-1e39) < 0);
    EXPECT_TRUE(std::isinf(ReadNumber("1" + std::string(400, '0'))));
    EXPECT_EQ(ReadNumber(tiny), 0.0);
    EXPECT_EQ(ConvertSingleStrict(tiny), 0.0f);
}

TEST(NumericText, SevenSignificantDigitsForSinglesFifteenForDoublesNoExponent) {
    std::istringstream singles("0.1 0.1  1 1  -0 0  -2.5 -2.5  0.6666667 0.6666667  12345678 "
                               "12345680  0.00001 0.00001  1e20 100000000000000000000  "
                               "0.000123456789 0.0001234568");
    float value = 0;
    for (std::string text; singles >> value >> text;)
        EXPECT_EQ(SingleText(value), text) << value;
    EXPECT_EQ(DoubleText(ReadNumber("0.12345678901234567")), "0.123456789012346");
    EXPECT_EQ(DoubleText(1e15), "1000000000000000");
}

} // namespace
