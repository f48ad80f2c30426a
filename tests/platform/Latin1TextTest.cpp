#include "Latin1Text.h"

#include <gtest/gtest.h>

namespace {

TEST(Latin1Text, RoundTripsEveryLatin1CharacterAndRefusesOthers) {
    std::string all;
    for (int c = 1; c < 256; ++c)
        all.push_back(static_cast<char>(c));
    const QString shown = Platform::FromLatin1(all);
    EXPECT_EQ(shown.at(0xC3), QChar(0xC4)); // Ä, one character, not two UTF-8 bytes
    EXPECT_EQ(Platform::ToLatin1(shown).value_or("refused"), all);
    EXPECT_FALSE(Platform::ToLatin1(QString::fromUtf8("a\xE2\x82\xAC")).has_value()); // €
    // A message names a file in UTF-8 bytes; bytes that are not UTF-8 are read as Latin-1.
    EXPECT_EQ(Platform::FromMessageText("'\xC3\xA9t\xC3\xA9.plm'"),
              QString::fromUtf8("'\xC3\xA9t\xC3\xA9.plm'"));
    EXPECT_EQ(Platform::FromMessageText("Z\xFCrich"), QString::fromUtf8("Z\xC3\xBCrich"));
}

} // namespace
