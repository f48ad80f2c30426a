#pragma once
// Floats as text that reads back as the very same value: the one number writer of every file
// and report the program makes.

#include <string>

namespace NumberText {

// The shortest decimal text that reads back as the same float, fixed or scientific, whichever
// is shorter ("0.33333334", "1e+06", "6e-45"). Not-a-number and infinities give "nan", "inf".
std::string Shortest(float value);
std::string Shortest(double value);

// The same in plain decimal digits, without an exponent ("1000000", "0.000...006"), for readers
// that take no exponent.
std::string Plain(float value);

} // namespace NumberText
