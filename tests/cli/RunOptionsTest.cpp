#include "RunOptions.h"

#include "JsonText.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

TEST(RunOptions, ReadsEveryOption) {
    const RunOptions o = ParseRunOptions(
        {"doc.plm", "--method", "dest",     "--source", "A",        "--dest", "#3",
         "--model", "s",        "--scheme", "lrEp",     "--reward", "0.5",    "--penalty",
         "-0.25",   "--factor", "1e-2",     "--save",   "out.plm",  "--json", "--quiet"});
    EXPECT_EQ(o.document, "doc.plm");
    EXPECT_EQ(o.method.value_or(-1), 1);
    EXPECT_EQ(o.source.value_or(""), "A");
    EXPECT_EQ(o.dest.value_or(""), "#3");
    EXPECT_EQ(o.model.value_or(-1), 1);
    EXPECT_EQ(o.scheme.value_or(-1), 1);
    EXPECT_EQ(o.reward.value_or(0), 0.5f);
    EXPECT_EQ(o.penalty.value_or(0), -0.25f);
    EXPECT_EQ(o.factor.value_or(0), 0.01f);
    EXPECT_EQ(o.save.value_or(""), "out.plm");
    EXPECT_TRUE(o.json);
    EXPECT_TRUE(o.quiet);
    EXPECT_FALSE(ParseRunOptions({"doc.plm"}).method.has_value());
    // Below the smallest normal float is still a number.
    EXPECT_EQ(ParseRunOptions({"doc.plm", "--reward", "1e-40"}).reward.value_or(0), 1e-40f);
}

TEST(RunOptions, RefusesWhatItCannotRead) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--json"},
        {"a.plm", "b.plm"},
        {"a.plm", "--bogus"},
        {"a.plm", "--method"},
        {"a.plm", "--method", "any"},
        {"a.plm", "--model", "Q"},
        {"a.plm", "--scheme", "LR(E)P"},
        {"a.plm", "--reward", "abc"},
        {"a.plm", "--reward", "0.5x"},
        {"a.plm", "--reward", " 0.5"},
        {"a.plm", "--reward", ""},
        {"a.plm", "--reward", "0x10"},
        {"a.plm", "--reward", "inf"},
        {"a.plm", "--penalty", "1e999"},
        {"a.plm", "--factor", "1,5"},
    };
    for (const auto& args : bad)
        EXPECT_THROW(ParseRunOptions(args), UsageError) << (args.empty() ? "" : args.back());
}

TEST(JsonText, FloatsInTheirShortestExactForm) {
    const struct {
        float value;
        const char* text;
    } cases[] = {{1.0f / 3.0f, "0.33333334"},
                 {0.55f, "0.55"},
                 {3.0f, "3"},
                 {0.0f, "0"},
                 {-2.5f, "-2.5"},
                 {1e-5f, "1e-05"},
                 {16777216.0f, "16777216"},
                 {0.1f, "0.1"},
                 {1000.0f, "1000"},
                 {-1000.0f, "-1000"},
                 {1e20f, "1e+20"}};
    for (const auto& c : cases)
        EXPECT_EQ(JsonText::Float(c.value), c.text);
    EXPECT_EQ(JsonText::Float(std::numeric_limits<float>::quiet_NaN()), "null");
}

TEST(JsonText, QuotesAndEscapesControlCharacters) {
    struct Case {
        std::string text, quoted, escaped;
    };
    const Case cases[] = {
        {"A->B:", "\"A->B:\"", "A->B:"},
        {"a\"b\\c", "\"a\\\"b\\\\c\"", "a\"b\\c"},
        {"x\r\n\ty", "\"x\\r\\n\\ty\"", "x\\r\\n\\ty"},
        {"\x1b]0;t\x07", "\"\\u001b]0;t\\u0007\"", "\\x1b]0;t\\x07"},
        {"\xC3\x84\xC2\x9B", "\"\xC3\x84\xC2\x9B\"", "\xC3\x84\\u009b"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(JsonText::Quote(c.text), c.quoted);
        EXPECT_EQ(JsonText::Escaped(c.text), c.escaped);
    }
}

} // namespace
