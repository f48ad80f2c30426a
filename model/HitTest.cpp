#include "HitTest.h"

#include "NodeGeometry.h"

#include <utility>

namespace HitTest {

namespace {
// Differences of 32-bit coordinates need 33 bits; their products need 66.
__extension__ typedef __int128 Wide;
} // namespace

std::array<Point, 5> LinkBand(Point p1, Point p2) {
    // P1 becomes the upper end; at equal heights it keeps the link's start.
    if (p1.y > p2.y)
        std::swap(p1, p2);
    if (p1.x >= p2.x) {
        return {{{p1.x + 2, p1.y + 2},
                 {p2.x + 2, p2.y + 2},
                 {p2.x - 2, p2.y - 2},
                 {p1.x - 2, p1.y - 2},
                 {p1.x + 2, p1.y + 2}}};
    }
    return {{{p1.x + 2, p1.y - 2},
             {p2.x + 2, p2.y - 2},
             {p2.x - 2, p2.y + 2},
             {p1.x - 2, p1.y + 2},
             {p1.x + 2, p1.y - 2}}};
}

bool PointInPolygon(const Point* v, int count, Point p) {
    if (count < 3)
        return false;
    bool inside = false;
    for (int i = 0, j = count - 1; i < count; j = i++) {
        const int64_t yi = v[i].y, yj = v[j].y, xi = v[i].x, xj = v[j].x;
        if ((yi > p.y) == (yj > p.y))
            continue;
        // Does the edge cross the horizontal ray to the right of p? Exact integer comparison of
        // p.x < xi + (xj - xi) * (p.y - yi) / (yj - yi).
        const int64_t dy = yj - yi;
        const Wide lhs = Wide{p.x - xi} * dy;
        const Wide rhs = Wide{xj - xi} * (p.y - yi);
        if (dy > 0 ? lhs < rhs : lhs > rhs)
            inside = !inside;
    }
    return inside;
}

bool PointInLinkBand(Point centre1, Point centre2, Point p) {
    if (centre1.x == centre2.x && centre1.y == centre2.y)
        return false;
    const auto band = LinkBand(centre1, centre2);
    return PointInPolygon(band.data(), static_cast<int>(band.size()), p);
}

bool PointInNodeSquare(Point pos, Point p) {
    const int64_t dx = p.x - pos.x;
    const int64_t dy = p.y - pos.y;
    return dx >= 0 && dx < NodeGeometry::Size && dy >= 0 && dy < NodeGeometry::Size;
}

} // namespace HitTest
