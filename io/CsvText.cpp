#include "CsvText.h"

#include "NumberText.h"

#include <cmath>

namespace CsvText {

void AppendNumber(std::string& out, float value) {
    if (std::isfinite(value))
        out += NumberText::Shortest(value);
}

void AppendNumber(std::string& out, double value) {
    if (std::isfinite(value))
        out += NumberText::Shortest(value);
}

void AppendNumber(std::string& out, int64_t value) {
    out += std::to_string(value);
}

void AppendField(std::string& out, const std::string& utf8) {
    if (utf8.find_first_of(",\"\r\n") == std::string::npos) {
        out += utf8;
        return;
    }
    out += '"';
    for (const char c : utf8) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

} // namespace CsvText
