#include "Latin1Text.h"

#include <gtest/gtest.h>

namespace {

TEST(Latin1Text, RoundTripsEveryLatin1Character) {
    std::string all;
    for (int c = 1; c < 256; ++c)
        all.push_back(static_cast<char>(c));
    const QString shown = Platform::FromLatin1(all);
    EXPECT_EQ(shown.size(), 255);
    EXPECT_EQ(shown.at(0xC3), QChar(0xC4)); // Ä, one character, not two UTF-8 bytes
    EXPECT_EQ(Platform::ToLatin1(shown).value_or("refused"), all);
}

TEST(Latin1Text, RefusesCharactersOutsideLatin1) {
    EXPECT_FALSE(Platform::ToLatin1(QString::fromUtf8("\xE2\x82\xAC")).has_value()); // €
    EXPECT_FALSE(Platform::ToLatin1(QString::fromUtf8("a\xCE\xB1")).has_value());    // α
    EXPECT_EQ(Platform::ToLatin1(QString()).value_or("refused"), "");
}

TEST(Latin1Text, MessagesReadUtf8FileNamesAndLatin1Labels) {
    // A file name in UTF-8 inside a load error, and a Latin-1 label, each shown as written.
    EXPECT_EQ(Platform::FromMessageText("'/tmp/\xC3\xA9t\xC3\xA9.plm' could not be loaded."),
              QString::fromUtf8("'/tmp/\xC3\xA9t\xC3\xA9.plm' could not be loaded."));
    EXPECT_EQ(Platform::FromMessageText("Link not found: Z\xFCrich"),
              QString::fromUtf8("Link not found: Z\xC3\xBCrich"));
    EXPECT_EQ(Platform::FromMessageText("Error saving graph."), "Error saving graph.");
}

TEST(Latin1Text, FileNamesKeepTheirUtf8Bytes) {
    const QString name = QString::fromUtf8("/tmp/\xC3\xA9t\xC3\xA9.plm");
    EXPECT_EQ(Platform::ToFileName(name), "/tmp/\xC3\xA9t\xC3\xA9.plm");
    EXPECT_EQ(Platform::FromFileName(Platform::ToFileName(name)), name);
}

} // namespace
