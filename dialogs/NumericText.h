#pragma once
// The numeric text rules of every dialog (the modHelper check, the two readings, the text form
// of stored numbers), in plain C++ and independent of the locale: the point is always ".".

#include <optional>
#include <string>
#include <string_view>

// True when the text, spaces at both ends aside, holds only digits, at most one sign ("+" or
// "-", anywhere) and at most one point (anywhere). An empty or all-space text is false; a text
// without any digit ("-", ".", "+.") is true. Never fails; the text itself is not changed.
bool IsValidNumber(std::string_view text);

// The lenient reading: leading spaces skipped, then the longest leading part of the shape
// optional sign, digits, at most one point, digits; 0 when that part holds no digit.
// "1-2" reads 1, "-" reads 0, "-.5" reads -0.5. A part too large for a double reads as an
// infinity of its sign.
double ReadNumber(std::string_view text);

// The strict conversion: the whole text, spaces at both ends aside, must be one number
// (optional leading sign, digits, at most one point, at least one digit) within the range of a
// 32-bit float. Nothing otherwise: "+", "-", ".", "1-2", "5-" and "1e5" are no numbers.
std::optional<float> ConvertSingleStrict(std::string_view text);

// True when the value rounds to a finite 32-bit float.
bool FitsSingle(double value);

// The value rounded to the nearest 32-bit float; beyond the float range an infinity of its
// sign (never undefined behaviour).
float ToSingle(double value);

// The dialogs' own check for a text that is stored as a 32-bit float: IsValidNumber, and its
// lenient reading fits a float. (A number past the float range would only overflow later.)
bool IsValidSingle(std::string_view text);

// The text form of a 32-bit float: at most seven significant digits, no trailing zeros, no
// exponent ("0.1", "1", "-2.5", "0.00001", "1234568"), so that it passes IsValidNumber and
// reads back to the same seven digits. Zero of either sign is "0".
std::string SingleText(float value);

// The same with at most fifteen significant digits, for 64-bit values ("0.1", "1.23456789012346").
std::string DoubleText(double value);
