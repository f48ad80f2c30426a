#pragma once
// Text for people and programs: JSON strings, terminal-safe text, floats in their shortest form.

#include <string>

namespace JsonText {

// A JSON string literal (quotes included) of a UTF-8 text.
std::string Quote(const std::string& utf8);

// A UTF-8 text made safe for a terminal or a tab-separated table: control characters (tab, line
// breaks, escape, C1 controls) are written as escapes ("\t", "\n", "\x1b", "\u009b"), so that a
// label can neither break the table nor command the terminal.
std::string Escaped(const std::string& utf8);

// The shortest decimal text that reads back as the same 32-bit float ("0.33333334", "0.55", "3").
// Not-a-number and infinities have no JSON form and give "null".
std::string Float(float value);
std::string Double(double value); // the same for a 64-bit float

} // namespace JsonText
