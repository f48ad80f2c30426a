#include "WalkIndex.h"

#include "clsGraph.h"

void WalkIndex::Clear() {
    *this = WalkIndex();
}

int32_t WalkIndex::IndexOf(const clsNode* node) const {
    const auto it = positions_.find(node);
    return it == positions_.end() ? -1 : it->second;
}

void WalkIndex::Build(clsGraph& graph) {
    Clear();
    const int32_t nodeCount = graph.NodeCount();
    const int32_t linkCount = graph.LinkCount();
    nodes_.reserve(static_cast<std::size_t>(nodeCount));
    positions_.reserve(static_cast<std::size_t>(nodeCount));
    for (int32_t i = 1; i <= nodeCount; ++i) {
        clsNode* node = &graph.Node(i);
        nodes_.push_back(node);
        positions_.emplace(node, i - 1);
    }

    links_.reserve(static_cast<std::size_t>(linkCount));
    from_.reserve(static_cast<std::size_t>(linkCount));
    to_.reserve(static_cast<std::size_t>(linkCount));
    moveStart_.assign(static_cast<std::size_t>(nodeCount) + 2, 0);
    fromStart_.assign(static_cast<std::size_t>(nodeCount) + 2, 0);

    // Counting sort by node keeps each node's links in link order with linear memory.
    const auto walkableBack = [](const clsLink& link, int32_t from, int32_t to) {
        // A self-link is one step, as a scan of the links meets it once.
        return link.LinkType != LinkKind::Unidirectional && to >= 0 && to != from;
    };
    for (int32_t j = 1; j <= linkCount; ++j) {
        clsLink* link = &graph.Link(j);
        const int32_t from = IndexOf(link->FromNode);
        const int32_t to = IndexOf(link->ToNode);
        links_.push_back(link);
        from_.push_back(from);
        to_.push_back(to);
        if (from >= 0) {
            ++fromStart_[Slot(from) + 2];
            if (to >= 0)
                ++moveStart_[Slot(from) + 2];
        }
        if (from >= 0 && walkableBack(*link, from, to))
            ++moveStart_[Slot(to) + 2];
    }
    for (std::size_t i = 2; i < moveStart_.size(); ++i) {
        moveStart_[i] += moveStart_[i - 1];
        fromStart_[i] += fromStart_[i - 1];
    }
    moveNodes_.resize(static_cast<std::size_t>(moveStart_.back()));
    moveLinks_.resize(moveNodes_.size());
    fromLinks_.resize(static_cast<std::size_t>(fromStart_.back()));
    // Offsets shifted by one slot serve as fill cursors and end up as the starts.
    for (int32_t j = 0; j < linkCount; ++j) {
        const int32_t from = from_[Slot(j)];
        const int32_t to = to_[Slot(j)];
        if (from < 0)
            continue;
        fromLinks_[static_cast<std::size_t>(fromStart_[Slot(from) + 1]++)] = j;
        const auto addMove = [&](int32_t node, int32_t next) {
            const auto slot = static_cast<std::size_t>(moveStart_[Slot(node) + 1]++);
            moveNodes_[slot] = next;
            moveLinks_[slot] = j;
        };
        if (to >= 0)
            addMove(from, to);
        if (walkableBack(*links_[Slot(j)], from, to))
            addMove(to, from);
    }
    moveStart_.pop_back();
    fromStart_.pop_back();
}
