#pragma once
// Run control: works the document's run on a thread of its own, on the document's copy of what it
// reads, and hands the window a snapshot of its progress at most ten times a second and at every
// pause. A run with step delay waits at each pause for Forward or Stop; Stop ends a run between
// two of its short steps. The document stays the only writer of what the window shows: it is
// given each snapshot shown, and records what the run learned when it ends. The controller knows
// nothing of widgets: the window listens.

#include "RunHistory.h"
#include "RunSession.h"

#include <QObject>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class GraphDocument;
class clsLA;

// A run as the window shows it, taken between two of its steps.
struct RunSnapshot {
    RunState state = RunState::Running; // Paused while it waits for Forward or Stop
    int32_t pathCount = 0;
    int64_t samples = 0, deadEnds = 0;
    bool found = false; // a path was learned: the best cost and its probability tell of it
    float bestCost = 0.0f;
    double bestProbability = 0.0;
    // By 0-based link position: each probability, and whether the link is on the path shown.
    std::vector<float> probabilities;
    std::vector<bool> flags;
    RunHistory::Record history;
    std::string message; // a failed run's
    bool notFound = false;
    // A run on a stochastic graph (or with RunSettings::ExperimentChoices): the
    // path the automata prefer, as a trace, its probability, and whether it is a shortest path
    // in expectation (none is defined where a cycle of negative expected cost lies on the way).
    bool experiment = false;
    std::string preferredPath; // empty when the preferred path dead-ends
    double preferredProbability = 0.0;
    bool preferredIsShortest = false;
    bool shortestUndefined = false;
    std::vector<int32_t> preferredLinks; // one-based, ascending
};

class RunController : public QObject {
    Q_OBJECT
  public:
    explicit RunController(GraphDocument& document, QObject* parent = nullptr);
    // A run still working is stopped, and its thread has ended when this returns.
    ~RunController() override;

    // Starts the document's run of these settings. The history, when given, observes the run on
    // its thread: it is not to be touched until Ended.
    void Start(const RunSettings& settings, RunHistory* history);
    // Forward and Stop: a press that comes before a pause with step delay ends that pause at
    // once. Stop ends a paused run, and one without step delay, before it returns.
    void Forward();
    void Stop();

    bool Paused() const { return paused_; }
    // Whether the run's thread is there: from Start until the run has ended.
    bool Working() const { return worker_.joinable(); }
    const RunSettings& Settings() const { return settings_; }
    // The snapshot shown last; after a run, its end.
    const RunSnapshot& Shown() const { return shown_; }
    int32_t PathCount() const { return shown_.pathCount; }

  signals:
    // A new snapshot is shown; the document already holds its probabilities and path.
    void Progress();
    // The run ended: what the window must say, in order (critical message first, then "Not
    // found any path."), already decided; the document has recorded what the run learned.
    void Ended(const QString& failure, bool notFound);

  private:
    enum class Halt { None, AtPause, Now };

    // On the run's thread.
    void Work(std::unique_ptr<clsLA> engine, RunHistory* history);
    void TakeSnapshot(RunSession& session, const clsGraph& graph, RunHistory* history, bool last);
    void TakePicture(const clsGraph& graph);
    // With mutex_ held: the snapshot built becomes the newest, and the window is told.
    void Hand(bool waiting);
    // On the window's thread.
    void ShowNewest();
    void End();

    GraphDocument& document_;
    RunSettings settings_;
    std::thread worker_;

    // Shared with the run's thread, under mutex_.
    std::mutex mutex_;
    std::condition_variable wake_;
    RunSnapshot newest_;   // not yet shown when fresh_
    bool fresh_ = false;   // a snapshot waits to be shown
    bool waiting_ = false; // the run waits at a pause
    bool forward_ = false;
    Halt halt_ = Halt::None;

    RunSnapshot building_; // the run's thread's own
    RunSnapshot shown_;    // the window's own
    bool paused_ = false;
};
