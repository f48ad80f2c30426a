#include "LearningScheme.h"

#include "CheckedMath.h"
#include "WalkIndex.h"
#include "clsLink.h"
#include "clsNode.h"
#include "clsPathStack.h"
#include "clsRanges.h"

namespace {
const std::string Source = "LA.LearnFromPath";

float Store(double value) {
    return Checked::ToFloat(value, Source);
}

// r - 1 for a sibling, formed on the 16-bit out-degree as the degree's own type would.
double OutDegreeLessOne(const clsLink& sibling) {
    return Checked::Decrement(sibling.FromNode->OutDegree, Source);
}
} // namespace

LearningScheme::LearningScheme(const RunSettings& settings, const clsRanges& ranges,
                               const WalkIndex& index)
    : settings_(settings), ranges_(ranges), index_(index) {}

template <typename WalkedUpdate, typename SiblingUpdate>
void LearningScheme::UpdatePath(const clsPathStack& path, WalkedUpdate walked,
                                SiblingUpdate sibling) {
    for (int32_t k = 0; k < path.Count(); ++k) {
        clsLink* link = path.Link(k);
        link->Probability = walked(static_cast<double>(link->Probability));
        // The walked link is among the links of its own start node, its siblings are the rest.
        const int32_t from = index_.IndexOf(link->FromNode);
        if (from < 0)
            continue;
        const int32_t* begin = index_.FromLinksBegin(from);
        const int32_t* end = index_.FromLinksEnd(from);
        for (const int32_t* j = begin; j != end; ++j) {
            if (index_.LinkAt(*j) == link)
                changed_.push_back(*j);
        }
        for (const int32_t* j = begin; j != end; ++j) {
            clsLink* other = index_.LinkAt(*j);
            if (other != link) {
                other->Probability = sibling(*other);
                changed_.push_back(*j);
            }
        }
    }
}

LearningScheme::Answer LearningScheme::LearnFromPath(const clsPathStack& path) {
    changed_.clear();
    Answer answer;
    answer.cost = path.PathCost();
    const float cost = answer.cost;
    const double a = settings_.Reward;
    const double b = settings_.Penalty;
    const double lambda = settings_.LearningFactor;

    if (settings_.Model == 0) {
        // Favourable when strictly cheaper than the best so far (float compare). A sampled run
        // walks the best path again and again: it must be able to confirm it, so a tie counts.
        answer.favourable =
            firstPath_ || cost < referenceCost_ ||
            (settings_.GraphSearchMethod == SearchMethod::Sample && cost == referenceCost_);
        answer.beta = answer.favourable ? 0.0 : 1.0;
        if (answer.favourable) {
            referenceCost_ = cost;
            firstPath_ = false;
            UpdatePath(
                path, [&](double p) { return Store(p + a * (1.0 - p)); },
                [&](const clsLink& m) {
                    return Store((1.0 - a) * static_cast<double>(m.Probability));
                });
        } else {
            UpdatePath(
                path, [&](double p) { return Store((1.0 - b) * p); },
                [&](const clsLink& m) {
                    const double q = m.Probability;
                    return Store(Checked::Divide(b, OutDegreeLessOne(m), Source) + (1.0 - b) * q);
                });
        }
        return answer;
    }
    if (settings_.Model != 1)
        return answer;

    // S-model: the answer for the cost difference to the previous path.
    if (firstPath_) {
        firstPath_ = false;
        referenceCost_ = 0.0f;
    }
    const float x = Checked::ToFloat(static_cast<double>(cost) - referenceCost_, Source);
    const double beta = ranges_.GetAnswer(x);
    referenceCost_ = cost;
    answer.beta = beta;
    answer.favourable = beta < 1.0;

    switch (settings_.ModelType) {
    case Scheme::LRI:
        UpdatePath(
            path, [&](double p) { return Store(p + a * (1.0 - beta) * (1.0 - p)); },
            [&](const clsLink& m) {
                const double q = m.Probability;
                return Store(q - a * (1.0 - beta) * q);
            });
        break;
    case Scheme::LREP:
    case Scheme::LRP: { // the penalty terms of LRP use the reward
        const double penalty = settings_.ModelType == Scheme::LREP ? b : a;
        UpdatePath(
            path,
            [&](double p) {
                return Store(p + lambda * (1.0 - beta) * (1.0 - p) - penalty * beta * p);
            },
            [&](const clsLink& m) {
                const double q = m.Probability;
                const double share = Checked::Divide(1.0, OutDegreeLessOne(m), Source);
                return Store(q - a * (1.0 - beta) * q + penalty * beta * (share - q));
            });
        break;
    }
    default:
        break;
    }
    return answer;
}
