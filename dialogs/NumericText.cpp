#include "NumericText.h"

#include "NumberText.h"
#include "TextTools.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A number taken apart: its sign and its digits before and after the point.
struct DecimalParts {
    bool negative = false;
    std::string whole;
    std::string fraction;
    bool HasDigits() const { return !whole.empty() || !fraction.empty(); }
    // "d+.d+" without a sign, for the strict reader.
    std::string Plain() const {
        return (whole.empty() ? "0" : whole) + "." + (fraction.empty() ? "0" : fraction);
    }
};

// Reads sign, digits, point, digits from the start of text; returns how many characters it took.
std::size_t TakeNumber(std::string_view text, DecimalParts& parts) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        parts.negative = text[i] == '-';
        ++i;
    }
    while (i < text.size() && IsDigit(text[i]))
        parts.whole.push_back(text[i++]);
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i]))
            parts.fraction.push_back(text[i++]);
    }
    return i;
}

template <typename Float> Float Signed(bool negative, Float magnitude) {
    return negative ? -magnitude : magnitude;
}

// The value of the parts as Float; nothing only when the magnitude is too large for Float.
// A value too small for Float reads as zero of its sign.
template <typename Float> std::optional<Float> ValueOf(const DecimalParts& parts) {
    const std::optional<Float> magnitude = NumberText::Read<Float>(parts.Plain());
    if (!magnitude)
        return std::nullopt;
    return Signed(parts.negative, *magnitude);
}

std::string FormatSignificant(double value, int digits) {
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Infinity" : "Infinity";
    if (value == 0)
        return "0";

    // Scientific form first ("-1.234568e+05"), then the digits placed around the point.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific, digits - 1);
    const std::string_view scientific(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t e = scientific.find('e');
    std::string mantissa;
    for (char c : scientific.substr(0, e))
        if (IsDigit(c))
            mantissa.push_back(c);
    const int exponent = std::atoi(std::string(scientific.substr(e + 1)).c_str());
    while (mantissa.size() > 1 && mantissa.back() == '0')
        mantissa.pop_back();

    std::string text = value < 0 ? "-" : "";
    if (exponent < 0) {
        text += "0.";
        text.append(static_cast<std::size_t>(-exponent - 1), '0');
        text += mantissa;
    } else {
        const auto wholeDigits = static_cast<std::size_t>(exponent) + 1;
        if (mantissa.size() <= wholeDigits) {
            text += mantissa;
            text.append(wholeDigits - mantissa.size(), '0');
        } else {
            text += mantissa.substr(0, wholeDigits);
            text += ".";
            text += mantissa.substr(wholeDigits);
        }
    }
    return text;
}

} // namespace

bool IsValidNumber(std::string_view text) {
    const std::string trimmed = TextTools::Trim(text, " ");
    text = trimmed;
    if (text.empty())
        return false;
    bool signSeen = false;
    bool pointSeen = false;
    for (char c : text) {
        if (c == '+' || c == '-') {
            if (signSeen)
                return false;
            signSeen = true;
        } else if (c == '.') {
            if (pointSeen)
                return false;
            pointSeen = true;
        } else if (!IsDigit(c)) {
            return false;
        }
    }
    return true;
}

double ReadNumber(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return 0;
    DecimalParts parts;
    TakeNumber(text.substr(first), parts);
    if (!parts.HasDigits())
        return 0;
    return ValueOf<double>(parts).value_or(
        Signed(parts.negative, std::numeric_limits<double>::infinity()));
}

std::optional<float> ConvertSingleStrict(std::string_view text) {
    const std::string trimmed = TextTools::Trim(text, " ");
    text = trimmed;
    DecimalParts parts;
    if (TakeNumber(text, parts) != text.size() || !parts.HasDigits())
        return std::nullopt;
    return ValueOf<float>(parts);
}

bool FitsSingle(double value) {
    // Round to nearest: everything below FLT_MAX plus half its last step rounds to a finite
    // float; the half step itself ties to even, which is the infinity.
    const double limit =
        static_cast<double>(std::numeric_limits<float>::max()) + std::ldexp(1.0, 103);
    return std::fabs(value) < limit || std::isnan(value);
}

float ToSingle(double value) {
    if (!FitsSingle(value))
        return Signed(value < 0, std::numeric_limits<float>::infinity());
    return static_cast<float>(value);
}

bool IsValidSingle(std::string_view text) {
    return IsValidNumber(text) && FitsSingle(ReadNumber(text));
}

std::string SingleText(float value) {
    return FormatSignificant(static_cast<double>(value), 7);
}

std::string DoubleText(double value) {
    return FormatSignificant(value, 15);
}
