#include "HitTest.h"

#include "clsGraph.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

struct PointCase {
    int x, y, expected;
};

// Node (x, y) pairs, links between them, then points with the node or link index expected.
void ExpectHits(const std::vector<std::pair<int, int>>& nodes,
                const std::vector<std::pair<int, int>>& links,
                const std::vector<PointCase>& nodeHits, const std::vector<PointCase>& linkHits) {
    clsGraph g;
    for (const auto& [x, y] : nodes)
        g.AddNode(x, y);
    for (const auto& [from, to] : links)
        g.AddLink(from, to, 0);
    for (const auto& c : nodeHits)
        EXPECT_EQ(g.GetNodeIndexFromPoint(c.x, c.y), c.expected) << "node at " << c.x << "," << c.y;
    for (const auto& c : linkHits)
        EXPECT_EQ(g.GetLinkIndexFromPoint(c.x, c.y), c.expected) << "link at " << c.x << "," << c.y;
}

TEST(HitTest, NodesAreSquaresWithLeftAndTopEdgesAndTheLaterOneWins) {
    ExpectHits({}, {}, {{0, 0, -1}}, {{0, 0, -1}});
    ExpectHits({{100, 100}}, {},
               {{100, 100, 1},
                {140, 140, 1},
                {120, 120, 1},
                {141, 120, -1},
                {120, 141, -1},
                {120, 99, -1},
                {99, 120, -1},
                {140, 100, 1}},
               {});
    ExpectHits({{100, 100}, {120, 100}}, {}, {{130, 120, 2}, {110, 120, 1}}, {});
}

TEST(HitTest, LinkBands) {
    ExpectHits({{0, 0}, {100, 0}}, {}, {}, {{70, 20, -1}}); // no links yet
    ExpectHits({{0, 0}, {100, 0}}, {{1, 2}}, {},
               {{70, 20, 1},
                {70, 24, -1},
                {70, 15, -1},
                {70, 19, 1},
                {20, 20, 1},
                {119, 20, 1},
                {121, 20, -1},
                {15, 20, -1}});
    // Vertical, drawn upwards.
    ExpectHits({{0, 100}, {0, 0}}, {{1, 2}}, {},
               {{20, 70, 1}, {20, 119, 1}, {20, 121, -1}, {26, 70, -1}, {14, 70, -1}});
    // Diagonals falling both ways; where both bands meet, the lower index wins.
    ExpectHits({{0, 0}, {100, 100}, {200, 0}}, {{1, 2}, {3, 2}}, {},
               {{70, 70, 1}, {170, 70, 2}, {70, 80, -1}, {170, 60, -1}, {120, 119, 1}});
    // A zero-length link cannot be hit.
    std::vector<PointCase> around;
    for (int dx = -3; dx <= 3; ++dx)
        for (int dy = -3; dy <= 3; ++dy)
            around.push_back({70 + dx, 70 + dy, -1});
    ExpectHits({{50, 50}, {50, 50}}, {{1, 2}}, {}, around);
    // Nodes far out do not overflow.
    ExpectHits({{2147483600, 2147483600}, {-2147483600, -2147483600}}, {{1, 2}},
               {{2147483640, 2147483640, 1}, {2147483641, 2147483640, -1}},
               {{20, 20, 1}, {20, 40, -1}});
}

TEST(HitTest, LinkBandCornersStartAtTheTopOrLeft) {
    const auto band = HitTest::LinkBand({20, 20}, {120, 20});
    EXPECT_EQ(
        (std::vector<int64_t>{band[0].x, band[0].y, band[1].x, band[2].x, band[2].y, band[3].x}),
        (std::vector<int64_t>{22, 18, 122, 118, 22, 18}));
    // A vertical link is swapped to start at the top.
    const auto up = HitTest::LinkBand({20, 120}, {20, 20});
    EXPECT_EQ((std::vector<int64_t>{up[0].x, up[0].y, up[1].y, up[3].x, up[3].y}),
              (std::vector<int64_t>{22, 22, 122, 18, 18}));
}

TEST(HitTest, EvenOddRuleOnASelfCrossingPolygon) {
    // A bow tie: two triangles meeting at (10, 10); both lobes are inside.
    const HitTest::Point bow[] = {{0, 0}, {20, 20}, {20, 0}, {0, 20}};
    EXPECT_TRUE(HitTest::PointInPolygon(bow, 4, {3, 10}));
    EXPECT_TRUE(HitTest::PointInPolygon(bow, 4, {17, 10}));
    EXPECT_FALSE(HitTest::PointInPolygon(bow, 4, {10, 3}));
    EXPECT_FALSE(HitTest::PointInPolygon(bow, 2, {0, 0}));
}

} // namespace
