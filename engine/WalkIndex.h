#pragma once
// A graph's links per node, in link order, built once per run so that the walks and the learning
// step look at the few links of one node instead of scanning all of them.

#include <cstdint>
#include <unordered_map>
#include <vector>

class clsGraph;
class clsLink;
class clsNode;

class WalkIndex {
  public:
    void Build(clsGraph& graph);
    void Clear();

    int32_t NodeCount() const { return static_cast<int32_t>(nodes_.size()); }
    int32_t LinkCount() const { return static_cast<int32_t>(links_.size()); }
    // 0-based position of a node of the graph, or -1 for any other pointer (null included).
    int32_t IndexOf(const clsNode* node) const;
    clsNode* NodeAt(int32_t node) const { return nodes_[static_cast<std::size_t>(node)]; }
    clsLink* LinkAt(int32_t link) const { return links_[static_cast<std::size_t>(link)]; }
    // The ends of a link as node positions; -1 for an end outside the graph.
    int32_t From(int32_t link) const { return from_[static_cast<std::size_t>(link)]; }
    int32_t To(int32_t link) const { return to_[static_cast<std::size_t>(link)]; }

    // The steps a walk can take, node by node in link order: from a node, over each link that
    // leaves it or, unless unidirectional, enters it. The steps of node n are MoveStarts()[n] up
    // to MoveStarts()[n + 1]; step i leads to MoveNodes()[i] over MoveLinks()[i]. Apart, so that
    // a walk reads only the nodes until it takes a step.
    const int32_t* MoveStarts() const { return moveStart_.data(); }
    const int32_t* MoveNodes() const { return moveNodes_.data(); }
    const int32_t* MoveLinks() const { return moveLinks_.data(); }

    // The same as arrays, for loops that keep them in locals: Froms()[link] is From(link), the
    // links from node n are FromLinks()[FromStarts()[n]] up to FromLinks()[FromStarts()[n + 1]].
    const int32_t* Froms() const { return from_.data(); }
    const int32_t* FromStarts() const { return fromStart_.data(); }
    const int32_t* FromLinks() const { return fromLinks_.data(); }

    // The links whose FromNode is the node, in link order (0-based link positions).
    const int32_t* FromLinksBegin(int32_t node) const {
        return fromLinks_.data() + fromStart_[Slot(node)];
    }
    const int32_t* FromLinksEnd(int32_t node) const {
        return fromLinks_.data() + fromStart_[Slot(node) + 1];
    }

  private:
    static std::size_t Slot(int32_t node) { return static_cast<std::size_t>(node); }

    std::vector<clsNode*> nodes_;
    std::vector<clsLink*> links_;
    std::unordered_map<const clsNode*, int32_t> positions_;
    std::vector<int32_t> from_, to_;
    std::vector<int32_t> moveStart_; // NodeCount + 1 offsets into moves_
    std::vector<int32_t> moveNodes_, moveLinks_;
    std::vector<int32_t> fromStart_; // NodeCount + 1 offsets into fromLinks_
    std::vector<int32_t> fromLinks_;
};
