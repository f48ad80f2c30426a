#pragma once
// The two depth-first enumerations of a run: every path from the source that touches all nodes,
// or every path from the source to the destination, in the order that trying the graph's links
// in link order at every step finds them. A step is taken only where a path can still be
// completed, so dead branches cost nothing; the paths and their order stay those of the plain
// walk. It stops when a path is complete or its budget of link steps is spent, and goes on from
// there at the next call.

#include "PathSource.h"
#include "WalkIndex.h"

#include <cstdint>
#include <vector>

class SearchWalk : public PathSource {
  public:
    // Node positions are 0-based; a destination of -1 asks for the paths that include all nodes.
    SearchWalk(const WalkIndex& index, int32_t source, int32_t destination);

    // Goes on from where it stopped, spending one unit of the budget per link it tries.
    Event Next(int64_t& budget) override;

    PathView Path() const override { return {links_.data(), length_}; }

  private:
    struct Frame {
        int32_t next;  // the node's next step to try
        int32_t end;   // past its last step
        int32_t found; // a path was completed below the node
    };
    // How the walk tells a branch that can complete a path from one that cannot.
    struct Masks;
    struct DeadMarks;
    struct Flood;
    enum class Pruning { Masks, DeadMarks, Flood };

    template <bool ToDestination, typename Prune> Event Run(int64_t& budget, Prune& prune);

    const WalkIndex& index_;
    int32_t source_;
    int32_t destination_;
    int32_t nodeCount_;
    Pruning pruning_;
    // A path never holds more links than the graph has nodes: fixed arrays with counters, so
    // that the walk's loop works on plain memory.
    std::vector<Frame> frames_;
    std::vector<int32_t> links_;
    std::vector<int32_t> nodes_; // the node each link of the path led to
    // A node is on the path when it ends one of its links, so the start of an empty path is not.
    std::vector<uint8_t> onPath_;
    int32_t depth_ = 0;  // frames in use
    int32_t length_ = 0; // links on the path
    int32_t onPathCount_ = 0;
    bool found_ = false; // the path is complete and goes no further

    // Masks: the nodes one step away from each node, and those on the path.
    std::vector<uint64_t> neighbours_;
    uint64_t onMask_ = 0;
    // Dead marks: nodes from which the destination cannot be reached past the path, and for
    // each node the steps into it from dead nodes, which live again when it does.
    std::vector<uint8_t> dead_;
    std::vector<std::vector<int32_t>> waiting_;
    std::vector<uint8_t> listed_; // per step: waiting at its end node
    std::vector<int32_t> stepFrom_;
    std::vector<int32_t> freed_;
    // Flood: the nodes reached by the last flood carry its stamp.
    std::vector<uint32_t> stamps_;
    uint32_t stamp_ = 0;
    std::vector<int32_t> stack_;
};
