#include "DocumentStream.h"
#include "ExtensionBlock.h"
#include "Latin1.h"
#include "NumberText.h"
#include "PathloomError.h"
#include "TextTools.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <new>
#include <optional>
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
        EXPECT_EQ(Utf8::Folded(Latin1::ToUtf8(a)), Latin1::ToUtf8(Latin1::Folded(a))) << a;
    }
    // In UTF-8 the fold touches the letters only: not the euro sign (E2 82 AC), nor broken bytes.
    EXPECT_EQ(Utf8::Folded("\xE2\x82\xAC \xC3 X\xC3"), "\xE2\x82\xAC \xC3 x\xC3");
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
    const std::string ints("\x01\x02\x03\x04\x05\0\0\0", 8);
    std::size_t at = 0;
    DocumentReader reader(
        [&](char* data, std::size_t size) {
            const std::size_t n = std::min({size, std::size_t{3}, ints.size() - at});
            std::memcpy(data, ints.data() + at, n);
            at += n;
            return n;
        },
        ints.size());
    EXPECT_EQ(reader.ReadInt32(), 0x04030201);
    EXPECT_EQ(reader.ReadInt32(), 5);
    EXPECT_EQ(reader.Remaining(), 0u);
}

// The one reader of numbers: the whole text, and nothing but decimal digits, sign, point and
// exponent; a number below the type's range is its nearest (zero at worst), one above is none.
TEST(NumberText, ReadsTheWholeTextAsOneDecimalNumber) {
    const float tiny = 1e-40f; // below the smallest normal float
    // 1e350 and 1e-351, whose exponents alone point the other way.
    const std::string large = "1" + std::string(400, '0') + "e-50",
                      small = "0." + std::string(400, '0') + "1e50";
    const std::tuple<const char*, std::optional<float>, std::optional<double>> cases[] = {
        {"0.5", 0.5f, 0.5},
        {"+2", 2.0f, 2.0},
        {"-.25", -0.25f, -0.25},
        {"5.", 5.0f, 5.0},
        {"1E3", 1000.0f, 1000.0},
        {"1e-2", 0.01f, 0.01},
        {"1e-40", tiny, 1e-40},
        {"10000000000e-56", 0.0f, 1e-46},
        {"-1e-400", -0.0f, -0.0},
        {"0.001e-99999999999999999999", 0.0f, 0.0},
        {"3.4028235e38", 3.4028235e38f, 3.4028235e38},
        {"0.0001e43", std::nullopt, 1e39},
        {large.c_str(), std::nullopt, std::nullopt},
        {small.c_str(), 0.0f, 0.0},
        {"1e999", std::nullopt, std::nullopt},
        {"-1000e306", std::nullopt, std::nullopt},
    };
    for (const auto& [text, single, twice] : cases) {
        const auto f = NumberText::Read<float>(text);
        const auto d = NumberText::Read<double>(text);
        EXPECT_EQ(f, single) << text;
        EXPECT_EQ(d, twice) << text;
        EXPECT_EQ(f && std::signbit(*f), text[0] == '-' && f) << text;
        EXPECT_EQ(d && std::signbit(*d), text[0] == '-' && d) << text;
    }
    for (const char* text : {"", " 1", "1 ", "1,5", "0x10", "inf", "-nan", "+-1", "++1", "+", ".",
                             "e5", "1e", "1e+", "1.2.3", "1-2"}) {
        EXPECT_FALSE(NumberText::Read<float>(text)) << text;
        EXPECT_FALSE(NumberText::Read<double>(text)) << text;
    }
}

TEST(NumberText, FixedAndSignificantFigures) {
    EXPECT_EQ(NumberText::Fixed(2.25, 1) + " " + NumberText::Fixed(1e300, 0).substr(0, 3) + " " +
                  NumberText::Significant(1234567.8, 7) + " " +
                  NumberText::Significant(0.000012345678, 7),
              "2.2 100 1234568 1.234568e-05");
    EXPECT_EQ(NumberText::Fixed(1e300, 2).size(), 304u);
}

// A message quotes at most 60 characters of what the user gave, counted in UTF-8 where it is.
TEST(TextTools, QuotedTextsAreCutAndKeptOnOneLine) {
    const std::string sixty(60, 'x'), euros = [] {
        std::string text;
        for (int k = 0; k < 61; ++k)
            text += "\xE2\x82\xAC";
        return text;
    }();
    const std::pair<std::string, std::string> cases[] = {
        {"", "''"},
        {"a\tb\r\n\x01", "'a\\tb\\r\\n?'"},
        {sixty, "'" + sixty + "'"},
        {sixty + "y", "'" + sixty + "...'"},
        {std::string(5000000, 'z'), "'" + std::string(60, 'z') + "...'"},
        {euros, "'" + euros.substr(0, 180) + "...'"},
        {std::string(61, '\xFF'), "'" + std::string(60, '\xFF') + "...'"},
    };
    for (const auto& [text, quoted] : cases)
        EXPECT_EQ(TextTools::Quoted(text), quoted) << text.substr(0, 70);
    EXPECT_EQ(TextTools::Trim(" \t x y\r\n") + "|" + TextTools::Trim("  ") + "|" +
                  TextTools::Trim("\t 1 \t", " "),
              "x y||\t 1 \t");
}

// A block of 2 GiB of records or more takes version 2 and a length of 64 bits, which the reader
// takes back; a shorter one version 1, as before. Checked at the boundary without the gigabytes:
// the reader is given a file of that length whose records it never reads.
TEST(ExtensionBlock, LengthsFromTwoGiBTakeSixtyFourBits) {
    const std::tuple<uint64_t, char, std::size_t> cases[] = {
        {0x7FFFFFFF, 1, 16}, {0x80000000, 2, 20}, {0x100000005, 2, 20}};
    for (const auto& [length, version, size] : cases) {
        std::string header;
        DocumentWriter writer([&](const char* data, std::size_t n) { header.append(data, n); });
        ExtensionBlock::WriteHeader(writer, length);
        writer.Flush();
        ASSERT_EQ(header.size(), size);
        EXPECT_EQ(header[8], version);
        for (const uint64_t extra : {0, 1}) { // the records, or one byte more than they say
            std::size_t at = 0;
            DocumentReader reader(
                [&](char* data, std::size_t n) {
                    for (std::size_t k = 0; k < n; ++k, ++at)
                        data[k] = at < header.size() ? header[at] : '\0';
                    return n;
                },
                header.size() + length + extra);
            std::string read;
            try {
                read = std::to_string(ExtensionBlock::ReadHeader(reader).value_or(0));
            } catch (const PathloomError& e) {
                read = e.Description();
            }
            EXPECT_EQ(read, extra == 0 ? std::to_string(length)
                                       : "The document's extension block is damaged: its length "
                                         "does not match the bytes after it.");
        }
    }
}

} // namespace
