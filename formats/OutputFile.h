#pragma once
// A file written whole or not at all: a temporary file beside the target, renamed over it.

#include <string>

class OutputFile {
  public:
    // Creates the temporary file; raises PathloomError naming the target when it cannot.
    explicit OutputFile(std::string fileName);
    // Removes the temporary file unless it was committed.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void Write(const std::string& text);
    // Flushes the file to disk and renames it over the target.
    void Commit();

  private:
    [[noreturn]] void Fail() const;

    std::string fileName_;
    std::string temporary_;
    int fd_ = -1;
};
