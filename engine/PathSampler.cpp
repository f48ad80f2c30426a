#include "PathSampler.h"

#include <cmath>

PathSampler::PathSampler(const RunGraph& graph, int32_t source, int32_t destination, uint64_t seed,
                         int64_t samples)
    : index_(graph.Index()), probabilities_(graph.Probabilities()), source_(source),
      destination_(destination), random_(seed), maxSamples_(samples),
      visited_(static_cast<std::size_t>(graph.Index().NodeCount()), 0) {}

int32_t PathSampler::Pick(const std::vector<double>& weights, double u) {
    const auto count = static_cast<int32_t>(weights.size());
    double total = 0;
    for (const double w : weights)
        total += w;
    if (!(total > 0))
        return std::min(count - 1, static_cast<int32_t>(std::floor(u * count)));
    const double mark = u * total;
    double sum = 0;
    for (int32_t k = 0; k < count; ++k) {
        sum += weights[static_cast<std::size_t>(k)];
        if (sum > mark)
            return k;
    }
    return count - 1;
}

PathView PathSampler::Path() const {
    return {links_.data(), static_cast<int32_t>(links_.size())};
}

PathView PathSampler::Shown() const {
    const std::vector<int32_t>& shown = found_ && at_ < 0 ? links_ : lastPath_;
    return {shown.data(), static_cast<int32_t>(shown.size())};
}

void PathSampler::StartSample() {
    if (found_)
        lastPath_.swap(links_);
    found_ = false;
    for (const int32_t node : visitedNodes_)
        visited_[static_cast<std::size_t>(node)] = 0;
    visitedNodes_.clear();
    links_.clear();
    at_ = source_;
    visited_[static_cast<std::size_t>(source_)] = 1;
    visitedNodes_.push_back(source_);
}

PathSource::Event PathSampler::Next(int64_t& budget) {
    const int32_t* starts = index_.MoveStarts();
    const int32_t* nodes = index_.MoveNodes();
    const int32_t* moveLinks = index_.MoveLinks();
    while (budget > 0) {
        if (at_ < 0) {
            if (samples_ >= maxSamples_)
                return Event::Exhausted;
            StartSample();
        }
        --budget;
        candidates_.clear();
        weights_.clear();
        for (int32_t step = starts[at_]; step < starts[at_ + 1]; ++step) {
            if (visited_[static_cast<std::size_t>(nodes[step])])
                continue;
            candidates_.push_back(step);
            weights_.push_back(probabilities_[moveLinks[step]]);
        }
        if (candidates_.empty()) {
            at_ = -1;
            ++samples_;
            ++deadEnds_;
            return Event::DeadEnd;
        }
        const int32_t step =
            candidates_[static_cast<std::size_t>(Pick(weights_, random_.Uniform()))];
        links_.push_back(moveLinks[step]);
        at_ = nodes[step];
        visited_[static_cast<std::size_t>(at_)] = 1;
        visitedNodes_.push_back(at_);
        if (at_ == destination_) {
            at_ = -1;
            found_ = true;
            ++samples_;
            return Event::PathFound;
        }
    }
    return Event::OutOfBudget;
}
