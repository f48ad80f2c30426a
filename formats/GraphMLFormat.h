#pragma once
// GraphML as networkx and common editors (yEd among them) write it.

#include "GraphDescription.h"

#include <string>

GraphDescription ReadGraphML(const std::string& text, const std::string& fileName);

// Node data label, x, y; edge data kind, weight, probability. Raises PathloomError for a label
// that XML 1.0 cannot hold (control characters).
std::string WriteGraphML(const GraphView& graph);
