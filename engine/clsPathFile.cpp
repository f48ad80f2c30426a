#include "clsPathFile.h"

#include "Latin1.h"
#include "PathloomError.h"
#include "RegularFile.h"

#include <algorithm>
#include <limits>

namespace {

bool IsSpace(char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\n' || c == U'\r';
}

bool IsDelimiter(char32_t c) {
    return c == U'{' || c == U'}' || c == U',';
}

} // namespace

void clsPathFile::Load(const std::string& fileName) {
    std::string bytes;
    try {
        bytes = RegularFile::ReadAll(fileName);
    } catch (const PathloomError& e) {
        if (e.Number() == ErrorNumber::FileNotFound)
            throw PathloomError(ErrorNumber::FileNotFound, "clsPathFile.Load",
                                "File not found: " + fileName);
        throw PathloomError(ErrorNumber::Program, "clsPathFile.Load",
                            "Could not read file: " + fileName);
    }
    LoadText(bytes);
}

// Each byte a character, as Latin-1 reads it, in one allocation.
void clsPathFile::Widen(const std::string& bytes) {
    fileText_.clear();
    fileText_.shrink_to_fit();
    fileText_.resize(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i)
        fileText_[i] = static_cast<unsigned char>(bytes[i]);
}

void clsPathFile::LoadText(const std::string& bytes) {
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max()))
        throw PathloomError(ErrorNumber::Overflow, "clsPathFile.Load", "Overflow");
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) {
        // The common case, read as UTF-8 would read it, without decoding.
        Widen(bytes);
    } else if (Utf8::Decode(bytes, fileText_)) {
        // Editors put a byte order mark before UTF-8 text; it is not part of the first label.
        if (!fileText_.empty() && fileText_.front() == U'\uFEFF')
            fileText_.erase(0, 1);
    } else {
        Widen(bytes);
    }
    fileText_.shrink_to_fit();
    readPosition_ = 0;
}

void clsPathFile::ReadToken(std::u32string& tokenString, int32_t& tokenType) {
    std::u32string_view token;
    ReadToken(token, tokenType);
    tokenString.assign(token);
}

void clsPathFile::ReadToken(std::u32string_view& token, int32_t& tokenType) {
    token = {};
    if (fileText_.empty()) {
        tokenType = TokenKind::EmptyFile;
        return;
    }
    const char32_t* const text = fileText_.data();
    const auto length = static_cast<int32_t>(fileText_.size());
    int32_t at = readPosition_;
    while (at < length && IsSpace(text[at]))
        ++at;
    if (at == length) {
        tokenType = TokenKind::EndOfText;
    } else if (IsDelimiter(text[at])) {
        token = {text + at, 1};
        tokenType = text[at] == U'{'   ? TokenKind::OpenBrace
                    : text[at] == U'}' ? TokenKind::CloseBrace
                                       : TokenKind::Comma;
        ++at;
    } else {
        // A label ends at a space, which it takes with it, at a delimiter, which the next call
        // reads, or at the end of the text.
        const int32_t start = at;
        while (at < length && !IsSpace(text[at]) && !IsDelimiter(text[at]))
            ++at;
        token = {text + start, static_cast<std::size_t>(at - start)};
        tokenType = TokenKind::Label;
        // The text ends in a NUL, which is no space.
        if (IsSpace(text[at]))
            ++at;
    }
    readPosition_ = at;
}
