#pragma once
// Graphs for the benchmarks, each the same on every run: grids, ladders, random graphs from a
// fixed seed, and long chains. Built without the editing checks, whose duplicate scan would
// dominate the larger ones.

#include "clsGraph.h"

#include <cstdint>

namespace BenchGraphs {

// rows x columns nodes, simple links to the right and downwards; node 1 is the top-left corner.
void Grid(clsGraph& graph, int rows, int columns);

// Two rails of the given length joined by rungs: a 2 x length grid.
void Ladder(clsGraph& graph, int length);

// A ladder whose squares also have a diagonal each (rung r's top to rung r+1's bottom).
void DiagonalLadder(clsGraph& graph, int rungs);

// Nodes joined by a random spanning path in node order plus further random links, of mixed kinds
// and weights, never two between the same pair. Simple and bidirectional links have probability
// 0.5.
void Random(clsGraph& graph, int nodes, int links, uint32_t seed);

// A random graph of nodes - 1 nodes as above, and a last node that only a unidirectional link
// leaves: no path leads to it.
void Unreachable(clsGraph& graph, int nodes, int links, uint32_t seed);

// side x side nodes, unidirectional links to the right and downwards with uneven weights; node 1
// is the top-left corner, the last node the bottom-right one.
void DirectedGrid(clsGraph& graph, int side);

// A chain of simple links, node 1 at one end.
void Chain(clsGraph& graph, int nodes);

} // namespace BenchGraphs
