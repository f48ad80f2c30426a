#include "LinkLength.h"

#include "Latin1.h"
#include "PathloomError.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::size_t MaxValues = 64;

[[noreturn]] void Refuse(const std::string& message) {
    Raise("LinkLength", message);
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = text.find(separator, start);
        parts.push_back(Trimmed(text.substr(start, at - start)));
        if (at == std::string::npos)
            return parts;
        start = at + 1;
    }
}

// A number as pathloom-run reads one: decimal digits, sign, point and exponent only (no inf,
// nan or hex), the whole text, finite.
double Number(const std::string& text) {
    const bool plain =
        !text.empty() && text.find_first_not_of("+-.0123456789eE") == std::string::npos;
    char* end = nullptr;
    const double value = plain ? std::strtod(text.c_str(), &end) : 0.0;
    if (!plain || end != text.c_str() + text.size() || !std::isfinite(value))
        Refuse("not a number in a distribution: '" + text + "'");
    return value;
}

// The shortest text that reads back as the same double, in plain digits where they are no
// longer than the exponent form.
std::string Shortest(double value) {
    char text[40];
    int digits = 1;
    for (; digits < 17; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (std::strtod(text, nullptr) == value)
            break;
    }
    const int exponent =
        value == 0.0 ? 0 : static_cast<int>(std::floor(std::log10(std::fabs(value))));
    if (exponent >= digits - 1 && exponent < 17)
        std::snprintf(text, sizeof text, "%.0f", value);
    return text;
}

} // namespace

bool LinkLength::LooksLikeDistribution(const std::string& text) {
    return text.find('(') != std::string::npos;
}

LinkLength LinkLength::Parse(const std::string& given) {
    const std::string text = Trimmed(given);
    const std::size_t open = text.find('(');
    if (open == std::string::npos || text.back() != ')')
        Refuse("a length is a number or a distribution NAME(NUMBERS): '" + given + "'");
    const std::string name = Trimmed(text.substr(0, open));
    const std::string inside = text.substr(open + 1, text.size() - open - 2);
    if (inside.find_first_of("()") != std::string::npos)
        Refuse("unbalanced parentheses in '" + given + "'");
    const std::vector<std::string> parts = Split(inside, ',');
    LinkLength length;
    const auto numbers = [&](std::size_t count, const char* usage) {
        if (parts.size() != count)
            Refuse(std::string(usage) + " takes " + std::to_string(count) + " number" +
                   (count > 1 ? "s" : "") + ": '" + given + "'");
        length.first_ = Number(parts[0]);
        length.second_ = count > 1 ? Number(parts[1]) : 0.0;
    };
    if (Latin1::EqualNoCase(name, "discrete")) {
        length.kind_ = Kind::Discrete;
        if (parts.size() > MaxValues)
            Refuse("discrete takes 1 to 64 values: '" + given + "'");
        double sum = 0.0;
        for (const std::string& part : parts) {
            const std::vector<std::string> pair = Split(part, ':');
            if (pair.size() != 2)
                Refuse("discrete takes VALUE:PROBABILITY pairs: '" + part + "'");
            const double probability = Number(pair[1]);
            if (!(probability > 0.0))
                Refuse("a probability must be above 0: '" + part + "'");
            length.values_.push_back(Number(pair[0]));
            length.probabilities_.push_back(probability);
            sum += probability;
            length.sums_.push_back(sum);
        }
        if (!std::isfinite(sum))
            Refuse("the probabilities add up beyond the number range: '" + given + "'");
    } else if (Latin1::EqualNoCase(name, "uniform")) {
        length.kind_ = Kind::Uniform;
        numbers(2, "uniform(a, b)");
        if (!(length.first_ <= length.second_))
            Refuse("uniform(a, b) needs a <= b: '" + given + "'");
    } else if (Latin1::EqualNoCase(name, "normal")) {
        length.kind_ = Kind::Normal;
        numbers(2, "normal(mean, sd)");
        if (!(length.second_ >= 0.0))
            Refuse("normal(mean, sd) needs sd >= 0: '" + given + "'");
    } else if (Latin1::EqualNoCase(name, "exponential")) {
        length.kind_ = Kind::Exponential;
        numbers(1, "exponential(mean)");
        if (!(length.first_ > 0.0))
            Refuse("exponential(mean) needs a mean above 0: '" + given + "'");
    } else {
        Refuse("unknown distribution '" + name + "': discrete, uniform, normal or exponential");
    }
    if (!std::isfinite(static_cast<float>(length.Mean())))
        Refuse("the mean is beyond the float range: '" + given + "'");
    return length;
}

std::string LinkLength::Text() const {
    switch (kind_) {
    case Kind::Discrete: {
        std::string text = "discrete(";
        for (std::size_t k = 0; k < values_.size(); ++k)
            text += (k > 0 ? ", " : "") + Shortest(values_[k]) + ":" + Shortest(probabilities_[k]);
        return text + ")";
    }
    case Kind::Uniform:
        return "uniform(" + Shortest(first_) + ", " + Shortest(second_) + ")";
    case Kind::Normal:
        return "normal(" + Shortest(first_) + ", " + Shortest(second_) + ")";
    case Kind::Exponential:
        break;
    }
    return "exponential(" + Shortest(first_) + ")";
}

double LinkLength::Mean() const {
    switch (kind_) {
    case Kind::Discrete: {
        double sum = 0.0;
        for (std::size_t k = 0; k < values_.size(); ++k)
            sum += values_[k] * probabilities_[k];
        return sum / sums_.back();
    }
    case Kind::Uniform:
        return first_ + (second_ - first_) / 2.0;
    case Kind::Normal:
    case Kind::Exponential:
        break;
    }
    return first_;
}
