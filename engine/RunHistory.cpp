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
    : graph_(graph), maxPoints_(std::max<std::size_t>(maxPoints, 4)) {
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
    *csv_ << header << '\n';
}

void RunHistory::PathLearned(const LearnedPath& path) {
    ++paths_;
    const Point point{path.sample,      path.answer.cost, path.answer.favourable,
                      path.answer.beta, path.bestCost,    path.BestProbability()};
    Keep(point, path);
    if (csv_)
        WriteRow(point, path);
}

void RunHistory::Keep(const Point& point, const LearnedPath& path) {
    if (lastIsExtra_) {
        points_.pop_back();
        watchedValues_.resize(watchedValues_.size() - watched_.size());
    }
    lastIsExtra_ = paths_ % stride_ != 0;
    points_.push_back(point);
    for (const int32_t link : watched_)
        watchedValues_.push_back(path.Probability(link));
    if (!lastIsExtra_ && points_.size() >= maxPoints_)
        Thin();
}

// Keeps every other point: those of the paths that are multiples of the doubled spacing.
void RunHistory::Thin() {
    stride_ *= 2;
    const std::size_t w = watched_.size();
    std::size_t kept = 0;
    for (std::size_t i = 0; i < points_.size(); ++i) {
        if ((static_cast<int64_t>(i) + 1) % 2 != 0)
            continue;
        points_[kept] = points_[i];
        std::copy_n(watchedValues_.begin() + static_cast<std::ptrdiff_t>(i * w), w,
                    watchedValues_.begin() + static_cast<std::ptrdiff_t>(kept * w));
        ++kept;
    }
    points_.resize(kept);
    watchedValues_.resize(kept * w);
}

void RunHistory::WriteRow(const Point& point, const LearnedPath& path) {
    if (maxRows_ >= 0 && rows_ >= maxRows_) {
        truncated_ = true;
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
        cells_.resize(static_cast<std::size_t>(graph_.LinkCount()));
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
    ++rows_;
}
