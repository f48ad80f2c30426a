#include "RunSession.h"

#include "PathFileRun.h"
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
        if (!walk_ && !file_) {
            Finish();
            return state_;
        }
        while (budget > 0) {
            bool found = false, ended = false;
            if (walk_) {
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
    if (pathCount_ == std::numeric_limits<int16_t>::max()) {
        throw PathloomError(ErrorNumber::Overflow, "LA.Start",
                            "Overflow\r\nThe run stopped because a run counts at most 32,767 "
                            "paths.");
    }
    ++pathCount_;
    if (walk_) {
        path_.Reset();
        for (int32_t k = 0; k < walk_->PathLength(); ++k)
            path_.Push(index_.LinkAt(walk_->PathLink(k)));
    }
    LearningScheme::Answer answer;
    const auto tell = [&](bool failed) {
        const LearnedPath learned{pathCount_, path_, answer, scheme_->ChangedLinks(), failed};
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
    tell(false);
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
    if (walk_) {
        for (int32_t k = 0; k < walk_->PathLength(); ++k)
            index_.LinkAt(walk_->PathLink(k))->Flag = true;
        return;
    }
    for (int32_t k = 0; k < path_.Count(); ++k)
        path_.Link(k)->Flag = true;
}
