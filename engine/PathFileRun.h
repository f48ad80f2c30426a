#pragma once
// The run that reads its paths from a text file, {A,B,C} per path: the state machine F_Trace
// over the file's tokens and MergeLink, which turns two labels into the link that joins them.

#include "PathSource.h"
#include "WalkIndex.h"
#include "clsPathFile.h"

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class clsGraph;

class PathFileRun : public PathSource {
  public:
    // Labels name nodes without regard to letter case: two labels alike but for it refuse the
    // run with "There are Two nodes or more nodes with same label. Please change them lables.".
    // The index is the graph's, and must outlive the run.
    PathFileRun(const clsGraph& graph, const WalkIndex& index, std::string filePath);

    // F_Trace: reads tokens, one unit of the budget each, until a path is complete, the text
    // ends, or the budget is spent. Every "{" starts the path again from nothing. Raises
    // "Syntax error:", "The following link not found." and the file's own errors.
    Event Next(int64_t& budget) override;

    PathView Path() const override { return {path_.data(), static_cast<int32_t>(path_.size())}; }

    // The mode reports its own errors and then ends as a run ends.
    bool EndsOnError() const override { return true; }

  private:
    // Appends the first link, in link order, joining the last two labels' nodes (letter case
    // ignored): a simple or bidirectional link either way, a unidirectional one from its start
    // only.
    void MergeLink();
    // The node (0-based) the label names, or -1.
    int32_t NodeOf(std::u32string_view label) const;
    // The first link in link order that leads from one node to the other, or -1.
    int32_t LinkBetween(int32_t from, int32_t to) const;

    std::string filePath_;
    clsPathFile pathReader_;
    bool loaded_ = false;
    int32_t allowedA_ = TokenKind::OpenBrace;
    int32_t allowedB_ = TokenKind::None;
    std::u32string_view token_, previousLabel_, currentLabel_; // in the reader's text
    int32_t previousNode_ = -1, currentNode_ = -1;
    bool firstLabel_ = false;
    std::vector<int32_t> path_;
    const WalkIndex& index_;
    // The nodes by their folded labels, open addressing: a slot holds a label's hash and its node,
    // or -1.
    struct Slot {
        uint64_t hash = 0;
        int32_t node = -1;
    };
    std::vector<std::string> labels_; // folded, by node
    std::vector<Slot> slots_;
    uint64_t slotMask_ = 0;
    std::array<unsigned char, 256> lower_;
    // From a node with many steps, the steps by the node they lead to (the first of each).
    std::unordered_map<uint64_t, int32_t> hubLinks_;
};
