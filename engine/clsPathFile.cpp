#include "clsPathFile.h"

#include "Latin1.h"
#include "PathloomError.h"

#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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
    if (Utf8::Decode(bytes, fileText_)) {
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
