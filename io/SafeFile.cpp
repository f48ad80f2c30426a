#include "SafeFile.h"

#include "PathloomError.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <random>
#include <streambuf>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void IoFailed() {
    throw PathloomError(ErrorNumber::Program, "SafeFile", std::strerror(errno));
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

// Closes the descriptor and, unless kept, removes the temporary file, however the save ends.
class TemporaryFile {
  public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() { Discard(); }

    void Discard() {
        if (fd_ >= 0)
            ::close(fd_);
        if (!path_.empty())
            ::unlink(path_.c_str());
        fd_ = -1;
        path_.clear();
    }

    // A new file in dir, so that the final rename stays on one file system. Its name is short
    // whatever the target's, so that a target name near the file system's limit still saves.
    // The mode is given to open itself: nobody may read the new bytes who could not read the
    // old ones.
    void Create(const std::string& dir, mode_t mode) {
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            char name[32];
            std::snprintf(name, sizeof name, ".pl%08x.tmp", static_cast<unsigned>(random()));
            const std::string candidate = dir + name;
            fd_ = ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
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
        const int result = ::close(fd_);
        fd_ = -1;
        if (result != 0)
            IoFailed();
    }

    // After the rename the file is the target and must stay.
    void Keep() { path_.clear(); }

  private:
    int fd_ = -1;
    std::string path_;
};

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file a save writes: through symbolic links to the name the last one points to, which a
// dangling link leaves for the save to create. The links themselves stay links.
std::string ResolveTarget(const std::string& fileName) {
    std::string path = fileName;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return path;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0)
            IoFailed();
        target.resize(static_cast<std::size_t>(n));
        path = !target.empty() && target[0] == '/' ? target : FolderOf(path) + target;
    }
    errno = ELOOP;
    IoFailed();
}

void SyncFolderOf(const std::string& path) {
    const std::string folder = FolderOf(path);
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        // Makes the rename itself durable; a file system that cannot sync folders is no error.
        ::fsync(fd);
        ::close(fd);
    }
}

// One file of a save, made complete before any file of the save is replaced. Usually a
// temporary file beside the target, flushed, then renamed over it, so that the target holds the
// old file or the new one and never a part. A file with other names, or one whose owner the new
// file cannot take, is rewritten where it is instead: its room is reserved first, so that only a
// failing disk, not a full one, can then leave it half written.
class PreparedFile {
  public:
    PreparedFile() = default;
    PreparedFile(const PreparedFile&) = delete;
    PreparedFile& operator=(const PreparedFile&) = delete;
    ~PreparedFile() {
        if (inPlace_ >= 0)
            ::close(inPlace_);
    }

    // The whole file, written and flushed; nothing replaced yet.
    void Prepare(const std::string& fileName, const std::string& bytes, bool ownName) {
        bytes_ = &bytes;
        Begin(fileName, ownName);
        if (inPlace_ >= 0) {
            Reserve(bytes.size());
            return;
        }
        WriteAll(temp_.Descriptor(), bytes.data(), bytes.size());
        Seal();
    }

    // A file whose bytes come piece by piece (Write), all of them before Commit. Rewritten where
    // it is, it gathers them in a temporary file of its own first.
    void Start(const std::string& fileName) {
        Begin(fileName, false);
        if (inPlace_ >= 0)
            temp_.Create(FolderOf(target_), 0600);
    }

    void Write(const char* data, std::size_t size) { WriteAll(temp_.Descriptor(), data, size); }

    void Commit() {
        if (inPlace_ < 0) {
            if (bytes_ == nullptr)
                Seal();
            if (::rename(temp_.Path().c_str(), target_.c_str()) != 0)
                IoFailed();
            temp_.Keep();
            SyncFolderOf(target_);
            return;
        }
        if (bytes_ != nullptr) {
            WriteInPlace(bytes_->data(), bytes_->size(), 0);
            EndInPlace(bytes_->size());
            return;
        }
        const off_t size = ::lseek(temp_.Descriptor(), 0, SEEK_CUR);
        if (size < 0)
            IoFailed();
        Reserve(static_cast<std::size_t>(size));
        char block[1 << 16];
        for (off_t at = 0; at < size;) {
            const ssize_t n = ::pread(temp_.Descriptor(), block, sizeof block, at);
            if (n == 0)
                FailInPlace(EIO); // shorter than what was written to it
            if (n < 0 && errno != EINTR)
                FailInPlace(errno);
            if (n > 0) {
                WriteInPlace(block, static_cast<std::size_t>(n), at);
                at += n;
            }
        }
        EndInPlace(static_cast<std::size_t>(size));
    }

  private:
    void Begin(const std::string& fileName, bool ownName) {
        if (fileName.empty()) {
            errno = ENOENT;
            IoFailed();
        }
        target_ = ownName ? fileName : ResolveTarget(fileName);
        struct stat old {};
        if (::lstat(target_.c_str(), &old) != 0) {
            if (errno != ENOENT)
                IoFailed();
            CreateTemporary(nullptr, ownName);
            return;
        }
        if (ownName && S_ISLNK(old.st_mode)) { // replaced by a file, never followed
            CreateTemporary(nullptr, true);
            return;
        }
        // A device, a FIFO, a folder: replacing it with a file would destroy it.
        if (!S_ISREG(old.st_mode)) {
            errno = EINVAL;
            IoFailed();
        }
        // A file the user may not write stays refused, as writing it in place would be.
        if (::access(target_.c_str(), W_OK) != 0)
            IoFailed();
        if ((old.st_nlink > 1 && !ownName) || !CreateTemporary(&old, ownName))
            OpenInPlace(old);
    }

    // False, with nothing made, when the new file cannot get the old one's owner and group,
    // unless the name is the program's own: that file is the saving user's.
    bool CreateTemporary(const struct stat* old, bool anyOwner) {
        temp_.Create(FolderOf(target_), old ? old->st_mode & 0777 : 0666);
        const int fd = temp_.Descriptor();
        if (old) {
            // Owner first: changing it clears the set-id bits that the mode then puts back.
            struct stat made {};
            if (::fstat(fd, &made) != 0)
                IoFailed();
            if ((made.st_uid != old->st_uid || made.st_gid != old->st_gid) &&
                ::fchown(fd, old->st_uid, old->st_gid) != 0 && !anyOwner) {
                temp_.Discard();
                return false;
            }
            if (::fchmod(fd, old->st_mode & 07777) != 0)
                IoFailed();
        }
        return true;
    }

    void Seal() {
        if (::fsync(temp_.Descriptor()) != 0)
            IoFailed();
        temp_.Close();
    }

    void OpenInPlace(const struct stat& old) {
        const int fd = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0)
            IoFailed();
        inPlace_ = fd;
        struct stat now {};
        if (::fstat(fd, &now) != 0)
            IoFailed();
        if (now.st_dev != old.st_dev || now.st_ino != old.st_ino || !S_ISREG(now.st_mode)) {
            errno = EAGAIN; // replaced since it was looked at
            IoFailed();
        }
    }

    void Reserve(std::size_t size) {
        if (const int error = ::posix_fallocate(inPlace_, 0, static_cast<off_t>(size));
            error != 0 && error != EOPNOTSUPP)
            FailInPlace(error);
    }

    [[noreturn]] void FailInPlace(int error) {
        ::close(inPlace_);
        inPlace_ = -1;
        errno = error;
        IoFailed();
    }

    void WriteInPlace(const char* data, std::size_t size, off_t at) {
        for (std::size_t done = 0; done < size;) {
            const ssize_t n =
                ::pwrite(inPlace_, data + done, size - done, at + static_cast<off_t>(done));
            if (n < 0 && errno != EINTR)
                FailInPlace(errno);
            if (n > 0)
                done += static_cast<std::size_t>(n);
        }
    }

    void EndInPlace(std::size_t size) {
        if (::ftruncate(inPlace_, static_cast<off_t>(size)) != 0 || ::fsync(inPlace_) != 0)
            FailInPlace(errno);
        const int fd = inPlace_;
        inPlace_ = -1;
        if (::close(fd) != 0)
            IoFailed();
    }

    std::string target_;
    const std::string* bytes_ = nullptr; // a whole file's; none for a stream
    TemporaryFile temp_;
    int inPlace_ = -1; // the target itself, when it is rewritten where it is
};

// Bytes for SafeStream's stream, in blocks, into the prepared file or straight into a pipe or a
// device; a failed write fails the stream.
class SafeStreamBuffer : public std::streambuf {
  public:
    explicit SafeStreamBuffer(const std::function<void(const char*, std::size_t)>& write)
        : write_(write) {
        setp(block_, block_ + sizeof block_);
    }

  protected:
    int overflow(int c) override {
        if (sync() != 0)
            return traits_type::eof();
        if (c != traits_type::eof()) {
            *pptr() = static_cast<char>(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }

    int sync() override {
        try {
            write_(pbase(), static_cast<std::size_t>(pptr() - pbase()));
        } catch (const PathloomError&) {
            return -1;
        }
        setp(block_, block_ + sizeof block_);
        return 0;
    }

  private:
    std::function<void(const char*, std::size_t)> write_;
    char block_[1 << 16];
};

} // namespace

void WriteFileSafely(const std::string& fileName, const std::string& bytes) {
    PreparedFile file;
    file.Prepare(fileName, bytes, false);
    file.Commit();
}

void WriteFilesSafely(const std::vector<FileToSave>& files) {
    std::vector<PreparedFile> prepared(files.size());
    for (std::size_t i = 0; i < files.size(); ++i)
        prepared[i].Prepare(files[i].fileName, files[i].bytes, files[i].ownName);
    for (PreparedFile& file : prepared)
        file.Commit();
}

struct SafeStream::Parts {
    PreparedFile file;
    int direct = -1; // a pipe or a device, written as it goes
    std::unique_ptr<SafeStreamBuffer> buffer;
    ~Parts() {
        if (direct >= 0)
            ::close(direct);
    }
};

SafeStream::SafeStream(const std::string& fileName) : parts_(std::make_unique<Parts>()) {
    Parts& parts = *parts_;
    struct stat named {};
    if (::stat(fileName.c_str(), &named) == 0 &&
        (S_ISFIFO(named.st_mode) || S_ISCHR(named.st_mode))) {
        // Nothing is left half written under a name: a reader takes the bytes as they come.
        parts.direct = ::open(fileName.c_str(), O_WRONLY | O_CLOEXEC);
        if (parts.direct < 0)
            IoFailed();
    } else {
        parts.file.Start(fileName);
    }
    parts.buffer = std::make_unique<SafeStreamBuffer>([&parts](const char* data, std::size_t size) {
        if (parts.direct >= 0)
            WriteAll(parts.direct, data, size);
        else
            parts.file.Write(data, size);
    });
    stream_.rdbuf(parts.buffer.get());
}

SafeStream::~SafeStream() = default;

void SafeStream::Commit() {
    if (!stream_.flush())
        Raise("SafeFile", "the file could not be written");
    if (parts_->direct >= 0) {
        const int fd = parts_->direct;
        parts_->direct = -1;
        if (::close(fd) != 0)
            IoFailed();
        return;
    }
    parts_->file.Commit();
}
