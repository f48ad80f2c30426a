#include "clsPathFile.h"

#include "PathloomError.h"

#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Decodes strict UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF); false when
// the bytes are not UTF-8.
bool DecodeUtf8(const std::string& bytes, std::u32string& out) {
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

bool IsSpace(char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\n' || c == U'\r';
}

} // namespace

void clsPathFile::Load(const std::string& fileName) {
    const auto fail = [&fileName](int error) {
        if (error == ENOENT || error == ENOTDIR)
            throw PathloomError(ErrorNumber::FileNotFound, "clsPathFile.Load",
                                "File not found: " + fileName);
        throw PathloomError(ErrorNumber::Program, "clsPathFile.Load",
                            "Could not read file: " + fileName);
    };
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        fail(errno);
    std::string bytes;
    struct stat info {};
    int error = 0;
    if (::fstat(fd, &info) != 0) {
        error = errno;
    } else if (S_ISDIR(info.st_mode)) {
        error = EISDIR;
    } else {
        char block[1 << 16];
        while (true) {
            const ssize_t n = ::read(fd, block, sizeof block);
            if (n > 0) {
                bytes.append(block, static_cast<std::size_t>(n));
            } else if (n == 0) {
                break;
            } else if (errno != EINTR) {
                error = errno;
                break;
            }
        }
    }
    ::close(fd);
    if (error != 0)
        fail(error);
    LoadText(bytes);
}

void clsPathFile::LoadText(const std::string& bytes) {
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max()))
        throw PathloomError(ErrorNumber::Overflow, "clsPathFile.Load", "Overflow");
    if (DecodeUtf8(bytes, fileText_)) {
        // Editors put a byte order mark before UTF-8 text; it is not part of the first label.
        if (!fileText_.empty() && fileText_.front() == U'\uFEFF')
            fileText_.erase(0, 1);
    } else {
        fileText_.assign(bytes.begin(), bytes.end());
        for (std::size_t i = 0; i < bytes.size(); ++i)
            fileText_[i] = static_cast<unsigned char>(bytes[i]);
    }
    fileText_.shrink_to_fit();
    readPosition_ = 0;
}

void clsPathFile::ReadToken(std::u32string& tokenString, int32_t& tokenType) {
    std::u32string word;
    if (fileText_.empty()) {
        tokenString.clear();
        tokenType = TokenKind::EmptyFile;
        return;
    }
    while (true) {
        if (readPosition_ == TextLength()) {
            tokenType = word.empty() ? TokenKind::EndOfText : TokenKind::Label;
            tokenString = word;
            return;
        }
        const char32_t c = fileText_[static_cast<std::size_t>(readPosition_)];
        ++readPosition_;
        if (c == U'{' || c == U'}' || c == U',') {
            if (word.empty()) {
                tokenString.assign(1, c);
                tokenType = c == U'{'   ? TokenKind::OpenBrace
                            : c == U'}' ? TokenKind::CloseBrace
                                        : TokenKind::Comma;
            } else {
                // The delimiter ends the label and is read again by the next call.
                --readPosition_;
                tokenString = word;
                tokenType = TokenKind::Label;
            }
            return;
        }
        if (IsSpace(c)) {
            if (!word.empty()) {
                tokenString = word;
                tokenType = TokenKind::Label;
                return;
            }
            continue;
        }
        word.push_back(c);
    }
}

std::string clsPathFile::ToLatin1(const std::u32string& text, bool* exact) {
    std::string out;
    out.reserve(text.size());
    bool kept = true;
    for (const char32_t c : text) {
        if (c <= 0xFF) {
            out.push_back(static_cast<char>(static_cast<unsigned char>(c)));
        } else {
            out.push_back('?');
            kept = false;
        }
    }
    if (exact)
        *exact = kept;
    return out;
}
