#pragma once
// "Pursuit" and "Discretized Pursuit", reward-inaction schemes with estimates: every link counts
// the learned paths that walked it (Z) and those of them that were rewarded (W), and a reward
// moves each step's probabilities towards the link with the best estimate W / Z, which need not
// be the link walked. A penalty changes no probability; a graded answer (the S-model) is not
// theirs, and changes and counts nothing. The estimates belong to the rule, and so start at zero
// with every run.

#include "UpdateRule.h"

class PursuitRule : public UpdateRule {
  public:
    enum class Variant {
        Continuous,  // every probability keeps 1 - a of its share; the pursued link gains a
        Discretized, // every other share loses 1 / (|G| N), down to 0; the pursued link the rest
    };
    // The step a is the run's reward; N the run's resolution, which only the discretized variant
    // reads.
    PursuitRule(const RunSettings& settings, RunGraph& graph, Variant variant);

    // In the order written: each step's group in link order, the discretized variant's pursued
    // link after the others.
    void Written(PathView path, std::vector<int32_t>& written) const override;

  protected:
    void Reinforce(PathView path, bool rewarded) override;

  private:
    // Calls visit(group, size) for each step of the path, in path order, with the links the step
    // updates: the walked link and its siblings, or the candidates the sample had there
    // (Variable()); each in link order.
    template <typename Visit> void ForEachGroup(PathView path, Visit visit) const;
    struct Group {
        double sum;      // K, added in the group's order
        int32_t pursued; // the best estimate's link, the first of equal ones; -1 for none
    };
    // K and the pursued link, in one pass over the group.
    Group Survey(const int32_t* group, int32_t size) const;
    // Moves the group's probabilities towards its pursued link, counting the links written.
    void Pursue(const int32_t* group, int32_t size, int32_t& written);

    const Variant variant_;
    const double step_;
    const double resolution_;
    // A link's Z and W, whole numbers kept exactly in doubles up to 2^53, and W / Z (NoChoice
    // while Z is 0), together since a walked link updates all three.
    struct Estimate {
        double choices, rewards, ratio;
    };
    std::vector<Estimate> estimates_;
};
