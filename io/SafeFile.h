#pragma once
// Writing a whole file without ever leaving it half written: a temporary file beside the target,
// flushed and renamed over it, keeping the old file's owner, group and mode; through symbolic
// links to the file they name; only ever onto a regular file. Documents, exported graphs,
// pictures and histories are all saved this way.

#include <memory>
#include <ostream>
#include <string>
#include <vector>

// Raises PathloomError (source "SafeFile", the system's reason as its description) on failure,
// with the target as it was.
void WriteFileSafely(const std::string& fileName, const std::string& bytes);

// One file of a save of several. A name the program made up itself (the node list beside a CSV
// export) is never reached through a symbolic link nor written through other hard links:
// whatever stands under it, a new regular file takes its place in that very folder.
struct FileToSave {
    std::string fileName;
    std::string bytes;
    bool ownName = false;
};

// Files that belong together: each is written in full and flushed before the first one is
// replaced, so that when any of them cannot be written, all stay as they were.
void WriteFilesSafely(const std::vector<FileToSave>& files);

// A file written as it goes (a run's history, a sweep's rows) by the same rules: the bytes go to
// a temporary file beside the target, which takes the target's name only at Commit, so that an
// interrupted run never leaves a half file under that name and an older file stays until then.
// A pipe or a device (/dev/stdout, a shell's process substitution) is written straight away.
class SafeStream {
  public:
    // Raises PathloomError as WriteFileSafely does, with the target as it was.
    explicit SafeStream(const std::string& fileName);
    // Without Commit, the target stays as it was and the temporary file goes.
    ~SafeStream();
    SafeStream(const SafeStream&) = delete;
    SafeStream& operator=(const SafeStream&) = delete;

    // Fails (badbit) when a write fails; nothing is written under the target's name then.
    std::ostream& Stream() { return stream_; }

    // Everything written takes the target's place; raises PathloomError when it cannot.
    void Commit();

  private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
    std::ostream stream_{nullptr};
};
