#pragma once
// Numbers as text in every file, report and message, the same under any locale (the window runs
// under the user's LC_NUMERIC): the one writer of the shortest text that reads back as the very
// same value, and the one strict reader.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace NumberText {

// The shortest decimal text that reads back as the same value, fixed or scientific, whichever
// is shorter ("0.33333334", "1e+06", "6e-45"). Not-a-number and infinities give "nan", "inf".
std::string Shortest(float value);
std::string Shortest(double value);

// The same in plain decimal digits, without an exponent ("1000000", "0.000...006"), for readers
// that take no exponent.
std::string Plain(float value);

// Rounded to a number of decimals, at least 0 ("2.5" with 1), for figures shown to people.
std::string Fixed(double value, int decimals);

// Rounded to 1 to 17 significant digits, as printf's "%.*g" does in the C locale.
std::string Significant(double value, int digits);

// The whole text as one decimal number: an optional sign, digits with at most one point, an
// optional exponent. Nothing for anything else (blanks, hexadecimal, "inf", "nan") and for a
// number beyond the type's range; a number too small for it reads as the nearest, zero at worst.
template <typename Real> std::optional<Real> Read(std::string_view text);

// The whole text as digits alone, up to the largest 64-bit number; nothing for anything else.
std::optional<uint64_t> ReadWhole(std::string_view text);

} // namespace NumberText
