#pragma once
// An environment its user writes (a Python function, say): given each path's links and cost, it
// answers, and the run's model says how the answer is taken: the P-model rewards any answer but
// 0; the S-model takes it as the ranges' answer would be, in [0, 1], 0 the best.

#include "Environment.h"

#include <functional>

class UserJudge : public Environment {
  public:
    // May raise PathloomError, which ends the run with its message.
    using Function = std::function<double(PathView path, float cost)>;

    UserJudge(const RunGraph& graph, int32_t model, Function function)
        : Environment(graph), model_(model), function_(std::move(function)) {}

    Answer Judge(PathView path) override;

  private:
    int32_t model_;
    Function function_;
};
