#pragma once
// "LRP", linear reward-penalty, and "LR(E)P" with a smaller penalty: under the S-model the walked
// links gain lambda * (1 - beta) of what they lack and lose penalty * beta of what they hold;
// their siblings lose a * (1 - beta) of what they hold and move penalty * beta towards an equal
// share, 1 / (r - 1). LRP's penalty is its reward, LR(E)P's its own.

#include "UpdateRule.h"

class LRPRule : public UpdateRule {
  public:
    LRPRule(const RunSettings& settings, RunGraph& graph, double penalty)
        : UpdateRule(settings, graph), penalty_(penalty), shares_(graph, 1.0) {}

  protected:
    void Grade(PathView path, double beta) override;

  private:
    double penalty_;
    Shares shares_; // 1 / (r - 1)
};
