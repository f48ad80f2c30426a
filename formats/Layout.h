#pragma once
// Places nodes with Graphviz's layout engines, or on a grid of Pathloom's own for graphs too large
// for them, with room for the link texts between them.

#include "clsPosition.h"

#include <cstddef>
#include <optional>
#include <vector>

struct LayoutLink {
    int from = 0; // node indexes, zero-based
    int to = 0;
    bool oneWay = false;
};

// Hierarchical suits graphs whose links mostly point one way and never come back, force-directed
// the others; automatic picks by that rule.
enum class LayoutStyle { Automatic, Hierarchical, ForceDirected };

// What places the nodes: Graphviz's dot (hierarchical), neato (stress majorisation), sfdp
// (multiscale force-directed), or Pathloom's grid in breadth-first order.
enum class LayoutEngine { Dot, Neato, Sfdp, Grid };

// The engine for a graph of this size and shape, chosen so that a layout takes seconds at most:
// dot takes time with the nodes and links it draws and with every rank a link crosses, and
// minutes past a few thousand of them, so the hierarchical style is kept only below that;
// neato for small graphs, sfdp up to a few tens of thousands of nodes and links, the grid beyond.
LayoutEngine ChooseLayout(std::size_t nodeCount, const std::vector<LayoutLink>& links,
                          LayoutStyle style);

// Top-left corners for all nodes. `kept` is empty or holds an entry for every node: nodes with a
// position there stay there; the others are laid out together and placed to the right of them,
// or, when none is kept, with the smallest coordinates at 20. Raises PathloomError when Graphviz
// fails or the result does not fit the canvas. Graphviz allows one layout at a time in a process:
// another waits for it (see GraphvizSession).
std::vector<clsPosition> PlaceNodes(std::size_t nodeCount, const std::vector<LayoutLink>& links,
                                    const std::vector<std::optional<clsPosition>>& kept = {},
                                    LayoutStyle style = LayoutStyle::Automatic);
