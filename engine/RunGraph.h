#pragma once
// The graph as a run sees it: its links per node, and the run's own copy of the links' weights
// and probabilities and the nodes' out-degrees in flat arrays, so that a run reads and writes
// plain memory; the probabilities go back to the graph's links when someone looks.

#include "WalkIndex.h"

#include <cstdint>
#include <memory>
#include <vector>

class clsGraph;
class LinkLength;

class RunGraph {
  public:
    explicit RunGraph(clsGraph& graph);

    const WalkIndex& Index() const { return index_; }
    int32_t LinkCount() const { return index_.LinkCount(); }
    // By 0-based link position.
    float* Probabilities() { return probabilities_.data(); }
    const float* Probabilities() const { return probabilities_.data(); }
    const float* Weights() const { return weights_.data(); }
    // A link's distribution, or null for a link whose length is its weight.
    const LinkLength* Length(int32_t link) const {
        return lengths_.empty() ? nullptr : lengths_[static_cast<std::size_t>(link)].get();
    }
    // Some link's length is drawn.
    bool Stochastic() const { return !lengths_.empty(); }
    // By 0-based node position, as the graph counted it when the run started.
    int16_t OutDegree(int32_t node) const { return outDegrees_[static_cast<std::size_t>(node)]; }

    // Writes every probability into the graph's link.
    void WriteProbabilities() const;

  private:
    WalkIndex index_;
    std::vector<float> probabilities_, weights_;
    std::vector<std::shared_ptr<const LinkLength>> lengths_; // empty when no link has one
    std::vector<int16_t> outDegrees_;
};
