#include "PathloomError.h"
#include "TestGraphs.h"
#include "clsLA.h"

#include <gtest/gtest.h>

using TestGraphs::AddLink;
using TestGraphs::AddNodes;
using TestGraphs::NodeByLabel;

namespace {

// Rounds a value computed in double to the float the engine stores.
float F(double value) {
    return static_cast<float>(value);
}

class LearnTest : public ::testing::Test {
protected:
    // X leaves by unidirectional links to each of the given nodes.
    void Fan(std::initializer_list<const char*> targets, std::initializer_list<float> weights) {
        AddNodes(g(), {"X"});
        auto w = weights.begin();
        for (const char* t : targets) {
            AddNodes(g(), {t});
            AddLink(g(), "X", t, LinkKind::Unidirectional, *w++);
        }
    }
    clsGraph& g() { return la.Graph(); }
    void Learn(std::initializer_list<int32_t> links) {
        la.CurrentPath().Reset();
        for (int32_t j : links)
            la.CurrentPath().Push(&g().Link(j));
        la.LearnFromPath();
    }
    float P(int32_t j) { return g().Link(j).Probability; }
    clsLA la;
};

TEST_F(LearnTest, PModelRewardOfTheFirstPath) {
    Fan({"A", "B"}, {1.0f, 1.0f});
    la.Reward = 0.1f;
    Learn({1});
    EXPECT_EQ(P(1), 0.55f);
    EXPECT_EQ(P(2), 0.45f);
    EXPECT_FALSE(la.FirstPath());
    EXPECT_EQ(la.ReferenceCost(), 1.0f);
}

TEST_F(LearnTest, PModelCosts553RewardPenaltyReward) {
    Fan({"A", "B", "C"}, {5.0f, 5.0f, 3.0f});
    la.Reward = 0.1f;
    la.Penalty = 0.1f;
    const double a = la.Reward, b = la.Penalty, third = F(1.0 / 3.0);

    Learn({1}); // first path: favourable
    float pa = F(third + a * (1 - third)), pb = F((1 - a) * third), pc = pb;
    EXPECT_EQ(P(1), pa);
    EXPECT_EQ(P(2), pb);
    EXPECT_EQ(P(3), pc);
    EXPECT_EQ(la.ReferenceCost(), 5.0f);

    Learn({2}); // equal cost: unfavourable; r - 1 = 2 for the siblings
    pb = F((1 - b) * pb);
    pa = F(b / 2 + (1 - b) * pa);
    pc = F(b / 2 + (1 - b) * pc);
    EXPECT_EQ(P(1), pa);
    EXPECT_EQ(P(2), pb);
    EXPECT_EQ(P(3), pc);
    EXPECT_EQ(la.ReferenceCost(), 5.0f);

    Learn({3}); // cheaper: favourable
    EXPECT_EQ(P(3), F(pc + a * (1 - pc)));
    EXPECT_EQ(P(1), F((1 - a) * pa));
    EXPECT_EQ(P(2), F((1 - a) * pb));
    EXPECT_EQ(la.ReferenceCost(), 3.0f);
}

TEST_F(LearnTest, PModelLriPenaltyChangesNothing) {
    Fan({"A", "B", "C"}, {1.0f, 2.0f, 2.0f});
    la.Reward = 0.3f;
    la.Penalty = 0.0f;
    Learn({1});
    const float a = P(1), b = P(2), c = P(3);
    Learn({2});
    Learn({3});
    EXPECT_EQ(P(1), a);
    EXPECT_EQ(P(2), b);
    EXPECT_EQ(P(3), c);
}

TEST_F(LearnTest, SiblingsShareTheFromNodeAndUseItsWholeOutDegree) {
    // C-X is stored from C, so it counts in X's out-degree but is no sibling of X's links.
    Fan({"A", "B"}, {1.0f, 1.0f});
    AddNodes(g(), {"C"});
    AddLink(g(), "C", "X", LinkKind::Simple).Probability = 0.6f;
    EXPECT_EQ(NodeByLabel(g(), "X").OutDegree, 3);
    la.Penalty = 0.2f;
    la.Reward = 0.5f;
    Learn({1});
    Learn({1}); // equal cost: penalty with r - 1 = 2
    const double third = F(1.0 / 3.0), a = 0.5, b = la.Penalty;
    const float pa = F(third + a * (1 - third)), pb = F((1 - a) * third);
    EXPECT_EQ(P(1), F((1 - b) * pa));
    EXPECT_EQ(P(2), F(b / 2 + (1 - b) * pb));
    EXPECT_EQ(P(3), 0.6f);
}

TEST_F(LearnTest, WalkedLinkThatIsAlsoASiblingStartsFromItsUpdatedValue) {
    // The path enters X over Y-X, stored X->Y, and leaves over X->Z: both start at X.
    AddNodes(g(), {"Y", "X", "Z"});
    AddLink(g(), "X", "Y", LinkKind::Simple).Probability = 0.4f;
    AddLink(g(), "X", "Z", LinkKind::Unidirectional);
    ASSERT_EQ(P(2), 0.5f);
    la.Reward = 0.5f;
    Learn({1, 2});
    // Y-X: 0.4 -> 0.7 as walked, then 0.35 as the sibling of X->Z.
    // X->Z: 0.5 -> 0.25 as the sibling of Y-X, then 0.625 as walked.
    EXPECT_EQ(P(1), 0.35f);
    EXPECT_EQ(P(2), 0.625f);
}

TEST_F(LearnTest, SModelWorkedExamples) {
    struct Case {
        int32_t modelType;
        float a, b, lambda, beta;
        float walked, sibling;
    };
    const Case cases[] = {
        {2, 0.5f, 0.0f, 0.0f, 0.2f, 0.7f, 0.3f},    // LRI
        {1, 0.2f, 0.1f, 0.3f, 0.5f, 0.55f, 0.475f}, // LR(E)P
        {2, 0.5f, 0.0f, 0.0f, 1.0f, 0.5f, 0.5f},    // LRI, least favourable: no change
        // LRP with beta 0.5: penalty terms use a, the walked link's reward uses lambda.
        {0, 0.2f, 0.9f, 0.3f, 0.5f, F(0.5 + 0.3 * 0.5 * 0.5 - double(0.2f) * 0.5 * 0.5),
         F(0.5 - double(0.2f) * 0.5 * 0.5 + double(0.2f) * 0.5 * 0.5)},
        {7, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f}, // no such scheme: no change
    };
    for (const Case& c : cases) {
        clsLA engine;
        AddNodes(engine.Graph(), {"X", "A", "B"});
        AddLink(engine.Graph(), "X", "A", LinkKind::Unidirectional, 4.0f);
        AddLink(engine.Graph(), "X", "B", LinkKind::Unidirectional, 4.0f);
        engine.Model = 1;
        engine.ModelType = c.modelType;
        engine.Reward = c.a;
        engine.Penalty = c.b;
        engine.LearningFactor = c.lambda;
        engine.Ranges().AddRange(-100.0f, 100.0f, c.beta);
        engine.CurrentPath().Push(&engine.Graph().Link(1));
        engine.LearnFromPath();
        EXPECT_EQ(engine.Graph().Link(1).Probability, c.walked) << "scheme " << c.modelType;
        EXPECT_EQ(engine.Graph().Link(2).Probability, c.sibling) << "scheme " << c.modelType;
        EXPECT_EQ(engine.ReferenceCost(), 4.0f);
    }
}

TEST_F(LearnTest, SModelJudgesTheCostDifferenceToThePreviousPath) {
    Fan({"A", "B"}, {5.0f, 3.0f});
    la.Model = 1;
    la.ModelType = 2;
    la.Reward = 0.5f;
    la.Ranges().AddRange(4.5f, 5.5f, 1.0f);   // the first path: x = 5 - 0
    la.Ranges().AddRange(-2.5f, -1.5f, 0.0f); // the second: x = 3 - 5
    la.Ranges().AddRange(-10.0f, 10.0f, 0.5f);
    Learn({1});
    EXPECT_EQ(P(1), 0.5f); // beta 1 leaves everything
    EXPECT_EQ(P(2), 0.5f);
    Learn({2});
    EXPECT_EQ(P(2), 0.75f); // beta 0: full reward
    EXPECT_EQ(P(1), 0.25f);
    EXPECT_EQ(la.ReferenceCost(), 3.0f);
    Learn({2}); // x = 0 falls in the last range only
    EXPECT_EQ(P(2), F(0.75 + 0.5 * 0.5 * 0.25));
}

TEST_F(LearnTest, SModelOutsideEveryRangeIsTheFullReward) {
    Fan({"A", "B"}, {1.0f, 1.0f});
    la.Model = 1;
    la.ModelType = 1;
    la.Reward = 0.25f;
    la.Penalty = 0.5f;
    la.LearningFactor = 0.5f;
    la.Ranges().AddRange(10.0f, 20.0f, 1.0f);
    Learn({1});
    EXPECT_EQ(P(1), 0.75f);  // 0.5 + 0.5 * 0.5: lambda, no penalty term
    EXPECT_EQ(P(2), 0.375f); // 0.5 - 0.25 * 0.5
}

TEST_F(LearnTest, OtherModelsChangeNothing) {
    Fan({"A", "B"}, {1.0f, 1.0f});
    la.Model = 2;
    la.Reward = 0.5f;
    Learn({1});
    EXPECT_EQ(P(1), 0.5f);
    EXPECT_EQ(P(2), 0.5f);
    EXPECT_TRUE(la.FirstPath());
}

TEST_F(LearnTest, ArithmeticErrorsRaise) {
    Fan({"A", "B"}, {1.0f, 1.0f});
    la.Penalty = 0.5f;
    Learn({1});
    // Out-degree 1 with a sibling only happens with stale degrees: r - 1 is then 0.
    NodeByLabel(g(), "X").OutDegree = 1;
    try {
        Learn({1});
        FAIL() << "no error";
    } catch (const PathloomError& e) {
        EXPECT_EQ(e.Description(), "Division by zero");
    }

    clsLA huge;
    AddNodes(huge.Graph(), {"X", "A", "B"});
    AddLink(huge.Graph(), "X", "A", LinkKind::Unidirectional);
    AddLink(huge.Graph(), "X", "B", LinkKind::Unidirectional);
    huge.Reward = 3e38f;
    huge.CurrentPath().Push(&huge.Graph().Link(1));
    huge.CurrentPath().Push(&huge.Graph().Link(2));
    // X->A and X->B are siblings: B's second update leaves the float range.
    try {
        huge.LearnFromPath();
        FAIL() << "no error";
    } catch (const PathloomError& e) {
        EXPECT_EQ(e.Description(), "Overflow");
    }
    EXPECT_EQ(huge.Graph().Link(1).Probability, 1.5e38f);
    EXPECT_EQ(huge.Graph().Link(2).Probability, F((1 - 3e38) * 0.5));
}

} // namespace
