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

bool Decode(const std::string& bytes, std::u32string& out) {
    out.clear();
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b0 = static_cast<unsigned char>(bytes[i]);
        if (b0 < 0x80) {
            out.push_back(b0);
            ++i;
            continue;
        }
        int extra;
        char32_t cp;
        char32_t min;
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            extra = 1, cp = b0 & 0x1Fu, min = 0x80;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            extra = 2, cp = b0 & 0x0Fu, min = 0x800;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            extra = 3, cp = b0 & 0x07u, min = 0x10000;
        } else {
            return false;
        }
        if (bytes.size() - i <= static_cast<std::size_t>(extra))
            return false;
        for (int k = 1; k <= extra; ++k) {
            const auto b = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if ((b & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (b & 0x3Fu);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        out.push_back(cp);
        i += static_cast<std::size_t>(extra) + 1;
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
