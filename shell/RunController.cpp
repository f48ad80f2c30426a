#include "RunController.h"

#include "Latin1Text.h"
#include "clsLA.h"

#include <utility>

namespace {
// A slice of stepping ends after this long, so that the window answers input (a screen reader
// included) about as fast as when idle; Stop takes effect within a slice.
constexpr qint64 SliceMs = 8;
constexpr int64_t StepBudget = 4096;
// Drawing a large graph costs more than a slice: the canvas follows a running run less often.
constexpr qint64 RedrawIntervalMs = 200;
} // namespace

RunController::RunController(clsLA& engine, QObject* parent) : QObject(parent), engine_(engine) {
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, [this] { Slice(); });
}

RunController::~RunController() = default;

void RunController::Start(const RunSettings& settings) {
    pending_ = Pending::None;
    shownCount_ = -1;
    session_ = std::make_unique<RunSession>(engine_.Graph(), engine_.Ranges(), settings);
    sinceRedraw_.start();
    timer_.start();
}

void RunController::Forward() {
    if (paused_) {
        paused_ = false;
        timer_.start();
        return;
    }
    if (session_)
        pending_ = Pending::Forward;
}

void RunController::Stop() {
    if (!session_)
        return;
    if (paused_ || !session_->Settings().EnableDelay) {
        paused_ = false;
        session_->Stop();
        End();
        return;
    }
    pending_ = Pending::Stop; // with step delay the run stops at its next pause
}

void RunController::Slice() {
    QElapsedTimer slice;
    slice.start();
    RunState state = RunState::Running;
    do {
        state = session_->Step(StepBudget);
    } while (state == RunState::Running && slice.elapsed() < SliceMs);

    if (const int64_t count = session_->PathCount() + session_->Samples(); count != shownCount_) {
        shownCount_ = count;
        emit Progress();
    }
    if (state == RunState::Paused)
        Pause();
    else if (state != RunState::Running)
        End();
    else if (sinceRedraw_.elapsed() >= RedrawIntervalMs) {
        sinceRedraw_.restart();
        session_->ShowPath();
        emit Redraw();
    }
}

void RunController::Pause() {
    timer_.stop();
    paused_ = true;
    session_->ShowPath();
    emit Redraw();
    const Pending pending = std::exchange(pending_, Pending::None);
    if (pending == Pending::Forward)
        Forward();
    else if (pending == Pending::Stop)
        Stop();
}

void RunController::End() {
    timer_.stop();
    const QString failure = session_->State() == RunState::Failed
                                ? Platform::FromMessageText(session_->Message())
                                : QString();
    const bool notFound = session_->NotFound();
    lastPathCount_ = session_->PathCount();
    session_.reset();
    emit Ended(failure, notFound);
}
