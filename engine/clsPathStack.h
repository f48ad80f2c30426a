#pragma once
// A path as a zero-based stack of links, bottom first, with its text.

#include <cstdint>
#include <string>
#include <vector>

class clsLink;
class clsNode;

class clsPathStack {
  public:
    void Reset() { links_.clear(); }
    void Push(const clsLink* lnk) { links_.push_back(lnk); }
    // Removes and returns the top link; an empty stack is an index error.
    const clsLink* Pop();
    int32_t Count() const { return static_cast<int32_t>(links_.size()); }
    // Zero-based; a position outside 0..Count-1 is an index error.
    const clsLink* Link(int32_t index) const;
    // "From->To:" for each link in its stored direction, e.g. "A->B:B->C:".
    std::string Trace() const;

  private:
    std::vector<const clsLink*> links_;
};
