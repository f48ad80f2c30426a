#include "Latin1.h"

namespace Latin1 {

unsigned char ToLower(unsigned char c) {
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c + 32);
    // À..Þ map to à..þ, except the multiplication sign, which has no lower case.
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<unsigned char>(c + 32);
    return c;
}

std::string Folded(const std::string& text) {
    std::string folded = text;
    for (char& c : folded)
        c = static_cast<char>(ToLower(static_cast<unsigned char>(c)));
    return folded;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && Folded(a) == Folded(b);
}

std::string ToUtf8(const std::string& latin1) {
    std::u32string wide(latin1.begin(), latin1.end());
    for (std::size_t i = 0; i < latin1.size(); ++i)
        wide[i] = static_cast<unsigned char>(latin1[i]);
    return Utf8::Encode(wide);
}

std::optional<std::string> FromUtf8(const std::string& utf8) {
    std::u32string wide;
    if (!Utf8::Decode(utf8, wide))
        return std::nullopt;
    return FromWide(wide);
}

std::optional<std::string> FromWide(const std::u32string& text) {
    std::string latin1;
    latin1.reserve(text.size());
    for (const char32_t c : text) {
        if (c > 0xFF)
            return std::nullopt;
        latin1.push_back(static_cast<char>(c));
    }
    return latin1;
}

} // namespace Latin1

namespace Utf8 {

std::size_t Next(const std::string& bytes, std::size_t at, char32_t& c) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    if (lead < 0x80) {
        c = lead;
        return 1;
    }
    // The length the first byte announces, and the least character that needs it.
    const std::size_t length = lead >> 5 == 6 ? 2 : lead >> 4 == 14 ? 3 : lead >> 3 == 30 ? 4 : 0;
    if (length == 0) {
        c = Broken;
        return 1;
    }
    const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    char32_t code = lead & (0x7Fu >> length);
    std::size_t used = 1;
    for (; used < length && at + used < bytes.size() &&
           (static_cast<unsigned char>(bytes[at + used]) & 0xC0) == 0x80;
         ++used)
        code = code << 6 | (static_cast<unsigned char>(bytes[at + used]) & 0x3Fu);
    // No overlong forms, no surrogates, nothing past U+10FFFF.
    const bool whole =
        used == length && code >= least && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
    c = whole ? code : Broken;
    return used;
}

std::string Folded(std::string text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            text[i] = static_cast<char>(Latin1::ToLower(c));
        } else if (c == 0xC3 && i + 1 < text.size()) {
            // U+00C0..U+00FF are 0xC3 and 0x80..0xBF: the second byte is the Latin-1 one less 0x40.
            const auto second = static_cast<unsigned char>(text[++i]);
            if (second >= 0x80 && second <= 0xBF)
                text[i] = static_cast<char>(
                    Latin1::ToLower(static_cast<unsigned char>(second + 0x40)) - 0x40);
        }
    }
    return text;
}

bool Decode(const std::string& bytes, std::u32string& out) {
    out.clear();
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t c;
        i += Next(bytes, i, c);
        if (c == Broken)
            return false;
        out.push_back(c);
    }
    return true;
}

std::string Encode(const std::u32string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char32_t c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::string FromBytes(const std::string& bytes) {
    std::u32string wide;
    return Decode(bytes, wide) ? bytes : Latin1::ToUtf8(bytes);
}

} // namespace Utf8
