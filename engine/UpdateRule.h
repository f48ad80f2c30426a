#pragma once
// An update rule: applies the environment's answer to the probabilities of a path's links and
// their siblings (the other links stored from the same node). This base does with a reward or a
// penalty (the P-model) what the linear schemes do, the linear update with the settings' reward
// a and penalty b; a graded answer (the S-model) is each scheme's own, and this base leaves it
// alone (a scheme the run does not know). Over a variable action set, each node's update is
// applied to its candidates only (the links to nodes the sample had not visited when it left the
// node), their probabilities scaled to sum 1 and scaled back after. A new rule is a class derived
// from this one and a row of the table in RunParts.

#include "Environment.h"
#include "RunGraph.h"
#include "RunSettings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

class UpdateRule {
  public:
    // The settings the rules read, by their typed names (SettingRegistry): the linear schemes,
    // and the pursuit schemes (PursuitRule), whose discretized one takes no step a.
    static constexpr const char* Reads = "reward penalty factor action-set";
    static constexpr const char* PursuitReads = "reward action-set";
    static constexpr const char* DiscretizedReads = "action-set resolution";

    // Reads Reward, Penalty, LearningFactor, ActionSet and the source node once.
    UpdateRule(const RunSettings& settings, RunGraph& graph);
    virtual ~UpdateRule() = default;
    UpdateRule(const UpdateRule&) = delete;
    UpdateRule& operator=(const UpdateRule&) = delete;

    using Answer = Environment::Answer;

    // The linear schemes update each walked link in path order, then its siblings in link order,
    // each reading the values current at that moment. Raises "Overflow" or "Division by zero" when
    // a value leaves the float range; what was written before stays.
    void Apply(PathView path, const Answer& answer);

    // The positions (0-based) the last Apply wrote, walked links and siblings, in the order
    // written; repeats where a link was written twice. Worked out when asked: the path must be
    // the one applied.
    virtual void Written(PathView path, std::vector<int32_t>& written) const;

  protected:
    // The update for a reward or a penalty.
    virtual void Reinforce(PathView path, bool rewarded);
    // The update for a graded answer beta.
    virtual void Grade(PathView, double) {}

    // The actions a node's update is over: all its links (count 0), or a variable action set
    // of `count` candidates.
    struct Actions {
        int32_t node;
        int32_t count;
    };

    // numerator / (r - 1) for each node, r its out-degree, worked out once, or the number of
    // candidates of a variable action set; raises, when a sibling needs it, what the division
    // would have raised.
    class Shares {
      public:
        Shares(const RunGraph& graph, double numerator);
        double Of(const Actions& actions) const {
            if (actions.count > 0)
                return OfCandidates(actions.count);
            const auto at = static_cast<std::size_t>(actions.node);
            if (faults_[at] != 0)
                Raise(faults_[at]);
            return values_[at];
        }
        bool Fault(int32_t node) const { return faults_[static_cast<std::size_t>(node)] != 0; }

      private:
        [[noreturn]] static void Raise(uint8_t fault);
        double OfCandidates(int32_t count) const;
        double numerator_;
        std::vector<double> values_;
        std::vector<uint8_t> faults_;
    };

    // The loop every rule shares: walked(p) gives a walked link's new value, sibling(actions) a
    // function that gives a sibling's new value.
    template <typename Walked, typename Sibling>
    void Update(PathView path, Walked walked, Sibling sibling);

    // Walks the path from the source as the sample did, calling visit(node, link, candidates)
    // at each step with the node's candidates, in link order.
    template <typename Visit> void WalkCandidates(PathView path, Visit visit) const;

    RunGraph& Graph() const { return graph_; }
    bool Variable() const { return variable_; }

    const double a_, b_, lambda_;
    int32_t written_ = 0; // by the last Apply, counted as Written lists them

  private:
    bool PenaltyIsIdle() const;
    template <typename Walked, typename Sibling>
    void UpdateVariable(PathView path, Walked walked, Sibling sibling);

    RunGraph& graph_;
    Shares penaltyShares_; // b / (r - 1)
    // A penalty with b = 0 (LRI) writes back every value as it was: see PenaltyIsIdle.
    bool idlePenalty_;

    const bool variable_;
    const int32_t source_;
    mutable std::vector<uint32_t> visited_; // by WalkCandidates: the mark of its last walk
    mutable uint32_t mark_ = 0;
    mutable std::vector<int32_t> candidates_;
};

namespace LearningStore {
[[noreturn]] void Overflow();
[[noreturn]] void DivisionByZero();
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
    if (variable_) {
        UpdateVariable(path, walked, sibling);
        return;
    }
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
            const auto update = sibling(Actions{from, 0});
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

template <typename Visit> void UpdateRule::WalkCandidates(PathView path, Visit visit) const {
    const WalkIndex& index = graph_.Index();
    const int32_t* const starts = index.MoveStarts();
    const int32_t* const nodes = index.MoveNodes();
    const int32_t* const links = index.MoveLinks();
    if (++mark_ == 0) {
        std::fill(visited_.begin(), visited_.end(), 0);
        mark_ = 1;
    }
    int32_t at = source_;
    visited_[static_cast<std::size_t>(at)] = mark_;
    for (const int32_t link : path) {
        candidates_.clear();
        int32_t next = -1;
        for (int32_t step = starts[at]; step < starts[at + 1]; ++step) {
            if (visited_[static_cast<std::size_t>(nodes[step])] == mark_)
                continue;
            candidates_.push_back(links[step]);
            if (links[step] == link)
                next = nodes[step];
        }
        visit(at, link, static_cast<const std::vector<int32_t>&>(candidates_));
        if (next < 0)
            return; // not a sample's path: nothing to follow
        at = next;
        visited_[static_cast<std::size_t>(at)] = mark_;
    }
}

template <typename Walked, typename Sibling>
void UpdateRule::UpdateVariable(PathView path, Walked walked, Sibling sibling) {
    using LearningStore::Store;
    float* const p = graph_.Probabilities();
    int32_t written = 0;
    try {
        WalkCandidates(path, [&](int32_t node, int32_t link, const std::vector<int32_t>& set) {
            double sum = 0.0;
            for (const int32_t candidate : set)
                sum += static_cast<double>(p[candidate]);
            if (sum == 0.0)
                LearningStore::DivisionByZero();
            p[link] = Store(walked(static_cast<double>(p[link]) / sum) * sum);
            ++written;
            if (set.size() < 2)
                return;
            const auto update = sibling(Actions{node, static_cast<int32_t>(set.size())});
            for (const int32_t other : set) {
                if (other == link)
                    continue;
                p[other] = Store(update(static_cast<double>(p[other]) / sum) * sum);
                ++written;
            }
        });
    } catch (...) {
        written_ = written;
        throw;
    }
    written_ = written;
}
