#include "DocumentFile.h"

#include "DocumentStream.h"
#include "PathloomError.h"
#include "SafeFile.h"
#include "clsLA.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char Signature[14] = {'W', 'O', 'V', 'E', 'N', '-', 'G', 'R', 'A', 'P', 'H', 'S', 0, 0};

[[noreturn]] void IoFailed() {
    throw PathloomError(ErrorNumber::Program, "DocumentFile", std::strerror(errno));
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

void ReadDocument(clsLA& la, const std::function<std::size_t(char*, std::size_t)>& read,
                  uint64_t size) {
    DocumentReader reader(read, size);
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

void ReadDocumentFile(clsLA& la, int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        IoFailed();
    if (!S_ISREG(info.st_mode)) {
        errno = EINVAL;
        IoFailed();
    }
    ReadDocument(
        la, [fd](char* data, std::size_t size) { return ReadSome(fd, data, size); },
        static_cast<uint64_t>(info.st_size));
}

} // namespace

std::string DocumentBytes(clsLA& la) {
    std::string bytes;
    DocumentWriter writer(
        [&bytes](const char* data, std::size_t size) { bytes.append(data, size); });
    writer.WriteBytes(Signature, sizeof Signature);
    la.Save(writer);
    writer.Flush();
    return bytes;
}

void SaveGraph(clsLA& la, const std::string& fileName) {
    try {
        WriteFileSafely(fileName, DocumentBytes(la));
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
            ReadDocumentFile(la, fd);
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

std::string ReadFileBytes(const std::string& fileName) {
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        Raise("LoadGraph", "'" + fileName + "' could not be loaded.");
    std::string bytes;
    char block[65536];
    struct stat info {};
    bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    try {
        for (std::size_t n; regular && (n = ReadSome(fd, block, sizeof block)) > 0;)
            bytes.append(block, n);
    } catch (const std::exception&) {
        regular = false;
    }
    ::close(fd);
    if (!regular)
        Raise("LoadGraph", "'" + fileName + "' could not be loaded.");
    return bytes;
}

void LoadGraphFromBytes(clsLA& la, const std::string& bytes, const std::string& fileName) {
    std::size_t at = 0;
    try {
        ReadDocument(
            la,
            [&](char* data, std::size_t size) {
                const std::size_t n = std::min(size, bytes.size() - at);
                std::memcpy(data, bytes.data() + at, n);
                at += n;
                return n;
            },
            bytes.size());
        return;
    } catch (const std::exception&) {
    }
    la.Clear();
    Raise("LoadGraph", "'" + fileName + "' could not be loaded.");
}
