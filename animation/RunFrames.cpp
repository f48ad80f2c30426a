#include "RunFrames.h"

#include "clsGraph.h"

#include <algorithm>

RunFrames::RunFrames(const clsGraph& graph, int64_t pathsPerFrame, int32_t maxFrames)
    : links_(static_cast<std::size_t>(graph.LinkCount())),
      spacing_(std::max<int64_t>(pathsPerFrame, 1)),
      maxFrames_(static_cast<std::size_t>(std::max(maxFrames, 2))) {}

void RunFrames::PathLearned(const LearnedPath& path) {
    last_.path = path.number;
    last_.sample = path.sample;
    last_.cost = path.answer.cost;
    last_.rewarded = path.answer.favourable;
    const PathView links = path.LinkPositions();
    last_.links.assign(links.begin(), links.end());
    if (path.number % spacing_ != 0)
        return;
    Frame frame = last_;
    frame.bestProbability = path.BestProbability();
    frame.probabilities.assign(path.Probabilities(), path.Probabilities() + links_);
    Add(std::move(frame));
}

void RunFrames::Add(Frame frame) {
    if (frames_.size() == maxFrames_) {
        spacing_ *= 2;
        const auto off = std::remove_if(frames_.begin(), frames_.end(),
                                        [this](const Frame& f) { return f.path % spacing_ != 0; });
        frames_.erase(off, frames_.end());
        if (frame.path % spacing_ != 0)
            return;
    }
    frames_.push_back(std::move(frame));
}

void RunFrames::Finish(const RunSession& session, const clsGraph& graph) {
    if (last_.path == 0 || (!frames_.empty() && frames_.back().path == last_.path))
        return;
    Frame frame = last_;
    frame.bestProbability = session.BestProbability();
    for (int32_t j = 1; j <= graph.LinkCount(); ++j)
        frame.probabilities.push_back(graph.Link(j).Probability);
    if (frames_.size() == maxFrames_)
        frames_.back() = std::move(frame);
    else
        frames_.push_back(std::move(frame));
}
