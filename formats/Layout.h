#pragma once
// Places nodes with Graphviz's layout engines, with room for the link texts between them.

#include "clsPosition.h"

#include <cstddef>
#include <optional>
#include <vector>

struct LayoutLink {
    int from = 0; // node indexes, zero-based
    int to = 0;
    bool oneWay = false;
};

// Hierarchical (Graphviz's dot) suits graphs whose links mostly point one way and never come back,
// force-directed (neato, sfdp for large graphs) the others; automatic picks by that rule. Above
// 2,000 nodes the layout is always force-directed: dot would take too long.
enum class LayoutStyle { Automatic, Hierarchical, ForceDirected };

// Top-left corners for all nodes. Nodes with a position in `kept` stay there; the others are
// laid out together and placed to the right of them, or, when none is kept, with the smallest
// coordinates at 20. Raises PathloomError when Graphviz fails.
std::vector<clsPosition> PlaceNodes(std::size_t nodeCount, const std::vector<LayoutLink>& links,
                                    const std::vector<std::optional<clsPosition>>& kept,
                                    LayoutStyle style = LayoutStyle::Automatic);
