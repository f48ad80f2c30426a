#pragma once
// Writing a whole file without ever leaving it half written: a temporary file beside the target,
// flushed and renamed over it, keeping the old file's owner, group and mode; through symbolic
// links to the file they name; only ever onto a regular file. Documents, exported graphs,
// pictures and histories are all saved this way.

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
