#include "TextTools.h"

#include "Latin1.h"

namespace TextTools {

std::string Trim(std::string_view text, std::string_view blanks) {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return "";
    return std::string(text.substr(first, text.find_last_not_of(blanks) - first + 1));
}

std::string Cut(std::string_view text) {
    const std::string bytes(text.substr(0, QuotedLength * 4 + 4)); // enough for the characters
    std::size_t at = 0;
    char32_t c = 0;
    for (std::size_t count = 0; count < QuotedLength && at < bytes.size(); ++count)
        at += Utf8::Next(bytes, at, c);
    return at >= text.size() ? std::string(text) : std::string(text.substr(0, at)) + "...";
}

std::string Quoted(std::string_view text) {
    std::string quoted = "'";
    for (const char c : Cut(text)) {
        if (static_cast<unsigned char>(c) >= 0x20)
            quoted += c;
        else
            quoted += c == '\n' ? "\\n" : c == '\r' ? "\\r" : c == '\t' ? "\\t" : "?";
    }
    return quoted + "'";
}

} // namespace TextTools
