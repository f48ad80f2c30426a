// The small parts of a run: the path stack, the answer ranges and the run settings.

#include "PathloomError.h"
#include "RunRecord.h"
#include "TestGraphs.h"
#include "ValidationCases.h"

#include <gtest/gtest.h>

using TestGraphs::ErrorOf;

namespace {

TEST(clsPathStack, IndexesAreChecked) {
    clsGraph graph;
    TestGraphs::Build(graph, "A B", "A-B");
    clsPathStack path;
    EXPECT_EQ(ErrorOf([&] { path.Pop(); }), "clsPathStack: Subscript out of range");
    path.Push(&graph.Link(1));
    EXPECT_EQ(ErrorOf([&] { path.Link(-1); }) + ErrorOf([&] { path.Link(1); }),
              "clsPathStack: Subscript out of rangeclsPathStack: Subscript out of range");
    EXPECT_EQ(path.Pop(), &graph.Link(1));
    EXPECT_EQ(path.Count(), 0);
}

TEST(clsPathStack, PathCostAddsFloatPartialSums) {
    clsGraph graph;
    TestGraphs::Build(graph, "A B C", "A-B:1.5 B-C:2.25 C-A");
    clsPathStack path;
    EXPECT_EQ(path.PathCost(), 0.0f);
    path.Push(&graph.Link(1));
    path.Push(&graph.Link(2));
    EXPECT_EQ(path.PathCost(), 3.75f);
    // 2^24 + 1 + 1: each partial sum rounds back to 2^24 in a float, while a double sum
    // rounded once at the end would give 2^24 + 2.
    graph.Link(1).Weight = 16777216.0f;
    graph.Link(2).Weight = 1.0f;
    path.Push(&graph.Link(3));
    EXPECT_EQ(path.PathCost(), 16777216.0f);
    graph.Link(1).Weight = graph.Link(2).Weight = 3e38f;
    EXPECT_EQ(ErrorOf([&] { path.PathCost(); }), "PathCost: Overflow");
}

TEST(clsRanges, RangeIsOneBased) {
    clsRanges ranges;
    ranges.AddRange(-5.0f, 0.0f, 0.1f);
    ranges.AddRange(5.0f, 1e9f, 1.0f);
    EXPECT_EQ(ranges.Range(2).EndNumber, 1e9f);
    EXPECT_THROW(ranges.Range(0), PathloomError);
    EXPECT_THROW(ranges.Range(3), PathloomError);
    ranges.ClearRanges();
    EXPECT_THROW(ranges.Range(1), PathloomError);
}

TEST(RunSettings, ValidateAppliesTheRulesInTheirOrder) {
    clsGraph graph;
    TestGraphs::Build(graph, "A B A", "");
    for (const ValidationCase& c : ValidationTable::Cases) {
        RunSettings s = TestGraphs::Settings(0, c.scheme, c.reward, c.penalty, c.factor);
        s.GraphSearchMethod = c.method;
        s.sourceNode = c.source;
        s.DestNode = c.dest;
        const auto refusal = s.Validate(graph);
        EXPECT_EQ(refusal ? refusal->message : "", c.message) << c.name;
        EXPECT_TRUE(!refusal || refusal->field == c.field) << c.name;
    }
}

TEST(RunSettings, TheSchemeSetsThePenalty) {
    for (const auto& [scheme, penalty] :
         {std::pair{Scheme::LRP, 0.3f}, {Scheme::LREP, 0.2f}, {Scheme::LRI, 0.0f}, {7, 0.2f}})
        EXPECT_EQ(TestGraphs::Settings(0, scheme, 0.3f, 0.2f).Normalised().Penalty, penalty);
}

// A refused run never starts: nothing is reset.
TEST(RunSettings, ARefusedSessionChangesNothing) {
    clsLA la;
    TestGraphs::Build(la.Graph(), "A B", "A-B:1:0.75").Link(1).Flag = true;
    la.Settings.GraphSearchMethod = SearchMethod::SourceToDestination;
    la.Settings.sourceNode = 1;
    EXPECT_EQ(RunToEnd(la).Messages(), std::vector<std::string>{"Please select destination node."});
    EXPECT_EQ(la.Graph().Link(1).Probability, 0.75f);
    EXPECT_TRUE(la.Graph().Link(1).Flag);
}

} // namespace
