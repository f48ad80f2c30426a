#include "Layout.h"

#include "Graphviz.h"
#include "NodeGeometry.h"
#include "PathloomError.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <graphviz/gvc.h>
#include <numeric>
#include <string>

namespace {

constexpr int NodeSize = NodeGeometry::Size; // pixels, and 1 point = 1 pixel
constexpr int Margin = 20;                   // around a drawing
constexpr int Gap = 112; // between kept and placed nodes: room for a link's text
// A link's text (" P: 0.333 W: 12 ", about 90 x 12 pixels) sits halfway between two nodes, and
// an arrowhead 10 pixels long at either end. They have room when the centres are this far apart
// side by side (a pixel spare on either side for rounding), or one above the other.
constexpr double CellWidth = NodeSize + 112;
constexpr double CellHeight = NodeSize + 34;

// Bounds that keep a layout to a few seconds on a small machine (bench/layout.sh). dot: nodes,
// links and the ranks links cross (each a point dot places and orders; 2,300 of them take a
// second, 4,000 twenty). neato: its stress majorisation takes seconds past a few hundred nodes
// on long thin graphs. sfdp: nodes and links; its overlap removal takes minutes on large graphs,
// which are then snapped to the grid instead.
constexpr std::size_t DotBudget = 2500;
constexpr std::size_t NeatoNodes = 300;
constexpr std::size_t SfdpBudget = 20000;
constexpr std::size_t OverlapRemovalNodes = 1000;

// Hierarchical drawing suits graphs whose links mostly point one way and never come back.
bool MostlyDirectedAndAcyclic(std::size_t nodeCount, const std::vector<LayoutLink>& links) {
    std::vector<std::vector<int>> next(nodeCount);
    std::vector<int> incoming(nodeCount, 0);
    std::size_t oneWay = 0;
    for (const LayoutLink& link : links) {
        if (!link.oneWay)
            continue;
        ++oneWay;
        next[static_cast<std::size_t>(link.from)].push_back(link.to);
        ++incoming[static_cast<std::size_t>(link.to)];
    }
    if (oneWay * 2 <= links.size())
        return false;
    std::vector<int> ready;
    for (std::size_t i = 0; i < nodeCount; ++i) {
        if (incoming[i] == 0)
            ready.push_back(static_cast<int>(i));
    }
    std::size_t ordered = 0;
    while (!ready.empty()) {
        const int node = ready.back();
        ready.pop_back();
        ++ordered;
        for (const int to : next[static_cast<std::size_t>(node)]) {
            if (--incoming[static_cast<std::size_t>(to)] == 0)
                ready.push_back(to);
        }
    }
    return ordered == nodeCount;
}

// What dot places: the nodes, the links, and a point on every rank a link crosses between its
// ends, with the ranks of the longest paths (dot's own ranking makes links no longer). Cycles are
// broken where the order gets stuck, as dot reverses a link of each. Counts stop past `limit`.
std::size_t DotPoints(std::size_t nodeCount, const std::vector<LayoutLink>& links,
                      std::size_t limit) {
    std::size_t points = nodeCount + links.size();
    if (points > limit)
        return points;
    std::vector<std::vector<int>> next(nodeCount);
    std::vector<int> incoming(nodeCount, 0);
    for (const LayoutLink& link : links) {
        next[static_cast<std::size_t>(link.from)].push_back(link.to);
        ++incoming[static_cast<std::size_t>(link.to)];
    }
    std::vector<long long> rank(nodeCount, 0);
    std::vector<bool> done(nodeCount, false);
    std::vector<int> ready;
    for (std::size_t i = 0; i < nodeCount; ++i) {
        if (incoming[i] == 0)
            ready.push_back(static_cast<int>(i));
    }
    for (std::size_t ordered = 0, stuck = 0; ordered < nodeCount; ++ordered) {
        if (ready.empty()) {
            while (done[stuck])
                ++stuck;
            ready.push_back(static_cast<int>(stuck));
        }
        const auto node = static_cast<std::size_t>(ready.back());
        ready.pop_back();
        done[node] = true;
        for (const int to : next[node]) {
            const auto target = static_cast<std::size_t>(to);
            if (done[target])
                continue;
            rank[target] = std::max(rank[target], rank[node] + 1);
            if (--incoming[target] == 0)
                ready.push_back(to);
        }
    }
    for (const LayoutLink& link : links) {
        const long long span = std::llabs(rank[static_cast<std::size_t>(link.to)] -
                                          rank[static_cast<std::size_t>(link.from)]);
        points += static_cast<std::size_t>(std::max(0LL, span - 1));
        if (points > limit)
            break;
    }
    return points;
}

struct GraphvizLayout {
    GVC_t* context = nullptr;
    Agraph_t* graph = nullptr;
    bool laidOut = false;
    ~GraphvizLayout() {
        if (laidOut)
            gvFreeLayout(context, graph);
        if (graph)
            agclose(graph);
    }
};

// Overlap removal takes minutes on large graphs. There the nodes keep the engine's arrangement
// in rows of equal count, from the top, each row in the order of x, one grid cell for each node.
std::vector<pointf> SnapToGrid(const std::vector<pointf>& centres) {
    const std::size_t count = centres.size();
    const auto rows = static_cast<std::size_t>(
        std::max(1.0, std::round(std::sqrt(static_cast<double>(count) * CellWidth / CellHeight))));
    const std::size_t perRow = (count + rows - 1) / rows;
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return centres[a].y > centres[b].y; });
    std::vector<pointf> snapped(count);
    for (std::size_t first = 0; first < count; first += perRow) {
        const std::size_t last = std::min(count, first + perRow);
        std::sort(order.begin() + static_cast<std::ptrdiff_t>(first),
                  order.begin() + static_cast<std::ptrdiff_t>(last),
                  [&](std::size_t a, std::size_t b) { return centres[a].x < centres[b].x; });
        for (std::size_t k = first; k < last; ++k) {
            snapped[order[k]] = {static_cast<double>(k - first) * CellWidth,
                                 -static_cast<double>(first / perRow) * CellHeight};
        }
    }
    return snapped;
}

// Centres in points, y pointing up, as Graphviz places the nodes.
std::vector<pointf> RunGraphviz(std::size_t nodeCount, const std::vector<LayoutLink>& links,
                                LayoutEngine engine) {
    GraphvizSession session;
    const bool hierarchical = engine == LayoutEngine::Dot;
    const bool snapped = engine == LayoutEngine::Sfdp && nodeCount > OverlapRemovalNodes;
    GraphvizLayout layout;
    layout.context = session.LayoutContext();
    layout.graph =
        agopen(const_cast<char*>("layout"), hierarchical ? Agdirected : Agundirected, nullptr);
    Agraph_t* g = layout.graph;
    // For the root graph, what agattr sets is the graph's own value and every object's default.
    const auto set = [g](int kind, const char* name, const std::string& value) {
        agattr(g, kind, const_cast<char*>(name), const_cast<char*>(value.c_str()));
    };
    const std::string size = std::to_string(NodeSize / 72.0);
    set(AGNODE, "shape", "box");
    set(AGNODE, "fixedsize", "true");
    set(AGNODE, "width", size);
    set(AGNODE, "height", size);
    set(AGNODE, "label", "");
    // The gaps of CellWidth and CellHeight again: nodes of a rank 112 points apart, ranks 34,
    // and overlap removal keeping boxes 112 points apart side by side or 34 one above the other.
    set(AGRAPH, "splines", "false");
    set(AGRAPH, "nodesep", "1.556");
    set(AGRAPH, "ranksep", "0.473");
    set(AGRAPH, "overlap", snapped ? "true" : "prism");
    set(AGRAPH, "quadtree", "fast"); // sfdp in half the time; the grid sets the final places
    set(AGRAPH, "sep", "+56,17");
    // The same margins between separate parts of a graph; dot places parts itself (and its
    // packing of parts loses memory).
    if (!hierarchical)
        set(AGRAPH, "pack", "56");
    std::vector<Agnode_t*> nodes(nodeCount);
    for (std::size_t i = 0; i < nodeCount; ++i)
        nodes[i] = agnode(g, const_cast<char*>(("n" + std::to_string(i)).c_str()), 1);
    for (const LayoutLink& link : links) {
        agedge(g, nodes[static_cast<std::size_t>(link.from)],
               nodes[static_cast<std::size_t>(link.to)], nullptr, 1);
    }
    const char* name = hierarchical ? "dot" : engine == LayoutEngine::Neato ? "neato" : "sfdp";
    const int failed = gvLayout(layout.context, g, name);
    layout.laidOut = failed == 0;
    if (failed != 0 || session.HadError())
        Raise("Layout", "Graphviz could not lay out the graph: " + session.TakeMessages());
    std::vector<pointf> centres(nodeCount);
    for (std::size_t i = 0; i < nodeCount; ++i)
        centres[i] = ND_coord(nodes[i]);
    return snapped ? SnapToGrid(centres) : centres;
}

// Pathloom's own placement, in time and memory linear in the graph: the nodes in breadth-first
// order, part after part, fill the grid's rows, every other row from the right, so that a node
// and the next in the order are neighbours, and so are most linked nodes.
std::vector<pointf> GridCentres(std::size_t nodeCount, const std::vector<LayoutLink>& links) {
    std::vector<std::size_t> first(nodeCount + 1, 0);
    for (const LayoutLink& link : links) {
        ++first[static_cast<std::size_t>(link.from) + 1];
        ++first[static_cast<std::size_t>(link.to) + 1];
    }
    std::partial_sum(first.begin(), first.end(), first.begin());
    std::vector<int> neighbours(first.back());
    std::vector<std::size_t> filled(first.begin(), first.end() - 1);
    for (const LayoutLink& link : links) {
        neighbours[filled[static_cast<std::size_t>(link.from)]++] = link.to;
        neighbours[filled[static_cast<std::size_t>(link.to)]++] = link.from;
    }
    std::vector<int> order;
    order.reserve(nodeCount);
    std::vector<bool> seen(nodeCount, false);
    for (std::size_t start = 0; start < nodeCount; ++start) {
        if (seen[start])
            continue;
        seen[start] = true;
        order.push_back(static_cast<int>(start));
        for (std::size_t k = order.size() - 1; k < order.size(); ++k) {
            const auto node = static_cast<std::size_t>(order[k]);
            for (std::size_t n = first[node]; n < first[node + 1]; ++n) {
                const auto next = static_cast<std::size_t>(neighbours[n]);
                if (!seen[next]) {
                    seen[next] = true;
                    order.push_back(neighbours[n]);
                }
            }
        }
    }
    const auto rows = static_cast<std::size_t>(std::max(
        1.0, std::round(std::sqrt(static_cast<double>(nodeCount) * CellWidth / CellHeight))));
    const std::size_t perRow = (nodeCount + rows - 1) / rows;
    std::vector<pointf> centres(nodeCount);
    for (std::size_t k = 0; k < nodeCount; ++k) {
        const std::size_t row = k / perRow;
        const std::size_t column = row % 2 == 0 ? k % perRow : perRow - 1 - k % perRow;
        centres[static_cast<std::size_t>(order[k])] = {static_cast<double>(column) * CellWidth,
                                                       -static_cast<double>(row) * CellHeight};
    }
    return centres;
}

} // namespace

LayoutEngine ChooseLayout(std::size_t nodeCount, const std::vector<LayoutLink>& links,
                          LayoutStyle style) {
    const bool hierarchical =
        style == LayoutStyle::Hierarchical ||
        (style == LayoutStyle::Automatic && MostlyDirectedAndAcyclic(nodeCount, links));
    if (hierarchical && DotPoints(nodeCount, links, DotBudget) <= DotBudget)
        return LayoutEngine::Dot;
    if (nodeCount + links.size() > SfdpBudget)
        return LayoutEngine::Grid;
    return nodeCount <= NeatoNodes ? LayoutEngine::Neato : LayoutEngine::Sfdp;
}

std::vector<clsPosition> PlaceNodes(std::size_t nodeCount, const std::vector<LayoutLink>& links,
                                    const std::vector<std::optional<clsPosition>>& kept,
                                    LayoutStyle style) {
    const auto isKept = [&kept](std::size_t i) { return !kept.empty() && kept[i]; };
    // The nodes to place, renumbered among themselves, with the links between them.
    std::vector<int> freeIndex(nodeCount, -1);
    std::vector<std::size_t> freeNodes;
    for (std::size_t i = 0; i < nodeCount; ++i) {
        if (!isKept(i)) {
            freeIndex[i] = static_cast<int>(freeNodes.size());
            freeNodes.push_back(i);
        }
    }
    std::vector<LayoutLink> freeLinks;
    for (const LayoutLink& link : links) {
        const int from = freeIndex[static_cast<std::size_t>(link.from)];
        const int to = freeIndex[static_cast<std::size_t>(link.to)];
        if (from >= 0 && to >= 0)
            freeLinks.push_back({from, to, link.oneWay});
    }
    std::vector<pointf> centres;
    if (!freeNodes.empty()) {
        const LayoutEngine engine = ChooseLayout(freeNodes.size(), freeLinks, style);
        centres = engine == LayoutEngine::Grid ? GridCentres(freeNodes.size(), freeLinks)
                                               : RunGraphviz(freeNodes.size(), freeLinks, engine);
    }

    // Where the placed nodes begin: the margin, or to the right of the kept nodes.
    long long left = Margin;
    long long top = Margin;
    bool anyKept = false;
    for (std::size_t i = 0; i < nodeCount; ++i) {
        if (!isKept(i))
            continue;
        left = std::max(anyKept ? left : LLONG_MIN,
                        kept[i]->x + NodeSize + static_cast<long long>(Gap));
        top = std::min(anyKept ? top : LLONG_MAX, static_cast<long long>(kept[i]->y));
        anyKept = true;
    }
    double minX = HUGE_VAL;
    double maxY = -HUGE_VAL;
    for (const pointf& centre : centres) {
        minX = std::min(minX, centre.x);
        maxY = std::max(maxY, centre.y);
    }
    std::vector<clsPosition> positions(nodeCount);
    for (std::size_t i = 0; i < nodeCount; ++i) {
        if (isKept(i)) {
            positions[i] = *kept[i];
            continue;
        }
        const pointf& centre = centres[static_cast<std::size_t>(freeIndex[i])];
        const long long x = left + std::llround(centre.x - minX);
        const long long y = top + std::llround(maxY - centre.y);
        if (x > INT32_MAX || y > INT32_MAX)
            Raise("Layout", "The laid-out graph is too large for the canvas.");
        positions[i].x = static_cast<int32_t>(x);
        positions[i].y = static_cast<int32_t>(y);
    }
    return positions;
}
