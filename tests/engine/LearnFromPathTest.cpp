// Learning from a path, and the parts of a run it rests on: path costs, answer ranges and the
// run settings.

#include "PathloomError.h"
#include "RunRecord.h"
#include "SModel.h"
#include "SettingRegistry.h"
#include "TestGraphs.h"
#include "ValidationCases.h"
#include "clsLA.h"
#include "clsPathStack.h"

#include <cmath>
#include <gtest/gtest.h>
#include <optional>

using TestGraphs::ErrorOf;

namespace {

using Probabilities = std::vector<float>;

// Rounds a value computed in double to the float the engine stores.
float F(double value) {
    return static_cast<float>(value);
}

class LearnTest : public ::testing::Test {
  protected:
    clsGraph& g() { return la.Graph(); }
    // The step takes the settings and the graph as they are at the first path of a run.
    void Learn(std::initializer_list<int32_t> links) {
        if (!step)
            step.emplace(la, la.Settings);
        std::vector<int32_t> positions;
        for (int32_t j : links)
            positions.push_back(j - 1);
        step->Learn(positions);
    }
    Probabilities P() {
        Probabilities p;
        for (int32_t j = 1; j <= g().LinkCount(); ++j)
            p.push_back(g().Link(j).Probability);
        return p;
    }
    clsLA la;
    std::optional<LearningStep> step;
};

TEST_F(LearnTest, PModelCosts553RewardPenaltyReward) {
    TestGraphs::Build(g(), "X A B C", "X>A:5 X>B:5 X>C:3");
    la.Settings.Reward = la.Settings.Penalty = 0.1f;
    const double a = la.Settings.Reward, b = la.Settings.Penalty, third = F(1.0 / 3.0);
    Learn({1}); // first path: favourable
    float pa = F(third + a * (1 - third)), pb = F((1 - a) * third), pc = pb;
    EXPECT_EQ(P(), (Probabilities{pa, pb, pc}));
    Learn({2}); // equal cost: unfavourable; r - 1 = 2 for the siblings
    pb = F((1 - b) * pb);
    pa = F(b / 2 + (1 - b) * pa);
    pc = F(b / 2 + (1 - b) * pc);
    EXPECT_EQ(P(), (Probabilities{pa, pb, pc}));
    Learn({3}); // cheaper: favourable
    EXPECT_EQ(P(), (Probabilities{F((1 - a) * pa), F((1 - a) * pb), F(pc + a * (1 - pc))}));
}

TEST_F(LearnTest, SiblingsShareTheFromNodeAndUseItsWholeOutDegree) {
    // C-X is stored from C, so it counts in X's out-degree but is no sibling of X's links.
    TestGraphs::Build(g(), "X A B C", "X>A X>B C-X:1:0.6");
    la.Settings.Penalty = 0.2f;
    la.Settings.Reward = 0.5f;
    Learn({1});
    Learn({1}); // equal cost: penalty with r - 1 = 2
    const double third = F(1.0 / 3.0), a = 0.5, b = la.Settings.Penalty;
    const float pa = F(third + a * (1 - third)), pb = F((1 - a) * third);
    EXPECT_EQ(P(), (Probabilities{F((1 - b) * pa), F(b / 2 + (1 - b) * pb), 0.6f}));
}

TEST_F(LearnTest, WalkedLinkThatIsAlsoASiblingStartsFromItsUpdatedValue) {
    // The path enters X over Y-X, stored X->Y, and leaves over X->Z: both start at X.
    TestGraphs::Build(g(), "Y X Z", "X-Y:1:0.4 X>Z");
    la.Settings.Reward = 0.5f;
    Learn({1, 2});
    // Y-X: 0.4 -> 0.7 walked, then 0.35 as sibling; X->Z: 0.5 -> 0.25 as sibling, 0.625 walked.
    EXPECT_EQ(P(), (Probabilities{0.35f, 0.625f}));
}

// Under LRI a penalty gives each link back its value, but a sibling's -0 turns +0 (0 + -0).
TEST_F(LearnTest, AnLRIPenaltyKeepsEveryValueButTheSignOfAZero) {
    TestGraphs::Build(g(), "X A B", "X-A:4:0.5 X-B:4:-0");
    la.Settings = TestGraphs::Settings(0, Scheme::LRI, 0.5f);
    Learn({1}); // rewarded: X-B keeps its -0 (0.5 * -0)
    EXPECT_TRUE(std::signbit(P()[1]));
    Learn({1}); // as cheap as the best, not cheaper: a penalty
    EXPECT_EQ(P()[0], 0.75f);
    EXPECT_FALSE(std::signbit(P()[1]));
}

TEST_F(LearnTest, SModelWorkedExamples) {
    const struct {
        int32_t model, modelType;
        float a, b, lambda, rangeStart, beta;
        float walked, sibling;
    } cases[] = {
        {1, 2, 0.5f, 0.0f, 0.0f, -100.0f, 0.2f, 0.7f, 0.3f},    // LRI
        {1, 1, 0.2f, 0.1f, 0.3f, -100.0f, 0.5f, 0.55f, 0.475f}, // LR(E)P
        {1, 2, 0.5f, 0.0f, 0.0f, -100.0f, 1.0f, 0.5f, 0.5f},    // LRI, least favourable
        // LRP with beta 0.5: penalty terms use a, the walked link's reward uses lambda.
        {1, 0, 0.2f, 0.9f, 0.3f, -100.0f, 0.5f, F(0.5 + 0.3 * 0.5 * 0.5 - double(0.2f) * 0.5 * 0.5),
         F(0.5 - double(0.2f) * 0.5 * 0.5 + double(0.2f) * 0.5 * 0.5)},
        {1, 7, 0.5f, 0.5f, 0.5f, -100.0f, 0.5f, 0.5f, 0.5f}, // no such scheme: no change
        {2, 0, 0.5f, 0.0f, 0.0f, -100.0f, 0.5f, 0.5f, 0.5f}, // no such model: no change
        // Outside every range is the full reward: lambda, no penalty term.
        {1, 1, 0.25f, 0.5f, 0.5f, 10.0f, 1.0f, 0.75f, 0.375f},
    };
    for (const auto& c : cases) {
        la.Graph().ClearGraph();
        la.Ranges().Clear();
        step.reset();
        TestGraphs::Build(g(), "X A B", "X>A:4 X>B:4");
        la.Settings = TestGraphs::Settings(c.model, c.modelType, c.a, c.b, c.lambda);
        la.Ranges().AddRange(c.rangeStart, 100.0f, c.beta);
        Learn({1});
        EXPECT_EQ(P(), (Probabilities{c.walked, c.sibling})) << c.model << "/" << c.modelType;
    }
}

TEST_F(LearnTest, SModelJudgesTheCostDifferenceToThePreviousPath) {
    TestGraphs::Build(g(), "X A B", "X>A:5 X>B:3");
    la.Settings = TestGraphs::Settings(1, Scheme::LRI, 0.5f);
    la.Ranges().AddRange(4.5f, 5.5f, 1.0f);   // the first path: x = 5 - 0
    la.Ranges().AddRange(-2.5f, -1.5f, 0.0f); // the second: x = 3 - 5
    la.Ranges().AddRange(-10.0f, 10.0f, 0.5f);
    Learn({1});
    EXPECT_EQ(P(), (Probabilities{0.5f, 0.5f})); // beta 1 leaves everything
    Learn({2});
    EXPECT_EQ(P(), (Probabilities{0.25f, 0.75f})); // beta 0: full reward
    EXPECT_EQ(dynamic_cast<const SModel&>(step->Judge()).PreviousCost(), 3.0f);
    Learn({2}); // x = 0 falls in the last range only
    EXPECT_EQ(P()[1], F(0.75 + 0.5 * 0.5 * 0.25));
}

TEST_F(LearnTest, ArithmeticErrorsRaise) {
    TestGraphs::Build(g(), "X A B", "X>A X>B");
    la.Settings.Penalty = 0.5f;
    // Out-degree 1 with a sibling only happens with stale degrees: r - 1 is then 0.
    TestGraphs::NodeByLabel(g(), "X").OutDegree = 1;
    Learn({1}); // rewarded: no share of the penalty
    EXPECT_EQ(ErrorOf([&] { Learn({1}); }), "LA.LearnFromPath: Division by zero");
}

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

TEST(Environment, TheCostAddsFloatPartialSums) {
    // 2^24 + 1 + 1: each partial sum rounds back to 2^24 in a float, while a double sum
    // rounded once at the end would give 2^24 + 2.
    clsLA la;
    TestGraphs::Build(la.Graph(), "A B C", "A-B:16777216 B-C C-A");
    const RunSettings settings = TestGraphs::Settings(0, Scheme::LRP, 0.1f);
    EXPECT_EQ(LearningStep(la, settings).Learn({0, 1, 2}).cost, 16777216.0f);
    la.Graph().Link(1).Weight = la.Graph().Link(2).Weight = 3e38f;
    EXPECT_EQ(ErrorOf([&] { LearningStep(la, settings).Learn({0, 1, 2}); }), "PathCost: Overflow");
}

TEST(clsRanges, RangeIsOneBased) {
    clsRanges ranges;
    ranges.AddRange(-5.0f, 0.0f, 0.1f);
    ranges.AddRange(5.0f, 1e9f, 1.0f);
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
        const std::string about = refusal && refusal->setting ? refusal->setting->typed : "";
        EXPECT_TRUE(!refusal || about == (c.about ? c.about : "")) << c.name;
    }
}

TEST(RunSettings, TheSchemeSetsThePenalty) {
    for (const auto& [scheme, penalty] : {std::pair<int32_t, float>{Scheme::LRP, 0.3f},
                                          {Scheme::LREP, 0.2f},
                                          {Scheme::LRI, 0.0f},
                                          {7, 0.2f}})
        EXPECT_EQ(TestGraphs::Settings(0, scheme, 0.3f, 0.2f).Normalised().Penalty, penalty);
}

// Whether a learning step can change a probability is told from the settings alone, and the
// steps bear it out: a reward then a penalty (P-model), or two answers of 0.5 (S-model).
TEST(RunSettings, SettingsUnderWhichNothingIsLearnedAreTold) {
    const struct {
        int32_t model, scheme;
        float reward, penalty, factor;
        const char* why;
    } cases[] = {
        {Model::P, Scheme::LRI, 0, 0.3f, 0.5f, "reward 0 under LRI"},
        {Model::P, Scheme::LRP, 0, 0.3f, 0.5f, "reward 0 under LRP"},
        {Model::P, Scheme::LREP, 0, 0, 0.5f, "reward and penalty 0 under LR(E)P"},
        {Model::P, 7, 0, 0, 0.5f, "reward and penalty 0 under this scheme"},
        {Model::S, Scheme::LRI, 0, 0.3f, 0.5f, "reward 0 under LRI"},
        {Model::S, Scheme::LRP, 0, 0.3f, 0, "reward and learning factor 0 under LRP"},
        {Model::S, Scheme::LREP, 0, 0, 0, "reward, penalty and learning factor 0 under LR(E)P"},
        {Model::S, 7, 0.5f, 0.3f, 0.5f, "the scheme is none this version knows"},
        {5, Scheme::LRI, 0.5f, 0, 0, "the model is none this version knows"},
        {Model::P, Scheme::LRI, 0.1f, 0, 0, nullptr},
        {Model::P, Scheme::LREP, 0, -0.1f, 0, nullptr},
        {Model::S, Scheme::LRP, 0, 0, 0.5f, nullptr},
        {Model::S, Scheme::LREP, 0, 0.1f, 0, nullptr},
    };
    for (const auto& c : cases) {
        clsLA la;
        TestGraphs::Build(la.Graph(), "X A B", "X>A:1 X>B:5");
        la.Ranges().AddRange(0.0f, 10.0f, 0.5f);
        la.Settings = TestGraphs::Settings(c.model, c.scheme, c.reward, c.penalty, c.factor);
        const std::optional<std::string> why = la.Settings.NothingLearned();
        EXPECT_EQ(why.value_or(""),
                  c.why ? std::string("No probability can change: ") + c.why + "." : "");
        LearningStep step(la, la.Settings.Normalised());
        step.Learn({0});
        step.Learn({1});
        const bool kept =
            la.Graph().Link(1).Probability == 0.5f && la.Graph().Link(2).Probability == 0.5f;
        EXPECT_EQ(kept, why.has_value()) << (c.why ? c.why : "learns");
    }
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
