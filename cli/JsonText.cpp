#include "JsonText.h"

#include "NumberText.h"

#include <cmath>
#include <cstdio>

namespace JsonText {

namespace {
// The escape of a control character, or nothing for any other byte.
std::string ControlEscape(unsigned char c, bool json) {
    switch (c) {
    case '\n':
        return "\\n";
    case '\r':
        return "\\r";
    case '\t':
        return "\\t";
    default:
        break;
    }
    if (c >= 0x20 && c != 0x7F)
        return {};
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, json ? "\\u%04x" : "\\x%02x", c);
    return escaped;
}
} // namespace

std::string Quote(const std::string& utf8) {
    std::string out = "\"";
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out.push_back(ch);
        } else if (const std::string escape = ControlEscape(c, true);
                   !escape.empty() && c != 0x7F) {
            out += escape;
        } else {
            out.push_back(ch);
        }
    }
    return out + "\"";
}

std::string Escaped(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        // U+0080..U+009F, two bytes in UTF-8: some terminals obey them as 8-bit controls.
        if (c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) <= 0x9F &&
            static_cast<unsigned char>(utf8[i + 1]) >= 0x80) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x",
                          static_cast<unsigned char>(utf8[++i]));
            out += escaped;
        } else if (const std::string escape = ControlEscape(c, false); !escape.empty()) {
            out += escape;
        } else {
            out.push_back(utf8[i]);
        }
    }
    return out;
}

std::string Float(float value) {
    return std::isfinite(value) ? NumberText::Shortest(value) : "null";
}

std::string Double(double value) {
    return std::isfinite(value) ? NumberText::Shortest(value) : "null";
}

} // namespace JsonText
