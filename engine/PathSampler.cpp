#include "PathSampler.h"

#include <algorithm>
#include <cmath>

PathSampler::PathSampler(const RunGraph& graph, int32_t source, int32_t destination, uint64_t seed,
                         int64_t samples)
    : index_(graph.Index()), probabilities_(graph.Probabilities()), source_(source),
      destination_(destination), random_(seed), maxSamples_(samples),
      visited_(static_cast<std::size_t>(graph.Index().NodeCount()), 0), links_(visited_.size() + 1),
      lastPath_(links_.size()),
      candidates_(static_cast<std::size_t>(graph.Index().MoveStarts()[graph.Index().NodeCount()]) +
                  1),
      sums_(candidates_.size()) {}

int32_t PathSampler::Pick(const double* sums, int32_t count, double u) {
    const double total = sums[count - 1];
    if (!(total > 0))
        return std::min(count - 1, static_cast<int32_t>(std::floor(u * count)));
    const double mark = u * total;
    for (int32_t k = 0; k < count - 1; ++k) {
        if (sums[k] > mark)
            return k;
    }
    return count - 1;
}

PathView PathSampler::Path() const {
    return {links_.data(), length_};
}

PathView PathSampler::Shown() const {
    return found_ && at_ < 0 ? Path() : PathView{lastPath_.data(), lastLength_};
}

void PathSampler::StartSample() {
    if (found_) {
        lastPath_.swap(links_);
        lastLength_ = length_;
    }
    found_ = false;
    length_ = 0;
    if (++mark_ == 0) {
        std::fill(visited_.begin(), visited_.end(), 0);
        mark_ = 1;
    }
    at_ = source_;
    visited_[static_cast<std::size_t>(source_)] = mark_;
}

// The sample's state, the random numbers' included, is held in locals while it walks, and put
// back when it stops.
PathSource::Event PathSampler::Next(int64_t& budgetLeft) {
    const int32_t* const starts = index_.MoveStarts();
    const int32_t* const nodes = index_.MoveNodes();
    const int32_t* const moveLinks = index_.MoveLinks();
    const float* const probabilities = probabilities_;
    uint32_t* const visited = visited_.data();
    int32_t* const candidates = candidates_.data();
    double* const sums = sums_.data();
    const int32_t destination = destination_;
    int64_t budget = budgetLeft;
    int32_t at = at_, length = length_;
    int32_t* links = links_.data();
    Xoshiro256StarStar random = random_;
    const auto stop = [&](Event event) {
        at_ = at;
        length_ = length;
        random_ = random;
        budgetLeft = budget;
        return event;
    };
    while (budget > 0) {
        if (at < 0) {
            if (samples_ >= maxSamples_)
                return stop(Event::Exhausted);
            StartSample();
            at = at_;
            length = 0;
            links = links_.data();
        }
        --budget;
        const uint32_t mark = mark_;
        double sum = 0;
        int32_t count = 0;
        for (int32_t step = starts[at], end = starts[at + 1]; step < end; ++step) {
            if (visited[nodes[step]] == mark)
                continue;
            candidates[count] = step;
            sum += probabilities[moveLinks[step]];
            sums[count++] = sum;
        }
        if (count == 0) {
            ++samples_;
            ++deadEnds_;
            at = -1;
            return stop(Event::DeadEnd);
        }
        const int32_t step = candidates[Pick(sums, count, random.Uniform())];
        links[length++] = moveLinks[step];
        at = nodes[step];
        visited[at] = mark;
        if (at == destination) {
            ++samples_;
            found_ = true;
            at = -1;
            return stop(Event::PathFound);
        }
    }
    return stop(Event::OutOfBudget);
}
