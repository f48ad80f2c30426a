#include "TestGraphs.h"

#include "PathloomError.h"
#include "clsNode.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace TestGraphs {

clsGraph& Build(clsGraph& graph, const std::string& nodes, const std::string& links) {
    std::istringstream labels(nodes), text(links);
    for (std::string label; labels >> label;) {
        graph.AddNode(graph.NodeCount() * 60, 0);
        graph.Node(graph.NodeCount()).SetLabel(label);
    }
    for (std::string link; text >> link;) {
        const std::size_t kind = link.find_first_of("->=0123456789", 1);
        const std::size_t end = link.find(':', kind);
        clsLink& appended = graph.AppendLink();
        appended.FromNode = &NodeByLabel(graph, link.substr(0, kind));
        appended.ToNode = &NodeByLabel(graph, link.substr(kind + 1, end - kind - 1));
        const std::size_t known = std::string("->=").find(link[kind]);
        appended.LinkType =
            known != std::string::npos ? static_cast<int32_t>(known) : link[kind] - '0';
        // Whatever is left out keeps its value.
        float weight = 1.0f, probability = 0.0f;
        char colon = 0;
        std::istringstream(end == std::string::npos ? "" : link.substr(end)) >> colon >> weight >>
            colon >> probability;
        appended.Weight = weight;
        appended.SetProbability(probability);
    }
    graph.InitProbability();
    return graph;
}

int32_t IndexOf(const clsGraph& graph, const std::string& label) {
    for (int32_t i = 1; i <= graph.NodeCount(); ++i) {
        if (graph.Node(i).Label() == label)
            return i;
    }
    throw std::invalid_argument("no node labelled " + label);
}

clsNode& NodeByLabel(clsGraph& graph, const std::string& label) {
    return graph.Node(IndexOf(graph, label));
}

RunSettings Settings(int32_t model, int32_t scheme, float reward, float penalty, float factor) {
    RunSettings settings;
    settings.Model = model;
    settings.ModelType = scheme;
    settings.Reward = reward;
    settings.Penalty = penalty;
    settings.LearningFactor = factor;
    return settings;
}

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const PathloomError& e) {
        return e.Source() + ": " + e.Description();
    }
    return "no error";
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
    if (!(std::ofstream(path, std::ios::binary) << bytes))
        throw std::runtime_error("cannot write " + path);
}

std::string Listing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : " ") + name;
    return text;
}

TempDir::TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "pathloom-engine-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

} // namespace TestGraphs
