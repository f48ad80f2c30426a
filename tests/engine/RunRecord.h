#pragma once
// A whole run recorded: every learned path, how the run ended, and (when asked) the links'
// probabilities after each path. RunToEnd steps a session; ReferenceRun walks the straightforward
// way, trying every link of the graph at every step, as the oracle that sessions must match.

#include "RunGraph.h"
#include "RunParts.h"
#include "RunSession.h"
#include "clsLA.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

// A run's learning step alone: the environment and the update rule the run's tables give for the
// settings, over their own copy of the graph's links, which they write back after every path.
class LearningStep {
  public:
    LearningStep(clsLA& la, const RunSettings& settings);
    // Link positions are 0-based.
    Environment::Answer Learn(const std::vector<int32_t>& links);
    const Environment& Judge() const { return *environment_; }

  private:
    RunGraph run_;
    std::unique_ptr<Environment> environment_;
    std::unique_ptr<UpdateRule> rule_;
};

struct RunRecord {
    std::vector<std::string> traces;
    std::vector<float> costs;
    std::vector<std::vector<float>> probabilities; // in link order, after each path
    RunState state = RunState::Running;
    std::string message;
    bool notFound = false;
    int32_t pathCount = 0;
    int32_t pauses = 0;
    // Sampled runs: the sample of each learned path and the best path's probability after it.
    std::vector<int64_t> samples;
    std::vector<double> best;
    int64_t sampleCount = 0, deadEnds = 0, convergedAt = 0;
    std::string bestTrace;

    // What the window says at the end: the failure, then "Not found any path.".
    std::vector<std::string> Messages() const;
};

struct RunOptionsForTest {
    int64_t budget = std::numeric_limits<int64_t>::max();
    bool probabilities = false;
    int32_t stopAtPause = -1; // Stop at this pause (0-based) instead of going on
};

RunRecord RunToEnd(clsLA& la, const RunOptionsForTest& options = {});
RunRecord ReferenceRun(clsLA& la, bool probabilities = false);
