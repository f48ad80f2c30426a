#pragma once
// Checked arithmetic: every stored number keeps its width, and leaving it raises an error
// instead of wrapping or turning into infinity.

#include <cstdint>
#include <string>

namespace Checked {

// Raises "Overflow" when the value is infinite or not a number.
double Finite(double value, const std::string& source);

// The double rounded to the nearest 32-bit float; raises "Overflow" past the float range.
float ToFloat(double value, const std::string& source);

// value + 1 on a 16-bit count; raises "Overflow" past 32767.
int16_t Increment(int16_t value, const std::string& source);

// a + b as a float partial sum; raises "Overflow" when it leaves the float range.
float AddFloat(float a, float b, const std::string& source);

} // namespace Checked
