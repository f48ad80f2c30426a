#include "clsRanges.h"

#include "DocumentStream.h"
#include "PathloomError.h"

namespace {
constexpr std::size_t RangeRecordSize = 12;
} // namespace

void clsRanges::AddRange(float startNumber, float endNumber, float answer) {
    clsRange range;
    range.StartNumber = startNumber;
    range.EndNumber = endNumber;
    range.Answer = answer;
    ranges_.push_back(range);
}

clsRange& clsRanges::Range(int32_t index) {
    return const_cast<clsRange&>(static_cast<const clsRanges&>(*this).Range(index));
}

const clsRange& clsRanges::Range(int32_t index) const {
    CheckIndex(index, 1, RangeCount(), "clsRanges");
    return ranges_[static_cast<std::size_t>(index - 1)];
}

float clsRanges::GetAnswer(float number) const {
    for (const clsRange& range : ranges_) {
        if (range.StartNumber <= number && number <= range.EndNumber)
            return range.Answer;
    }
    return 0.0f;
}

void clsRanges::ClearRanges() {
    ranges_.clear();
}

void clsRanges::Save(DocumentWriter& file) const {
    file.WriteInt32(RangeCount());
    for (const clsRange& range : ranges_)
        range.Save(file);
}

void clsRanges::Load(DocumentReader& file) {
    const int32_t count = file.ReadCount(RangeRecordSize);
    ranges_.reserve(ranges_.size() + static_cast<std::size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        clsRange range;
        range.Load(file);
        ranges_.push_back(range);
    }
}
