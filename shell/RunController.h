#pragma once
// Run control: steps the run session from a zero-delay timer in slices short enough to keep the
// window answering, stops stepping while a run with step delay is paused after a path, and goes
// on with Forward or ends the run with Stop. The document starts and records the run; the
// controller knows nothing of widgets: the window listens.

#include "RunSession.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class GraphDocument;

class RunController : public QObject {
    Q_OBJECT
  public:
    explicit RunController(GraphDocument& document, QObject* parent = nullptr);
    ~RunController() override;

    // Starts the document's run of these settings.
    void Start(const RunSettings& settings);
    // Forward and Stop: a press that comes before a pause with step delay ends that pause at
    // once; Stop ends a run without step delay right away.
    void Forward();
    void Stop();

    bool Paused() const { return paused_; }
    int32_t PathCount() const { return Session() ? Session()->PathCount() : lastPathCount_; }
    // The session while a run goes on, to watch its paths.
    RunSession* Session() const;

  signals:
    // The canvas should be drawn again: the run's path is flagged on the graph's links.
    void Redraw();
    // The run's counts changed (paths found, samples drawn): the session tells them.
    void Progress();
    // The run ended: what the window must say, in order (critical message first, then "Not
    // found any path."), already decided; the session is gone and the document has recorded what
    // it learned when this is emitted.
    void Ended(const QString& failure, bool notFound);

  private:
    void Slice();
    void Pause();
    void End();

    GraphDocument& document_;
    QTimer timer_;
    QElapsedTimer sinceRedraw_;
    enum class Pending { None, Forward, Stop } pending_ = Pending::None;
    bool paused_ = false; // waiting for Forward or Stop
    int32_t lastPathCount_ = 0;
    int64_t shownCount_ = -1; // paths and samples when Progress was last emitted
};
