#pragma once
// What a run learned, path by path, for learning curves: an observer of the run session that keeps
// the probabilities of a few watched links in memory, thinned so that a run of any length fits,
// and, when given a stream, writes every path with every link's probability as a CSV row. A
// window keeps those rows instead as what each learning step changed, and pays for their text
// only when they are saved.

#include "RunSession.h"

#include <cstdint>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

class clsGraph;

class RunHistory : public RunObserver {
  public:
    struct Point {
        int64_t x;     // the path number; in sampled runs the sample number, dead ends included
        float cost;    // not a number for a path whose learning step failed
        bool rewarded; // the P-model's reward, or an S-model answer below 1
        double answer; // 0 or 1 in the P-model; the S-model's answer
        float bestCost;
        double bestProbability; // that the automata choose the cheapest path so far
        // The cost the next path is judged against, and in an experiment the preferred path's
        // probability; else not a number.
        double bar;
        double preferredProbability;
    };

    // A link a walk may take from a node, and the node at its other end (1-based indexes).
    struct Leaving {
        int32_t link;
        int32_t to;
    };
    // What the history keeps of a learned path.
    static Point PointOf(const LearnedPath& path);

    // The links the walks may take from the node, in link order: unidirectional links from their
    // start only, the others either way.
    static std::vector<Leaving> LinksLeaving(const clsGraph& graph, int32_t node);

    // Watches the links given by 1-based index. The graph must outlive StreamTo; points are
    // kept up to about maxPoints, then every other one is dropped and the spacing doubled.
    RunHistory(const clsGraph& graph, std::vector<int32_t> watched, std::size_t maxPoints = 4096);

    // Every path from now on as a CSV row, the header first; after maxRows rows (any number when
    // negative) the rows stop and Truncated() says so.
    void StreamTo(std::ostream& csv, int64_t maxRows = -1);
    // The rows of the first maxRows paths kept in memory, to be written by WriteKeptRows.
    void KeepRows(int64_t maxRows);
    // The header and the first `rows` kept rows, the very bytes StreamTo writes. The run's
    // thread may go on keeping rows meanwhile, and the graph may have changed since.
    void WriteKeptRows(std::ostream& csv, int64_t rows) const;
    bool Truncated() const { return kept_.truncated; }
    int64_t RowsWritten() const { return kept_.rows; }

    void PathLearned(const LearnedPath& path) override;

    // What the history holds, as a value: a window that draws it while the run goes on apart
    // takes copies of it between the run's steps.
    struct Record {
        std::vector<Point> points;  // evenly spaced over the run, and the latest one
        std::vector<float> watched; // the watched links' probabilities, point after point
        int64_t paths = 0;
        int64_t rows = 0; // CSV rows written or kept
        bool truncated = false;
    };
    // The record between two of the session's steps. The latest point's best-path probability,
    // when that point is only the latest, is worked out here, not after every path: it is the
    // session's own until its next step.
    const Record& Taken(const RunSession& session);
    // The record as it stands: after the run, as it was last taken.
    const Record& Kept() const { return kept_; }

    // The kept points, evenly spaced over the run, and the latest one, kept whatever the spacing
    // (its best-path probability as last taken).
    const std::vector<Point>& Points() const { return kept_.points; }
    // The watched links' probabilities after the learning step of kept point `point`.
    float Watched(std::size_t point, std::size_t link) const {
        return kept_.watched[point * watched_.size() + link];
    }
    int64_t PathCount() const { return kept_.paths; }

  private:
    void Keep(const Point& point, bool spaced, const LearnedPath& path);
    void Thin();
    // Whether this path gets a row; else the rows are truncated from now on.
    bool RowWanted();
    std::string Header() const;
    void WriteRow(const Point& point, const LearnedPath& path);
    void KeepRow(const Point& point, const LearnedPath& path);
    static void AppendRow(std::string& row, const Point& point, const std::string& trace,
                          const std::vector<std::string>& cells);

    const clsGraph& graph_; // read only while the history is made and given its stream
    std::size_t linkCount_;
    std::vector<int32_t> watched_; // 0-based link positions
    std::size_t maxPoints_;
    Record kept_;
    int64_t stride_ = 1;         // every stride-th path is kept; a power of two
    bool lastIsExtra_ = false;   // the last point is only the latest, not one of the spaced ones
    bool latestUntaken_ = false; // and its best-path probability is not worked out yet
    std::ostream* csv_ = nullptr;
    int64_t maxRows_ = -1;
    std::vector<std::string> cells_; // each link's probability as text
    std::string row_;

    // Kept rows: every probability after the first path, then each path's walked links and
    // changes.
    struct KeptRow {
        Point point;
        std::size_t walkedEnd, changesEnd; // where its links end in walked_ and changes_
    };
    struct Change {
        int32_t link;
        float probability;
    };
    bool keeping_ = false;
    std::string header_;
    std::vector<std::string> linkTraces_; // each link as a trace writes it: "A->B:"
    mutable std::mutex rowsMutex_;        // the window writes kept rows while the run keeps more
    std::vector<float> firstProbabilities_;
    std::vector<KeptRow> rows_;
    std::vector<int32_t> walked_;
    std::vector<Change> changes_;
};
