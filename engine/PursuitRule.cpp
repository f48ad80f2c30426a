#include "PursuitRule.h"

#include <algorithm>

namespace {
constexpr double NoChoice = -1.0; // Z is 0: below every estimate, so never pursued
} // namespace

PursuitRule::PursuitRule(const RunSettings& settings, RunGraph& graph, Variant variant)
    : UpdateRule(settings, graph), variant_(variant), step_(settings.Reward),
      resolution_(static_cast<double>(settings.Resolution)),
      estimates_(static_cast<std::size_t>(graph.LinkCount()), Estimate{0.0, 0.0, NoChoice}) {}

template <typename Visit> void PursuitRule::ForEachGroup(PathView path, Visit visit) const {
    if (Variable()) {
        WalkCandidates(path, [&](int32_t, int32_t, const std::vector<int32_t>& candidates) {
            visit(candidates.data(), static_cast<int32_t>(candidates.size()));
        });
        return;
    }
    const WalkIndex& index = Graph().Index();
    const int32_t* const froms = index.Froms();
    const int32_t* const starts = index.FromStarts();
    const int32_t* const links = index.FromLinks();
    for (const int32_t link : path) {
        const int32_t from = froms[link];
        if (from >= 0) // a link from no node of the graph has no siblings to share with
            visit(links + starts[from], starts[from + 1] - starts[from]);
    }
}

// Inline: it is half of the learning step's inner loop.
inline PursuitRule::Group PursuitRule::Survey(const int32_t* group, int32_t size) const {
    const float* const p = Graph().Probabilities();
    const Estimate* const estimates = estimates_.data();
    Group survey{0.0, -1};
    double best = NoChoice;
    for (int32_t i = 0; i < size; ++i) {
        const int32_t link = group[i];
        survey.sum += static_cast<double>(p[link]);
        if (estimates[link].ratio > best) {
            best = estimates[link].ratio;
            survey.pursued = link;
        }
    }
    return survey;
}

void PursuitRule::Reinforce(PathView path, bool rewarded) {
    // The estimates take in the whole path before any probability moves: the path's own choices
    // and reward count when its steps choose the link to pursue, so a run's first reward pursues
    // the links walked.
    Estimate* const estimates = estimates_.data();
    const double reward = rewarded ? 1.0 : 0.0;
    for (const int32_t link : path) {
        Estimate& estimate = estimates[link];
        estimate.choices += 1.0;
        estimate.rewards += reward;
        estimate.ratio = estimate.rewards / estimate.choices;
    }
    if (!rewarded)
        return;
    int32_t written = 0;
    try {
        ForEachGroup(path,
                     [&](const int32_t* group, int32_t size) { Pursue(group, size, written); });
    } catch (...) {
        written_ = written;
        throw;
    }
    written_ = written;
}

void PursuitRule::Pursue(const int32_t* group, int32_t size, int32_t& written) {
    using LearningStore::Store;
    float* const p = Graph().Probabilities();
    const auto [sum, pursued] = Survey(group, size);
    if (sum == 0.0)
        LearningStore::DivisionByZero();
    if (pursued < 0)
        return; // only off a sample's path: a variable step whose walked link was no candidate
    if (variant_ == Variant::Continuous) {
        const double keep = 1.0 - step_;
        for (int32_t i = 0; i < size; ++i) {
            const int32_t link = group[i];
            double share = keep * (static_cast<double>(p[link]) / sum);
            if (link == pursued)
                share += step_;
            p[link] = Store(share * sum);
            ++written;
        }
        return;
    }
    const double decrement = 1.0 / (static_cast<double>(size) * resolution_);
    double others = 0.0;
    for (int32_t i = 0; i < size; ++i) {
        const int32_t link = group[i];
        if (link == pursued)
            continue;
        const double share = std::max(static_cast<double>(p[link]) / sum - decrement, 0.0);
        others += share;
        p[link] = Store(share * sum);
        ++written;
    }
    p[pursued] = Store((1.0 - others) * sum);
    ++written;
}

void PursuitRule::Written(PathView path, std::vector<int32_t>& written) const {
    written.clear();
    const bool pursuedLast = variant_ == Variant::Discretized;
    const auto add = [&](int32_t link) {
        if (static_cast<int32_t>(written.size()) < written_)
            written.push_back(link);
    };
    // A group with nothing to pursue ends the walk over a sample's candidates, and wrote nothing:
    // the count ends the listing before it.
    ForEachGroup(path, [&](const int32_t* group, int32_t size) {
        const int32_t pursued = Survey(group, size).pursued;
        for (int32_t i = 0; i < size; ++i) {
            if (!pursuedLast || group[i] != pursued)
                add(group[i]);
        }
        if (pursuedLast)
            add(pursued);
    });
}
