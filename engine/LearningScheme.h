#pragma once
// The learning step: judges a path by its cost (P-model or S-model) and updates the
// probabilities of its links and their siblings by "LRP", "LR(E)P" or "LRI".

#include "RunSettings.h"

#include <cstdint>
#include <vector>

class clsPathStack;
class clsRanges;
class WalkIndex;

class LearningScheme {
  public:
    // What the environment said of a path.
    struct Answer {
        float cost = 0.0f;
        bool favourable = false; // P-model: rewarded; S-model: an answer below 1
        double beta = 0.0;       // S-model: the answer from the ranges; P-model: 0 or 1
    };

    // Reads its settings (Model, ModelType, Reward, Penalty, LearningFactor) once; the graph
    // behind the index and the ranges must outlive it.
    LearningScheme(const RunSettings& settings, const clsRanges& ranges, const WalkIndex& index);

    // Judges the path and updates each walked link in path order, then its siblings (the links
    // from the same node) in link order, each reading the values current at that moment.
    // Raises "Overflow" or "Division by zero" when a value leaves the float range.
    Answer LearnFromPath(const clsPathStack& path);

    // The positions (0-based) of the links the last step wrote, walked links and siblings, in
    // the order written; repeats where a link was written twice.
    const std::vector<int32_t>& ChangedLinks() const { return changed_; }

    // P-model: the cheapest cost so far; S-model: the previous path's cost.
    float ReferenceCost() const { return referenceCost_; }
    bool FirstPath() const { return firstPath_; }

  private:
    template <typename WalkedUpdate, typename SiblingUpdate>
    void UpdatePath(const clsPathStack& path, WalkedUpdate walked, SiblingUpdate sibling);

    RunSettings settings_;
    const clsRanges& ranges_;
    const WalkIndex& index_;
    float referenceCost_ = 0.0f;
    bool firstPath_ = true;
    std::vector<int32_t> changed_;
};
