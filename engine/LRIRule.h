#pragma once
// "LRI", linear reward-inaction: under the S-model the walked links gain a * (1 - beta) of what
// they lack and their siblings lose as much of what they hold; a penalty changes nothing.

#include "UpdateRule.h"

class LRIRule : public UpdateRule {
  public:
    using UpdateRule::UpdateRule;

  protected:
    void Grade(PathView path, double beta) override;
};
