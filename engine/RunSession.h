#pragma once
// One run of the learning automata over a graph: built from the graph and its settings, it
// advances by bounded steps and tells its observers of every learned path. It never waits, draws
// or asks anybody anything: the window steps it from a timer, the runner in a loop.

#include "LearningScheme.h"
#include "RunSettings.h"
#include "WalkIndex.h"
#include "clsPathStack.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class clsGraph;
class clsRanges;
class PathFileRun;
class PathSampler;
class SearchWalk;

enum class RunState {
    Running,  // more to do: step again
    Paused,   // after a learned path, with step delay on: step again to go on
    Finished, // every path learned, or stopped
    Failed,   // ended by an error; Message() says which
};

// What observers see of each path: its links in walking order, its judgement, the links whose
// probabilities the learning step wrote, and the cheapest path so far.
struct LearnedPath {
    int32_t number; // the run's count of paths, this one included
    int64_t sample; // a sampled run's count of samples, dead ends included; else the number
    const clsPathStack& links;
    LearningScheme::Answer answer;
    const std::vector<int32_t>& changedLinks; // 0-based link positions
    float bestCost;
    // The probability that the automata choose the cheapest path so far: the product of its
    // links' probabilities after this learning step, in path order.
    double bestProbability;
    bool failed; // the learning step raised: the path is counted and shown, then the run fails
};

class RunObserver {
  public:
    virtual ~RunObserver() = default;
    virtual void PathLearned(const LearnedPath& path) = 0;
};

class RunSession {
  public:
    // Checks the settings (a refused run fails at once and changes nothing), then starts the run
    // as every run starts: no link flagged, every probability at its initial value.
    RunSession(clsGraph& graph, const clsRanges& ranges, const RunSettings& settings);
    ~RunSession();
    RunSession(const RunSession&) = delete;
    RunSession& operator=(const RunSession&) = delete;

    // Does at most about budget units of work (a link tried, a token read, a path learned).
    RunState Step(int64_t budget);

    // Ends the run after the path learned last, as if no more paths were found.
    void Stop();

    void AddObserver(RunObserver& observer) { observers_.push_back(&observer); }

    const RunSettings& Settings() const { return settings_; }
    RunState State() const { return state_; }
    int32_t PathCount() const { return pathCount_; }
    bool Stopped() const { return stopped_; }
    // The run ended without a path and without a stop: "Not found any path.". Also after an
    // error of the path-file mode, which reports its error and then ends like a run.
    bool NotFound() const { return notFound_; }
    const std::string& Message() const { return message_; }

    // The cheapest path learned so far (the first of equal ones) and the probability that the
    // automata choose it now; nothing before the first path.
    const std::vector<clsLink*>& BestPath() const { return bestLinks_; }
    float BestCost() const { return bestCost_; }
    double BestProbability() const;
    std::string BestTrace() const;

    // Sampled runs: the samples drawn, those that ended where no link was left, and the sample
    // after whose learning step the best path's probability reached the target (0: not yet).
    int64_t Samples() const { return samples_; }
    int64_t DeadEnds() const { return deadEnds_; }
    int64_t ConvergedAt() const { return convergedAt_; }

    // Flags the links of the path being built, for drawing: the engine keeps them to itself
    // while it works, and writes them only when someone looks.
    void ShowPath();

  private:
    void PathFound();
    void Finish();
    void Fail(const std::string& message);

    clsGraph& graph_;
    RunSettings settings_;
    WalkIndex index_;
    std::unique_ptr<LearningScheme> scheme_;
    std::unique_ptr<SearchWalk> walk_;
    std::unique_ptr<PathFileRun> file_;
    std::unique_ptr<PathSampler> sampler_;
    clsPathStack path_;
    std::vector<RunObserver*> observers_;
    RunState state_ = RunState::Running;
    int32_t pathCount_ = 0;
    std::vector<clsLink*> bestLinks_;
    float bestCost_ = 0.0f;
    int64_t samples_ = 0, deadEnds_ = 0, convergedAt_ = 0;
    bool stopped_ = false;
    bool notFound_ = false;
    std::string message_;
};
