#pragma once
// A link between two nodes of the same graph, with its kind, weight, probability and run flag.

#include <cstdint>

class clsNode;

namespace LinkKind {
constexpr int32_t Simple = 0;
constexpr int32_t Unidirectional = 1;
constexpr int32_t Bidirectional = 2;
} // namespace LinkKind

class clsLink {
public:
    // Not owned: both point into the graph's node collection. Null only in a broken document.
    clsNode* FromNode = nullptr;
    clsNode* ToNode = nullptr;
    int32_t LinkType = LinkKind::Simple;
    float Probability = 0.0f;
    float Weight = 0.0f;
    bool Flag = false; // on the path being built; never saved
};
