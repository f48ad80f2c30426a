#pragma once
// The "plm" document: signature, then the engine's settings, graph and ranges.

#include <string>

class clsLA;

// Writes a complete document atomically: the old file stays byte for byte as it was unless the
// new one was written in full. Raises "Error saving graph." (source "SaveGraph") on failure.
void SaveGraph(clsLA& la, const std::string& fileName);

// Reads a complete document into the engine, which the caller has cleared. On failure clears the
// engine again and raises "'<fileName>' could not be loaded." (source "LoadGraph").
void LoadGraph(clsLA& la, const std::string& fileName);
