#pragma once
// Helpers for engine tests: graphs built from text, errors as text, files in a temporary folder.

#include "RunSettings.h"
#include "clsGraph.h"

#include <cstdint>
#include <functional>
#include <string>

namespace TestGraphs {

// Appends nodes of the labels in nodes, placed apart, and links written "A-B" (simple), "A>B"
// (unidirectional), "A=B" (bidirectional) or "A5B" (a kind no editor makes), with an optional
// ":weight" (1 when left out) and ":probability"; then recomputes the degrees.
clsGraph& Build(clsGraph& graph, const std::string& nodes, const std::string& links);
clsNode& NodeByLabel(clsGraph& graph, const std::string& label);
int32_t IndexOf(const clsGraph& graph, const std::string& label); // one-based
// The five settings a document stores; the rest as a new engine has them.
RunSettings Settings(int32_t model, int32_t scheme, float reward, float penalty = 0.0f,
                     float factor = 0.0f);

// "Source: Description" of the PathloomError the action raises, or "no error".
std::string ErrorOf(const std::function<void()>& action);

std::string DataPath(const std::string& relative); // a tests/data file
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
std::string Listing(const std::string& folder); // names of the entries, sorted, between blanks

// A folder of its own under the system's temporary folder, removed with everything in it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    const std::string& Path() const { return path_; }
    std::string Listing() const { return TestGraphs::Listing(path_); }

  private:
    std::string path_;
};

} // namespace TestGraphs
