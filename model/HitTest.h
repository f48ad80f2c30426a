#pragma once
// Geometry of the hit tests: node squares and the thin band along each link.

#include <array>
#include <cstdint>

namespace HitTest {

// 64-bit, so that centres and band offsets of nodes far out never overflow.
struct Point {
    int64_t x;
    int64_t y;
};

// The closed five-vertex band (last vertex equal to the first) around the segment between two
// node centres, reaching 2 pixels to each side along the diagonal offsets.
std::array<Point, 5> LinkBand(Point centre1, Point centre2);

// True when the point lies in the band of the segment; a zero-length segment has no area and
// contains nothing.
bool PointInLinkBand(Point centre1, Point centre2, Point p);

// Even-odd (alternate) rule: true when the point lies inside the closed polygon. Left and top
// edges count as inside, right and bottom edges as outside.
bool PointInPolygon(const Point* vertices, int count, Point p);

// The 41 x 41 square whose top-left corner is the node position, right and bottom edges outside.
bool PointInNodeSquare(Point nodePosition, Point p);

} // namespace HitTest
