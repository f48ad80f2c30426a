#include "Choices.h"

#include "Latin1.h"

#include <algorithm>
#include <climits>
#include <gtest/gtest.h>

namespace {

// A typed name, in any letter case, gives its choice back; the numbers just outside a table's
// are no choice (a document may hold them) and find no row.
TEST(Choices, NamesAndNumbersLeadToTheirRows) {
    for (const Choices* choices : {&Choices::Models, &Choices::Schemes, &Choices::SearchMethods}) {
        int32_t lowest = INT32_MAX, highest = INT32_MIN;
        for (const Choices::Row& row : *choices) {
            EXPECT_EQ(choices->Parse(Latin1::Folded(row.typed)), row.number) << row.typed;
            EXPECT_EQ(choices->Of(row.number), &row) << row.typed;
            lowest = std::min(lowest, row.number);
            highest = std::max(highest, row.number);
        }
        EXPECT_EQ(choices->Of(lowest - 1), nullptr);
        EXPECT_EQ(choices->Of(highest + 1), nullptr);
        EXPECT_EQ(choices->Parse(std::string(choices->begin()->typed) + "x"), std::nullopt);
    }
}

} // namespace
