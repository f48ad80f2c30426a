#include "clsPosition.h"

#include "DocumentStream.h"

namespace {
// Two's complement wrap, as 32-bit pixel arithmetic does, without undefined behaviour.
int32_t WrapAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
} // namespace

void clsPosition::Move(int32_t deltaX, int32_t deltaY) {
    x = WrapAdd(x, deltaX);
    y = WrapAdd(y, deltaY);
}

void clsPosition::Save(DocumentWriter& file) const {
    file.WriteInt32(x);
    file.WriteInt32(y);
}

void clsPosition::Load(DocumentReader& file) {
    x = file.ReadInt32();
    y = file.ReadInt32();
}
