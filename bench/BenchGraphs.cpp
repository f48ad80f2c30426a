#include "BenchGraphs.h"

#include <random>
#include <set>
#include <utility>

namespace BenchGraphs {

namespace {
void Append(clsGraph& graph, int32_t from, int32_t to, int32_t kind, float weight) {
    clsLink& link = graph.AppendLink();
    link.FromNode = &graph.Node(from);
    link.ToNode = &graph.Node(to);
    link.LinkType = kind;
    link.Weight = weight;
    link.SetProbability(0.5f);
}

void AddNodes(clsGraph& graph, int count) {
    for (int i = 0; i < count; ++i) {
        graph.AddNode(i * 50, 0);
    }
}
} // namespace

void Grid(clsGraph& graph, int rows, int columns) {
    AddNodes(graph, rows * columns);
    const auto at = [columns](int r, int c) { return r * columns + c + 1; };
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            if (c + 1 < columns)
                Append(graph, at(r, c), at(r, c + 1), LinkKind::Simple, float(1 + (r + c) % 3));
            if (r + 1 < rows)
                Append(graph, at(r, c), at(r + 1, c), LinkKind::Simple, float(1 + (r * c) % 4));
        }
    }
    graph.InitProbability();
}

void Ladder(clsGraph& graph, int length) {
    Grid(graph, 2, length);
}

void DiagonalLadder(clsGraph& graph, int rungs) {
    Grid(graph, 2, rungs);
    for (int c = 1; c < rungs; ++c)
        Append(graph, c, rungs + c + 1, LinkKind::Simple, 2.0f);
    graph.InitProbability();
}

void Random(clsGraph& graph, int nodes, int links, uint32_t seed) {
    std::mt19937 rng(seed);
    AddNodes(graph, nodes);
    std::set<std::pair<int, int>> joined;
    std::uniform_int_distribution<int> kind(0, 2), weight(1, 9), node(1, nodes);
    const auto add = [&](int a, int b) {
        if (a == b || !joined.insert({std::min(a, b), std::max(a, b)}).second)
            return false;
        Append(graph, a, b, kind(rng), float(weight(rng)));
        return true;
    };
    for (int i = 1; i < nodes && graph.LinkCount() < links; ++i)
        add(i, i + 1);
    while (graph.LinkCount() < links)
        add(node(rng), node(rng));
    graph.InitProbability();
}

void Unreachable(clsGraph& graph, int nodes, int links, uint32_t seed) {
    Random(graph, nodes - 1, links - 1, seed);
    graph.AddNode(0, 0);
    Append(graph, nodes, nodes / 2, LinkKind::Unidirectional, 1.0f);
    graph.InitProbability();
}

void DirectedGrid(clsGraph& graph, int side) {
    AddNodes(graph, side * side);
    const auto at = [side](int r, int c) { return r * side + c + 1; };
    for (int r = 0; r < side; ++r) {
        for (int c = 0; c < side; ++c) {
            if (c + 1 < side)
                Append(graph, at(r, c), at(r, c + 1), LinkKind::Unidirectional,
                       float(1 + (7 * r + 3 * c) % 5));
            if (r + 1 < side)
                Append(graph, at(r, c), at(r + 1, c), LinkKind::Unidirectional,
                       float(1 + (2 * r + 5 * c) % 6));
        }
    }
    graph.InitProbability();
}

void Chain(clsGraph& graph, int nodes) {
    for (int i = 0; i < nodes; ++i)
        graph.AppendNode();
    for (int i = 1; i < nodes; ++i)
        Append(graph, i, i + 1, LinkKind::Simple, 1.0f);
    graph.InitProbability();
}

} // namespace BenchGraphs
