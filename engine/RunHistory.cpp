#include "RunHistory.h"

#include "CsvText.h"
#include "Latin1.h"
#include "clsGraph.h"

#include <algorithm>

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

void RunHistory::StreamTo(std::ostream& csv, int64_t maxRows) {
    csv_ = &csv;
    maxRows_ = maxRows;
    std::string header = "n,trace,cost,decision,best cost,best-path probability";
    for (const std::string& name : CsvText::LinkColumns(graph_)) {
        header += ',';
        AppendField(header, name);
    }
    header += '\n';
    csv_->write(header.data(), static_cast<std::streamsize>(header.size()));
    kept_.bytes += static_cast<int64_t>(header.size());
}

const RunHistory::Record& RunHistory::Flushed() {
    if (csv_)
        csv_->flush();
    return kept_;
}

RunHistory::Point RunHistory::PointOf(const LearnedPath& path) {
    return {path.sample,      path.answer.cost, path.answer.favourable,
            path.answer.beta, path.bestCost,    path.BestProbability()};
}

void RunHistory::PathLearned(const LearnedPath& path) {
    ++kept_.paths;
    const Point point = PointOf(path);
    Keep(point, path);
    if (csv_)
        WriteRow(point, path);
}

void RunHistory::Keep(const Point& point, const LearnedPath& path) {
    if (lastIsExtra_) {
        kept_.points.pop_back();
        kept_.watched.resize(kept_.watched.size() - watched_.size());
    }
    lastIsExtra_ = kept_.paths % stride_ != 0;
    kept_.points.push_back(point);
    for (const int32_t link : watched_)
        kept_.watched.push_back(path.Probability(link));
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

void RunHistory::WriteRow(const Point& point, const LearnedPath& path) {
    if (maxRows_ >= 0 && kept_.rows >= maxRows_) {
        kept_.truncated = true;
        return;
    }
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
    row_.clear();
    AppendNumber(row_, point.x);
    row_ += ',';
    AppendField(row_, Latin1::ToUtf8(path.Links().Trace()));
    row_ += ',';
    AppendNumber(row_, point.cost);
    row_ += ',';
    AppendNumber(row_, point.answer);
    row_ += ',';
    AppendNumber(row_, point.bestCost);
    row_ += ',';
    AppendNumber(row_, point.bestProbability);
    for (const std::string& cell : cells_) {
        row_ += ',';
        row_ += cell;
    }
    row_ += '\n';
    csv_->write(row_.data(), static_cast<std::streamsize>(row_.size()));
    ++kept_.rows;
    kept_.bytes += static_cast<int64_t>(row_.size());
}
