#pragma once
// What a graph that comes from no document starts with where a document would store its own (a
// graph built in Python, or imported from GraphML, DOT or CSV): learning settings under which a
// run learns, a weight, and probabilities shared out evenly.

#include <cstdint>
#include <vector>

class clsGraph;
struct RunSettings;

namespace GraphDefaults {

// A link's weight when none is given.
constexpr float Weight = 1.0f;

// The P-model under LRI with reward 0.1 (a penalty of 0.01 and a learning factor of 0.1 for a
// run that chooses LR(E)P or the S-model); the other settings stay.
void SetLearning(RunSettings& settings);

// Gives each of these simple or bidirectional links (one-based positions) the share its start
// node gives a unidirectional link, 1 / out-degree, as its probability and the one every run
// starts from.
void ShareOut(clsGraph& graph, const std::vector<int32_t>& links);

} // namespace GraphDefaults
