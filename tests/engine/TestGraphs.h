#pragma once
// Small helpers for engine tests: graphs built by label, files in a private temporary folder.

#include "clsGraph.h"

#include <cstdint>
#include <initializer_list>
#include <string>

namespace TestGraphs {

// Appends nodes labelled in order, placed apart so that nothing overlaps.
void AddNodes(clsGraph& graph, std::initializer_list<const char*> labels);

clsNode& NodeByLabel(const clsGraph& graph, const std::string& label);

// Adds a link between two labelled nodes through the editing operation and gives it a weight.
clsLink& AddLink(clsGraph& graph, const std::string& from, const std::string& to, int32_t kind,
                 float weight = 1.0f);

// The path of a tests/data file.
std::string DataPath(const std::string& relative);

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

// A folder of its own under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    const std::string& Path() const { return path_; }
    // Names of the entries in the folder, sorted.
    std::string Listing() const;

private:
    std::string path_;
};

} // namespace TestGraphs
