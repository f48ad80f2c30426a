#include "OutputFile.h"

#include "PathloomError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <unistd.h>

OutputFile::OutputFile(std::string fileName) : fileName_(std::move(fileName)) {
    const std::size_t slash = fileName_.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : fileName_.substr(0, slash + 1);
    const std::string base = fileName_.substr(folder.size());
    if (base.empty()) {
        errno = ENOENT;
        Fail();
    }
    std::random_device random;
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        temporary_ = folder + "." + base + "." + std::to_string(random() % 1000000000u) + ".tmp";
        fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST)
            break;
    }
    if (fd_ < 0) {
        temporary_.clear();
        Fail();
    }
}

OutputFile::~OutputFile() {
    if (fd_ >= 0)
        ::close(fd_);
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
}

void OutputFile::Fail() const {
    Raise("Export", "'" + fileName_ + "' could not be written: " + std::strerror(errno));
}

void OutputFile::Write(const std::string& text) {
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd_, text.data() + done, text.size() - done);
        if (n < 0 && errno != EINTR)
            Fail();
        done += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
}

void OutputFile::Commit() {
    const int fd = fd_;
    fd_ = -1;
    if (::fsync(fd) != 0) {
        ::close(fd);
        Fail();
    }
    if (::close(fd) != 0 || ::rename(temporary_.c_str(), fileName_.c_str()) != 0)
        Fail();
    temporary_.clear();
}
