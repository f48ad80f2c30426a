#include "DocumentFile.h"

#include "DocumentStream.h"
#include "PathloomError.h"
#include "clsLA.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char Signature[14] = {'W', 'O', 'V', 'E', 'N', '-', 'G', 'R', 'A', 'P', 'H', 'S', 0, 0};

[[noreturn]] void IoFailed() {
    throw PathloomError(ErrorNumber::Program, "DocumentFile", std::strerror(errno));
}

void WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            IoFailed();
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

std::size_t ReadSome(int fd, char* data, std::size_t size) {
    std::size_t total = 0;
    while (total < size) {
        const ssize_t n = ::read(fd, data + total, size - total);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            IoFailed();
        }
        total += static_cast<std::size_t>(n);
    }
    return total;
}

// Closes the descriptor and, unless kept, removes the temporary file, however the save ends.
class TemporaryFile {
  public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        Close();
        if (!path_.empty())
            ::unlink(path_.c_str());
    }

    // A new file beside target, so that the final rename stays on one file system. Created with
    // mode 0666 so that the umask applies as it would to any new document.
    void Create(const std::string& target) {
        const std::size_t slash = target.rfind('/');
        const std::string dir =
            slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
        const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::string candidate =
                dir + "." + base + "." + std::to_string(random() % 1000000000u) + ".tmp";
            fd_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ >= 0) {
                path_ = candidate;
                return;
            }
            if (errno != EEXIST)
                IoFailed();
        }
        IoFailed();
    }

    int Descriptor() const { return fd_; }
    const std::string& Path() const { return path_; }

    void Close() {
        if (fd_ >= 0) {
            const int result = ::close(fd_);
            fd_ = -1;
            if (result != 0)
                IoFailed();
        }
    }

    // After the rename the file is the document and must stay.
    void Keep() { path_.clear(); }

  private:
    int fd_ = -1;
    std::string path_;
};

// The file a save replaces: a symbolic link's target, so that the link stays a link.
std::string ResolveTarget(const std::string& fileName) {
    struct stat info {};
    if (::lstat(fileName.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(fileName.c_str(), resolved))
            return resolved;
    }
    return fileName;
}

void SyncDirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "."
                            : slash == 0               ? "/"
                                                       : path.substr(0, slash);
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        // Makes the rename itself durable; a file system that cannot sync directories is no error.
        ::fsync(fd);
        ::close(fd);
    }
}

void WriteDocument(clsLA& la, const std::string& fileName) {
    if (fileName.empty()) {
        errno = ENOENT;
        IoFailed();
    }
    const std::string target = ResolveTarget(fileName);
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    if (replacing) {
        // A document the user may not write stays refused, as writing it in place would be.
        if (S_ISDIR(old.st_mode) || ::access(target.c_str(), W_OK) != 0)
            IoFailed();
    }

    TemporaryFile temp;
    temp.Create(target);
    if (replacing)
        ::fchmod(temp.Descriptor(), old.st_mode & 07777);

    const int fd = temp.Descriptor();
    DocumentWriter writer([fd](const char* data, std::size_t size) { WriteAll(fd, data, size); });
    writer.WriteBytes(Signature, sizeof Signature);
    la.Save(writer);
    writer.Flush();
    if (::fsync(fd) != 0)
        IoFailed();
    temp.Close();
    if (::rename(temp.Path().c_str(), target.c_str()) != 0)
        IoFailed();
    temp.Keep();
    SyncDirectoryOf(target);
}

void ReadDocument(clsLA& la, int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        IoFailed();
    if (!S_ISREG(info.st_mode)) {
        errno = EINVAL;
        IoFailed();
    }
    DocumentReader reader([fd](char* data, std::size_t size) { return ReadSome(fd, data, size); },
                          static_cast<uint64_t>(info.st_size));
    // No document larger than the machine's memory can load; finding out by trying would take
    // all of it first.
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0)
        reader.LimitMemory(static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize));
    char signature[sizeof Signature];
    reader.ReadBytes(signature, sizeof signature);
    if (std::memcmp(signature, Signature, sizeof Signature) != 0)
        Raise("LoadGraph", "Not a Pathloom document");
    la.Load(reader);
}

} // namespace

void SaveGraph(clsLA& la, const std::string& fileName) {
    try {
        WriteDocument(la, fileName);
    } catch (const std::exception&) {
        Raise("SaveGraph", "Error saving graph.");
    }
}

void LoadGraph(clsLA& la, const std::string& fileName) {
    // Non-blocking, so that a FIFO given as a document is refused instead of waiting for a writer.
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    bool loaded = false;
    if (fd >= 0) {
        try {
            ReadDocument(la, fd);
            loaded = true;
        } catch (const std::exception&) {
        }
        ::close(fd);
    }
    if (!loaded) {
        la.Clear();
        Raise("LoadGraph", "'" + fileName + "' could not be loaded.");
    }
}
