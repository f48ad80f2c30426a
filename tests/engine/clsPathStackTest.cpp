#include "clsPathStack.h"

#include "PathloomError.h"
#include "TestGraphs.h"

#include <gtest/gtest.h>

using TestGraphs::AddLink;
using TestGraphs::AddNodes;
using TestGraphs::DescriptionOf;
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

TEST_F(PathStackTest, StackOperationsAndIndexErrors) {
    EXPECT_THROW(path.Pop(), PathloomError);
    // The start of a walk is not on the empty path.
    EXPECT_FALSE(path.ContainNode(&NodeByLabel(graph, "A")));
    path.Push(ab);
    EXPECT_TRUE(path.ContainNode(&NodeByLabel(graph, "A")));
    EXPECT_TRUE(path.ContainNode(&NodeByLabel(graph, "B")));
    EXPECT_FALSE(path.ContainNode(&NodeByLabel(graph, "C")));
    EXPECT_THROW(path.Link(-1), PathloomError);
    EXPECT_THROW(path.Link(1), PathloomError);
    path.Push(bc);
    EXPECT_EQ(path.Count(), 2);
    EXPECT_EQ(path.Link(1), bc);
    EXPECT_EQ(path.Trace(), "A->B:B->C:");
    EXPECT_EQ(path.Pop(), bc);
    EXPECT_EQ(path.Count(), 1);
    path.Reset();
    EXPECT_EQ(path.Count(), 0);
    EXPECT_EQ(path.Trace(), "");
}

TEST_F(PathStackTest, TraceWritesStoredDirections) {
    // Walking from C to A over a link drawn A-C still reads A->C.
    clsLink& ac = AddLink(graph, "C", "A", LinkKind::Simple);
    std::swap(ac.FromNode, ac.ToNode);
    path.Push(&ac);
    EXPECT_EQ(path.Trace(), "A->C:");
}

TEST_F(PathStackTest, PathCostAddsFloatPartialSums) {
    EXPECT_EQ(path.PathCost(), 0.0f);
    path.Push(ab);
    path.Push(bc);
    EXPECT_EQ(path.PathCost(), 3.75f);
    // 2^24 + 1 + 1: each partial sum rounds back to 2^24 in a float, while a double sum
    // rounded once at the end would give 2^24 + 2.
    ab->Weight = 16777216.0f;
    bc->Weight = 1.0f;
    path.Push(&AddLink(graph, "C", "A", LinkKind::Simple, 1.0f));
    EXPECT_EQ(path.PathCost(), 16777216.0f);
    ab->Weight = 3e38f;
    bc->Weight = 3e38f;
    EXPECT_EQ(DescriptionOf([&] { path.PathCost(); }), "Overflow");
}

} // namespace
