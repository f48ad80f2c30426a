#include "DocumentStream.h"
#include "PathloomError.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

namespace {

std::string Bytes(int32_t count, std::size_t records, std::size_t recordSize) {
    std::string bytes(4 + records * recordSize, '\0');
    bytes[0] = static_cast<char>(count & 0xFF);
    bytes[1] = static_cast<char>((count >> 8) & 0xFF);
    return bytes;
}

TEST(DocumentReader, ACountTheFileCannotHoldIsPastItsEnd) {
    const std::string bytes = Bytes(3, 2, 20);
    DocumentReader reader(bytes);
    try {
        reader.ReadCount(20);
        FAIL() << "no error";
    } catch (const PathloomError& e) {
        EXPECT_EQ(e.Number(), ErrorNumber::InputPastEndOfFile);
    }
}

// The file holds every record, but loaded they would take more than the memory allowed, and the
// limit holds for all counts of a document together.
TEST(DocumentReader, CountsPastTheMemoryLimitAreRefusedBeforeLoading) {
    const std::string bytes = Bytes(100, 100, 20) + Bytes(100, 100, 20);
    {
        DocumentReader reader(bytes);
        reader.LimitMemory(100 * 20 * 4 - 1);
        EXPECT_THROW(reader.ReadCount(20), std::bad_alloc);
    }
    {
        DocumentReader reader(bytes);
        reader.LimitMemory(100 * 20 * 4 * 2 - 1);
        EXPECT_EQ(reader.ReadCount(20), 100);
        std::string records(100 * 20, 'x');
        reader.ReadBytes(&records[0], records.size());
        EXPECT_THROW(reader.ReadCount(20), std::bad_alloc);
    }
    DocumentReader unlimited(bytes);
    EXPECT_EQ(unlimited.ReadCount(20), 100);
}

} // namespace
