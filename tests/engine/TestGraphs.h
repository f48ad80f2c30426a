#pragma once
// Helpers for engine tests: graphs built by label, errors as text, files in a temporary folder.

#include "clsGraph.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

namespace TestGraphs {

// Appends nodes labelled in order, placed apart so that nothing overlaps.
void AddNodes(clsGraph& graph, std::initializer_list<const char*> labels);
clsNode& NodeByLabel(const clsGraph& graph, const std::string& label);
int32_t IndexOf(const clsGraph& graph, const std::string& label); // one-based
// Adds a link between two labelled nodes through the editing operation and gives it a weight.
clsLink& AddLink(clsGraph& graph, const std::string& from, const std::string& to, int32_t kind,
                 float weight = 1.0f);

// "Source: Description" of the PathloomError the action raises, or "no error".
std::string ErrorOf(const std::function<void()>& action);
// The Description alone.
std::string DescriptionOf(const std::function<void()>& action);

std::string DataPath(const std::string& relative); // a tests/data file
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
    std::string Listing() const; // names of the entries, sorted

  private:
    std::string path_;
};

} // namespace TestGraphs
