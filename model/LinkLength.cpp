#include "LinkLength.h"

#include "Latin1.h"
#include "NumberText.h"
#include "PathloomError.h"
#include "TextTools.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::size_t MaxValues = 64;

[[noreturn]] void Refuse(const std::string& message) {
    Raise("LinkLength", message);
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = text.find(separator, start);
        parts.push_back(TextTools::Trim(text.substr(start, at - start)));
        if (at == std::string::npos)
            return parts;
        start = at + 1;
    }
}

double Number(const std::string& text) {
    const auto value = NumberText::Read<double>(text);
    if (!value)
        Refuse("not a number in a distribution: " + TextTools::Quoted(text));
    return *value;
}

} // namespace

bool LinkLength::LooksLikeDistribution(const std::string& text) {
    return text.find('(') != std::string::npos;
}

LinkLength LinkLength::Parse(const std::string& given) {
    const std::string text = TextTools::Trim(given);
    const std::size_t open = text.find('(');
    if (open == std::string::npos || text.back() != ')')
        Refuse("a length is a number or a distribution NAME(NUMBERS): " + TextTools::Quoted(given));
    const std::string name = TextTools::Trim(text.substr(0, open));
    const std::string inside = text.substr(open + 1, text.size() - open - 2);
    if (inside.find_first_of("()") != std::string::npos)
        Refuse("unbalanced parentheses in " + TextTools::Quoted(given));
    const std::vector<std::string> parts = Split(inside, ',');
    LinkLength length;
    const auto numbers = [&](std::size_t count, const char* usage) {
        if (parts.size() != count)
            Refuse(std::string(usage) + " takes " + std::to_string(count) + " number" +
                   (count > 1 ? "s" : "") + ": " + TextTools::Quoted(given));
        length.first_ = Number(parts[0]);
        length.second_ = count > 1 ? Number(parts[1]) : 0.0;
    };
    if (Latin1::EqualNoCase(name, "discrete")) {
        length.kind_ = Kind::Discrete;
        if (parts.size() > MaxValues)
            Refuse("discrete takes 1 to 64 values: " + TextTools::Quoted(given));
        double sum = 0.0, largest = 0.0;
        for (const std::string& part : parts) {
            const std::vector<std::string> pair = Split(part, ':');
            if (pair.size() != 2)
                Refuse("discrete takes VALUE:PROBABILITY pairs: " + TextTools::Quoted(part));
            const double probability = Number(pair[1]);
            if (!(probability > 0.0))
                Refuse("a probability must be above 0: " + TextTools::Quoted(part));
            length.values_.push_back(Number(pair[0]));
            length.probabilities_.push_back(probability);
            sum += probability;
            largest = std::max(largest, probability);
        }
        if (!std::isfinite(sum))
            Refuse("the probabilities add up beyond the number range: " + TextTools::Quoted(given));
        length.scale_ = -std::ilogb(largest);
        double scaled = 0.0;
        for (const double probability : length.probabilities_)
            length.sums_.push_back(scaled += length.Scaled(probability));
    } else if (Latin1::EqualNoCase(name, "uniform")) {
        length.kind_ = Kind::Uniform;
        numbers(2, "uniform(a, b)");
        if (!(length.first_ <= length.second_))
            Refuse("uniform(a, b) needs a <= b: " + TextTools::Quoted(given));
    } else if (Latin1::EqualNoCase(name, "normal")) {
        length.kind_ = Kind::Normal;
        numbers(2, "normal(mean, sd)");
        if (!(length.second_ >= 0.0))
            Refuse("normal(mean, sd) needs sd >= 0: " + TextTools::Quoted(given));
    } else if (Latin1::EqualNoCase(name, "exponential")) {
        length.kind_ = Kind::Exponential;
        numbers(1, "exponential(mean)");
        if (!(length.first_ > 0.0))
            Refuse("exponential(mean) needs a mean above 0: " + TextTools::Quoted(given));
    } else {
        Refuse("unknown distribution " + TextTools::Quoted(name) +
               ": discrete, uniform, normal or exponential");
    }
    if (!std::isfinite(static_cast<float>(length.Mean())))
        Refuse("the mean is beyond the float range: " + TextTools::Quoted(given));
    // A run fails at the first length that overflows: one that would fail most runs is a mistake
    // better told now.
    if (length.ShareBeyondFloats() >= 0.1)
        Refuse("one draw in ten or more would be beyond the float range: " +
               TextTools::Quoted(given));
    return length;
}

std::string LinkLength::Text() const {
    using NumberText::Shortest;
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
            sum += values_[k] * Scaled(probabilities_[k]);
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

double LinkLength::ShareBeyondFloats() const {
    // The least double that rounds to an infinite float.
    const double limit = std::ldexp(1.0, 128) - std::ldexp(1.0, 103);
    switch (kind_) {
    case Kind::Discrete: {
        double beyond = 0.0;
        for (std::size_t k = 0; k < values_.size(); ++k)
            beyond += std::fabs(values_[k]) >= limit ? Scaled(probabilities_[k]) : 0.0;
        return beyond / sums_.back();
    }
    case Kind::Uniform: {
        const double width = second_ - first_;
        if (!(width > 0.0 && std::isfinite(width)))
            return width == 0.0 && std::fabs(first_) < limit ? 0.0 : 1.0;
        const double below = std::clamp(-limit - first_, 0.0, width);
        const double above = std::clamp(second_ - limit, 0.0, width);
        return (below + above) / width;
    }
    case Kind::Normal: {
        if (second_ == 0.0)
            return std::fabs(first_) < limit ? 0.0 : 1.0;
        const double spread = second_ * std::sqrt(2.0);
        return (std::erfc((limit - first_) / spread) + std::erfc((limit + first_) / spread)) / 2.0;
    }
    case Kind::Exponential:
        break;
    }
    return std::exp(-limit / first_);
}
