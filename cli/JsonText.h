#pragma once
// Text for people and programs: Latin-1 labels as UTF-8, JSON strings, floats in their shortest
// form.

#include <optional>
#include <string>

namespace JsonText {

// Labels and messages are Latin-1 bytes; terminals and JSON want UTF-8.
std::string Latin1ToUtf8(const std::string& latin1);

// Command-line text (UTF-8) as Latin-1, or nothing when it holds a character beyond Latin-1 or
// is not UTF-8.
std::optional<std::string> Utf8ToLatin1(const std::string& utf8);

// A JSON string literal (quotes included) of a Latin-1 text.
std::string Quote(const std::string& latin1);

// The shortest decimal text that reads back as the same 32-bit float ("0.33333334", "0.55", "3").
// Not-a-number and infinities have no JSON form and give "null".
std::string Float(float value);

} // namespace JsonText
