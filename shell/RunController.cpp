#include "RunController.h"

#include "GraphDocument.h"
#include "Latin1Text.h"
#include "PathloomError.h"
#include "ThreadPriority.h"
#include "clsLA.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <utility>

namespace {
// A step this small takes well under a hundredth of a second, so that Stop ends a run at once.
constexpr int64_t StepBudget = 4096;
constexpr auto SnapshotInterval = std::chrono::milliseconds(100);
} // namespace

RunController::RunController(GraphDocument& document, QObject* parent)
    : QObject(parent), document_(document) {}

RunController::~RunController() {
    if (!worker_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        halt_ = Halt::Now;
    }
    wake_.notify_one();
    worker_.join();
}

void RunController::Start(const RunSettings& settings, RunHistory* history) {
    settings_ = settings;
    forward_ = waiting_ = fresh_ = paused_ = false;
    halt_ = Halt::None;
    shown_ = RunSnapshot();
    worker_ = std::thread(&RunController::Work, this, document_.BeginRun(settings), history);
}

void RunController::Forward() {
    if (!Working())
        return;
    {
        // Ends the pause the run waits at, at once; else the next one. The last press counts.
        std::lock_guard lock(mutex_);
        if (waiting_) {
            waiting_ = false;
        } else {
            forward_ = true;
            if (halt_ == Halt::AtPause)
                halt_ = Halt::None;
        }
    }
    paused_ = false;
    wake_.notify_one();
}

void RunController::Stop() {
    if (!Working())
        return;
    bool now;
    {
        // With step delay a run stops at its pause: at once when it waits there, else at the next.
        std::lock_guard lock(mutex_);
        now = !settings_.EnableDelay || waiting_;
        halt_ = now ? Halt::Now : Halt::AtPause;
        forward_ = false;
    }
    wake_.notify_one();
    if (now) {
        worker_.join();
        ShowNewest(); // the run's last snapshot, which ends it
    }
}

void RunController::Work(std::unique_ptr<clsLA> engine, RunHistory* history) {
    Platform::YieldToWindow();
    const clsGraph& graph = engine->Graph();
    std::optional<RunSession> session;
    try {
        session.emplace(engine->Graph(), engine->Ranges(), engine->Settings);
    } catch (const std::exception& e) {
        // No run to step: the run fails as one refused would, its graph as it was.
        const auto* error = dynamic_cast<const PathloomError*>(&e);
        building_.state = RunState::Failed;
        building_.message = error ? error->Description() : "Out of memory";
        TakePicture(graph);
        std::lock_guard lock(mutex_);
        Hand(false);
        return;
    }
    if (history)
        session->AddObserver(*history);
    auto handed = std::chrono::steady_clock::now() - SnapshotInterval;
    while (session->State() == RunState::Running || session->State() == RunState::Paused) {
        std::unique_lock lock(mutex_);
        if (halt_ == Halt::Now)
            break;
        lock.unlock();
        const RunState state = session->Step(StepBudget);
        if (state == RunState::Paused) {
            lock.lock();
            if (halt_ != Halt::None) // pressed before this pause
                break;
            if (!std::exchange(forward_, false)) { // else a Forward before it goes on at once
                lock.unlock();
                TakeSnapshot(*session, graph, history, false);
                lock.lock();
                Hand(true);
                wake_.wait(lock, [this] { return !waiting_ || halt_ == Halt::Now; });
                if (halt_ == Halt::Now)
                    break;
                handed = std::chrono::steady_clock::now();
            }
        } else if (const auto now = std::chrono::steady_clock::now();
                   state == RunState::Running && now - handed >= SnapshotInterval) {
            // A run that ended is shown by its last snapshot alone: the window ends the run
            // when it shows one, and must not be handed another after it.
            handed = now;
            TakeSnapshot(*session, graph, history, false);
            lock.lock();
            Hand(false);
        }
    }
    session->Stop(); // nothing when the run ended by itself
    TakeSnapshot(*session, graph, history, true);
    std::lock_guard lock(mutex_);
    Hand(false);
}

void RunController::TakeSnapshot(RunSession& session, const clsGraph& graph, RunHistory* history,
                                 bool last) {
    RunSnapshot& s = building_;
    // A run that ended has left the graph as it must stay: the path it failed on flagged.
    if (!last)
        session.ShowPath();
    s.state = session.State();
    s.pathCount = session.PathCount();
    s.samples = session.Samples();
    s.deadEnds = session.DeadEnds();
    s.found = !session.BestPath().empty();
    s.bestCost = session.BestCost();
    s.bestProbability = session.BestProbability();
    TakePicture(graph);
    if (history)
        s.history = history->Taken(session);
    s.message = session.Message();
    s.notFound = session.NotFound();
    s.experiment = session.Experiment();
    if (s.experiment) {
        const MeasuredPath preferred = session.PreferredPath();
        s.preferredPath = preferred.found ? session.TraceOf(preferred.links) : "";
        s.preferredProbability = preferred.probability;
        s.preferredIsShortest = session.PreferredIsShortest();
        s.shortestUndefined = session.ExpectedShortest().undefined;
        s.preferredLinks.clear();
        for (const int32_t link : preferred.links)
            s.preferredLinks.push_back(link + 1);
        std::sort(s.preferredLinks.begin(), s.preferredLinks.end());
    }
}

void RunController::TakePicture(const clsGraph& graph) {
    building_.probabilities.resize(static_cast<std::size_t>(graph.LinkCount()));
    building_.flags.resize(building_.probabilities.size());
    for (int32_t j = 1; j <= graph.LinkCount(); ++j) {
        building_.probabilities[static_cast<std::size_t>(j - 1)] = graph.Link(j).Probability;
        building_.flags[static_cast<std::size_t>(j - 1)] = graph.Link(j).Flag;
    }
}

void RunController::Hand(bool waiting) {
    std::swap(newest_, building_);
    waiting_ = waiting;
    // One call waits in the window's queue at most; it shows the newest snapshot of its time.
    if (!std::exchange(fresh_, true))
        QMetaObject::invokeMethod(
            this, [this] { ShowNewest(); }, Qt::QueuedConnection);
}

void RunController::ShowNewest() {
    {
        std::lock_guard lock(mutex_);
        if (!fresh_)
            return;
        std::swap(shown_, newest_);
        fresh_ = false;
        paused_ = waiting_;
    }
    document_.ShowRun(shown_.probabilities, shown_.flags);
    emit Progress();
    if (shown_.state != RunState::Running && shown_.state != RunState::Paused)
        End();
}

void RunController::End() {
    if (worker_.joinable())
        worker_.join();
    paused_ = false;
    const QString failure =
        shown_.state == RunState::Failed ? Platform::FromMessageText(shown_.message) : QString();
    document_.EndRun(); // what the run learned, as one step
    emit Ended(failure, shown_.notFound);
}
