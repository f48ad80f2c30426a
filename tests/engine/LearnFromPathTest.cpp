#include "LearningScheme.h"
#include "PathloomError.h"
#include "TestGraphs.h"
#include "WalkIndex.h"
#include "clsLA.h"
#include "clsPathStack.h"

#include <gtest/gtest.h>
#include <optional>

using TestGraphs::AddLink;
using TestGraphs::AddNodes;
using TestGraphs::DescriptionOf;
using TestGraphs::NodeByLabel;

namespace {

// Rounds a value computed in double to the float the engine stores.
float F(double value) {
    return static_cast<float>(value);
}

class LearnTest : public ::testing::Test {
  protected:
    // X leaves by unidirectional links of the given weights to A, B, C...
    void Fan(std::initializer_list<float> weights) {
        AddNodes(g(), {"X"});
        std::string target = "A";
        for (float w : weights) {
            AddNodes(g(), {target.c_str()});
            AddLink(g(), "X", target, LinkKind::Unidirectional, w);
            ++target[0];
        }
    }
    clsGraph& g() { return la.Graph(); }
    // The scheme takes the settings as they are at the first path of a run.
    void Learn(std::initializer_list<int32_t> links) {
        if (!scheme) {
            index.Build(g());
            scheme.emplace(la.Settings, la.Ranges(), index);
        }
        clsPathStack path;
        for (int32_t j : links)
            path.Push(&g().Link(j));
        scheme->LearnFromPath(path);
    }
    std::vector<float> P() {
        std::vector<float> p;
        for (int32_t j = 1; j <= g().LinkCount(); ++j)
            p.push_back(g().Link(j).Probability);
        return p;
    }
    clsLA la;
    WalkIndex index;
    std::optional<LearningScheme> scheme;
};

TEST_F(LearnTest, PModelCosts553RewardPenaltyReward) {
    Fan({5.0f, 5.0f, 3.0f});
    la.Settings.Reward = 0.1f;
    la.Settings.Penalty = 0.1f;
    const double a = la.Settings.Reward, b = la.Settings.Penalty, third = F(1.0 / 3.0);
    Learn({1}); // first path: favourable
    float pa = F(third + a * (1 - third)), pb = F((1 - a) * third), pc = pb;
    EXPECT_EQ(P(), (std::vector<float>{pa, pb, pc}));
    EXPECT_FALSE(scheme->FirstPath());
    EXPECT_EQ(scheme->ReferenceCost(), 5.0f);
    Learn({2}); // equal cost: unfavourable; r - 1 = 2 for the siblings
    pb = F((1 - b) * pb);
    pa = F(b / 2 + (1 - b) * pa);
    pc = F(b / 2 + (1 - b) * pc);
    EXPECT_EQ(P(), (std::vector<float>{pa, pb, pc}));
    EXPECT_EQ(scheme->ReferenceCost(), 5.0f);
    Learn({3}); // cheaper: favourable
    EXPECT_EQ(P(), (std::vector<float>{F((1 - a) * pa), F((1 - a) * pb), F(pc + a * (1 - pc))}));
    EXPECT_EQ(scheme->ReferenceCost(), 3.0f);
}

TEST_F(LearnTest, PModelRewardOfTheFirstPath) {
    Fan({1.0f, 1.0f});
    la.Settings.Reward = 0.1f;
    Learn({1});
    EXPECT_EQ(P(), (std::vector<float>{0.55f, 0.45f}));
    EXPECT_FALSE(scheme->FirstPath());
    EXPECT_EQ(scheme->ReferenceCost(), 1.0f);
}

TEST_F(LearnTest, PModelLriPenaltyChangesNothing) {
    Fan({1.0f, 2.0f, 2.0f});
    la.Settings.Reward = 0.3f;
    Learn({1});
    const std::vector<float> after = P();
    Learn({2});
    Learn({3});
    EXPECT_EQ(P(), after);
}

TEST_F(LearnTest, SiblingsShareTheFromNodeAndUseItsWholeOutDegree) {
    // C-X is stored from C, so it counts in X's out-degree but is no sibling of X's links.
    Fan({1.0f, 1.0f});
    AddNodes(g(), {"C"});
    AddLink(g(), "C", "X", LinkKind::Simple).SetProbability(0.6f);
    EXPECT_EQ(NodeByLabel(g(), "X").OutDegree, 3);
    la.Settings.Penalty = 0.2f;
    la.Settings.Reward = 0.5f;
    Learn({1});
    Learn({1}); // equal cost: penalty with r - 1 = 2
    const double third = F(1.0 / 3.0), a = 0.5, b = la.Settings.Penalty;
    const float pa = F(third + a * (1 - third)), pb = F((1 - a) * third);
    EXPECT_EQ(P(), (std::vector<float>{F((1 - b) * pa), F(b / 2 + (1 - b) * pb), 0.6f}));
}

TEST_F(LearnTest, WalkedLinkThatIsAlsoASiblingStartsFromItsUpdatedValue) {
    // The path enters X over Y-X, stored X->Y, and leaves over X->Z: both start at X.
    AddNodes(g(), {"Y", "X", "Z"});
    AddLink(g(), "X", "Y", LinkKind::Simple).SetProbability(0.4f);
    AddLink(g(), "X", "Z", LinkKind::Unidirectional);
    ASSERT_EQ(P()[1], 0.5f);
    la.Settings.Reward = 0.5f;
    Learn({1, 2});
    // Y-X: 0.4 -> 0.7 walked, then 0.35 as sibling; X->Z: 0.5 -> 0.25 as sibling, 0.625 walked.
    EXPECT_EQ(P(), (std::vector<float>{0.35f, 0.625f}));
}

TEST_F(LearnTest, SModelWorkedExamples) {
    struct Case {
        int32_t model, modelType;
        float a, b, lambda, rangeStart, beta;
        float walked, sibling;
    };
    const Case cases[] = {
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
    for (const Case& c : cases) {
        la.Graph().ClearGraph();
        la.Ranges().Clear();
        scheme.reset();
        AddNodes(g(), {"X", "A", "B"});
        AddLink(g(), "X", "A", LinkKind::Unidirectional, 4.0f);
        AddLink(g(), "X", "B", LinkKind::Unidirectional, 4.0f);
        la.Settings.Model = c.model;
        la.Settings.ModelType = c.modelType;
        la.Settings.Reward = c.a;
        la.Settings.Penalty = c.b;
        la.Settings.LearningFactor = c.lambda;
        la.Ranges().AddRange(c.rangeStart, 100.0f, c.beta);
        Learn({1});
        EXPECT_EQ(g().Link(1).Probability, c.walked) << c.model << "/" << c.modelType;
        EXPECT_EQ(g().Link(2).Probability, c.sibling) << c.model << "/" << c.modelType;
        if (c.model == 1)
            EXPECT_EQ(scheme->ReferenceCost(), 4.0f);
        else
            EXPECT_TRUE(scheme->FirstPath());
    }
}

TEST_F(LearnTest, SModelJudgesTheCostDifferenceToThePreviousPath) {
    Fan({5.0f, 3.0f});
    la.Settings.Model = 1;
    la.Settings.ModelType = 2;
    la.Settings.Reward = 0.5f;
    la.Ranges().AddRange(4.5f, 5.5f, 1.0f);   // the first path: x = 5 - 0
    la.Ranges().AddRange(-2.5f, -1.5f, 0.0f); // the second: x = 3 - 5
    la.Ranges().AddRange(-10.0f, 10.0f, 0.5f);
    Learn({1});
    EXPECT_EQ(P(), (std::vector<float>{0.5f, 0.5f})); // beta 1 leaves everything
    Learn({2});
    EXPECT_EQ(P(), (std::vector<float>{0.25f, 0.75f})); // beta 0: full reward
    EXPECT_EQ(scheme->ReferenceCost(), 3.0f);
    Learn({2}); // x = 0 falls in the last range only
    EXPECT_EQ(P()[1], F(0.75 + 0.5 * 0.5 * 0.25));
}

TEST_F(LearnTest, ArithmeticErrorsRaise) {
    Fan({1.0f, 1.0f});
    la.Settings.Penalty = 0.5f;
    Learn({1});
    // Out-degree 1 with a sibling only happens with stale degrees: r - 1 is then 0.
    NodeByLabel(g(), "X").OutDegree = 1;
    EXPECT_EQ(DescriptionOf([&] { Learn({1}); }), "Division by zero");
}

} // namespace
