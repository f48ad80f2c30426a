#pragma once
// A graph as a file describes it, before the model's rules apply; and the readers' helpers.

#include <optional>
#include <string>
#include <vector>

// A node's centre in screen pixels, y pointing down.
struct Centre {
    double x = 0;
    double y = 0;
};

// A value as the file writes it, with its line; empty text stands for no value, unless the file
// states it as empty on purpose (a label given as "", which stays empty).
struct FileValue {
    std::string text;
    int line = 0;
    bool stated = false;
    bool Given() const { return stated || !text.empty(); }
};

struct NodeRecord {
    std::string id; // UTF-8, as every text of a description
    FileValue label;
    int labelRank = 0; // which attribute gave the label: "label" beats "name"
    FileValue x, y;    // a centre written as two values
    std::optional<Centre> centre;
    int line = 0;
};

struct EdgeRecord {
    std::string source, target;
    bool directed = false; // the file's direction; an explicit kind wins
    FileValue kind, weight, probability;
    int weightRank = 0;     // "weight" beats "cost" beats "length"
    FileValue distribution; // a "length" that is a distribution's text: the link is stochastic
    int line = 0;
};

struct GraphDescription {
    std::string fileName;
    std::string nodesFileName; // where the nodes are written, when that is another file
    std::vector<NodeRecord> nodes;
    std::vector<EdgeRecord> edges;
    std::vector<std::string> leftOut; // what the reader itself could not take
};

// Keeps the value when the attribute is one a node or an edge takes (label, name, x, y;
// weight, cost, length, probability, kind), letter case ignored; a length that names a
// distribution makes the link stochastic. False for any other name.
bool TakeNodeAttribute(NodeRecord& node, const std::string& name, const FileValue& value);
bool TakeEdgeAttribute(EdgeRecord& edge, const std::string& name, const FileValue& value);

// "'roads.csv' line 12", the place every message names.
std::string FileLine(const std::string& fileName, int line);

// Raises PathloomError for a malformed file: "'roads.csv' line 12: what".
[[noreturn]] void Refuse(const std::string& fileName, int line, const std::string& what);

// The finite number that the text (spaces around allowed, one sign) is; refuses anything else,
// naming it.
double ParseNumber(const std::string& text, const std::string& fileName, int line,
                   const std::string& what);
// The same as the float nearest to it, so that every float reads back as itself (the largest
// included); refuses a number beyond the largest float. Empty text is 0.
float ParseFloat(const FileValue& value, const std::string& fileName, const std::string& what);

// A graph as the writers see it: node ids, UTF-8 labels, centres, and links by node index.
struct ExportNode {
    std::string id;
    std::string label;
    long long x = 0;
    long long y = 0;
};

struct ExportLink {
    int from = 0;
    int to = 0;
    int kind = 0;
    float weight = 0;
    float probability = 0;
    std::string length; // a stochastic link's distribution; empty for a fixed one
};

struct GraphView {
    std::vector<ExportNode> nodes;
    std::vector<ExportLink> links;
    // Some link is stochastic: the writers add the length attribute, which they leave out
    // otherwise so that a fixed graph is written as before.
    bool Stochastic() const {
        for (const ExportLink& link : links) {
            if (!link.length.empty())
                return true;
        }
        return false;
    }
};

// "simple", "unidirectional", "bidirectional".
const char* KindName(int kind);
