#include "Latin1.h"

#include <gtest/gtest.h>

namespace {

TEST(Latin1, ConvertsToAndFromUtf8) {
    const std::pair<std::string, std::string> pairs[] = {
        {"A->B", "A->B"}, {"\xC4rger", "\xC3\x84rger"}, {"\xFF\x80", "\xC3\xBF\xC2\x80"}, {"", ""}};
    for (const auto& [latin1, utf8] : pairs) {
        EXPECT_EQ(Latin1::ToUtf8(latin1), utf8);
        EXPECT_EQ(Latin1::FromUtf8(utf8).value_or("refused"), latin1);
        EXPECT_EQ(Utf8::FromBytes(utf8), utf8);
    }
    // Beyond Latin-1, cut short, overlong, a surrogate: none is Latin-1.
    for (const char* bad : {"\xE2\x82\xAC", "\xC3", "\xC0\x80", "\xED\xA0\x80"})
        EXPECT_FALSE(Latin1::FromUtf8(bad).has_value()) << bad;
    // Bytes that are not UTF-8 are read as Latin-1.
    EXPECT_EQ(Utf8::FromBytes("Z\xFCrich"), "Z\xC3\xBCrich");
}

} // namespace
