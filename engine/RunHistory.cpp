#include "RunHistory.h"

#include "Latin1.h"
#include "clsGraph.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>

namespace {

template <typename Real> void AppendNumber(std::string& out, Real value) {
    if (!std::isfinite(value))
        return; // an empty field
    char text[32];
    out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// A field as RFC 4180 has it: quoted when it holds a comma, a quote or a line break.
void AppendField(std::string& out, const std::string& utf8) {
    if (utf8.find_first_of(",\"\r\n") == std::string::npos) {
        out += utf8;
        return;
    }
    out += '"';
    for (const char c : utf8) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

} // namespace

std::vector<RunHistory::Leaving> RunHistory::LinksLeaving(const clsGraph& graph, int32_t node) {
    std::vector<Leaving> leaving;
    if (node < 1 || node > graph.NodeCount())
        return leaving;
    const clsNode* at = &graph.Node(node);
    const auto indexOf = [&graph](const clsNode* n) {
        for (int32_t i = 1; i <= graph.NodeCount(); ++i)
            if (&graph.Node(i) == n)
                return i;
        return -1;
    };
    for (int32_t j = 1; j <= graph.LinkCount(); ++j) {
        const clsLink& link = graph.Link(j);
        if (link.FromNode == at)
            leaving.push_back({j, indexOf(link.ToNode)});
        else if (link.ToNode == at && link.LinkType != LinkKind::Unidirectional)
            leaving.push_back({j, indexOf(link.FromNode)});
    }
    return leaving;
}

RunHistory::RunHistory(const clsGraph& graph, std::vector<int32_t> watched, std::size_t maxPoints)
    : graph_(graph), maxPoints_(std::max<std::size_t>(maxPoints, 4)) {
    for (const int32_t link : watched)
        watched_.push_back(&graph.Link(link));
}

void RunHistory::StreamTo(std::ostream& csv, int64_t maxRows) {
    csv_ = &csv;
    maxRows_ = maxRows;
    // Links are named by their ends; where two share a name, by their number too.
    std::map<std::string, int> uses;
    std::vector<std::string> names;
    for (int32_t j = 1; j <= graph_.LinkCount(); ++j) {
        const clsLink& link = graph_.Link(j);
        names.push_back(Latin1::ToUtf8(link.FromNode->Label()) + "->" +
                        Latin1::ToUtf8(link.ToNode->Label()));
        ++uses[names.back()];
    }
    std::string header = "n,trace,cost,decision,best cost,best-path probability";
    for (std::size_t j = 0; j < names.size(); ++j) {
        header += ',';
        AppendField(header,
                    uses[names[j]] > 1 ? names[j] + " #" + std::to_string(j + 1) : names[j]);
    }
    *csv_ << header << '\n';
}

void RunHistory::PathLearned(const LearnedPath& path) {
    ++paths_;
    const Point point{path.sample,      path.answer.cost, path.answer.favourable,
                      path.answer.beta, path.bestCost,    path.bestProbability};
    Keep(point);
    if (csv_)
        WriteRow(point, path.links.Trace(), path.changedLinks);
}

void RunHistory::Keep(const Point& point) {
    if (lastIsExtra_) {
        points_.pop_back();
        watchedValues_.resize(watchedValues_.size() - watched_.size());
    }
    lastIsExtra_ = paths_ % stride_ != 0;
    points_.push_back(point);
    for (const clsLink* link : watched_)
        watchedValues_.push_back(link->Probability);
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

void RunHistory::WriteRow(const Point& point, const std::string& trace,
                          const std::vector<int32_t>& changed) {
    if (maxRows_ >= 0 && rows_ >= maxRows_) {
        truncated_ = true;
        return;
    }
    // Each link's text is kept and written again until its probability changes: a learning
    // step changes a few links, a row holds them all.
    const auto format = [this](std::size_t j) {
        std::string& cell = cells_[j];
        cell.clear();
        AppendNumber(cell, graph_.Link(static_cast<int32_t>(j) + 1).Probability);
    };
    if (cells_.empty()) {
        cells_.resize(static_cast<std::size_t>(graph_.LinkCount()));
        for (std::size_t j = 0; j < cells_.size(); ++j)
            format(j);
    } else {
        for (const int32_t j : changed)
            format(static_cast<std::size_t>(j));
    }
    row_.clear();
    AppendNumber(row_, point.x);
    row_ += ',';
    AppendField(row_, Latin1::ToUtf8(trace));
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
