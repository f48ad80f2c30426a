#pragma once
// What a run animation shows, gathered while the run goes: every few learned paths a frame (the
// path, what it cost, and every link's probability after it), and the run's last path. Past the
// most frames wanted, every other frame goes and the spacing doubles, so that a run of any length
// gives at most that many, evenly spaced.

#include "RunSession.h"

#include <cstdint>
#include <vector>

class RunFrames : public RunObserver {
  public:
    struct Frame {
        int32_t path = 0;   // the run's count of paths, this one included
        int64_t sample = 0; // a sampled run's count of samples; else the path
        float cost = 0;
        bool rewarded = false;            // the environment's answer was favourable
        double bestProbability = 0;       // that the automata choose the cheapest path so far
        std::vector<int32_t> links;       // the path's, 0-based link positions
        std::vector<float> probabilities; // every link's, after the path was learned
    };

    // For runs of the graph; pathsPerFrame >= 1, maxFrames >= 2.
    RunFrames(const clsGraph& graph, int64_t pathsPerFrame, int32_t maxFrames);

    void PathLearned(const LearnedPath& path) override;
    // The run has ended: its last path is the last frame, with the probabilities the run left in
    // the graph.
    void Finish(const RunSession& session, const clsGraph& graph);

    const std::vector<Frame>& Frames() const { return frames_; }
    // The paths between two frames, after thinning.
    int64_t Spacing() const { return spacing_; }

  private:
    void Add(Frame frame);

    std::size_t links_;
    int64_t spacing_;
    std::size_t maxFrames_;
    std::vector<Frame> frames_;
    Frame last_; // the last path learned, without its probabilities
};
