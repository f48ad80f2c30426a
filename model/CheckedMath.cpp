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

float ToFloat(double value, const std::string& source) {
    // Values that round to the largest float are still representable; beyond that, as for an
    // infinity or a number that is none, the float is not finite.
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

} // namespace Checked
