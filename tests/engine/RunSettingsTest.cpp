#include "RunRecord.h"
#include "TestGraphs.h"
#include "ValidationCases.h"

#include <gtest/gtest.h>

namespace {

TEST(RunSettings, ValidateAppliesTheRulesInTheirOrder) {
    clsGraph graph;
    TestGraphs::AddNodes(graph, {"A", "B", "A"});
    for (const ValidationCase& c : ValidationTable::Cases) {
        RunSettings s;
        s.ModelType = c.scheme;
        s.Reward = c.reward;
        s.Penalty = c.penalty;
        s.LearningFactor = c.factor;
        s.GraphSearchMethod = c.method;
        s.sourceNode = c.source;
        s.DestNode = c.dest;
        const auto refusal = s.Validate(graph);
        EXPECT_EQ(refusal ? refusal->message : "", c.message) << c.name;
        EXPECT_TRUE(!refusal || refusal->field == c.field) << c.name;
    }
}

TEST(RunSettings, TheSchemeSetsThePenalty) {
    RunSettings s;
    s.Reward = 0.3f;
    s.Penalty = 0.2f;
    for (const auto& [scheme, penalty] :
         {std::pair{Scheme::LRP, 0.3f}, {Scheme::LREP, 0.2f}, {Scheme::LRI, 0.0f}, {7, 0.2f}}) {
        s.ModelType = scheme;
        EXPECT_EQ(s.Normalised().Penalty, penalty) << scheme;
    }
}

// A refused run never starts: nothing is reset.
TEST(RunSettings, ARefusedSessionChangesNothing) {
    clsLA la;
    TestGraphs::AddNodes(la.Graph(), {"A", "B"});
    TestGraphs::AddLink(la.Graph(), "A", "B", LinkKind::Simple).Probability = 0.75f;
    la.Graph().Link(1).Flag = true;
    la.Settings.GraphSearchMethod = SearchMethod::SourceToDestination;
    la.Settings.sourceNode = 1;
    const RunRecord run = RunToEnd(la);
    EXPECT_EQ(run.Messages(), std::vector<std::string>{"Please select destination node."});
    EXPECT_EQ(la.Graph().Link(1).Probability, 0.75f);
    EXPECT_TRUE(la.Graph().Link(1).Flag);
}

} // namespace
