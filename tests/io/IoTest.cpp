#include "DocumentStream.h"
#include "Latin1.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <new>
#include <tuple>

namespace {

TEST(Latin1, LettersCompareWithoutCaseAcrossLatinOne) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"A", "b", false},       {"A", "a", true},
        {"node", "NODE", true},  {"\xC0", "\xE0", true}, // À and à
        {"\xDE", "\xFE", true},                          // Þ and þ
        {"\xD7", "\xF7", false},                         // × and ÷ are not a pair of cases
        {"ab", "abc", false},    {"", "", true}};
    for (const auto& [a, b, same] : cases) {
        EXPECT_EQ(Latin1::EqualNoCase(a, b), same) << a << " " << b;
        EXPECT_EQ(Latin1::Folded(a) == Latin1::Folded(b), same) << a << " " << b;
    }
}

TEST(Latin1, ConvertsToAndFromUtf8) {
    const std::pair<std::string, std::string> pairs[] = {
        {"A->B", "A->B"}, {"\xC4rger", "\xC3\x84rger"}, {"\xFF\x80", "\xC3\xBF\xC2\x80"}, {"", ""}};
    for (const auto& [latin1, utf8] : pairs) {
        EXPECT_EQ(Latin1::ToUtf8(latin1), utf8);
        EXPECT_EQ(Latin1::FromUtf8(utf8).value_or("refused"), latin1);
        EXPECT_EQ(Utf8::FromBytes(utf8), utf8);
    }
    // UTF-8 up to U+10FFFF, but beyond Latin-1; U+10000 takes four bytes; U+D7FF and U+E000
    // stand either side of the surrogates.
    EXPECT_EQ(Utf8::Encode(U"\u20AC\U00010000"), "\xE2\x82\xAC\xF0\x90\x80\x80");
    for (const char* wide :
         {"\xE2\x82\xAC", "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF", "\xED\x9F\xBF", "\xEE\x80\x80"}) {
        EXPECT_FALSE(Latin1::FromUtf8(wide).has_value()) << wide;
        EXPECT_EQ(Utf8::FromBytes(wide), wide);
    }
    // Cut short, overlong, the first and last surrogates, past U+10FFFF: not UTF-8, so read as
    // Latin-1.
    for (const char* bad :
         {"Z\xFCrich", "\xC3", "\xC0\x80", "\xED\xA0\x80", "\xED\xBF\xBF", "\xF4\x90\x80\x80"}) {
        EXPECT_FALSE(Latin1::FromUtf8(bad).has_value()) << bad;
        EXPECT_EQ(Utf8::FromBytes(bad), Latin1::ToUtf8(bad)) << bad;
    }
}

// The file holds every record, but loaded they would take more than the memory allowed, and the
// limit holds for all counts of a document together.
TEST(DocumentReader, CountsPastTheMemoryLimitAreRefusedBeforeLoading) {
    std::string block(4 + 100 * 20, '\0');
    block[0] = 100; // a count of 100 followed by 100 records of 20 bytes, twice
    const std::string bytes = block + block;
    DocumentReader small(bytes);
    small.LimitMemory(100 * 20 * 4 - 1);
    EXPECT_THROW(small.ReadCount(20), std::bad_alloc);

    DocumentReader reader(bytes);
    reader.LimitMemory(100 * 20 * 4 * 2 - 1);
    EXPECT_EQ(reader.ReadCount(20), 100);
    std::string records(100 * 20, 'x');
    reader.ReadBytes(&records[0], records.size());
    EXPECT_THROW(reader.ReadCount(20), std::bad_alloc);
}

// A source may give less than asked, as a file does at each block's end: values straddle its
// pieces.
TEST(DocumentReader, ReadsAcrossWhatTheSourceGives) {
    const std::string ints("\x01\x02\0\0\x03\0\0\0", 8);
    std::size_t at = 0;
    DocumentReader reader(
        [&](char* data, std::size_t size) {
            const std::size_t n = std::min({size, std::size_t{3}, ints.size() - at});
            std::memcpy(data, ints.data() + at, n);
            at += n;
            return n;
        },
        ints.size());
    EXPECT_EQ(reader.ReadInt32(), 0x0201);
    EXPECT_EQ(reader.ReadInt32(), 3);
    EXPECT_EQ(reader.Remaining(), 0u);
}

} // namespace
