#include "DocumentStream.h"

#include "PathloomError.h"

#include <gtest/gtest.h>
#include <new>
#include <string>

namespace {

// A count of 100 followed by 100 records of 20 bytes, twice.
const std::string Bytes = [] {
    std::string block(4 + 100 * 20, '\0');
    block[0] = 100;
    return block + block;
}();

// The file holds every record, but loaded they would take more than the memory allowed, and the
// limit holds for all counts of a document together.
TEST(DocumentReader, CountsPastTheMemoryLimitAreRefusedBeforeLoading) {
    DocumentReader small(Bytes);
    small.LimitMemory(100 * 20 * 4 - 1);
    EXPECT_THROW(small.ReadCount(20), std::bad_alloc);

    DocumentReader reader(Bytes);
    reader.LimitMemory(100 * 20 * 4 * 2 - 1);
    EXPECT_EQ(reader.ReadCount(20), 100);
    std::string records(100 * 20, 'x');
    reader.ReadBytes(&records[0], records.size());
    EXPECT_THROW(reader.ReadCount(20), std::bad_alloc);

    DocumentReader unlimited(Bytes);
    EXPECT_EQ(unlimited.ReadCount(20), 100);
}

} // namespace
