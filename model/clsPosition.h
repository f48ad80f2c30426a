#pragma once
// A point in document pixels: the top-left corner of a node's 41 x 41 square.

#include <cstdint>

class DocumentWriter;
class DocumentReader;

class clsPosition {
  public:
    int32_t x = 0;
    int32_t y = 0;

    // Moves the point by a drag's delta; no clamping, so nodes may go to negative coordinates.
    void Move(int32_t deltaX, int32_t deltaY);

    // x, then y.
    void Save(DocumentWriter& file) const;
    void Load(DocumentReader& file);
};
