#include "CheckedMath.h"

#include "PathloomError.h"

#include <cmath>
#include <limits>

namespace Checked {

namespace {
[[noreturn]] void Overflow(const std::string& source) {
    throw PathloomError(ErrorNumber::Overflow, source, "Overflow");
}
} // namespace

double Finite(double value, const std::string& source) {
    if (!std::isfinite(value))
        Overflow(source);
    return value;
}

float ToFloat(double value, const std::string& source) {
    Finite(value, source);
    // Values that round to the largest float are still representable; beyond that overflows.
    const float result = static_cast<float>(value);
    if (!std::isfinite(result))
        Overflow(source);
    return result;
}

int16_t Increment(int16_t value, const std::string& source) {
    if (value == std::numeric_limits<int16_t>::max())
        Overflow(source);
    return static_cast<int16_t>(value + 1);
}

float AddFloat(float a, float b, const std::string& source) {
    return ToFloat(static_cast<double>(a) + static_cast<double>(b), source);
}

} // namespace Checked
