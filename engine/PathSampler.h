#pragma once
// Sampled paths: from the source each node's automaton picks a link at random by the links'
// probabilities, among those that lead to a node not yet visited, until the destination is
// reached (a path) or no such link is left (a dead end). Reproducible from the seed: the same
// seed gives the same samples on every machine. It stops between any two link steps when its
// budget is spent and goes on from there at the next call.

#include "Random.h"
#include "WalkIndex.h"

#include <cstdint>
#include <vector>

class PathSampler {
  public:
    enum class Event { PathFound, DeadEnd, OutOfBudget };

    // Node positions are 0-based.
    PathSampler(const WalkIndex& index, int32_t source, int32_t destination, uint64_t seed);

    // Goes on with the sample under way, one unit of the budget per link step.
    Event Next(int64_t& budget);

    // The sample's links so far (after PathFound, the whole path): link positions in order.
    const std::vector<int32_t>& PathLinks() const { return links_; }

    // The candidate a uniform number u picks, given the candidates' probabilities in link order:
    // the first whose running sum exceeds u times the sum (or the last), or, when the sum is not
    // positive, the one at floor(u times their count).
    static int32_t Pick(const std::vector<double>& weights, double u);

  private:
    void StartSample();

    const WalkIndex& index_;
    int32_t source_, destination_;
    Xoshiro256StarStar random_;
    std::vector<uint8_t> visited_;
    std::vector<int32_t> visitedNodes_; // to unmark them when the next sample starts
    std::vector<int32_t> links_;
    int32_t at_ = -1;                 // the node the sample stands on; -1 before it starts
    std::vector<int32_t> candidates_; // steps, reused
    std::vector<double> weights_;
};
