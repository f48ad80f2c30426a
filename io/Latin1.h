#pragma once
// Labels are single-byte Latin-1 text; the world outside (terminals, JSON, path files, file names)
// speaks UTF-8. Every conversion between the two, and the one case fold, live here.

#include <optional>
#include <string>

namespace Latin1 {

// The lower-case form of one Latin-1 character (A-Z and the accented capitals).
unsigned char ToLower(unsigned char c);

// The text with every letter in lower case: labels that differ only in case fold alike.
std::string Folded(const std::string& text);

// True when the two texts differ at most in the case of their letters.
bool EqualNoCase(const std::string& a, const std::string& b);

std::string ToUtf8(const std::string& latin1);

// Nothing when the bytes are not UTF-8 or hold a character beyond Latin-1.
std::optional<std::string> FromUtf8(const std::string& utf8);

// Nothing when a character lies beyond Latin-1.
std::optional<std::string> FromWide(const std::u32string& text);

} // namespace Latin1

namespace Utf8 {

// What Next gives for bytes that are not a character.
constexpr char32_t Broken = 0xFFFFFFFF;

// The character at `at` in `c` (Broken when the bytes there are not one), and how many bytes it
// takes: a broken one takes its first byte and the continuation bytes that byte announced.
// Strict as Decode is.
std::size_t Next(const std::string& bytes, std::size_t at, char32_t& c);

// Strict: no overlong forms, no surrogates, nothing past U+10FFFF. False when the bytes are not
// UTF-8.
bool Decode(const std::string& bytes, std::u32string& out);

std::string Encode(const std::u32string& text);

// The text with every letter of Latin-1 in lower case (Latin1::Folded for UTF-8 text); bytes
// that are not UTF-8 stay as they are.
std::string Folded(std::string text);

// Bytes of unknown origin (a file name, a message that names one) as UTF-8: kept when they are
// UTF-8, otherwise read as Latin-1.
std::string FromBytes(const std::string& bytes);

} // namespace Utf8
