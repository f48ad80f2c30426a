// The small parts of a run: the path stack, the answer ranges and the run settings.

#include "PathloomError.h"
#include "RunRecord.h"
#include "TestGraphs.h"
#include "ValidationCases.h"

#include <cmath>
#include <gtest/gtest.h>

using TestGraphs::DescriptionOf;

namespace {

TEST(clsPathStack, StackOperationsAndTraces) {
    clsGraph graph;
    TestGraphs::Build(graph, "A B C", "A-B B>C A-C");
    clsPathStack path;
    const auto has = [&](const char* label) {
        return path.ContainNode(&TestGraphs::NodeByLabel(graph, label));
    };
    EXPECT_EQ(DescriptionOf([&] { path.Pop(); }), "Subscript out of range");
    EXPECT_FALSE(has("A")); // the start of a walk is not on the empty path
    path.Push(&graph.Link(1));
    EXPECT_TRUE(has("A") && has("B") && !has("C"));
    EXPECT_THROW(path.Link(-1), PathloomError);
    EXPECT_THROW(path.Link(1), PathloomError);
    path.Push(&graph.Link(2));
    path.Push(&graph.Link(3));
    // Walking from C to A over a link drawn A-C still reads A->C.
    EXPECT_EQ(path.Trace(), "A->B:B->C:A->C:");
    EXPECT_EQ(path.Link(1), &graph.Link(2));
    EXPECT_EQ(path.Pop(), &graph.Link(3));
    EXPECT_EQ(path.Count(), 2);
    path.Reset();
    EXPECT_EQ(path.Count() + path.Trace().size(), 0u);
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
    EXPECT_EQ(DescriptionOf([&] { path.PathCost(); }), "Overflow");
}

TEST(clsRanges, FirstRangeHoldingTheNumberWins) {
    clsRanges ranges;
    EXPECT_EQ(ranges.GetAnswer(0.0f), 0.0f); // empty table
    // [0, 10] -> 0.2 and [10, 20] -> 0.8, with a later range nested in the first.
    ranges.AddRange(0.0f, 10.0f, 0.2f);
    ranges.AddRange(10.0f, 20.0f, 0.8f);
    ranges.AddRange(2.0f, 3.0f, 0.5f);
    // A shared bound is the first range's; the bounds are inclusive; nothing else answers.
    const std::pair<float, float> cases[] = {
        {10.0f, 0.2f},      {0.0f, 0.2f},  {20.0f, 0.8f},      {2.5f, 0.2f},
        {10.000001f, 0.8f}, {-3.0f, 0.0f}, {20.000002f, 0.0f}, {std::nanf(""), 0.0f}};
    for (const auto& [number, answer] : cases)
        EXPECT_EQ(ranges.GetAnswer(number), answer) << number;
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
