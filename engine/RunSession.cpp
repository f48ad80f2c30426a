#include "RunSession.h"

#include "PathFileRun.h"
#include "PathSampler.h"
#include "PathloomError.h"
#include "SearchWalk.h"
#include "clsGraph.h"

#include <limits>
#include <new>

RunSession::RunSession(clsGraph& graph, const clsRanges& ranges, const RunSettings& settings)
    : graph_(graph), settings_(settings.Normalised()) {
    if (const auto refusal = settings_.Validate(graph)) {
        state_ = RunState::Failed;
        message_ = refusal->message;
        return;
    }
    graph_.ResetFlags();
    graph_.RestoreProbabilities();
    index_.Build(graph_);
    scheme_ = std::make_unique<LearningScheme>(settings_, ranges, index_);
    switch (settings_.GraphSearchMethod) {
    case SearchMethod::IncludeAllNodes:
        walk_ = std::make_unique<SearchWalk>(index_, settings_.sourceNode - 1, -1);
        break;
    case SearchMethod::SourceToDestination:
        walk_ =
            std::make_unique<SearchWalk>(index_, settings_.sourceNode - 1, settings_.DestNode - 1);
        break;
    case SearchMethod::Sample:
        sampler_ = std::make_unique<PathSampler>(index_, settings_.sourceNode - 1,
                                                 settings_.DestNode - 1, settings_.Seed);
        break;
    case SearchMethod::ReadFromFile:
        if (graph_.DuplicateExist()) {
            // Kept as the program has always said it ("them lables").
            Fail("There are Two nodes or more nodes with same label. Please change them lables.");
            return;
        }
        file_ = std::make_unique<PathFileRun>(graph_, settings_.FilePath);
        break;
    default:
        break;
    }
}

RunSession::~RunSession() = default;

RunState RunSession::Step(int64_t budget) {
    if (state_ != RunState::Running && state_ != RunState::Paused)
        return state_;
    state_ = RunState::Running;
    try {
        if (!walk_ && !file_ && !sampler_) {
            Finish();
            return state_;
        }
        while (budget > 0) {
            bool found = false, ended = false;
            if (sampler_) {
                if (samples_ >= settings_.Samples || convergedAt_ > 0) {
                    Finish();
                    return state_;
                }
                const PathSampler::Event event = sampler_->Next(budget);
                found = event == PathSampler::Event::PathFound;
                samples_ += event != PathSampler::Event::OutOfBudget;
                deadEnds_ += event == PathSampler::Event::DeadEnd;
            } else if (walk_) {
                const SearchWalk::Event event = walk_->Next(budget);
                found = event == SearchWalk::Event::PathFound;
                ended = event == SearchWalk::Event::Exhausted;
            } else {
                const PathFileRun::Event event = file_->F_Trace(path_, budget);
                found = event == PathFileRun::Event::PathComplete;
                ended = event == PathFileRun::Event::End;
            }
            if (ended) {
                Finish();
                return state_;
            }
            if (found) {
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
    // The count of an enumeration is 16-bit; sampled runs count in 32 bits.
    if (!sampler_ && pathCount_ == std::numeric_limits<int16_t>::max()) {
        throw PathloomError(ErrorNumber::Overflow, "LA.Start",
                            "Overflow\r\nThe run stopped because a run counts at most 32,767 "
                            "paths.");
    }
    ++pathCount_;
    if (walk_) {
        path_.Reset();
        for (int32_t k = 0; k < walk_->PathLength(); ++k)
            path_.Push(index_.LinkAt(walk_->PathLink(k)));
    } else if (sampler_) {
        path_.Reset();
        for (const int32_t link : sampler_->PathLinks())
            path_.Push(index_.LinkAt(link));
    }
    LearningScheme::Answer answer;
    const auto tell = [&](bool failed) {
        const LearnedPath learned{pathCount_,
                                  sampler_ ? samples_ : pathCount_,
                                  path_,
                                  answer,
                                  scheme_->ChangedLinks(),
                                  bestCost_,
                                  BestProbability(),
                                  failed};
        for (RunObserver* observer : observers_)
            observer->PathLearned(learned);
    };
    try {
        answer = scheme_->LearnFromPath(path_);
    } catch (const PathloomError&) {
        // Counted and shown all the same, so that the path that failed can be found.
        answer.cost = std::numeric_limits<float>::quiet_NaN();
        tell(true);
        throw;
    }
    if (bestLinks_.empty() || answer.cost < bestCost_) {
        bestCost_ = answer.cost;
        bestLinks_.assign(path_.Count(), nullptr);
        for (int32_t k = 0; k < path_.Count(); ++k)
            bestLinks_[static_cast<std::size_t>(k)] = path_.Link(k);
    }
    if (sampler_ && settings_.Target && BestProbability() >= *settings_.Target)
        convergedAt_ = samples_;
    tell(false);
}

double RunSession::BestProbability() const {
    if (bestLinks_.empty())
        return 0.0;
    double product = 1.0;
    for (const clsLink* link : bestLinks_)
        product *= static_cast<double>(link->Probability);
    return product;
}

std::string RunSession::BestTrace() const {
    clsPathStack best;
    for (clsLink* link : bestLinks_)
        best.Push(link);
    return best.Trace();
}

void RunSession::Stop() {
    if (state_ != RunState::Running && state_ != RunState::Paused)
        return;
    stopped_ = true;
    Finish();
}

void RunSession::Finish() {
    graph_.ResetFlags();
    path_.Reset();
    notFound_ = pathCount_ == 0 && !stopped_;
    state_ = RunState::Finished;
}

void RunSession::Fail(const std::string& message) {
    message_ = message;
    if (file_) {
        // The path-file mode reports its error and then ends as a run ends.
        Finish();
    } else {
        // A walk keeps the path it was on flagged, so that it shows where the run stopped.
        ShowPath();
    }
    state_ = RunState::Failed;
}

void RunSession::ShowPath() {
    graph_.ResetFlags();
    if (sampler_) {
        // Samples come and go too fast to watch: the last learned path is what shows.
        for (int32_t k = 0; k < path_.Count(); ++k)
            path_.Link(k)->Flag = true;
        return;
    }
    if (walk_) {
        for (int32_t k = 0; k < walk_->PathLength(); ++k)
            index_.LinkAt(walk_->PathLink(k))->Flag = true;
        return;
    }
    for (int32_t k = 0; k < path_.Count(); ++k)
        path_.Link(k)->Flag = true;
}
