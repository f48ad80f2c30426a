#pragma once
// The one reader of files the user names (documents, path files, imported graphs): only a
// regular file is read, and opening never blocks, so a FIFO, a device or a folder is refused at
// once instead of waiting for a writer or filling the memory (/dev/zero).

#include <cstdint>
#include <string>

class RegularFile {
  public:
    // Raises PathloomError (source "RegularFile") whose description is the reason: the system's
    // ("No such file or directory", number FileNotFound then) or "it is not a regular file".
    explicit RegularFile(const std::string& fileName);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    // The size when opened.
    uint64_t Size() const { return size_; }

    // Up to `size` bytes, fewer only at the end of the file; raises as the constructor does.
    std::size_t Read(char* data, std::size_t size);

    // What is left of the file, read once.
    std::string ReadToEnd();
    // The whole file, read once.
    static std::string ReadAll(const std::string& fileName);

  private:
    int fd_ = -1;
    uint64_t size_ = 0;
};
