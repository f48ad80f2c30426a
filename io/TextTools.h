#pragma once
// Small rules of text that every reader and every message shares: blanks at the ends, and a text
// the user gave quoted in a message at a length a message can show.

#include <cstddef>
#include <string>
#include <string_view>

namespace TextTools {

// The text without the given blanks at either end.
std::string Trim(std::string_view text, std::string_view blanks = " \t\r\n");

// The longest a quoted text is shown, in characters, before "..." stands for the rest.
constexpr std::size_t QuotedLength = 60;

// The text cut after QuotedLength characters (of UTF-8 where its bytes are UTF-8, bytes
// otherwise), with "..." after a cut: a 5 MB argument must not make a 5 MB message.
std::string Cut(std::string_view text);

// A text the user gave, as a message quotes it: cut, control characters written as \n, \r, \t
// or ?, in single quotes.
std::string Quoted(std::string_view text);

} // namespace TextTools
