#include "PathloomError.h"
#include "RunRecord.h"
#include "TestGraphs.h"

#include <gtest/gtest.h>
#include <random>

using TestGraphs::AddLink;
using TestGraphs::AddNodes;
using TestGraphs::NodeByLabel;

namespace {

using Traces = std::vector<std::string>;
const int32_t All = SearchMethod::IncludeAllNodes, ToDest = SearchMethod::SourceToDestination;
const int64_t Unlimited = std::numeric_limits<int64_t>::max();

void Choose(clsLA& la, int32_t method, const std::string& source, const std::string& dest = "") {
    la.Settings.GraphSearchMethod = method;
    la.Settings.sourceNode = TestGraphs::IndexOf(la.Graph(), source);
    la.Settings.DestNode = dest.empty() ? -1 : TestGraphs::IndexOf(la.Graph(), dest);
}

void Triangle(clsGraph& g) {
    AddNodes(g, {"A", "B", "C"});
    AddLink(g, "A", "B", LinkKind::Simple);
    AddLink(g, "B", "C", LinkKind::Simple);
    AddLink(g, "A", "C", LinkKind::Simple);
}

struct WalkCase {
    const char* name;
    std::vector<std::string> nodes;
    std::vector<std::tuple<int32_t, int32_t, int32_t>> links; // appended raw: from, to, kind
    int32_t method;
    const char* dest;
    Traces expected; // empty: "Not found any path."
};

// Every case found alike by the session and by the straightforward walk.
TEST(Walks, PathOrders) {
    const WalkCase cases[] = {
        {"triangle to C",
         {"A", "B", "C"},
         {{1, 2, 0}, {2, 3, 0}, {1, 3, 0}},
         ToDest,
         "C",
         {"A->B:B->C:", "A->C:"}},
        // A-C-B walks B-C backwards; the trace keeps its stored direction.
        {"triangle all",
         {"A", "B", "C"},
         {{1, 2, 0}, {2, 3, 0}, {1, 3, 0}},
         All,
         "",
         {"A->B:B->C:", "A->C:B->C:"}},
        {"lone node", {"A"}, {}, All, "", {}},
        {"untouched D", {"A", "B", "C", "D"}, {{1, 2, 0}, {2, 3, 2}}, All, "", {}},
        {"B->A all", {"A", "B"}, {{2, 1, 1}}, All, "", {}},
        {"B->A to B", {"A", "B"}, {{2, 1, 1}}, ToDest, "B", {}},
        {"A->B all", {"A", "B"}, {{1, 2, 1}}, All, "", {"A->B:"}},
        {"A->B to B", {"A", "B"}, {{1, 2, 1}}, ToDest, "B", {"A->B:"}},
        // A square with a diagonal: never through C, never back to A.
        {"square",
         {"A", "B", "C", "D"},
         {{1, 2, 0}, {2, 3, 0}, {3, 4, 0}, {4, 1, 0}, {2, 4, 2}},
         ToDest,
         "C",
         {"A->B:B->C:", "A->B:B->D:C->D:", "D->A:C->D:", "D->A:B->D:B->C:"}},
        // Hand-made graphs may hold self-links, second links between two nodes and unknown
        // kinds, which walk both ways as they count both ways.
        {"document links",
         {"A", "B", "C"},
         {{1, 1, 0}, {1, 2, 0}, {2, 1, 2}, {2, 3, 1}, {3, 3, 1}, {1, 3, 5}},
         ToDest,
         "C",
         {"A->A:A->B:B->C:", "A->A:B->A:B->C:", "A->A:A->C:", "A->B:B->C:", "B->A:B->C:", "A->C:"}},
    };
    for (const WalkCase& c : cases) {
        clsLA engine;
        clsGraph& g = engine.Graph();
        for (const std::string& label : c.nodes) {
            g.AddNode(g.NodeCount() * 60, 0);
            g.Node(g.NodeCount()).SetLabel(label);
        }
        for (const auto& [from, to, kind] : c.links) {
            clsLink& link = g.AppendLink();
            link.FromNode = &g.Node(from);
            link.ToNode = &g.Node(to);
            link.LinkType = kind;
            link.Weight = 1.0f;
        }
        g.InitProbability();
        Choose(engine, c.method, "A", c.dest);
        const RunRecord run = RunToEnd(engine);
        EXPECT_EQ(run.traces, c.expected) << c.name;
        EXPECT_EQ(run.pathCount, static_cast<int32_t>(c.expected.size())) << c.name;
        EXPECT_EQ(run.Messages(), c.expected.empty() ? Traces{"Not found any path."} : Traces{})
            << c.name;
        EXPECT_EQ(ReferenceRun(engine).traces, c.expected) << c.name;
    }
}

TEST(Walks, PausesWithStepDelayAndStops) {
    clsLA la;
    Triangle(la.Graph());
    la.Settings.EnableDelay = true;
    Choose(la, ToDest, "A", "C");
    const RunRecord forward = RunToEnd(la);
    EXPECT_EQ(forward.pauses, 2);
    EXPECT_EQ(forward.traces.size(), 2u);

    for (int32_t method : {All, ToDest}) { // Stop at the first pause
        la.Settings.GraphSearchMethod = method;
        RunSession session(la.Graph(), la.Ranges(), la.Settings);
        EXPECT_EQ(session.Step(Unlimited), RunState::Paused);
        session.ShowPath(); // the paused path, as the canvas shows it
        for (int32_t j = 1; j <= 3; ++j)
            EXPECT_EQ(la.Graph().Link(j).Flag, j != 3);
        session.Stop();
        EXPECT_EQ(session.State(), RunState::Finished);
        EXPECT_EQ(session.PathCount(), 1);
        EXPECT_FALSE(session.NotFound());
        for (int32_t j = 1; j <= 3; ++j)
            EXPECT_FALSE(la.Graph().Link(j).Flag);
    }
}

// n diamonds in a row: 2^n paths from the first junction to the last.
void BuildDiamonds(clsGraph& g, int n) {
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
}

TEST(Walks, StopEndsARunWithoutNotFound) {
    clsLA la;
    BuildDiamonds(la.Graph(), 6);
    la.Settings.GraphSearchMethod = ToDest;
    la.Settings.sourceNode = 1;
    la.Settings.DestNode = la.Graph().NodeCount();
    RunSession session(la.Graph(), la.Ranges(), la.Settings);
    while (session.PathCount() < 3)
        session.Step(1);
    session.Stop();
    EXPECT_EQ(session.PathCount(), 3);
    EXPECT_EQ(session.Step(Unlimited), RunState::Finished);

    // Seven nodes all joined and one untouched: a long search in vain, stopped at once.
    clsLA engine;
    clsGraph& g = engine.Graph();
    for (int i = 0; i < 8; ++i)
        g.AddNode(i * 50, 0);
    for (int a = 1; a <= 7; ++a)
        for (int b = a + 1; b <= 7; ++b)
            g.AddLink(a, b, LinkKind::Simple);
    engine.Settings.sourceNode = 1;
    RunSession fruitless(g, engine.Ranges(), engine.Settings);
    EXPECT_EQ(fruitless.Step(1000), RunState::Running);
    fruitless.Stop();
    EXPECT_FALSE(fruitless.NotFound());
    for (int32_t j = 1; j <= g.LinkCount(); ++j)
        EXPECT_FALSE(g.Link(j).Flag);
}

TEST(Walks, OverflowInTheMiddleOfAPathKeepsWhatWasLearnedAndTheFlags) {
    // Y-X is stored X->Y, so both links of the path Y, X, Z start at X.
    clsLA la;
    AddNodes(la.Graph(), {"Y", "X", "Z"});
    AddLink(la.Graph(), "X", "Y", LinkKind::Simple).SetProbability(0.5f);
    AddLink(la.Graph(), "X", "Z", LinkKind::Unidirectional);
    la.Settings.Reward = 3e38f;
    Choose(la, ToDest, "Y", "Z");
    const RunRecord run = RunToEnd(la);
    EXPECT_EQ(run.Messages(), Traces{"Overflow"});
    // The path whose learning failed is counted and shown.
    EXPECT_EQ(run.traces, Traces{"X->Y:X->Z:"});
    EXPECT_EQ(run.pathCount, 1);
    EXPECT_EQ(la.Graph().Link(1).Probability, 1.5e38f);
    EXPECT_EQ(la.Graph().Link(2).Probability, static_cast<float>((1 - double(3e38f)) * 0.5));
    EXPECT_TRUE(la.Graph().Link(1).Flag);
    EXPECT_TRUE(la.Graph().Link(2).Flag);
}

TEST(Walks, The32768thPathEndsTheRunBeforeItIsLearned) {
    for (int diamonds : {14, 15}) {
        clsLA engine;
        clsGraph& g = engine.Graph();
        BuildDiamonds(g, diamonds);
        engine.Settings.GraphSearchMethod = ToDest;
        engine.Settings.sourceNode = 1;
        engine.Settings.DestNode = g.NodeCount();
        engine.Settings.Reward = 0.01f; // equal costs: one reward, then penalties with b = 0
        const RunRecord run = RunToEnd(engine);
        if (diamonds == 14) {
            EXPECT_EQ(run.pathCount, 16384);
            EXPECT_TRUE(run.Messages().empty());
            continue;
        }
        EXPECT_EQ(run.pathCount, 32767);
        EXPECT_EQ(run.traces.size(), 32767u);
        EXPECT_EQ(run.Messages(),
                  Traces{"Overflow\r\nThe run stopped because a run counts at most 32,767 paths."});
        // The 32768th path, the last one, stays flagged: down the second side of every diamond.
        for (int32_t j = 1; j <= g.LinkCount(); ++j)
            EXPECT_EQ(g.Link(j).Flag, j % 2 == 0) << "link " << j;
    }
}

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
        link.Weight = 1.0f;
    }
    g.InitProbability();
    struct Length : RunObserver { // a trace of a million links is of no use here
        int32_t links = 0;
        void PathLearned(const LearnedPath& path) override { links = path.links.Count(); }
    };
    la.Settings.Reward = 0.5f;
    for (int32_t method : {All, ToDest}) {
        la.Settings.GraphSearchMethod = method;
        la.Settings.sourceNode = 1;
        la.Settings.DestNode = n;
        Length length;
        RunSession session(g, la.Ranges(), la.Settings);
        session.AddObserver(length);
        EXPECT_EQ(session.Step(Unlimited), RunState::Finished);
        EXPECT_EQ(session.PathCount(), 1);
        EXPECT_EQ(length.links, n - 1);
        EXPECT_EQ(g.Link(1).Probability, 0.75f);
        EXPECT_FALSE(g.Link(n / 2).Flag);
    }
}

// A node deleted while the settings name it: the settings go on naming the same nodes, and none
// for the deleted one, never anything freed.
TEST(Walks, ANodeDeletedWhileItIsTheSource) {
    clsLA la;
    Triangle(la.Graph());
    Choose(la, ToDest, "C", "B");
    la.DeleteNode(1);
    EXPECT_EQ(RunToEnd(la).traces, Traces{"B->C:"});
    la.DeleteNode(2);
    EXPECT_EQ(RunToEnd(la).Messages(), Traces{"Please select source node."});
}

// A random small graph with every kind of link and setting, run from random nodes.
clsLA& RandomEngine(clsLA& la, unsigned seed, int32_t method) {
    std::mt19937 rng(seed);
    const auto num = [&rng](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    const auto real = [&rng](float hi) {
        return std::uniform_real_distribution<float>(0.0f, hi)(rng);
    };
    clsGraph& g = la.Graph();
    const int nodes = num(1, 9);
    for (int i = 0; i < nodes; ++i)
        g.AddNode(i * 50, 0);
    for (int t = num(nodes, nodes * 5); t > 0; --t) {
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
    // Hand-made graphs may also hold self-links, second links between two nodes and unknown
    // kinds.
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
    return la;
}

// Sessions stepped with budgets of 1, 7 and without limit give the straightforward walk's paths,
// in its order, with the same probabilities after every path.
TEST(Walks, SessionsMatchTheStraightforwardWalkOnRandomGraphs) {
    int32_t totalPaths = 0;
    for (unsigned seed = 1; seed <= 400; ++seed) {
        for (int32_t method : {All, ToDest}) {
            clsLA a, b;
            RandomEngine(a, seed, method);
            RandomEngine(b, seed, method);
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
