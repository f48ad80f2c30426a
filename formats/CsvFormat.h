#pragma once
// CSV edge lists (source, target, weight, probability, kind) with an optional node list.

#include "GraphDescription.h"

#include <string>

// Without a node list every endpoint is a node, in the order the edges first name them. With
// one, its columns are id (or node), label, x and y, and an edge to a node it lacks is left out.
GraphDescription ReadCsv(const std::string& edgesText, const std::string& fileName,
                         const std::string* nodesText, const std::string& nodesFileName);

std::string WriteCsvEdges(const GraphView& graph);
std::string WriteCsvNodes(const GraphView& graph);
