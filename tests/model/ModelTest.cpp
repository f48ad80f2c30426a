#include "HitTest.h"
#include "PathloomError.h"
#include "clsGraph.h"

#include <functional>
#include <gtest/gtest.h>
#include <iomanip>
#include <sstream>
#include <tuple>

namespace {

// "Source: Description" of the error the action raises, or "no error".
std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const PathloomError& e) {
        return e.Source() + ": " + e.Description();
    }
    return "no error";
}

clsGraph& AddLabelledNodes(clsGraph& g, const std::vector<const char*>& labels) {
    for (const char* label : labels) {
        g.AddNode(g.NodeCount() * 100, 0);
        g.Node(g.NodeCount()).SetLabel(label);
    }
    return g;
}

// Each node as its label, in-degree and out-degree; each link as its ends around its kind
// (- > =) and its probability.
std::string Shape(const clsGraph& g) {
    std::ostringstream text;
    text << std::setprecision(9);
    for (int32_t i = 1; i <= g.NodeCount(); ++i)
        text << g.Node(i).Label() << g.Node(i).InDegree << g.Node(i).OutDegree << " ";
    for (int32_t j = 1; j <= g.LinkCount(); ++j) {
        const clsLink& link = g.Link(j);
        text << " " << link.FromNode->Label() << "->="[link.LinkType] << link.ToNode->Label() << " "
             << link.Probability;
    }
    return text.str();
}

TEST(clsNode, LabelFieldIsLabelNulThenSpacesCutTo31) {
    const clsNode fresh;
    EXPECT_EQ(std::string(fresh.Labelz().begin(), fresh.Labelz().end()), std::string(32, '\0'));
    const std::string x31(31, 'x'), nul(1, '\0');
    const std::string cases[][3] = {
        {"A", "A", "A" + nul + std::string(30, ' ')},
        {"", "", nul + std::string(31, ' ')},
        {"\xC4pfel", "\xC4pfel", "\xC4pfel" + nul + std::string(26, ' ')},
        {x31, x31, x31 + nul},
        // 32 characters and more are cut to 31 so that reading the label always stops.
        {std::string(32, 'x'), x31, x31 + nul},
    };
    for (const auto& [label, shown, field] : cases) {
        clsNode node;
        node.SetLabel("old_label");
        node.SetLabel(label);
        EXPECT_EQ(node.Label(), shown) << label;
        EXPECT_EQ(std::string(node.Labelz().begin(), node.Labelz().end()), field) << label;
    }
}

TEST(clsNode, ForbiddenCharactersRaiseAndKeepTheOldLabel) {
    clsNode node;
    for (const std::string label : {"{", "a}", "(b", "c)", "d,e", "two words", "a-b", "a>"}) {
        node.SetLabel("old");
        EXPECT_EQ(ErrorOf([&] { node.SetLabel(label); }),
                  "Node.Label: A node name connot contain any of the following characters:\r\n"
                  "{ } ( ) , Space - >");
        EXPECT_EQ(node.Label(), "old");
    }
    // Characters near the forbidden ones are accepted.
    for (const std::string label : {"a<b", "[x]", "a_b", "a.b", "a+b", "tab\there", "a;b"}) {
        node.SetLabel(label);
        EXPECT_EQ(node.Label(), label);
    }
}

TEST(clsGraph, AddNodeLabelsByCountBefore) {
    clsGraph g;
    for (int32_t i : {1, 3, 5})
        g.AddNode(i, i + 1);
    EXPECT_EQ(g.Node(1).Label() + g.Node(2).Label() + g.Node(3).Label(), "012");
    // Deleting node "0" then adding one repeats the label "2".
    g.DeleteNode(1);
    g.AddNode(0, 0);
    EXPECT_EQ(g.Node(3).Label(), "2");
}

TEST(clsGraph, RefusedLinksAndIndexesLeaveTheGraphAsItWas) {
    const std::string self = "AddLink: The node can not link to itself.",
                      twice = "AddLink: These nodes already are linked.";
    const std::tuple<int, int, std::string> cases[] = {
        {1, 1, self}, {3, 3, self}, {1, 2, twice}, {2, 1, twice}};
    for (const auto& [from, to, expected] : cases) {
        for (int kind = 0; kind <= 2; ++kind) {
            clsGraph g;
            AddLabelledNodes(g, {"A", "B", "C"}).AddLink(1, 2, LinkKind::Unidirectional);
            EXPECT_EQ(ErrorOf([&] { g.AddLink(from, to, kind); }), expected) << kind;
            EXPECT_EQ(Shape(g), "A01 B10 C00  A>B 1");
        }
    }
    clsGraph g;
    AddLabelledNodes(g, {"A"});
    for (const auto& refused : std::vector<std::function<void()>>{
             [&] { g.Node(0); }, [&] { g.Node(2); }, [&] { g.Link(0); }, [&] { g.Link(1); },
             [&] { g.AddLink(1, 2, 0); }, [&] { g.DeleteLink(1); }})
        EXPECT_EQ(ErrorOf(refused), "clsGraph: Subscript out of range");
    EXPECT_EQ(Shape(g), "A00 ");
}

TEST(clsGraph, DegreesAndProbabilitiesFollowTheLinkKindsAndEdits) {
    clsGraph g;
    AddLabelledNodes(g, {"A", "B", "C", "D", "E"});
    for (int32_t to : {2, 3, 4})
        g.AddLink(1, to, LinkKind::Unidirectional);
    EXPECT_EQ(Shape(g), "A03 B10 C10 D10 E00  A>B 0.333333343 A>C 0.333333343 A>D 0.333333343");
    g.DeleteLink(2);
    EXPECT_EQ(Shape(g), "A02 B10 C00 D10 E00  A>B 0.5 A>D 0.5");
    // Simple and bidirectional links count at both ends and keep their probabilities.
    g.AddLink(1, 3, LinkKind::Simple);
    g.Link(3).Probability = 0.7f;
    g.AddLink(4, 3, LinkKind::Bidirectional);
    g.AddLink(5, 1, LinkKind::Bidirectional);
    EXPECT_EQ(Shape(g), "A24 B10 C22 D21 E11  A>B 0.25 A>D 0.25 A-C 0.699999988 D=C 0 E=A 0");
    // Deleting a node removes exactly its links, the others stay the same objects.
    const clsLink* kept = &g.Link(5);
    g.DeleteNode(3);
    EXPECT_EQ(Shape(g), "A13 B10 D10 E11  A>B 0.333333343 A>D 0.333333343 E=A 0");
    EXPECT_EQ(&g.Link(3), kept);
}

TEST(clsGraph, DegreesPast32767AreAnOverflow) {
    clsGraph g;
    AddLabelledNodes(g, {"hub"});
    for (int i = 0; i < 32768; ++i) {
        g.AppendNode();
        clsLink& link = g.AppendLink();
        link.FromNode = &g.Node(1);
        link.ToNode = &g.Node(g.NodeCount());
        link.LinkType = LinkKind::Unidirectional;
    }
    try {
        g.InitProbability();
        ADD_FAILURE() << "no overflow";
    } catch (const PathloomError& e) {
        EXPECT_EQ(e.Number(), ErrorNumber::Overflow);
        EXPECT_EQ(e.Description(), "Overflow");
    }
}

using Pairs = std::vector<std::pair<int, int>>;
struct PointCase {
    int x, y, expected;
};

// Nodes at (x, y), links between them by index, then points with the node or link index
// expected.
void ExpectHits(const Pairs& nodes, const Pairs& links, const std::vector<PointCase>& nodeHits,
                const std::vector<PointCase>& linkHits) {
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
    const std::vector<PointCase> square = {{100, 100, 1},  {140, 140, 1},  {120, 120, 1},
                                           {141, 120, -1}, {120, 141, -1}, {120, 99, -1},
                                           {99, 120, -1},  {140, 100, 1}};
    ExpectHits({{100, 100}}, {}, square, {});
    ExpectHits({{100, 100}, {120, 100}}, {}, {{130, 120, 2}, {110, 120, 1}}, {});
}

TEST(HitTest, LinkBands) {
    const std::vector<PointCase> across = {{70, 20, 1},  {70, 24, -1}, {70, 15, -1},  {70, 19, 1},
                                           {20, 20, 1},  {119, 20, 1}, {121, 20, -1}, {15, 20, -1},
                                           {20, 18, -1}, {22, 18, 1}};
    ExpectHits({{0, 0}, {100, 0}}, {{1, 2}}, {}, across);
    // Diagonals falling both ways; where both bands meet, the lower index wins.
    ExpectHits({{0, 0}, {100, 100}, {200, 0}}, {{1, 2}, {3, 2}}, {},
               {{70, 70, 1}, {170, 70, 2}, {70, 80, -1}, {170, 60, -1}, {120, 119, 1}});
    // A zero-length link cannot be hit, not even along the diagonal its band would have.
    ExpectHits({{50, 50}, {50, 50}}, {{1, 2}}, {},
               {{68, 68, -1}, {69, 69, -1}, {70, 70, -1}, {71, 71, -1}, {70, 71, -1}});
    // Nodes far out do not overflow.
    ExpectHits({{2147483600, 2147483600}, {-2147483600, -2147483600}}, {{1, 2}},
               {{2147483640, 2147483640, 1}, {2147483641, 2147483640, -1}},
               {{20, 20, 1}, {20, 40, -1}});
}

// Two pixels to each side along the diagonals, closed, from the upper end (at equal heights, from
// the link's start).
TEST(HitTest, LinkBandsAreClosedParallelograms) {
    const auto band = [](HitTest::Point from, HitTest::Point to) {
        std::string text;
        for (const HitTest::Point& p : HitTest::LinkBand(from, to))
            text += std::to_string(p.x) + "," + std::to_string(p.y) + " ";
        return text;
    };
    EXPECT_EQ(band({20, 20}, {120, 20}), "22,18 122,18 118,22 18,22 22,18 ");
    EXPECT_EQ(band({120, 20}, {20, 20}), "122,22 22,22 18,18 118,18 122,22 ");
    EXPECT_EQ(band({20, 120}, {20, 20}), "22,22 22,122 18,118 18,18 22,22 ");
    EXPECT_EQ(band({20, 20}, {60, 80}), "22,18 62,78 58,82 18,22 22,18 ");
}

TEST(HitTest, EvenOddRuleOverTheVerticesCounted) {
    // A bow tie: two triangles meeting at (10, 10); both lobes are inside. Counted, the fifth
    // vertex adds the triangle left of x = 0; the first three alone make the one under y = x.
    const HitTest::Point bow[] = {{0, 0}, {20, 20}, {20, 0}, {0, 20}, {-10, 0}};
    const std::tuple<int, HitTest::Point, bool> cases[] = {
        {4, {3, 10}, true},  {4, {17, 10}, true},  {4, {10, 3}, false},
        {4, {-2, 5}, false}, {4, {-12, 5}, false}, {5, {-2, 5}, true},
        {3, {17, 10}, true}, {3, {3, 10}, false},  {2, {0, 0}, false}};
    for (const auto& [count, p, inside] : cases)
        EXPECT_EQ(HitTest::PointInPolygon(bow, count, p), inside)
            << count << ": " << p.x << "," << p.y;
    // A strip one pixel high: its top edge is inside, its right and bottom edges are not.
    const HitTest::Point strip[] = {{0, 0}, {10, 0}, {10, 1}, {0, 1}};
    EXPECT_TRUE(HitTest::PointInPolygon(strip, 4, {5, 0}) &&
                HitTest::PointInPolygon(strip, 4, {0, 0}));
    EXPECT_FALSE(HitTest::PointInPolygon(strip, 4, {10, 0}) ||
                 HitTest::PointInPolygon(strip, 4, {0, 1}));
}

} // namespace
