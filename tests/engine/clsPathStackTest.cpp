#include "PathloomError.h"
#include "TestGraphs.h"
#include "clsPathStack.h"

#include <gtest/gtest.h>

using TestGraphs::AddLink;
using TestGraphs::AddNodes;
using TestGraphs::NodeByLabel;

namespace {

class PathStackTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddNodes(graph, {"A", "B", "C"});
        ab = &AddLink(graph, "A", "B", LinkKind::Simple, 1.5f);
        bc = &AddLink(graph, "B", "C", LinkKind::Unidirectional, 2.25f);
    }
    clsGraph graph;
    clsLink* ab = nullptr;
    clsLink* bc = nullptr;
    clsPathStack path;
};

TEST_F(PathStackTest, PushPopKeepOrderAndCount) {
    path.Push(ab);
    path.Push(bc);
    EXPECT_EQ(path.Count(), 2);
    EXPECT_EQ(path.Link(0), ab);
    EXPECT_EQ(path.Link(1), bc);
    EXPECT_EQ(path.Pop(), bc);
    EXPECT_EQ(path.Count(), 1);
    path.Reset();
    EXPECT_EQ(path.Count(), 0);
}

TEST_F(PathStackTest, PopOfEmptyAndLinkOutsideAreIndexErrors) {
    EXPECT_THROW(path.Pop(), PathloomError);
    path.Push(ab);
    EXPECT_THROW(path.Link(-1), PathloomError);
    EXPECT_THROW(path.Link(1), PathloomError);
    try {
        path.Link(5);
    } catch (const PathloomError& e) {
        EXPECT_EQ(e.Number(), ErrorNumber::SubscriptOutOfRange);
    }
}

TEST_F(PathStackTest, ContainNodeOnlyThroughLinkEnds) {
    clsNode& a = NodeByLabel(graph, "A");
    // The start of a walk is not on the empty path.
    EXPECT_FALSE(path.ContainNode(&a));
    path.Push(ab);
    EXPECT_TRUE(path.ContainNode(&a));
    EXPECT_TRUE(path.ContainNode(&NodeByLabel(graph, "B")));
    EXPECT_FALSE(path.ContainNode(&NodeByLabel(graph, "C")));
    EXPECT_TRUE(path.ContainLink(ab));
    EXPECT_FALSE(path.ContainLink(bc));
}

TEST_F(PathStackTest, PathCostAddsFloatPartialSums) {
    EXPECT_EQ(path.PathCost(), 0.0f);
    path.Push(ab);
    path.Push(bc);
    EXPECT_EQ(path.PathCost(), 3.75f);

    // 2^24 + 1 + 1: each partial sum rounds back to 2^24 in a float, while a double sum
    // rounded once at the end would give 2^24 + 2.
    path.Reset();
    ab->Weight = 16777216.0f;
    bc->Weight = 1.0f;
    clsLink& ca = AddLink(graph, "C", "A", LinkKind::Simple, 1.0f);
    path.Push(ab);
    path.Push(bc);
    path.Push(&ca);
    EXPECT_EQ(path.PathCost(), 16777216.0f);
}

TEST_F(PathStackTest, PathCostOverflowRaises) {
    ab->Weight = 3e38f;
    bc->Weight = 3e38f;
    path.Push(ab);
    path.Push(bc);
    try {
        path.PathCost();
        FAIL() << "no error";
    } catch (const PathloomError& e) {
        EXPECT_EQ(e.Description(), "Overflow");
        EXPECT_EQ(e.Number(), ErrorNumber::Overflow);
    }
}

TEST_F(PathStackTest, CopyReplacesWhatTheDestinationHeld) {
    clsPathStack dest;
    dest.Push(bc);
    dest.Push(bc);
    dest.Push(ab);
    path.Push(ab);
    path.Push(bc);
    path.Copy(dest);
    ASSERT_EQ(dest.Count(), 2);
    EXPECT_EQ(dest.Link(0), ab);
    EXPECT_EQ(dest.Link(1), bc);
    // The link objects are shared.
    dest.Link(0)->Weight = 9.0f;
    EXPECT_EQ(ab->Weight, 9.0f);
}

TEST_F(PathStackTest, TraceWritesStoredDirections) {
    EXPECT_EQ(path.Trace(), "");
    path.Push(ab);
    path.Push(bc);
    EXPECT_EQ(path.Trace(), "A->B:B->C:");

    // Walking from C to A over a link drawn A-C still reads A->C.
    clsLink& ac = AddLink(graph, "C", "A", LinkKind::Simple);
    std::swap(ac.FromNode, ac.ToNode);
    path.Reset();
    path.Push(&ac);
    EXPECT_EQ(path.Trace(), "A->C:");
}

} // namespace
