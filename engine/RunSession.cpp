#include "RunSession.h"

#include "PathloomError.h"
#include "Random.h"
#include "RunGraph.h"
#include "RunParts.h"
#include "clsGraph.h"

#include <limits>
#include <new>

PathView LearnedPath::LinkPositions() const {
    return session_.source_->Path();
}

const clsPathStack& LearnedPath::Links() const {
    if (session_.pathLinksOf_ != number) {
        session_.pathLinks_.Reset();
        for (const int32_t link : LinkPositions())
            session_.pathLinks_.Push(session_.run_->Index().LinkAt(link));
        session_.pathLinksOf_ = number;
    }
    return session_.pathLinks_;
}

const std::vector<int32_t>& LearnedPath::ChangedLinks() const {
    if (session_.writtenOf_ != number) {
        // Nothing when the path's cost could not be worked out.
        if (session_.appliedOf_ == number)
            session_.rule_->Written(LinkPositions(), session_.written_);
        else
            session_.written_.clear();
        session_.writtenOf_ = number;
    }
    return session_.written_;
}

double LearnedPath::BestProbability() const {
    return session_.BestProbability();
}

double LearnedPath::Bar() const {
    return session_.Bar();
}

double LearnedPath::PreferredProbability() const {
    return session_.PreferredProbability();
}

float LearnedPath::Probability(int32_t link) const {
    return session_.run_->Probabilities()[link];
}

const float* LearnedPath::Probabilities() const {
    return session_.run_->Probabilities();
}

RunSession::RunSession(clsGraph& graph, const clsRanges& ranges, const RunSettings& settings,
                       const UserJudge::Function& judge)
    : graph_(graph), settings_(settings.Normalised()) {
    if (const auto refusal = settings_.Validate(graph)) {
        state_ = RunState::Failed;
        message_ = refusal->message;
        return;
    }
    graph_.ResetFlags();
    graph_.RestoreProbabilities();
    run_ = std::make_unique<RunGraph>(graph_);
    experiment_ = Experiment(graph_, settings_);
    const RunParts::Context parts{settings_, graph_, ranges, *run_, &judge};
    try {
        source_ = RunParts::MakePathSource(parts);
    } catch (const PathloomError& e) {
        Fail(e.Description());
        return;
    }
    const bool repeats = source_ && source_->Repeats();
    environment_ = RunParts::MakeEnvironment(parts, repeats);
    rule_ = RunParts::MakeUpdateRule(parts);
    if (repeats)
        target_ = settings_.Target;
    if (run_->Stochastic()) {
        Xoshiro256StarStar* random = source_ ? source_->Random() : nullptr;
        if (!random) {
            draws_ = std::make_unique<Xoshiro256StarStar>(settings_.Seed);
            random = draws_.get();
        }
        environment_->DrawLengths(*random);
    }
    targetsPreferred_ = run_->Stochastic() || environment_->RewardsDearer();
}

RunSession::~RunSession() {
    if (state_ == RunState::Running || state_ == RunState::Paused)
        run_->WriteProbabilities();
}

RunState RunSession::Step(int64_t budget) {
    if (state_ != RunState::Running && state_ != RunState::Paused)
        return state_;
    state_ = RunState::Running;
    try {
        if (!source_) {
            Finish();
            return state_;
        }
        while (budget > 0) {
            if (convergedAt_ > 0) {
                Finish();
                return state_;
            }
            const PathSource::Event event = source_->Next(budget);
            if (event == PathSource::Event::Exhausted) {
                Finish();
                return state_;
            }
            if (event == PathSource::Event::PathFound) {
                PathFound();
                --budget;
                if (settings_.EnableDelay) {
                    state_ = RunState::Paused;
                    return state_;
                }
            }
        }
    } catch (const PathloomError& e) {
        Fail(e.Description());
    } catch (const std::bad_alloc&) {
        Fail("Out of memory");
    }
    return state_;
}

void RunSession::PathFound() {
    if (pathCount_ == source_->MaxPaths()) {
        throw PathloomError(ErrorNumber::Overflow, "LA.Start",
                            "Overflow\r\nThe run stopped because a run counts at most 32,767 "
                            "paths.");
    }
    ++pathCount_;
    const PathView path = source_->Path();
    Environment::Answer answer;
    try {
        answer = environment_->Judge(path);
        appliedOf_ = pathCount_;
        rule_->Apply(path, answer);
    } catch (const PathloomError&) {
        // Counted and shown all the same, so that the path that failed can be found: with its
        // judgement where the update failed after it, else with its cost if that was worked out.
        if (appliedOf_ != pathCount_) {
            answer = Environment::Answer();
            answer.cost = environment_->LastCost();
        }
        Tell(answer, true);
        throw;
    }
    if (best_.empty() || answer.cost < bestCost_) {
        bestCost_ = answer.cost;
        best_.assign(path.begin(), path.end());
        bestLinks_.clear();
        for (const int32_t link : path)
            bestLinks_.push_back(run_->Index().LinkAt(link));
    }
    if (target_ &&
        (targetsPreferred_ ? PreferredPath().probability : BestProbability()) >= *target_)
        convergedAt_ = source_->Position(pathCount_);
    Tell(answer, false);
}

void RunSession::Tell(const Environment::Answer& answer, bool failed) {
    if (observers_.empty())
        return;
    const LearnedPath learned(*this, pathCount_, source_->Position(pathCount_), answer, bestCost_,
                              failed);
    for (RunObserver* observer : observers_)
        observer->PathLearned(learned);
}

double RunSession::BestProbability() const {
    if (best_.empty())
        return 0.0;
    const float* const probabilities = run_->Probabilities();
    double product = 1.0;
    for (const int32_t link : best_)
        product *= static_cast<double>(probabilities[link]);
    return product;
}

bool RunSession::Experiment(const clsGraph& graph, const RunSettings& settings) {
    if (settings.ExperimentChoices())
        return true;
    for (int32_t j = 1; j <= graph.LinkCount(); ++j) {
        if (graph.Link(j).Length)
            return true;
    }
    return false;
}

double RunSession::Bar() const {
    return environment_ ? environment_->Bar() : std::numeric_limits<double>::quiet_NaN();
}

double RunSession::PreferredProbability() const {
    if (!Experiment())
        return std::numeric_limits<double>::quiet_NaN();
    return PreferredPath().probability;
}

int64_t RunSession::LinkDraws() const {
    return environment_ ? environment_->LinkDraws() : 0;
}

bool RunSession::HasEndpoints() const {
    // A path file's run, and one through all nodes, may name no destination, or none at all.
    const auto isNode = [this](int32_t node) {
        return node >= 1 && node <= run_->Index().NodeCount();
    };
    return run_ && isNode(settings_.sourceNode) && isNode(settings_.DestNode) &&
           settings_.sourceNode != settings_.DestNode;
}

MeasuredPath RunSession::PreferredPath() const {
    if (!HasEndpoints())
        return MeasuredPath{};
    return StochasticPaths::Preferred(*run_, settings_.sourceNode - 1, settings_.DestNode - 1);
}

const MeasuredPath& RunSession::ExpectedShortest() const {
    if (!expectedShortest_) {
        expectedShortest_ = HasEndpoints()
                                ? StochasticPaths::ExpectedShortest(*run_, settings_.sourceNode - 1,
                                                                    settings_.DestNode - 1)
                                : MeasuredPath{};
    }
    return *expectedShortest_;
}

bool RunSession::PreferredIsShortest() const {
    const MeasuredPath preferred = PreferredPath();
    const MeasuredPath& shortest = ExpectedShortest();
    return preferred.found && shortest.found &&
           StochasticPaths::ExpectedCost(*run_, preferred.links) == shortest.cost;
}

bool RunSession::ConvergedOnShortest() const {
    return (!target_ || convergedAt_ > 0) && PreferredIsShortest();
}

std::string RunSession::TraceOf(const std::vector<int32_t>& links) const {
    clsPathStack path;
    for (const int32_t link : links)
        path.Push(run_->Index().LinkAt(link));
    return path.Trace();
}

std::string RunSession::BestTrace() const {
    return TraceOf(best_);
}

void RunSession::Stop() {
    if (state_ != RunState::Running && state_ != RunState::Paused)
        return;
    stopped_ = true;
    Finish();
}

void RunSession::Finish() {
    graph_.ResetFlags();
    run_->WriteProbabilities();
    notFound_ = pathCount_ == 0 && !stopped_;
    state_ = RunState::Finished;
}

void RunSession::Fail(const std::string& message) {
    message_ = message;
    if (source_ && source_->EndsOnError()) {
        Finish();
    } else {
        // A walk keeps the path it was on flagged, so that it shows where the run stopped.
        ShowPath();
    }
    state_ = RunState::Failed;
}

void RunSession::ShowPath() {
    graph_.ResetFlags();
    if (!run_)
        return;
    run_->WriteProbabilities();
    if (!source_ || state_ == RunState::Finished)
        return;
    for (const int32_t link : source_->Shown())
        run_->Index().LinkAt(link)->Flag = true;
}
