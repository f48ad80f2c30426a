#include "PathloomError.h"
#include "RunRecord.h"
#include "TestGraphs.h"

#include <gtest/gtest.h>
#include <random>

using TestGraphs::Build;

namespace {

using Traces = std::vector<std::string>;
const int32_t All = SearchMethod::IncludeAllNodes, ToDest = SearchMethod::SourceToDestination;
const int64_t Unlimited = std::numeric_limits<int64_t>::max();

void Choose(clsLA& la, int32_t method, const std::string& source, const std::string& dest = "") {
    la.Settings.GraphSearchMethod = method;
    la.Settings.sourceNode = TestGraphs::IndexOf(la.Graph(), source);
    la.Settings.DestNode = dest.empty() ? -1 : TestGraphs::IndexOf(la.Graph(), dest);
}

// Every case found alike by the session and by the straightforward walk, from A.
TEST(Walks, PathOrders) {
    const struct {
        const char *nodes, *links, *dest; // no destination: every node on the path
        Traces expected;                  // empty: "Not found any path."
    } cases[] = {
        {"A B C", "A-B B-C A-C", "C", {"A->B:B->C:", "A->C:"}},
        // A-C-B walks B-C backwards; the trace keeps its stored direction.
        {"A B C", "A-B B-C A-C", "", {"A->B:B->C:", "A->C:B->C:"}},
        {"A", "", "", {}},
        {"A B C D", "A-B B=C", "", {}},
        {"A B", "B>A", "", {}},
        {"A B", "B>A", "B", {}},
        {"A B", "A>B", "", {"A->B:"}},
        {"A B", "A>B", "B", {"A->B:"}},
        // A square with a diagonal: never through C, never back to A.
        {"A B C D",
         "A-B B-C C-D D-A B=D",
         "C",
         {"A->B:B->C:", "A->B:B->D:C->D:", "D->A:C->D:", "D->A:B->D:B->C:"}},
        // Hand-made graphs may hold self-links, second links between two nodes and unknown
        // kinds, which walk both ways as they count both ways.
        {"A B C",
         "A-A A-B B=A B>C C>C A5C",
         "C",
         {"A->A:A->B:B->C:", "A->A:B->A:B->C:", "A->A:A->C:", "A->B:B->C:", "B->A:B->C:", "A->C:"}},
    };
    for (const auto& c : cases) {
        clsLA la;
        Build(la.Graph(), c.nodes, c.links);
        Choose(la, *c.dest ? ToDest : All, "A", c.dest);
        const RunRecord run = RunToEnd(la);
        EXPECT_EQ(run.traces, c.expected) << c.links;
        EXPECT_EQ(run.pathCount, static_cast<int32_t>(c.expected.size())) << c.links;
        EXPECT_EQ(run.Messages(), c.expected.empty() ? Traces{"Not found any path."} : Traces{});
        EXPECT_EQ(ReferenceRun(la).traces, c.expected) << c.links;
    }
}

// B-C comes first: one step past the budget would find the path A, B, C.
TEST(Walks, PausesWithStepDelayAndStops) {
    clsLA la;
    Build(la.Graph(), "A B C", "B-C A-B A-C");
    la.Settings.EnableDelay = true;
    Choose(la, ToDest, "A", "C");
    EXPECT_EQ(RunToEnd(la).pauses, 2);
    const clsGraph& g = la.Graph();
    for (int32_t method : {All, ToDest}) { // Stop at the first pause, or before any path
        la.Settings.GraphSearchMethod = method;
        RunSession paused(la.Graph(), la.Ranges(), la.Settings);
        EXPECT_EQ(paused.Step(Unlimited), RunState::Paused);
        paused.ShowPath(); // the paused path, as the canvas shows it
        EXPECT_TRUE(g.Link(1).Flag && g.Link(2).Flag && !g.Link(3).Flag);
        paused.Stop();
        RunSession early(la.Graph(), la.Ranges(), la.Settings);
        EXPECT_EQ(early.Step(1), RunState::Running);
        early.Stop();
        for (RunSession* stopped : {&paused, &early})
            EXPECT_TRUE(stopped->Step(Unlimited) == RunState::Finished && !stopped->NotFound());
        EXPECT_EQ(paused.PathCount() * 10 + early.PathCount(), 10);
        EXPECT_FALSE(g.Link(1).Flag || g.Link(2).Flag);
    }
}

// n diamonds in a row: 2^n paths from the first junction to the last.
void BuildDiamonds(clsLA& la, int n) {
    clsGraph& g = la.Graph();
    g.AddNode(0, 0);
    for (int i = 0; i < n; ++i) {
        const int32_t junction = g.NodeCount();
        for (int k = 0; k < 3; ++k)
            g.AddNode(0, 0);
        g.AddLink(junction, junction + 1, LinkKind::Unidirectional);
        g.AddLink(junction, junction + 2, LinkKind::Unidirectional);
        g.AddLink(junction + 1, junction + 3, LinkKind::Simple);
        g.AddLink(junction + 2, junction + 3, LinkKind::Simple);
    }
    for (int32_t j = 1; j <= g.LinkCount(); ++j)
        g.Link(j).Weight = 1.0f;
    la.Settings.GraphSearchMethod = ToDest;
    la.Settings.sourceNode = 1;
    la.Settings.DestNode = g.NodeCount();
}

TEST(Walks, OverflowInTheMiddleOfAPathKeepsWhatWasLearnedAndTheFlags) {
    // Y-X is stored X->Y, so both links of the path Y, X, Z start at X.
    clsLA la;
    Build(la.Graph(), "Y X Z", "X-Y:1:0.5 X>Z");
    la.Settings.Reward = 3e38f;
    Choose(la, ToDest, "Y", "Z");
    const RunRecord run = RunToEnd(la);
    EXPECT_EQ(run.Messages(), Traces{"Overflow"});
    // The path whose learning failed is counted and shown, with its cost.
    EXPECT_EQ(run.traces, Traces{"X->Y:X->Z:"});
    EXPECT_EQ(run.costs, std::vector<float>{2.0f});
    EXPECT_EQ(run.pathCount, 1);
    EXPECT_EQ(la.Graph().Link(1).Probability, 1.5e38f);
    EXPECT_EQ(la.Graph().Link(2).Probability, static_cast<float>((1 - double(3e38f)) * 0.5));
    EXPECT_TRUE(la.Graph().Link(1).Flag && la.Graph().Link(2).Flag);
}

TEST(Walks, The32768thPathEndsTheRunBeforeItIsLearned) {
    clsLA la;
    BuildDiamonds(la, 15);
    la.Settings.Reward = 0.01f; // equal costs: one reward, then penalties with b = 0
    const RunRecord run = RunToEnd(la);
    EXPECT_EQ(run.pathCount, 32767);
    EXPECT_EQ(run.traces.size(), 32767u);
    EXPECT_EQ(run.Messages(),
              Traces{"Overflow\r\nThe run stopped because a run counts at most 32,767 paths."});
    // The 32768th path, the last one, stays flagged: down the second side of every diamond.
    for (int32_t j = 1; j <= la.Graph().LinkCount(); ++j)
        EXPECT_EQ(la.Graph().Link(j).Flag, j % 2 == 0) << "link " << j;
}

// The walks keep the path in arrays of their own and never recurse: a path may be as long as
// the graph.
TEST(Walks, AChainOfAMillionNodesRuns) {
    clsLA la;
    clsGraph& g = la.Graph();
    const int32_t n = 1000000;
    for (int32_t i = 0; i < n; ++i)
        g.AppendNode();
    for (int32_t i = 1; i < n; ++i) {
        clsLink& link = g.AppendLink();
        link.FromNode = &g.Node(i);
        link.ToNode = &g.Node(i + 1);
        link.LinkType = i % 2 ? LinkKind::Simple : LinkKind::Unidirectional;
        link.SetProbability(0.5f);
    }
    la.Settings.Reward = 0.5f;
    la.Settings.sourceNode = 1;
    la.Settings.DestNode = n;
    for (int32_t method : {All, ToDest}) {
        la.Settings.GraphSearchMethod = method;
        const RunRecord run = RunToEnd(la); // unlabelled: "->:" per link
        EXPECT_TRUE(run.traces.size() == 1 && run.traces[0].size() == 3u * (n - 1));
        EXPECT_EQ(g.Link(1).Probability, 0.75f);
        EXPECT_FALSE(g.Link(n / 2).Flag);
    }
}

// A node deleted while the settings name it: the settings go on naming the same nodes, and none
// for the deleted one, never anything freed.
TEST(Walks, ANodeDeletedWhileItIsTheSource) {
    clsLA la;
    Build(la.Graph(), "A B C", "A-B B-C A-C");
    Choose(la, ToDest, "C", "B");
    la.DeleteNode(1);
    EXPECT_EQ(RunToEnd(la).traces, Traces{"B->C:"});
    la.DeleteNode(2);
    EXPECT_EQ(RunToEnd(la).Messages(), Traces{"Please select source node."});
}

// A random small graph with every kind of link and setting, run from random nodes; or a large
// sparse one (past 64 nodes the walks tell dead branches apart otherwise): each node joined to
// one of the four before it, and a few links more.
void RandomEngine(clsLA& la, unsigned seed, int32_t method, bool large = false) {
    std::mt19937 rng(seed);
    const auto num = [&rng](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    const auto real = [&rng](float hi) {
        return std::uniform_real_distribution<float>(0.0f, hi)(rng);
    };
    clsGraph& g = la.Graph();
    const int nodes = large ? num(65, 80) : num(1, 9);
    for (int i = 0; i < nodes; ++i)
        g.AddNode(i * 50, 0);
    for (int i = 2; large && i <= nodes; ++i) {
        const int before = num(std::max(1, i - 4), i - 1);
        const bool forward = num(0, 1) == 1;
        g.AddLink(forward ? before : i, forward ? i : before, num(0, 2));
    }
    for (int t = large ? num(4, 20) : num(nodes, nodes * 5); t > 0; --t) {
        const int from = num(1, nodes), to = num(1, nodes), kind = num(0, 2);
        try {
            g.AddLink(from, to, kind);
        } catch (const PathloomError&) {
            continue; // self-links and repeats are refused, as in the editor
        }
        clsLink& link = g.Link(g.LinkCount());
        link.Weight = static_cast<float>(num(1, 9));
        if (kind != LinkKind::Unidirectional)
            link.SetProbability(real(1.0f));
    }
    // Self-links, second links between two nodes and unknown kinds, as in PathOrders.
    if (num(0, 3) == 0) {
        for (int t = num(1, 3); t > 0; --t) {
            clsLink& link = g.AppendLink();
            link.FromNode = &g.Node(num(1, nodes));
            link.ToNode = &g.Node(num(1, nodes));
            link.LinkType = num(0, 3);
            link.Weight = static_cast<float>(num(1, 9));
            link.SetProbability(0.5f);
        }
        g.InitProbability();
    }
    RunSettings& s = la.Settings;
    s.Model = num(0, 1);
    s.ModelType = num(0, 2);
    s.Reward = real(0.5f);
    s.Penalty = s.ModelType == Scheme::LREP ? real(s.Reward) : real(0.5f);
    s.LearningFactor = real(0.5f);
    la.Ranges().AddRange(-100.0f, -1.0f, 0.25f);
    la.Ranges().AddRange(-1.0f, 1.0f, 0.5f);
    la.Ranges().AddRange(1.0f, 100.0f, 0.75f);
    s.GraphSearchMethod = method;
    s.sourceNode = num(1, nodes);
    s.DestNode = num(1, nodes);
}

// Sessions stepped with budgets of 1, 7 and without limit give the straightforward walk's paths,
// in its order, with the same probabilities after every path.
TEST(Walks, SessionsMatchTheStraightforwardWalkOnRandomGraphs) {
    int32_t totalPaths = 0;
    for (unsigned seed = 1; seed <= 460; ++seed) {
        for (int32_t method : {All, ToDest}) {
            clsLA a, b;
            RandomEngine(a, seed, method, seed > 400);
            RandomEngine(b, seed, method, seed > 400);
            if (a.Settings.Validate(a.Graph()))
                continue; // source equal to destination
            const int64_t budget = seed % 3 == 0 ? 1 : seed % 3 == 1 ? 7 : Unlimited;
            const RunRecord session = RunToEnd(a, {budget, true});
            const RunRecord reference = ReferenceRun(b, true);
            ASSERT_EQ(session.traces, reference.traces) << "seed " << seed << " method " << method;
            ASSERT_EQ(session.probabilities, reference.probabilities) << "seed " << seed;
            ASSERT_EQ(session.Messages(), reference.Messages()) << "seed " << seed;
            totalPaths += session.pathCount;
        }
    }
    // The comparison is only worth something if the graphs have paths to compare.
    EXPECT_GT(totalPaths, 2000);
}

} // namespace
