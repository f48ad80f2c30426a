#include "DocumentStream.h"
#include "PathloomError.h"
#include "clsRanges.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

struct AnswerCase {
    float number;
    float expected;
};

class RangesAnswer : public ::testing::TestWithParam<AnswerCase> {};

// [0, 10] -> 0.2 and [10, 20] -> 0.8, with a later range nested in the first.
TEST_P(RangesAnswer, FirstRangeHoldingTheNumberWins) {
    clsRanges ranges;
    ranges.AddRange(0.0f, 10.0f, 0.2f);
    ranges.AddRange(10.0f, 20.0f, 0.8f);
    ranges.AddRange(2.0f, 3.0f, 0.5f);
    EXPECT_EQ(ranges.GetAnswer(GetParam().number), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, RangesAnswer,
    ::testing::Values(AnswerCase{10.0f, 0.2f},        // a shared bound: the first range
                      AnswerCase{0.0f, 0.2f},         // lower bound inclusive
                      AnswerCase{20.0f, 0.8f},        // upper bound inclusive
                      AnswerCase{2.5f, 0.2f},         // nested later range never reached
                      AnswerCase{10.000001f, 0.8f},   // just above the shared bound
                      AnswerCase{-3.0f, 0.0f},        // negative difference, positive ranges
                      AnswerCase{20.000002f, 0.0f},   // above every range
                      AnswerCase{std::numeric_limits<float>::quiet_NaN(), 0.0f}));

TEST(clsRanges, EmptyTableAnswersZero) {
    clsRanges ranges;
    EXPECT_EQ(ranges.GetAnswer(0.0f), 0.0f);
    EXPECT_EQ(ranges.GetAnswer(-1e30f), 0.0f);
    EXPECT_EQ(ranges.RangeCount(), 0);
}

TEST(clsRanges, RangeIsOneBasedAndChecked) {
    clsRanges ranges;
    ranges.AddRange(1.0f, 2.0f, 0.5f);
    ranges.AddRange(3.0f, 4.0f, 0.25f);
    EXPECT_EQ(ranges.Range(2).StartNumber, 3.0f);
    EXPECT_EQ(ranges.Range(1).Answer, 0.5f);
    EXPECT_THROW(ranges.Range(0), PathloomError);
    EXPECT_THROW(ranges.Range(3), PathloomError);
    ranges.ClearRanges();
    EXPECT_EQ(ranges.RangeCount(), 0);
    EXPECT_THROW(ranges.Range(1), PathloomError);
}

TEST(clsRanges, LoadAppendsToTheRangesHeld) {
    clsRanges stored;
    stored.AddRange(-5.0f, 0.0f, 0.1f);
    stored.AddRange(0.0f, 5.0f, 0.2f);
    stored.AddRange(5.0f, 1e9f, 1.0f);
    std::string bytes;
    DocumentWriter writer([&bytes](const char* d, std::size_t n) { bytes.append(d, n); });
    stored.Save(writer);
    writer.Flush();
    ASSERT_EQ(bytes.size(), 4u + 3u * 12u);

    clsRanges ranges;
    ranges.AddRange(100.0f, 200.0f, 0.3f);
    ranges.AddRange(200.0f, 300.0f, 0.4f);
    DocumentReader reader(bytes);
    ranges.Load(reader);
    ASSERT_EQ(ranges.RangeCount(), 5);
    EXPECT_EQ(ranges.Range(1).StartNumber, 100.0f);
    EXPECT_EQ(ranges.Range(3).StartNumber, -5.0f);
    EXPECT_EQ(ranges.Range(5).EndNumber, 1e9f);
    EXPECT_EQ(ranges.Range(5).Answer, 1.0f);
}

} // namespace
