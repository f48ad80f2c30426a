#include "clsGraph.h"

#include "PathloomError.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// Builds a graph of labelled nodes at distinct places.
void AddLabelledNodes(clsGraph& g, std::initializer_list<const char*> labels) {
    for (const char* label : labels) {
        g.AddNode(g.NodeCount() * 100, 0);
        g.Node(g.NodeCount()).SetLabel(label);
    }
}

TEST(clsGraph, AddNodeLabelsByCountBefore) {
    clsGraph g;
    g.AddNode(1, 2);
    g.AddNode(3, 4);
    g.AddNode(5, 6);
    EXPECT_EQ(g.Node(1).Label() + g.Node(2).Label() + g.Node(3).Label(), "012");
    EXPECT_EQ(g.Node(3).Position.x, 5);
    EXPECT_EQ(g.Node(3).Position.y, 6);
    EXPECT_FALSE(g.DuplicateExist());
    // Deleting node "0" then adding one repeats the label "2".
    g.DeleteNode(1);
    g.AddNode(0, 0);
    EXPECT_EQ(g.Node(3).Label(), "2");
    EXPECT_TRUE(g.DuplicateExist());
}

TEST(clsGraph, RefusedLinksAndIndexesLeaveTheGraphAsItWas) {
    const char* const self = "The node can not link to itself.";
    const char* const twice = "These nodes already are linked.";
    const struct {
        int from, to;
        const char* expected;
    } cases[] = {{1, 1, self}, {3, 3, self}, {1, 2, twice}, {2, 1, twice}};
    for (const auto& c : cases) {
        for (int kind = 0; kind <= 2; ++kind) {
            clsGraph g;
            AddLabelledNodes(g, {"A", "B", "C"});
            g.AddLink(1, 2, LinkKind::Unidirectional); // A -> B
            try {
                g.AddLink(c.from, c.to, kind);
                ADD_FAILURE() << "accepted " << c.from << "->" << c.to << " kind " << kind;
            } catch (const PathloomError& e) {
                EXPECT_EQ(e.Source() + ": " + e.Description(),
                          std::string("AddLink: ") + c.expected);
            }
            EXPECT_EQ(g.LinkCount(), 1);
            EXPECT_EQ(g.Node(1).OutDegree, 1);
        }
    }
    clsGraph g;
    AddLabelledNodes(g, {"A"});
    EXPECT_THROW(g.Node(0), PathloomError);
    EXPECT_THROW(g.Node(2), PathloomError);
    EXPECT_THROW(g.Link(1), PathloomError);
    EXPECT_THROW(g.AddLink(1, 2, 0), PathloomError);
    EXPECT_THROW(g.DeleteLink(1), PathloomError);
    EXPECT_EQ(g.LinkCount(), 0);
}

TEST(clsGraph, DegreesAndProbabilitiesFollowTheLinkKinds) {
    clsGraph g;
    AddLabelledNodes(g, {"A", "B", "C", "D"});
    g.AddLink(1, 2, LinkKind::Unidirectional); // A -> B
    g.AddLink(1, 3, LinkKind::Unidirectional); // A -> C
    g.AddLink(1, 4, LinkKind::Unidirectional); // A -> D
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(g.Link(i).Probability, static_cast<float>(1.0 / 3.0));
    EXPECT_EQ(g.Node(1).InDegree, 0);
    EXPECT_EQ(g.Node(2).InDegree, 1);
    EXPECT_EQ(g.Node(2).OutDegree, 0);
    g.DeleteLink(3);
    EXPECT_EQ(g.Link(1).Probability, 0.5f);
    EXPECT_EQ(g.Node(4).InDegree, 0);
    g.DeleteLink(2);

    // A simple link counts at both ends and keeps its probability.
    g.AddLink(1, 3, LinkKind::Simple); // A - C
    g.Link(2).Probability = 0.7f;
    g.InitProbability();
    EXPECT_EQ(g.Node(1).OutDegree, 2);
    EXPECT_EQ(g.Node(1).InDegree, 1);
    EXPECT_EQ(g.Node(3).InDegree, 1);
    EXPECT_EQ(g.Node(3).OutDegree, 1);
    EXPECT_EQ(g.Link(1).Probability, 0.5f);
    EXPECT_EQ(g.Link(2).Probability, 0.7f);

    // A bidirectional link into A raises A's out-degree too, so A -> B gets a third.
    g.AddLink(4, 1, LinkKind::Bidirectional);
    EXPECT_EQ(g.Node(1).OutDegree, 3);
    EXPECT_EQ(g.Link(1).Probability, 0.33333334f);
    EXPECT_EQ(g.Link(3).Probability, 0.0f);

    // Deleting C removes exactly its link and recomputes the degrees.
    g.DeleteNode(3);
    EXPECT_EQ(g.LinkCount(), 2);
    EXPECT_EQ(g.Link(1).ToNode->Label(), "B");
    EXPECT_EQ(g.Link(2).FromNode->Label(), "D");
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
    // A node without links leaves the links alone; IDs follow the collection order.
    g.DeleteNode(1);
    EXPECT_EQ(g.LinkCount(), 1);
    EXPECT_EQ(g.Link(1).FromNode, &g.Node(1));
    g.ResetIDs();
    EXPECT_EQ(g.Node(1).ID, 0);
    EXPECT_EQ(g.Node(2).ID, 1);
    g.Link(1).Flag = true;
    g.ResetFlags();
    EXPECT_FALSE(g.Link(1).Flag);
}

TEST(clsGraph, DuplicateExistIgnoresLetterCaseAcrossLatinOne) {
    const struct {
        std::initializer_list<const char*> labels;
        bool expected;
    } cases[] = {
        {{}, false},
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

TEST(clsGraph, InitProbabilityRefusesBrokenLinksAndDegreesPast32767) {
    // Only a broken document can leave a link end empty; the recomputation must not crash.
    clsGraph g;
    AddLabelledNodes(g, {"hub"});
    g.AppendLink().FromNode = &g.Node(1);
    EXPECT_THROW(g.InitProbability(), PathloomError);
    g.ClearGraph();
    EXPECT_EQ(g.NodeCount() + g.LinkCount(), 0);

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
