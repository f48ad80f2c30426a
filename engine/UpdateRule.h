#pragma once
// An update rule: applies the environment's answer to the probabilities of a path's links and
// their siblings (the other links stored from the same node). This base does with a reward or a
// penalty (the P-model) what every scheme here does, the linear update with the settings' reward
// a and penalty b; a graded answer (the S-model) is each scheme's own, and this base leaves it
// alone (a scheme the run does not know). A new rule is a class derived from this one and a row
// of the table in RunParts.

#include "Environment.h"
#include "RunGraph.h"
#include "RunSettings.h"

#include <cmath>
#include <cstdint>
#include <vector>

class UpdateRule {
  public:
    // Reads Reward, Penalty and LearningFactor once.
    UpdateRule(const RunSettings& settings, RunGraph& graph);
    virtual ~UpdateRule() = default;
    UpdateRule(const UpdateRule&) = delete;
    UpdateRule& operator=(const UpdateRule&) = delete;

    using Answer = Environment::Answer;

    // Updates each walked link in path order, then its siblings in link order, each reading the
    // values current at that moment. Raises "Overflow" or "Division by zero" when a value leaves
    // the float range; what was written before stays.
    void Apply(PathView path, const Answer& answer);

    // The positions (0-based) the last Apply wrote, walked links and siblings, in the order
    // written; repeats where a link was written twice. Worked out when asked: the path must be
    // the one applied.
    void Written(PathView path, std::vector<int32_t>& written) const;

  protected:
    // The update for a reward or a penalty.
    virtual void Reinforce(PathView path, bool rewarded);
    // The update for a graded answer beta.
    virtual void Grade(PathView, double) {}

    // numerator / (r - 1) for each node, r its out-degree, worked out once; raises, when a
    // sibling needs it, what the division would have raised.
    class Shares {
      public:
        Shares(const RunGraph& graph, double numerator);
        double Of(int32_t node) const {
            const auto at = static_cast<std::size_t>(node);
            if (faults_[at] != 0)
                Raise(faults_[at]);
            return values_[at];
        }
        bool Fault(int32_t node) const { return faults_[static_cast<std::size_t>(node)] != 0; }

      private:
        [[noreturn]] static void Raise(uint8_t fault);
        std::vector<double> values_;
        std::vector<uint8_t> faults_;
    };

    // The loop every rule shares: walked(p) gives a walked link's new value, sibling(node) a
    // function that gives a sibling's new value.
    template <typename Walked, typename Sibling>
    void Update(PathView path, Walked walked, Sibling sibling);

    const double a_, b_, lambda_;

  private:
    bool PenaltyIsIdle() const;

    RunGraph& graph_;
    Shares penaltyShares_; // b / (r - 1)
    // A penalty with b = 0 (LRI) writes back every value as it was: see PenaltyIsIdle.
    bool idlePenalty_;
    int32_t written_ = 0; // by the last Apply, counted as Written lists them
};

namespace LearningStore {
[[noreturn]] void Overflow();
// The double rounded to the float the link stores; "Overflow" beyond the float range.
inline float Store(double value) {
    const auto stored = static_cast<float>(value);
    if (!std::isfinite(stored))
        Overflow();
    return stored;
}
} // namespace LearningStore

template <typename Walked, typename Sibling>
void UpdateRule::Update(PathView path, Walked walked, Sibling sibling) {
    using LearningStore::Store;
    float* const p = graph_.Probabilities();
    const int32_t* const froms = graph_.Index().Froms();
    const int32_t* const starts = graph_.Index().FromStarts();
    const int32_t* const links = graph_.Index().FromLinks();
    int32_t written = 0;
    try {
        for (const int32_t link : path) {
            p[link] = Store(walked(static_cast<double>(p[link])));
            const int32_t from = froms[link];
            if (from < 0)
                continue;
            ++written;
            const int32_t begin = starts[from], end = starts[from + 1];
            if (end - begin < 2)
                continue;
            const auto update = sibling(from);
            for (int32_t j = begin; j < end; ++j) {
                const int32_t other = links[j];
                if (other == link)
                    continue;
                p[other] = Store(update(static_cast<double>(p[other])));
                ++written;
            }
        }
    } catch (...) {
        written_ = written;
        throw;
    }
    written_ = written;
}
