#pragma once
// The P-model judging by the mean: a path is rewarded when its cost is at most the mean of
// the costs of every path learned so far in the run, this one included, otherwise penalised; one
// lucky draw of a stochastic length cannot set a bar no later path reaches.

#include "Environment.h"

class MeanPModel : public Environment {
  public:
    using Environment::Environment;

    Answer Judge(PathView path) override;
    double Bar() const override {
        return count_ ? sum_ / static_cast<double>(count_) : Environment::Bar();
    }
    bool RewardsDearer() const override { return true; }

  private:
    double sum_ = 0.0; // of the costs so far
    int64_t count_ = 0;
};
