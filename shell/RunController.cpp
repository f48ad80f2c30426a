#include "RunController.h"

#include "GraphDocument.h"
#include "Latin1Text.h"

#include <utility>

namespace {
// A slice of stepping ends after this long, so that the window answers input (a screen reader
// included) about as fast as when idle; Stop takes effect within a slice.
constexpr qint64 SliceMs = 8;
constexpr int64_t StepBudget = 4096;
// Drawing a large graph costs more than a slice: the canvas follows a running run less often.
constexpr qint64 RedrawIntervalMs = 200;
} // namespace

RunController::RunController(GraphDocument& document, QObject* parent)
    : QObject(parent), document_(document) {
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, [this] { Slice(); });
}

RunController::~RunController() = default;

RunSession* RunController::Session() const {
    return document_.Run();
}

void RunController::Start(const RunSettings& settings) {
    pending_ = Pending::None;
    shownCount_ = -1;
    document_.BeginRun(settings);
    sinceRedraw_.start();
    timer_.start();
}

void RunController::Forward() {
    if (paused_) {
        paused_ = false;
        timer_.start();
        return;
    }
    if (Session())
        pending_ = Pending::Forward;
}

void RunController::Stop() {
    RunSession* session = Session();
    if (!session)
        return;
    if (paused_ || !session->Settings().EnableDelay) {
        paused_ = false;
        session->Stop();
        End();
        return;
    }
    pending_ = Pending::Stop; // with step delay the run stops at its next pause
}

void RunController::Slice() {
    RunSession& session = *Session();
    QElapsedTimer slice;
    slice.start();
    RunState state = RunState::Running;
    do {
        state = session.Step(StepBudget);
    } while (state == RunState::Running && slice.elapsed() < SliceMs);

    if (const int64_t count = session.PathCount() + session.Samples(); count != shownCount_) {
        shownCount_ = count;
        emit Progress();
    }
    if (state == RunState::Paused)
        Pause();
    else if (state != RunState::Running)
        End();
    else if (sinceRedraw_.elapsed() >= RedrawIntervalMs) {
        sinceRedraw_.restart();
        session.ShowPath();
        emit Redraw();
    }
}

void RunController::Pause() {
    timer_.stop();
    paused_ = true;
    Session()->ShowPath();
    emit Redraw();
    const Pending pending = std::exchange(pending_, Pending::None);
    if (pending == Pending::Forward)
        Forward();
    else if (pending == Pending::Stop)
        Stop();
}

void RunController::End() {
    timer_.stop();
    const RunSession& session = *Session();
    const QString failure = session.State() == RunState::Failed
                                ? Platform::FromMessageText(session.Message())
                                : QString();
    const bool notFound = session.NotFound();
    lastPathCount_ = session.PathCount();
    document_.EndRun(); // what the run learned, as one step
    emit Ended(failure, notFound);
}
