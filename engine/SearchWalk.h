#pragma once
// The two depth-first enumerations of a run: every path from the source that touches all nodes,
// or every path from the source to the destination, in the order that trying the graph's links
// in link order at every step finds them. It stops when a path is complete or its budget of link
// steps is spent, and goes on from there at the next call.

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
        int32_t next; // the node's next step to try
        int32_t end;  // past its last step
    };

    template <bool ToDestination> Event Run(int64_t& budget);

    const WalkIndex& index_;
    int32_t source_;
    int32_t destination_;
    int32_t nodeCount_;
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
};
