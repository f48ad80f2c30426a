#pragma once
// Sampled paths: from the source each node's automaton picks a link at random by the links'
// probabilities, among those that lead to a node not yet visited, until the destination is
// reached (a path) or no such link is left (a dead end). Reproducible from the seed: the same
// seed gives the same samples on every machine. It stops between any two link steps when its
// budget is spent and goes on from there at the next call.

#include "PathSource.h"
#include "Random.h"
#include "RunGraph.h"

#include <cstdint>
#include <vector>

class PathSampler : public PathSource {
  public:
    // Node positions are 0-based; the probabilities are the run's, read at every step.
    PathSampler(const RunGraph& graph, int32_t source, int32_t destination, uint64_t seed,
                int64_t samples);

    // Goes on with the sample under way, one unit of the budget per link step; Exhausted once
    // the samples are drawn.
    Event Next(int64_t& budget) override;

    // The sample's links so far (after PathFound, the whole path).
    PathView Path() const override;
    // Samples come and go too fast to watch: the last path found is what shows.
    PathView Shown() const override;

    bool Repeats() const override { return true; }
    int32_t MaxPaths() const override { return std::numeric_limits<int32_t>::max(); }
    int64_t Position(int32_t) const override { return samples_; }
    int64_t Samples() const override { return samples_; }
    int64_t DeadEnds() const override { return deadEnds_; }
    Xoshiro256StarStar* Random() override { return &random_; }

    // The candidate a uniform number u picks, given the running sums of the candidates'
    // probabilities in link order (the last is their sum, T): the first whose sum exceeds u * T
    // (or the last), or, when T is not positive, the one at floor(u times their count).
    static int32_t Pick(const double* sums, int32_t count, double u);

  private:
    void StartSample();

    const WalkIndex& index_;
    const float* probabilities_;
    int32_t source_, destination_;
    Xoshiro256StarStar random_;
    int64_t maxSamples_, samples_ = 0, deadEnds_ = 0;
    // The samples so far carry their number as a mark on the nodes they visited.
    std::vector<uint32_t> visited_;
    uint32_t mark_ = 0;
    // The sample's links, and the path found last once the next sample has started: arrays as
    // long as a path can be, with their lengths.
    std::vector<int32_t> links_, lastPath_;
    int32_t length_ = 0, lastLength_ = 0;
    bool found_ = false; // the sample that ended last was a path
    int32_t at_ = -1;    // the node the sample stands on; -1 between samples
    // The candidates' steps and the running sums of their probabilities, reused.
    std::vector<int32_t> candidates_;
    std::vector<double> sums_;
};
