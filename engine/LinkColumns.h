#pragma once
// The names of a graph's links as CSV columns (run histories, sweeps, Python's histories).

#include <string>
#include <vector>

class clsGraph;

// Every link's column name in link order: "A->B" by its stored ends, and where two links share
// that name, " #N" with the link number after it.
std::vector<std::string> LinkColumns(const clsGraph& graph);
