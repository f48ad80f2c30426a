#pragma once
// The P-model: a path is rewarded when it is cheaper than every path before it (the first path
// always is), otherwise penalised. Where paths come again and again, a path as cheap as the best
// is rewarded too, so that the automata can confirm the best path.

#include "Environment.h"

class PModel : public Environment {
  public:
    PModel(const RunGraph& graph, bool tiesRewarded)
        : Environment(graph), tiesRewarded_(tiesRewarded) {}

    Answer Judge(PathView path) override;
    double Bar() const override { return first_ ? Environment::Bar() : best_; }

  private:
    bool tiesRewarded_;
    bool first_ = true;
    float best_ = 0.0f; // the cheapest cost so far
};
