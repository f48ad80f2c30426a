#include "HitTest.h"
#include "clsGraph.h"

#include <gtest/gtest.h>

namespace {

struct PointCase {
    int x, y, expected;
};

TEST(NodeHitTest, SquareIncludesLeftTopEdgesOnly) {
    clsGraph g;
    EXPECT_EQ(g.GetNodeIndexFromPoint(0, 0), -1);
    g.AddNode(100, 100);
    const PointCase cases[] = {{100, 100, 1}, {140, 140, 1}, {120, 120, 1}, {141, 120, -1},
                               {120, 141, -1}, {120, 99, -1}, {99, 120, -1}, {140, 100, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(g.GetNodeIndexFromPoint(c.x, c.y), c.expected) << c.x << "," << c.y;
}

TEST(NodeHitTest, LaterNodeWinsWhereNodesOverlap) {
    clsGraph g;
    g.AddNode(100, 100);
    g.AddNode(120, 100);
    EXPECT_EQ(g.GetNodeIndexFromPoint(130, 120), 2);
    EXPECT_EQ(g.GetNodeIndexFromPoint(110, 120), 1);
}

TEST(LinkHitTest, HorizontalBand) {
    clsGraph g;
    EXPECT_EQ(g.GetLinkIndexFromPoint(0, 0), -1);
    g.AddNode(0, 0);
    g.AddNode(100, 0);
    EXPECT_EQ(g.GetLinkIndexFromPoint(70, 20), -1); // no links yet
    g.AddLink(1, 2, 0);
    const auto band = HitTest::LinkBand({20, 20}, {120, 20});
    EXPECT_EQ(band[0].x, 22);
    EXPECT_EQ(band[0].y, 18);
    EXPECT_EQ(band[1].x, 122);
    EXPECT_EQ(band[2].x, 118);
    EXPECT_EQ(band[2].y, 22);
    EXPECT_EQ(band[3].x, 18);
    const PointCase cases[] = {{70, 20, 1}, {70, 24, -1}, {70, 15, -1}, {70, 19, 1},
                               {20, 20, 1}, {119, 20, 1}, {121, 20, -1}, {15, 20, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(g.GetLinkIndexFromPoint(c.x, c.y), c.expected) << c.x << "," << c.y;
}

TEST(LinkHitTest, VerticalLinkIsSwappedToStartAtTheTop) {
    clsGraph g;
    g.AddNode(0, 100);
    g.AddNode(0, 0);
    g.AddLink(1, 2, 1);
    const auto band = HitTest::LinkBand({20, 120}, {20, 20});
    EXPECT_EQ(band[0].x, 22);
    EXPECT_EQ(band[0].y, 22);
    EXPECT_EQ(band[1].y, 122);
    EXPECT_EQ(band[3].x, 18);
    EXPECT_EQ(band[3].y, 18);
    EXPECT_EQ(g.GetLinkIndexFromPoint(20, 70), 1);
    EXPECT_EQ(g.GetLinkIndexFromPoint(20, 119), 1);
    EXPECT_EQ(g.GetLinkIndexFromPoint(20, 121), -1);
    EXPECT_EQ(g.GetLinkIndexFromPoint(26, 70), -1);
    EXPECT_EQ(g.GetLinkIndexFromPoint(14, 70), -1);
}

TEST(LinkHitTest, DiagonalsInBothDirections) {
    clsGraph g;
    g.AddNode(0, 0);     // centre (20, 20)
    g.AddNode(100, 100); // centre (120, 120)
    g.AddNode(200, 0);   // centre (220, 20)
    g.AddLink(1, 2, 0);  // falls from upper left to lower right
    g.AddLink(3, 2, 0);  // falls from upper right to lower left
    EXPECT_EQ(g.GetLinkIndexFromPoint(70, 70), 1);
    EXPECT_EQ(g.GetLinkIndexFromPoint(170, 70), 2);
    EXPECT_EQ(g.GetLinkIndexFromPoint(70, 80), -1);
    EXPECT_EQ(g.GetLinkIndexFromPoint(170, 60), -1);
    // Where both bands meet, the lower index wins.
    EXPECT_EQ(g.GetLinkIndexFromPoint(120, 119), 1);
}

TEST(LinkHitTest, ZeroLengthLinkCannotBeHit) {
    clsGraph g;
    g.AddNode(50, 50);
    g.AddNode(50, 50);
    g.AddLink(1, 2, 0);
    for (int dx = -3; dx <= 3; ++dx)
        for (int dy = -3; dy <= 3; ++dy)
            EXPECT_EQ(g.GetLinkIndexFromPoint(70 + dx, 70 + dy), -1);
}

TEST(LinkHitTest, NodesFarOutDoNotOverflow) {
    clsGraph g;
    g.AddNode(2147483600, 2147483600);
    g.AddNode(-2147483600, -2147483600);
    g.AddLink(1, 2, 0);
    EXPECT_EQ(g.GetLinkIndexFromPoint(20, 20), 1);
    EXPECT_EQ(g.GetLinkIndexFromPoint(20, 40), -1);
    EXPECT_EQ(g.GetNodeIndexFromPoint(2147483640, 2147483640), 1);
    EXPECT_EQ(g.GetNodeIndexFromPoint(2147483641, 2147483640), -1);
}

TEST(PointInPolygon, EvenOddRuleOnASelfCrossingPolygon) {
    // A bow tie: two triangles meeting at (10, 10); both lobes are inside.
    const HitTest::Point bow[] = {{0, 0}, {20, 20}, {20, 0}, {0, 20}};
    EXPECT_TRUE(HitTest::PointInPolygon(bow, 4, {3, 10}));
    EXPECT_TRUE(HitTest::PointInPolygon(bow, 4, {17, 10}));
    EXPECT_FALSE(HitTest::PointInPolygon(bow, 4, {10, 3}));
    EXPECT_FALSE(HitTest::PointInPolygon(bow, 2, {0, 0}));
}

} // namespace
