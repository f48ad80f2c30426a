#include "clsPathFile.h"

#include "Latin1.h"
#include "PathloomError.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsSpace(char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\n' || c == U'\r';
}

bool IsDelimiter(char32_t c) {
    return c == U'{' || c == U'}' || c == U',';
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
    // Non-blocking, so that a FIFO is refused instead of waiting for a writer for ever.
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        fail(errno);
    std::string bytes;
    struct stat info {};
    int error = 0;
    if (::fstat(fd, &info) != 0) {
        error = errno;
    } else if (!S_ISREG(info.st_mode)) {
        // A device or a FIFO may never end (/dev/zero would fill the memory).
        error = EINVAL;
    } else {
        // Read in one piece where the size is known; the text is refused beyond int32 anyway.
        if (info.st_size > 0 && info.st_size <= std::numeric_limits<int32_t>::max())
            bytes.reserve(static_cast<std::size_t>(info.st_size));
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
