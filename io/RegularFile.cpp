#include "RegularFile.h"

#include "PathloomError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void Refuse(int error) {
    const bool missing = error == ENOENT || error == ENOTDIR;
    throw PathloomError(missing ? ErrorNumber::FileNotFound : ErrorNumber::Program, "RegularFile",
                        error == 0 ? "it is not a regular file" : std::strerror(error));
}

} // namespace

RegularFile::RegularFile(const std::string& fileName) {
    // Non-blocking: opening a FIFO would otherwise wait for a writer.
    fd_ = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0)
        Refuse(errno);
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = S_ISREG(info.st_mode) ? errno : 0; // 0: not a regular file
        ::close(fd_);
        Refuse(error);
    }
    size_ = static_cast<uint64_t>(info.st_size);
}

RegularFile::~RegularFile() {
    ::close(fd_);
}

std::size_t RegularFile::Read(char* data, std::size_t size) {
    std::size_t total = 0;
    while (total < size) {
        const ssize_t n = ::read(fd_, data + total, size - total);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Refuse(errno);
        }
        total += static_cast<std::size_t>(n);
    }
    return total;
}

std::string RegularFile::ReadToEnd() {
    std::string bytes;
    // In one piece where the size is known and sensible; a larger file grows as it is read.
    if (size_ <= static_cast<uint64_t>(std::numeric_limits<int32_t>::max()))
        bytes.reserve(static_cast<std::size_t>(size_));
    char block[1 << 16];
    for (std::size_t n; (n = Read(block, sizeof block)) > 0;)
        bytes.append(block, n);
    return bytes;
}

std::string RegularFile::ReadAll(const std::string& fileName) {
    return RegularFile(fileName).ReadToEnd();
}
