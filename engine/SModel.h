#pragma once
// The S-model: a path's answer is the one the ranges give for the difference between its cost
// and the previous path's (0 before the first path).

#include "Environment.h"

class clsRanges;

class SModel : public Environment {
  public:
    SModel(const RunGraph& graph, const clsRanges& ranges) : Environment(graph), ranges_(ranges) {}

    Answer Judge(PathView path) override;

    float PreviousCost() const { return previous_; }

  private:
    const clsRanges& ranges_;
    float previous_ = 0.0f;
};
