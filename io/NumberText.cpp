#include "NumberText.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <system_error>

namespace NumberText {

namespace {
// Room for any of them: a float in plain digits takes at most 48 characters (the smallest
// subnormal), the shortest forms of a double at most 24. Fixed forms take more where asked.
constexpr std::size_t Room = 64;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Whether a number that from_chars found out of range lies below 1 (too small for the type, so
// its nearest value is a zero) rather than above: the power of ten of its first significant
// digit, from the digits before and after the point and the exponent.
bool BelowOne(std::string_view text) {
    std::size_t at = text[0] == '-' ? 1 : 0;
    int64_t whole = 0, zeros = 0;
    bool significant = false;
    for (; at < text.size() && IsDigit(text[at]); ++at) {
        significant = significant || text[at] != '0';
        whole += significant ? 1 : 0;
    }
    if (at < text.size() && text[at] == '.') {
        for (++at; at < text.size() && IsDigit(text[at]); ++at) {
            significant = significant || text[at] != '0';
            zeros += significant ? 0 : 1;
        }
    }
    int64_t exponent = 0;
    if (at < text.size()) { // e, E
        const bool negative = text[++at] == '-';
        at += text[at] == '-' || text[at] == '+' ? 1 : 0;
        for (; at < text.size(); ++at)
            exponent = std::min<int64_t>(exponent * 10 + (text[at] - '0'), INT32_MAX);
        exponent = negative ? -exponent : exponent;
    }
    return (whole > 0 ? whole - 1 : -zeros - 1) + exponent < 0;
}
} // namespace

std::string Shortest(float value) {
    char text[Room];
    return std::string(text, std::to_chars(text, text + Room, value).ptr);
}

std::string Shortest(double value) {
    char text[Room];
    return std::string(text, std::to_chars(text, text + Room, value).ptr);
}

std::string Plain(float value) {
    char text[Room];
    return std::string(text, std::to_chars(text, text + Room, value, std::chars_format::fixed).ptr);
}

std::string Fixed(double value, int decimals) {
    // The largest double has 309 digits before the point.
    std::string text(Room + 309 + static_cast<std::size_t>(decimals), '\0');
    char* const begin = text.data();
    text.resize(static_cast<std::size_t>(
        std::to_chars(begin, begin + text.size(), value, std::chars_format::fixed, decimals).ptr -
        begin));
    return text;
}

std::string Significant(double value, int digits) {
    char text[Room];
    return std::string(
        text, std::to_chars(text, text + Room, value, std::chars_format::general, digits).ptr);
}

template <typename Real> std::optional<Real> Read(std::string_view text) {
    // from_chars takes no plus sign, but takes "inf" and "nan": only a sign, digits, a point and
    // an exponent go through to it.
    if (!text.empty() && text[0] == '+' && (text.size() == 1 || text[1] != '-'))
        text.remove_prefix(1);
    if (text.empty() || text.find_first_not_of("+-.0123456789eE") != std::string_view::npos)
        return std::nullopt;
    Real value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (end != text.data() + text.size())
        return std::nullopt;
    if (error == std::errc::result_out_of_range) {
        if (!BelowOne(text))
            return std::nullopt;
        return text[0] == '-' ? -Real(0) : Real(0);
    }
    if (error != std::errc())
        return std::nullopt;
    return value;
}

template std::optional<float> Read<float>(std::string_view);
template std::optional<double> Read<double>(std::string_view);

std::optional<uint64_t> ReadWhole(std::string_view text) {
    // Digits alone: from_chars takes no sign and no blank for an unsigned number.
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace NumberText
