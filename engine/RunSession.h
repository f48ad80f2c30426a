#pragma once
// One run of the learning automata over a graph: built from the graph and its settings, it
// advances by bounded steps and tells its observers of every learned path. It never waits, draws
// or asks anybody anything: the window steps it from a timer, the runner in a loop. A run is
// composed of three parts (RunParts): a path source, an environment that judges each path, and an
// update rule that applies the judgement; the session never asks which kind it holds. It works on
// its own copy of the links' probabilities, which it writes back to the graph's links when the
// run ends and when someone looks (ShowPath).

#include "Environment.h"
#include "PathSource.h"
#include "RunSettings.h"
#include "StochasticPaths.h"
#include "UserJudge.h"
#include "clsPathStack.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class clsGraph;
class clsLink;
class clsRanges;
class RunGraph;
class RunSession;
class UpdateRule;
class Xoshiro256StarStar;

enum class RunState {
    Running,  // more to do: step again
    Paused,   // after a learned path, with step delay on: step again to go on
    Finished, // every path learned, or stopped
    Failed,   // ended by an error; Message() says which
};

// What observers see of each path: its links in walking order, its judgement, the links whose
// probabilities the learning step wrote, and the cheapest path so far. What takes work to show
// is worked out when asked, while the observer is told.
class LearnedPath {
  public:
    int32_t number; // the run's count of paths, this one included
    int64_t sample; // a sampled run's count of samples, dead ends included; else the number
    Environment::Answer answer;
    float bestCost;
    bool failed; // the learning step raised: the path is counted and shown, then the run fails

    // The path's links in walking order: their positions (0-based), and the links themselves.
    PathView LinkPositions() const;
    const clsPathStack& Links() const;
    // The positions (0-based) of the links the learning step wrote, walked links and siblings,
    // in the order written; repeats where a link was written twice.
    const std::vector<int32_t>& ChangedLinks() const;
    // The probability that the automata choose the cheapest path so far: the product of its
    // links' probabilities after this learning step, in path order.
    double BestProbability() const;
    // The run's bar and preferred path's probability after this learning step (see the
    // session's).
    double Bar() const;
    double PreferredProbability() const;
    // A link's probability (0-based position) after this learning step; all of them, in link
    // order.
    float Probability(int32_t link) const;
    const float* Probabilities() const;

  private:
    friend class RunSession;
    LearnedPath(const RunSession& session, int32_t number, int64_t sample,
                const Environment::Answer& answer, float bestCost, bool failed)
        : number(number), sample(sample), answer(answer), bestCost(bestCost), failed(failed),
          session_(session) {}
    const RunSession& session_;
};

class RunObserver {
  public:
    virtual ~RunObserver() = default;
    virtual void PathLearned(const LearnedPath& path) = 0;
};

class RunSession {
  public:
    // Checks the settings (a refused run fails at once and changes nothing), then starts the run
    // as every run starts: no link flagged, every probability at its initial value. A judge, when
    // given, takes the place of the environment of the settings' model.
    RunSession(clsGraph& graph, const clsRanges& ranges, const RunSettings& settings,
               const UserJudge::Function& judge = {});
    // A run given up before its end leaves the graph with what it had learned.
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
    // The cost the next path is judged against (not a number where none sets it).
    double Bar() const;

    // Sampled runs: the samples drawn, those that ended where no link was left, and the sample
    // after whose learning step the best path's probability reached the target (0: not yet).
    int64_t Samples() const { return source_ ? source_->Samples() : 0; }
    int64_t DeadEnds() const { return source_ ? source_->DeadEnds() : 0; }
    int64_t ConvergedAt() const { return convergedAt_; }

    // A run on a stochastic graph, or with an experiment's choice (RunSettings::ExperimentChoices):
    // it reports the figures below. With a stochastic link, or an environment that rewards paths
    // dearer than the cheapest (Environment::RewardsDearer), the target is the preferred path's
    // probability rather than the best path's.
    bool Experiment() const { return experiment_; }
    static bool Experiment(const clsGraph& graph, const RunSettings& settings);
    // Lengths drawn so far.
    int64_t LinkDraws() const;
    // The path the automata prefer now, and the shortest path in expectation (computed once).
    MeasuredPath PreferredPath() const;
    // Its probability in an experiment (0 when there is none), else not a number.
    double PreferredProbability() const;
    const MeasuredPath& ExpectedShortest() const;
    // The preferred path is a shortest path in expectation: its expected cost is the least.
    bool PreferredIsShortest() const;
    // PreferredIsShortest, and, where the run had a target, the target was reached.
    bool ConvergedOnShortest() const;
    // A path's trace, "A->B:B->C:", from its link positions.
    std::string TraceOf(const std::vector<int32_t>& links) const;

    // Writes what the run has learned into the graph's links and flags the links of the path
    // being built, for drawing: the run keeps both to itself while it works.
    void ShowPath();

  private:
    friend class LearnedPath;
    void PathFound();
    // The settings name a source and a destination of the graph, two nodes apart.
    bool HasEndpoints() const;
    void Tell(const Environment::Answer& answer, bool failed);
    void Finish();
    void Fail(const std::string& message);

    clsGraph& graph_;
    RunSettings settings_;
    std::unique_ptr<RunGraph> run_;
    std::unique_ptr<PathSource> source_;
    std::unique_ptr<Environment> environment_;
    std::unique_ptr<UpdateRule> rule_;
    std::optional<double> target_; // for paths that come again and again
    bool experiment_ = false;
    bool targetsPreferred_ = false;             // the target is the preferred path's probability
    std::unique_ptr<Xoshiro256StarStar> draws_; // for sources that draw no random numbers
    mutable std::optional<MeasuredPath> expectedShortest_;
    std::vector<RunObserver*> observers_;
    RunState state_ = RunState::Running;
    int32_t pathCount_ = 0;
    int32_t appliedOf_ = 0;     // the path the update rule was last applied to
    std::vector<int32_t> best_; // link positions
    std::vector<clsLink*> bestLinks_;
    float bestCost_ = 0.0f;
    int64_t convergedAt_ = 0;
    bool stopped_ = false;
    bool notFound_ = false;
    std::string message_;
    // Of the last learned path, made when an observer asks: its links as the graph's, and the
    // positions its learning step wrote.
    mutable clsPathStack pathLinks_;
    mutable int32_t pathLinksOf_ = 0;
    mutable std::vector<int32_t> written_;
    mutable int32_t writtenOf_ = 0;
};
