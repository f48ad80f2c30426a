#pragma once
// Writing a whole file without ever leaving it half written: a temporary file beside the target,
// flushed and renamed over it, keeping the old file's owner, group and mode; through symbolic
// links to the file they name; only ever onto a regular file. Documents, exported graphs,
// pictures and histories are all saved this way.

#include <string>

// Raises PathloomError (source "SafeFile", the system's reason as its description) on failure,
// with the target as it was.
void WriteFileSafely(const std::string& fileName, const std::string& bytes);
