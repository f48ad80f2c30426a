#include "NumericText.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace {

TEST(NumericText, CheckAndLenientReading) {
    struct Case {
        const char* text;
        bool valid;
        double lenient;
    };
    const Case cases[] = {
        {"", false, 0},           {"   ", false, 0}, {"12", true, 12},  {"  12  ", true, 12},
        {"0.25", true, 0.25},     {"+3", true, 3},   {"-7", true, -7},  {"-.5", true, -0.5},
        {"-0.125", true, -0.125}, {".5", true, 0.5}, {"5.", true, 5},   {"+", true, 0},
        {"-", true, 0},           {".", true, 0},    {"-.", true, 0},   {"1.2.3", false, 1.2},
        {"..", false, 0},         {"+-1", false, 0}, {"--1", false, 0}, {"1-2", true, 1},
        {"12-", true, 12},        {"1,5", false, 1}, {"1e5", false, 1}, {"1E5", false, 1},
        {"abc", false, 0},        {"1 2", false, 1}, {"\t1", false, 0}, {"1\t", false, 1},
        {"0x10", false, 0},       {"007", true, 7},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsValidNumber(c.text), c.valid) << '"' << c.text << '"';
        EXPECT_DOUBLE_EQ(ReadNumber(c.text), c.lenient) << '"' << c.text << '"';
    }
}

TEST(NumericText, StrictConversionTakesOnlyOneWholeNumber) {
    EXPECT_EQ(ConvertSingleStrict("  -1.5 "), -1.5f);
    EXPECT_EQ(ConvertSingleStrict("+2"), 2.0f);
    EXPECT_EQ(ConvertSingleStrict(".5"), 0.5f);
    EXPECT_EQ(ConvertSingleStrict("5."), 5.0f);
    EXPECT_EQ(ConvertSingleStrict("0.1"), 0.1f); // rounded once, straight to float
    for (const char* text :
         {"", " ", "+", "-", ".", "+.", "1-2", "5-", "1.2.3", "1e5", "1,5", "abc", "\t1", "1 2"})
        EXPECT_FALSE(ConvertSingleStrict(text).has_value()) << '"' << text << '"';
}

TEST(NumericText, NumbersPastTheFloatRangeAreNoSingles) {
    const std::string huge(50, '9');
    EXPECT_TRUE(IsValidNumber(huge));
    EXPECT_FALSE(IsValidSingle(huge));
    EXPECT_FALSE(ConvertSingleStrict(huge).has_value());
    EXPECT_TRUE(IsValidSingle("340282300000000000000000000000000000000"));
    EXPECT_FALSE(FitsSingle(1e39));
    EXPECT_TRUE(std::isinf(ToSingle(-1e39)) && ToSingle(-1e39) < 0);
    // Too small is no error: it reads as zero.
    const std::string tiny = "0." + std::string(400, '0') + "1";
    EXPECT_EQ(ReadNumber(tiny), 0.0);
    EXPECT_EQ(ConvertSingleStrict(tiny), 0.0f);
    EXPECT_TRUE(std::isinf(ReadNumber("1" + std::string(400, '0'))));
}

TEST(NumericText, SingleTextHasSevenSignificantDigitsAndNoExponent) {
    const std::pair<float, const char*> cases[] = {
        {0.1f, "0.1"},
        {1.0f, "1"},
        {-0.0f, "0"},
        {-2.5f, "-2.5"},
        {2.0f / 3.0f, "0.6666667"},
        {12345678.0f, "12345680"},
        {0.00001f, "0.00001"},
        {1e20f, "100000000000000000000"},
        {0.000123456789f, "0.0001234568"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(SingleText(value), text) << value;
}

TEST(NumericText, DoubleTextHasFifteenSignificantDigits) {
    EXPECT_EQ(DoubleText(ReadNumber("0.12345678901234567")), "0.123456789012346");
    EXPECT_EQ(DoubleText(-12.5), "-12.5");
    EXPECT_EQ(DoubleText(1e15), "1000000000000000");
}

TEST(NumericText, ShownValuesReadBackToTheSameSevenDigits) {
    // Shown, read back and stored as a float, then shown again: the text does not drift.
    float value = 1.0f / 7.0f;
    for (int i = 0; i < 2000; ++i) {
        const std::string shown = SingleText(value);
        ASSERT_TRUE(IsValidNumber(shown)) << shown;
        EXPECT_EQ(SingleText(ToSingle(ReadNumber(shown))), shown);
        value = value * -1.37f + 0.011f;
        if (std::fabs(value) > 1e30f)
            value = 1.0f / value;
    }
}

} // namespace
