#pragma once
// The "plm" document: signature, then the engine's settings, graph and ranges.

#include <string>

class clsLA;

// Writes a complete document atomically: the old file stays byte for byte as it was unless the
// new one was written in full. Raises "Error saving graph." (source "SaveGraph") on failure.
void SaveGraph(clsLA& la, const std::string& fileName);

// The document's bytes, as a save writes them.
std::string DocumentBytes(clsLA& la);

// Reads a complete document into the engine, which the caller has cleared. On failure clears the
// engine again and raises "'<fileName>' could not be loaded." (source "LoadGraph").
void LoadGraph(clsLA& la, const std::string& fileName);

// The same from the bytes of a document file read once, so that many runs each get their own
// copy of it: ReadFileBytes raises the load's message for a file that cannot be read.
std::string ReadFileBytes(const std::string& fileName);
void LoadGraphFromBytes(clsLA& la, const std::string& bytes, const std::string& fileName);
