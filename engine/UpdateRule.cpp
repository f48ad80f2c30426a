#include "UpdateRule.h"

#include "PathloomError.h"

#include <limits>

namespace {
const char* const Source = "LA.LearnFromPath";
constexpr uint8_t DivisionByZero = 1, OutOfRange = 2;
} // namespace

void LearningStore::Overflow() {
    throw PathloomError(ErrorNumber::Overflow, Source, "Overflow");
}

UpdateRule::Shares::Shares(const RunGraph& graph, double numerator) : numerator_(numerator) {
    const auto nodes = static_cast<std::size_t>(graph.Index().NodeCount());
    values_.assign(nodes, 0.0);
    faults_.assign(nodes, 0);
    for (std::size_t node = 0; node < nodes; ++node) {
        const int16_t degree = graph.OutDegree(static_cast<int32_t>(node));
        // r - 1 formed on the 16-bit out-degree, as the degree's own type would.
        if (degree == std::numeric_limits<int16_t>::min()) {
            faults_[node] = OutOfRange;
            continue;
        }
        const double rLessOne = static_cast<int16_t>(degree - 1);
        if (rLessOne == 0.0) {
            faults_[node] = DivisionByZero;
            continue;
        }
        values_[node] = numerator / rLessOne;
        if (!std::isfinite(values_[node]))
            faults_[node] = OutOfRange;
    }
}

void LearningStore::DivisionByZero() {
    throw PathloomError(ErrorNumber::DivisionByZero, Source, "Division by zero");
}

void UpdateRule::Shares::Raise(uint8_t fault) {
    if (fault == DivisionByZero)
        LearningStore::DivisionByZero();
    LearningStore::Overflow();
}

double UpdateRule::Shares::OfCandidates(int32_t count) const {
    if (count == 1)
        LearningStore::DivisionByZero();
    const double share = numerator_ / static_cast<double>(count - 1);
    if (!std::isfinite(share))
        LearningStore::Overflow();
    return share;
}

UpdateRule::UpdateRule(const RunSettings& settings, RunGraph& graph)
    : a_(settings.Reward), b_(settings.Penalty), lambda_(settings.LearningFactor), graph_(graph),
      penaltyShares_(graph, settings.Penalty),
      // Over a variable action set a penalty is scaled, and so may raise, whatever b is.
      idlePenalty_(settings.ActionSet != ActionSet::Variable && PenaltyIsIdle()),
      variable_(settings.ActionSet == ActionSet::Variable), source_(settings.sourceNode - 1),
      visited_(variable_ ? static_cast<std::size_t>(graph.Index().NodeCount()) : 0) {
    // As many candidates as a node has steps, so that learning never allocates.
    const int32_t* const starts = graph.Index().MoveStarts();
    int32_t most = 0;
    for (int32_t node = 0; variable_ && node < graph.Index().NodeCount(); ++node)
        most = std::max(most, starts[node + 1] - starts[node]);
    candidates_.reserve(static_cast<std::size_t>(most));
}

// With b = 0 the penalty keeps (1 - 0) p of a walked link and gives a sibling 0 / (r - 1) + q:
// the same value, unless q is -0 (0 + -0 is +0) or r - 1 is 0 (which raises). No update makes a
// -0 where there was none while a <= 1, so if the run starts without one, none ever comes.
bool UpdateRule::PenaltyIsIdle() const {
    if (b_ != 0.0 || !(a_ <= 1.0))
        return false;
    const WalkIndex& index = graph_.Index();
    for (int32_t node = 0; node < index.NodeCount(); ++node) {
        if (index.FromLinksEnd(node) - index.FromLinksBegin(node) > 1 && penaltyShares_.Fault(node))
            return false;
    }
    const float* const p = graph_.Probabilities();
    for (int32_t link = 0; link < graph_.LinkCount(); ++link) {
        if (p[link] == 0.0f && std::signbit(p[link]))
            return false;
    }
    return true;
}

void UpdateRule::Apply(PathView path, const Answer& answer) {
    written_ = 0;
    switch (answer.kind) {
    case Answer::Kind::Binary:
        Reinforce(path, answer.favourable);
        break;
    case Answer::Kind::Graded:
        Grade(path, answer.beta);
        break;
    case Answer::Kind::None:
        break;
    }
}

void UpdateRule::Reinforce(PathView path, bool rewarded) {
    if (rewarded) {
        const double a = a_, keep = 1.0 - a_;
        Update(
            path, [a](double p) { return p + a * (1.0 - p); },
            [keep](const Actions&) { return [keep](double q) { return keep * q; }; });
    } else if (idlePenalty_) {
        // Nothing changes, and nothing can fail: all of it counts as written.
        written_ = std::numeric_limits<int32_t>::max();
    } else {
        const double keep = 1.0 - b_;
        Update(
            path, [keep](double p) { return keep * p; },
            [this, keep](const Actions& actions) {
                const double share = penaltyShares_.Of(actions);
                return [share, keep](double q) { return share + keep * q; };
            });
    }
}

void UpdateRule::Written(PathView path, std::vector<int32_t>& written) const {
    // The order of Update's writes: each walked link, then its siblings.
    written.clear();
    if (variable_) {
        WalkCandidates(path, [&](int32_t, int32_t link, const std::vector<int32_t>& set) {
            if (static_cast<int32_t>(written.size()) < written_)
                written.push_back(link);
            for (const int32_t other : set) {
                if (other != link && static_cast<int32_t>(written.size()) < written_)
                    written.push_back(other);
            }
        });
        return;
    }
    const WalkIndex& index = graph_.Index();
    const auto full = [&] { return static_cast<int32_t>(written.size()) == written_; };
    for (const int32_t link : path) {
        const int32_t from = index.From(link);
        if (from < 0)
            continue;
        if (full())
            return;
        written.push_back(link);
        for (const int32_t* j = index.FromLinksBegin(from); j != index.FromLinksEnd(from); ++j) {
            if (*j == link)
                continue;
            if (full())
                return;
            written.push_back(*j);
        }
    }
}
