#pragma once
// The S-model answer table: an ordered, one-based list of ranges, looked up first match first.

#include "clsRange.h"

#include <cstdint>
#include <vector>

class DocumentWriter;
class DocumentReader;

class clsRanges {
  public:
    void AddRange(float startNumber, float endNumber, float answer);
    int32_t RangeCount() const { return static_cast<int32_t>(ranges_.size()); }
    // One-based; an index outside 1..RangeCount is an index error.
    clsRange& Range(int32_t index);
    const clsRange& Range(int32_t index) const;
    // The Answer of the first range holding the number (bounds inclusive), 0 when none does.
    float GetAnswer(float number) const;
    void ClearRanges();
    void Clear() { ClearRanges(); }

    // The count, then each range; Load appends to the ranges already held.
    void Save(DocumentWriter& file) const;
    void Load(DocumentReader& file);

  private:
    std::vector<clsRange> ranges_;
};
