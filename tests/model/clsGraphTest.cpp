#include "PathloomError.h"
#include "clsGraph.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

namespace {

// Builds a graph of labelled nodes at distinct places.
void AddLabelledNodes(clsGraph& g, std::initializer_list<const char*> labels) {
    for (const char* label : labels) {
        g.AddNode(g.NodeCount() * 100, 0);
        g.Node(g.NodeCount()).SetLabel(label);
    }
}

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const PathloomError& e) {
        return e.Source() + ": " + e.Description();
    }
    return "no error";
}

TEST(clsGraph, AddNodeLabelsByCountBefore) {
    clsGraph g;
    g.AddNode(1, 2);
    g.AddNode(3, 4);
    g.AddNode(5, 6);
    EXPECT_EQ(g.Node(1).Label(), "0");
    EXPECT_EQ(g.Node(2).Label(), "1");
    EXPECT_EQ(g.Node(3).Label(), "2");
    EXPECT_EQ(g.Node(3).Position.x, 5);
    EXPECT_EQ(g.Node(3).Position.y, 6);
    EXPECT_FALSE(g.DuplicateExist());

    // Deleting node "0" then adding one repeats the label "2".
    g.DeleteNode(1);
    g.AddNode(0, 0);
    EXPECT_EQ(g.Node(3).Label(), "2");
    EXPECT_TRUE(g.DuplicateExist());
}

struct RefusedLinkCase {
    int from, to, kind;
    const char* expected;
};

void PrintTo(const RefusedLinkCase& c, std::ostream* os) {
    *os << c.from << "->" << c.to << " kind " << c.kind;
}

class AddLinkRefusal : public ::testing::TestWithParam<RefusedLinkCase> {};

TEST_P(AddLinkRefusal, LeavesTheGraphAsItWas) {
    clsGraph g;
    AddLabelledNodes(g, {"A", "B", "C"});
    g.AddLink(1, 2, LinkKind::Unidirectional); // A -> B
    const auto& c = GetParam();
    EXPECT_EQ(ErrorOf([&] { g.AddLink(c.from, c.to, c.kind); }), c.expected);
    EXPECT_EQ(g.LinkCount(), 1);
    EXPECT_EQ(g.Node(1).OutDegree, 1);
}

const char* const kSelf = "AddLink: The node can not link to itself.";
const char* const kTwice = "AddLink: These nodes already are linked.";

INSTANTIATE_TEST_SUITE_P(
    BothDirectionsAllKinds, AddLinkRefusal,
    ::testing::Values(RefusedLinkCase{1, 1, 0, kSelf}, RefusedLinkCase{1, 1, 1, kSelf},
                      RefusedLinkCase{3, 3, 2, kSelf}, RefusedLinkCase{1, 2, 0, kTwice},
                      RefusedLinkCase{1, 2, 1, kTwice}, RefusedLinkCase{1, 2, 2, kTwice},
                      RefusedLinkCase{2, 1, 0, kTwice}, RefusedLinkCase{2, 1, 1, kTwice},
                      RefusedLinkCase{2, 1, 2, kTwice}));

TEST(clsGraph, IndexesOutsideTheCollectionsAreErrors) {
    clsGraph g;
    AddLabelledNodes(g, {"A"});
    EXPECT_THROW(g.Node(0), PathloomError);
    EXPECT_THROW(g.Node(2), PathloomError);
    EXPECT_THROW(g.Link(1), PathloomError);
    EXPECT_THROW(g.AddLink(1, 2, 0), PathloomError);
    EXPECT_THROW(g.DeleteLink(1), PathloomError);
    EXPECT_EQ(g.LinkCount(), 0);
}

TEST(clsGraph, InitProbabilitySharesOutDegreeAmongUnidirectionalLinks) {
    clsGraph g;
    AddLabelledNodes(g, {"A", "B", "C", "D"});
    g.AddLink(1, 2, LinkKind::Unidirectional);
    g.AddLink(1, 3, LinkKind::Unidirectional);
    g.AddLink(1, 4, LinkKind::Unidirectional);
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(g.Link(i).Probability, 0.33333334f);
    EXPECT_EQ(g.Link(1).Probability, static_cast<float>(1.0 / 3.0));
    EXPECT_EQ(g.Node(1).OutDegree, 3);
    EXPECT_EQ(g.Node(1).InDegree, 0);
    EXPECT_EQ(g.Node(2).InDegree, 1);
    EXPECT_EQ(g.Node(2).OutDegree, 0);
}

TEST(clsGraph, SimpleLinksCountAtBothEndsAndKeepTheirProbability) {
    clsGraph g;
    AddLabelledNodes(g, {"A", "B", "C"});
    g.AddLink(1, 2, LinkKind::Unidirectional); // A -> B
    g.AddLink(1, 3, LinkKind::Simple);         // A - C
    g.Link(2).Probability = 0.7f;
    g.InitProbability();
    EXPECT_EQ(g.Node(1).OutDegree, 2);
    EXPECT_EQ(g.Node(1).InDegree, 1);
    EXPECT_EQ(g.Link(1).Probability, 0.5f);
    EXPECT_EQ(g.Link(2).Probability, 0.7f);
    EXPECT_EQ(g.Node(3).InDegree, 1);
    EXPECT_EQ(g.Node(3).OutDegree, 1);

    // A bidirectional link into A raises A's out-degree too, so A -> B gets a third.
    g.AddNode(0, 300);
    g.AddLink(4, 1, LinkKind::Bidirectional);
    EXPECT_EQ(g.Node(1).OutDegree, 3);
    EXPECT_EQ(g.Link(1).Probability, 0.33333334f);
    EXPECT_EQ(g.Link(3).Probability, 0.0f);

    // Deleting C removes exactly its link and recomputes the degrees.
    g.DeleteNode(3);
    EXPECT_EQ(g.LinkCount(), 2);
    EXPECT_EQ(g.Link(1).ToNode->Label(), "B");
    EXPECT_EQ(g.Link(2).FromNode->Label(), "3");
    EXPECT_EQ(g.Node(1).OutDegree, 2);
    EXPECT_EQ(g.Link(1).Probability, 0.5f);
}

TEST(clsGraph, DeleteNodeRemovesOnlyItsOwnLinks) {
    clsGraph g;
    AddLabelledNodes(g, {"A", "B", "C", "D"});
    g.AddLink(1, 2, 0); // A-B
    g.AddLink(3, 2, 1); // C->B
    g.AddLink(3, 4, 2); // C<->D
    g.AddLink(2, 4, 0); // B-D
    clsLink* kept = &g.Link(3);
    g.DeleteNode(2);
    ASSERT_EQ(g.LinkCount(), 1);
    EXPECT_EQ(&g.Link(1), kept); // object identity survives the removal of others
    EXPECT_EQ(g.NodeCount(), 3);
    EXPECT_EQ(g.Node(2).Label(), "C");

    // A node without links leaves the links alone.
    g.DeleteNode(1);
    EXPECT_EQ(g.LinkCount(), 1);
    EXPECT_EQ(g.Link(1).FromNode, &g.Node(1));
}

TEST(clsGraph, DeleteLinkRecomputes) {
    clsGraph g;
    AddLabelledNodes(g, {"A", "B", "C"});
    g.AddLink(1, 2, 1);
    g.AddLink(1, 3, 1);
    EXPECT_EQ(g.Link(1).Probability, 0.5f);
    g.DeleteLink(2);
    EXPECT_EQ(g.Link(1).Probability, 1.0f);
    EXPECT_EQ(g.Node(3).InDegree, 0);
}

TEST(clsGraph, DuplicateExistIgnoresLetterCaseAcrossLatinOne) {
    struct Case {
        std::initializer_list<const char*> labels;
        bool expected;
    };
    const Case cases[] = {
        {{}, false},
        {{"A"}, false},
        {{"A", "b", "C"}, false},
        {{"A", "b", "a"}, true},
        {{"node", "NODE"}, true},
        {{"\xC4", "\xE4"}, true},  // Ä and ä
        {{"\xD7", "\xF7"}, false}, // × and ÷ are not a pair of cases
        {{"ab", "abc"}, false},
        {{"", ""}, true},
    };
    for (const auto& c : cases) {
        clsGraph g;
        AddLabelledNodes(g, c.labels);
        EXPECT_EQ(g.DuplicateExist(), c.expected) << g.NodeCount() << " labels";
    }
}

TEST(clsGraph, ResetIDsNumbersInCollectionOrder) {
    clsGraph g;
    AddLabelledNodes(g, {"A", "B", "C"});
    g.DeleteNode(1);
    g.ResetIDs();
    EXPECT_EQ(g.Node(1).ID, 0);
    EXPECT_EQ(g.Node(2).ID, 1);
}

TEST(clsGraph, ResetFlagsAndClearGraph) {
    clsGraph g;
    g.ClearGraph(); // empty graph: nothing to do
    AddLabelledNodes(g, {"A", "B", "C"});
    g.AddLink(1, 2, 0);
    g.AddLink(2, 3, 0);
    g.Link(1).Flag = true;
    g.Link(2).Flag = true;
    g.ResetFlags();
    EXPECT_FALSE(g.Link(1).Flag);
    EXPECT_FALSE(g.Link(2).Flag);
    g.ClearGraph();
    EXPECT_EQ(g.NodeCount(), 0);
    EXPECT_EQ(g.LinkCount(), 0);
}

TEST(clsGraph, InitProbabilityRefusesLinksWithoutNodes) {
    // Only a broken document can leave a link end empty; the recomputation must not crash.
    clsGraph g;
    AddLabelledNodes(g, {"A"});
    clsLink& link = g.AppendLink();
    link.FromNode = &g.Node(1);
    EXPECT_THROW(g.InitProbability(), PathloomError);
}

TEST(clsGraph, DegreesPast32767Overflow) {
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
        FAIL() << "no overflow";
    } catch (const PathloomError& e) {
        EXPECT_EQ(e.Description(), "Overflow");
        EXPECT_EQ(e.Number(), ErrorNumber::Overflow);
    }
}

} // namespace
