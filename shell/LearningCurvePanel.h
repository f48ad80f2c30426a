#pragma once
// The "Learning Curve" dock: against the path number (the sample number in sampled runs), the
// probability of each link leaving the watched node, the probability of the cheapest path found so
// far as a thicker line, and each path's cost on a second axis, rewarded and penalised apart. It
// follows a run from the snapshots the window shows and shows the last run after it ends. Its
// context menu saves the chart as PNG or SVG and the run's history as CSV.

#include "FileDialog.h"
#include "RunHistory.h"

#include <QDockWidget>
#include <QElapsedTimer>
#include <memory>
#include <vector>

class CurveLegend;
class QCategoryAxis;
class QChart;
class QLabel;
class QLineSeries;
class QScatterSeries;
class QTimer;
class clsGraph;

class LearningCurvePanel : public QDockWidget {
    Q_OBJECT
  public:
    explicit LearningCurvePanel(QWidget* parent);
    ~LearningCurvePanel() override;

    // A run starts: watches the links leaving the node (1-based; none outside the graph) and
    // gives the history the run's session must be observed by. The run's thread writes it; the
    // panel reads it again only after EndRun.
    // An experiment's run (a stochastic graph, or RunSettings::ExperimentChoices) also shows its
    // bar on the cost axis and its preferred path's probability.
    RunHistory& BeginRun(const clsGraph& graph, int32_t node, bool sampled, bool experiment);
    // The history as a snapshot of the run holds it; the record must live until the next call
    // or EndRun.
    void ShowRun(const RunHistory::Record& record);
    // The run ended: the chart shows the whole of it, and the summary its figures and `more`
    // (an experiment's choices and preferred path).
    void EndRun(const QString& more = QString());
    // Nothing shown: New, Open and Reset.
    void Clear();
    // The run's figures above the legend go (the next edit or run); its curves stay.
    void ClearSummary();
    // The figures of the last run, shown until ClearSummary.
    const QString& Summary() const { return summary_; }

    QChart* Chart() const { return chart_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    class View;

    void Refresh(const RunHistory::Record& record);
    // The axes' ticks for the highest path and cost shown and the room the chart gives them.
    void ShowTicks();
    void ShowLegend();
    void SaveChart(bool svg);
    void SaveHistory();
    void SaveBytes(const QString& fileName, const QByteArray& bytes);

    QChart* chart_; // owned by the view; made first so that the view never makes its own
    View* view_;
    QLabel* summaryLabel_;
    CurveLegend* legend_;
    QString summary_;
    QCategoryAxis* xAxis_;
    QCategoryAxis* probabilityAxis_;
    QCategoryAxis* costAxis_;
    double lastPath_ = 0, maxCost_ = 0; // the highest values the axes must reach
    std::vector<QLineSeries*> linkSeries_;
    QLineSeries* best_ = nullptr;
    QLineSeries* bar_ = nullptr;
    QLineSeries* preferred_ = nullptr;
    QScatterSeries* rewarded_ = nullptr;
    QScatterSeries* penalised_ = nullptr;

    std::unique_ptr<RunHistory> history_;
    const RunHistory::Record* running_ = nullptr; // what a run working shows of history_
    int64_t shownPaths_ = -1;
    Platform::FileDialog pngDialog_, svgDialog_, csvDialog_;
    // Drawing the curves takes the window's time: after a refresh and its painting took T, the
    // next waits at least RefreshShare times T (and the snapshots' tenth of a second), so that a
    // long run's curves never take more than their share of the window's time, however busy the
    // machine.
    QTimer* refreshTimer_;
    QElapsedTimer sinceRefresh_;
    int64_t refreshCost_ = 0; // ns, of the last refresh and the paintings since
};
