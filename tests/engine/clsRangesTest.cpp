#include "clsRanges.h"

#include "DocumentStream.h"
#include "PathloomError.h"

#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace {

TEST(clsRanges, FirstRangeHoldingTheNumberWins) {
    clsRanges ranges;
    EXPECT_EQ(ranges.GetAnswer(0.0f), 0.0f); // empty table
    // [0, 10] -> 0.2 and [10, 20] -> 0.8, with a later range nested in the first.
    ranges.AddRange(0.0f, 10.0f, 0.2f);
    ranges.AddRange(10.0f, 20.0f, 0.8f);
    ranges.AddRange(2.0f, 3.0f, 0.5f);
    const std::pair<float, float> cases[] = {{10.0f, 0.2f},      // a shared bound: the first range
                                             {0.0f, 0.2f},       // lower bound inclusive
                                             {20.0f, 0.8f},      // upper bound inclusive
                                             {2.5f, 0.2f},       // nested later range never reached
                                             {10.000001f, 0.8f}, // just above the shared bound
                                             {-3.0f, 0.0f}, // negative difference, positive ranges
                                             {20.000002f, 0.0f}, // above every range
                                             {std::numeric_limits<float>::quiet_NaN(), 0.0f}};
    for (const auto& [number, answer] : cases)
        EXPECT_EQ(ranges.GetAnswer(number), answer) << number;
}

TEST(clsRanges, RangeIsOneBasedAndLoadAppends) {
    clsRanges stored;
    stored.AddRange(-5.0f, 0.0f, 0.1f);
    stored.AddRange(5.0f, 1e9f, 1.0f);
    EXPECT_THROW(stored.Range(0), PathloomError);
    EXPECT_THROW(stored.Range(3), PathloomError);
    std::string bytes;
    DocumentWriter writer([&bytes](const char* d, std::size_t n) { bytes.append(d, n); });
    stored.Save(writer);
    writer.Flush();
    ASSERT_EQ(bytes.size(), 4u + 2u * 12u);

    clsRanges ranges;
    ranges.AddRange(100.0f, 200.0f, 0.3f);
    DocumentReader reader(bytes);
    ranges.Load(reader);
    ASSERT_EQ(ranges.RangeCount(), 3);
    EXPECT_EQ(ranges.Range(1).StartNumber, 100.0f);
    EXPECT_EQ(ranges.Range(2).StartNumber, -5.0f);
    EXPECT_EQ(ranges.Range(3).EndNumber, 1e9f);
    EXPECT_EQ(ranges.Range(3).Answer, 1.0f);
    ranges.ClearRanges();
    EXPECT_EQ(ranges.RangeCount(), 0);
    EXPECT_THROW(ranges.Range(1), PathloomError);
}

} // namespace
