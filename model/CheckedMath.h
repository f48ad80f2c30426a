#pragma once
// Checked arithmetic: every stored number keeps its width, and leaving it raises an error
// instead of wrapping or turning into infinity.

#include <cstdint>
#include <string>

namespace Checked {

// The double rounded to the nearest 32-bit float; raises "Overflow" past the float range, and
// for an infinity or a number that is none.
float ToFloat(double value, const std::string& source);

// value + 1 on a 16-bit count; raises "Overflow" past 32767.
int16_t Increment(int16_t value, const std::string& source);

} // namespace Checked
