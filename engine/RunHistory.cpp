#include "RunHistory.h"

#include "CsvText.h"
#include "Latin1.h"
#include "LinkColumns.h"
#include "clsGraph.h"

#include <algorithm>
#include <utility>

using CsvText::AppendField;
using CsvText::AppendNumber;

std::vector<RunHistory::Leaving> RunHistory::LinksLeaving(const clsGraph& graph, int32_t node) {
    std::vector<Leaving> leaving;
    if (node < 1 || node > graph.NodeCount())
        return leaving;
    const clsNode* at = &graph.Node(node);
    for (int32_t j = 1; j <= graph.LinkCount(); ++j) {
        const clsLink& link = graph.Link(j);
        if (link.FromNode == at)
            leaving.push_back({j, graph.NodeIndexOf(link.ToNode)});
        else if (link.ToNode == at && link.LinkType != LinkKind::Unidirectional)
            leaving.push_back({j, graph.NodeIndexOf(link.FromNode)});
    }
    return leaving;
}

RunHistory::RunHistory(const clsGraph& graph, std::vector<int32_t> watched, std::size_t maxPoints)
    : graph_(graph), linkCount_(static_cast<std::size_t>(graph.LinkCount())),
      maxPoints_(std::max<std::size_t>(maxPoints, 4)) {
    for (const int32_t link : watched) {
        graph.Link(link); // an index error for a link that is not there
        watched_.push_back(link - 1);
    }
}

std::string RunHistory::Header() const {
    std::string header = "n,trace,cost,decision,best cost,best-path probability";
    for (const std::string& name : LinkColumns(graph_)) {
        header += ',';
        AppendField(header, name);
    }
    header += '\n';
    return header;
}

void RunHistory::StreamTo(std::ostream& csv, int64_t maxRows) {
    csv_ = &csv;
    maxRows_ = maxRows;
    const std::string header = Header();
    csv_->write(header.data(), static_cast<std::streamsize>(header.size()));
}

void RunHistory::KeepRows(int64_t maxRows) {
    keeping_ = true;
    maxRows_ = maxRows;
    // The graph may have changed by the time the rows are written.
    header_ = Header();
    for (int32_t j = 1; j <= graph_.LinkCount(); ++j) {
        const clsLink& link = graph_.Link(j);
        linkTraces_.push_back(
            Latin1::ToUtf8(link.FromNode->Label() + "->" + link.ToNode->Label() + ":"));
    }
}

const RunHistory::Record& RunHistory::Taken(const RunSession& session) {
    if (std::exchange(latestUntaken_, false)) {
        Point& latest = kept_.points.back();
        latest.bestProbability = session.BestProbability();
        latest.bar = session.Bar();
        latest.preferredProbability = session.PreferredProbability();
    }
    return kept_;
}

RunHistory::Point RunHistory::PointOf(const LearnedPath& path) {
    return {path.sample,
            path.answer.cost,
            path.answer.favourable,
            path.answer.beta,
            path.bestCost,
            path.BestProbability(),
            path.Bar(),
            path.PreferredProbability()};
}

void RunHistory::PathLearned(const LearnedPath& path) {
    ++kept_.paths;
    const bool spaced = (kept_.paths & (stride_ - 1)) == 0; // the stride is a power of two
    const bool row = (csv_ || keeping_) && RowWanted();
    // A point only the latest until the next path rarely needs its probabilities: products over
    // the best and the preferred path, which would cost the run a tenth of its speed.
    latestUntaken_ = !spaced && !row;
    const Point point = latestUntaken_ ? Point{path.sample,
                                               path.answer.cost,
                                               path.answer.favourable,
                                               path.answer.beta,
                                               path.bestCost,
                                               0.0,
                                               0.0,
                                               0.0}
                                       : PointOf(path);
    Keep(point, spaced, path);
    if (row) {
        if (csv_)
            WriteRow(point, path);
        else
            KeepRow(point, path);
    }
}

void RunHistory::Keep(const Point& point, bool spaced, const LearnedPath& path) {
    // The latest point takes the place of one that was only the latest.
    if (!lastIsExtra_) {
        kept_.points.emplace_back();
        kept_.watched.resize(kept_.watched.size() + watched_.size());
    }
    kept_.points.back() = point;
    float* watched = kept_.watched.data() + kept_.watched.size() - watched_.size();
    for (const int32_t link : watched_)
        *watched++ = path.Probability(link);
    lastIsExtra_ = !spaced;
    if (!lastIsExtra_ && kept_.points.size() >= maxPoints_)
        Thin();
}

// Keeps every other point: those of the paths that are multiples of the doubled spacing.
void RunHistory::Thin() {
    stride_ *= 2;
    const std::size_t w = watched_.size();
    std::vector<Point>& points = kept_.points;
    std::vector<float>& watched = kept_.watched;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if ((static_cast<int64_t>(i) + 1) % 2 != 0)
            continue;
        points[kept] = points[i];
        std::copy_n(watched.begin() + static_cast<std::ptrdiff_t>(i * w), w,
                    watched.begin() + static_cast<std::ptrdiff_t>(kept * w));
        ++kept;
    }
    points.resize(kept);
    watched.resize(kept * w);
}

bool RunHistory::RowWanted() {
    if (maxRows_ >= 0 && kept_.rows >= maxRows_) {
        kept_.truncated = true;
        return false;
    }
    ++kept_.rows;
    return true;
}

void RunHistory::AppendRow(std::string& row, const Point& point, const std::string& trace,
                           const std::vector<std::string>& cells) {
    row.clear();
    AppendNumber(row, point.x);
    row += ',';
    AppendField(row, trace);
    row += ',';
    AppendNumber(row, point.cost);
    row += ',';
    AppendNumber(row, point.answer);
    row += ',';
    AppendNumber(row, point.bestCost);
    row += ',';
    AppendNumber(row, point.bestProbability);
    for (const std::string& cell : cells) {
        row += ',';
        row += cell;
    }
    row += '\n';
}

void RunHistory::WriteRow(const Point& point, const LearnedPath& path) {
    // Each link's text is kept and written again until its probability changes: a learning
    // step changes a few links, a row holds them all.
    const auto format = [this, &path](std::size_t j) {
        std::string& cell = cells_[j];
        cell.clear();
        AppendNumber(cell, path.Probability(static_cast<int32_t>(j)));
    };
    if (cells_.empty()) {
        cells_.resize(linkCount_);
        for (std::size_t j = 0; j < cells_.size(); ++j)
            format(j);
    } else {
        for (const int32_t j : path.ChangedLinks())
            format(static_cast<std::size_t>(j));
    }
    AppendRow(row_, point, Latin1::ToUtf8(path.Links().Trace()), cells_);
    csv_->write(row_.data(), static_cast<std::streamsize>(row_.size()));
}

void RunHistory::KeepRow(const Point& point, const LearnedPath& path) {
    std::lock_guard lock(rowsMutex_);
    if (rows_.empty()) {
        firstProbabilities_.resize(linkCount_);
        for (std::size_t j = 0; j < linkCount_; ++j)
            firstProbabilities_[j] = path.Probability(static_cast<int32_t>(j));
    } else {
        for (const int32_t j : path.ChangedLinks())
            changes_.push_back({j, path.Probability(j)});
    }
    const PathView walked = path.LinkPositions();
    walked_.insert(walked_.end(), walked.begin(), walked.end());
    rows_.push_back({point, walked_.size(), changes_.size()});
}

void RunHistory::WriteKeptRows(std::ostream& csv, int64_t rows) const {
    csv.write(header_.data(), static_cast<std::streamsize>(header_.size()));
    std::lock_guard lock(rowsMutex_);
    std::vector<std::string> cells(linkCount_);
    for (std::size_t j = 0; j < linkCount_ && !rows_.empty(); ++j)
        AppendNumber(cells[j], firstProbabilities_[j]);
    std::string row, trace;
    std::size_t change = 0, walked = 0;
    const auto count = std::min(rows_.size(), static_cast<std::size_t>(std::max<int64_t>(rows, 0)));
    for (std::size_t i = 0; i < count; ++i) {
        for (; change < rows_[i].changesEnd; ++change) {
            std::string& cell = cells[static_cast<std::size_t>(changes_[change].link)];
            cell.clear();
            AppendNumber(cell, changes_[change].probability);
        }
        for (trace.clear(); walked < rows_[i].walkedEnd; ++walked)
            trace += linkTraces_[static_cast<std::size_t>(walked_[walked])];
        AppendRow(row, rows_[i].point, trace, cells);
        csv.write(row.data(), static_cast<std::streamsize>(row.size()));
    }
}
