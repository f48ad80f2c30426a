#pragma once
// Graphviz DOT, read with Graphviz's own parser (cgraph).

#include "GraphDescription.h"

#include <string>

GraphDescription ReadDot(const std::string& text, const std::string& fileName);

// A digraph when any link is one-way, else a graph; dir gives the other kinds. Positions are
// "pos" in points with y pointing up, inside the "bb" box.
std::string WriteDot(const GraphView& graph);
