#pragma once
// The two paths a run on a stochastic graph is measured by: the path the automata prefer now, and
// the shortest path in expectation (over the weights, which hold the distributions' means).

#include <cstdint>
#include <vector>

class RunGraph;

struct MeasuredPath {
    bool found = false;
    // The expected shortest path is not defined: a cycle of negative expected cost lies on the
    // way from the source to the destination, so that walks along it grow ever cheaper.
    bool undefined = false;
    std::vector<int32_t> links; // 0-based positions, in walking order
    double probability = 0.0;   // the preferred path's, the product of its links' in path order
    float cost = 0.0f;          // the expected shortest path's
};

namespace StochasticPaths {

// From the source, at each node its most probable link to a node not yet on the path (the first
// in link order on ties), until the destination; none if it comes to a node with no such link.
MeasuredPath Preferred(const RunGraph& graph, int32_t source, int32_t destination);

// Distances summed as a path's cost is (each partial sum rounded to a float), links relaxed in
// link order, only a strictly smaller distance replacing one. Where no weight is negative,
// Dijkstra: nodes settled in order of distance then position. Otherwise Bellman-Ford over the
// walks that neither come back to the source nor leave the destination, first in first out;
// undefined where such walks hold a cycle of negative cost. None when the destination cannot be
// reached.
MeasuredPath ExpectedShortest(const RunGraph& graph, int32_t source, int32_t destination);

// The expected cost of a path: its weights summed as ExpectedShortest sums them.
float ExpectedCost(const RunGraph& graph, const std::vector<int32_t>& links);

} // namespace StochasticPaths
