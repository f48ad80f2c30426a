#include "TestGraphs.h"

#include "PathloomError.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace TestGraphs {

void AddNodes(clsGraph& graph, std::initializer_list<const char*> labels) {
    for (const char* label : labels) {
        graph.AddNode(graph.NodeCount() * 60, 0);
        graph.Node(graph.NodeCount()).SetLabel(label);
    }
}

int32_t IndexOf(const clsGraph& graph, const std::string& label) {
    for (int32_t i = 1; i <= graph.NodeCount(); ++i) {
        if (graph.Node(i).Label() == label)
            return i;
    }
    throw std::invalid_argument("no node labelled " + label);
}

clsNode& NodeByLabel(const clsGraph& graph, const std::string& label) {
    return graph.Node(IndexOf(graph, label));
}

clsLink& AddLink(clsGraph& graph, const std::string& from, const std::string& to, int32_t kind,
                 float weight) {
    graph.AddLink(IndexOf(graph, from), IndexOf(graph, to), kind);
    clsLink& link = graph.Link(graph.LinkCount());
    link.Weight = weight;
    return link;
}

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const PathloomError& e) {
        return e.Source() + ": " + e.Description();
    }
    return "no error";
}

std::string DescriptionOf(const std::function<void()>& action) {
    const std::string error = ErrorOf(action);
    return error == "no error" ? error : error.substr(error.find(": ") + 2);
}

std::string DataPath(const std::string& relative) {
    return std::string(PATHLOOM_TEST_DATA) + "/" + relative;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

TempDir::TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "pathloom-engine-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!::mkdtemp(buffer.data()))
        throw std::runtime_error("cannot create a temporary folder");
    path_ = buffer.data();
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Listing() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : " ") + name;
    return text;
}

} // namespace TestGraphs
