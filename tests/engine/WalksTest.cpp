#include "PathloomError.h"
#include "ScriptedHost.h"
#include "TestGraphs.h"
#include "clsLA.h"

#include <gtest/gtest.h>
#include <random>

using TestGraphs::AddLink;
using TestGraphs::AddNodes;
using TestGraphs::NodeByLabel;

namespace {

using Traces = std::vector<std::string>;
using Events = std::vector<std::string>;
const int32_t All = SearchMethod::IncludeAllNodes, ToDest = SearchMethod::SourceToDestination;

// Runs with the indexed walks (false) and with the straightforward scan (true).
class WalkTest : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override { la.UseReferenceWalks = GetParam(); }
    void Run(int32_t method, const std::string& source, const std::string& dest = "") {
        host.OnOptions = [method, source, dest](clsLA& e) {
            e.GraphSearchMethod = method;
            e.sourceNode = &NodeByLabel(e.Graph(), source);
            e.DestNode = dest.empty() ? nullptr : &NodeByLabel(e.Graph(), dest);
        };
        la.Start(host);
    }
    void Triangle() {
        AddNodes(la.Graph(), {"A", "B", "C"});
        AddLink(la.Graph(), "A", "B", LinkKind::Simple);
        AddLink(la.Graph(), "B", "C", LinkKind::Simple);
        AddLink(la.Graph(), "A", "C", LinkKind::Simple);
    }
    clsLA la;
    ScriptedHost host;
};

struct WalkCase {
    const char* name;
    std::vector<std::string> nodes;
    std::vector<std::tuple<int32_t, int32_t, int32_t>> links; // appended raw: from, to, kind
    int32_t method;
    const char* dest;
    Traces expected; // empty: "Not found any path."
};

TEST_P(WalkTest, PathOrders) {
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
        // Documents may hold self-links, second links between two nodes and unknown kinds,
        // which walk both ways as they count both ways.
        {"document links",
         {"A", "B", "C"},
         {{1, 1, 0}, {1, 2, 0}, {2, 1, 2}, {2, 3, 1}, {3, 3, 1}, {1, 3, 5}},
         ToDest,
         "C",
         {"A->A:A->B:B->C:", "A->A:B->A:B->C:", "A->A:A->C:", "A->B:B->C:", "B->A:B->C:", "A->C:"}},
    };
    for (const WalkCase& c : cases) {
        clsLA engine;
        engine.UseReferenceWalks = GetParam();
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
        ScriptedHost h;
        h.OnOptions = [&c](clsLA& e) {
            e.GraphSearchMethod = c.method;
            e.sourceNode = &e.Graph().Node(1);
            e.DestNode = *c.dest ? &NodeByLabel(e.Graph(), c.dest) : nullptr;
        };
        engine.Start(h);
        EXPECT_EQ(h.Traces(), c.expected) << c.name;
        EXPECT_EQ(engine.PathCount(), static_cast<int32_t>(c.expected.size())) << c.name;
        if (c.expected.empty()) {
            ASSERT_EQ(h.Messages.size(), 1u) << c.name;
            EXPECT_EQ(h.Messages[0].text, "Not found any path.");
            EXPECT_EQ(h.Messages[0].icon, MessageIcon::Information);
            EXPECT_EQ(h.Events,
                      (Events{"Options", "Busy", "NotBusy", "Draw", "DoEvents", "Message"}));
        } else {
            EXPECT_TRUE(h.Messages.empty()) << c.name;
        }
    }
}

TEST_P(WalkTest, PausesWithStepDelay) {
    Triangle();
    la.EnableDelay = true;
    host.WaitAnswers = {1, 1}; // Forward at every pause
    Run(ToDest, "A", "C");
    EXPECT_EQ(host.Traces().size(), 2u);
    EXPECT_EQ(host.Events, (Events{"Options", "Wait", "Wait"}));
    EXPECT_EQ(host.KeepResponsiveCalls, 0);

    for (int32_t method : {All, ToDest}) { // Stop at the first pause
        host = ScriptedHost();
        host.WaitAnswers = {2};
        host.RecordProbabilities = true;
        Run(method, "A", "C");
        EXPECT_EQ(host.Traces(), (Traces{"A->B:B->C:"}));
        EXPECT_EQ(la.PathCount(), 1);
        EXPECT_TRUE(host.Messages.empty());
        // No busy pointer with step delay; the paused path is shown flagged, then unflagged.
        EXPECT_EQ(host.Events, (Events{"Options", "Wait"}));
        EXPECT_EQ(host.Paths[0].flags, (std::vector<bool>{true, true, false}));
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

TEST_P(WalkTest, TheHostCanStopARun) {
    BuildDiamonds(la.Graph(), 6);
    host.StopAfterPaths = 3;
    Run(ToDest, "0", la.Graph().Node(la.Graph().NodeCount()).Label());
    EXPECT_EQ(la.PathCount(), 3);
    EXPECT_TRUE(host.Messages.empty());
    EXPECT_EQ(host.Events, (Events{"Options", "Busy", "NotBusy"}));

    // Seven nodes all joined and one untouched: a long search in vain, stopped at once.
    clsLA engine;
    engine.UseReferenceWalks = GetParam();
    clsGraph& g = engine.Graph();
    for (int i = 0; i < 8; ++i)
        g.AddNode(i * 50, 0);
    for (int a = 1; a <= 7; ++a)
        for (int b = a + 1; b <= 7; ++b)
            g.AddLink(a, b, LinkKind::Simple);
    ScriptedHost h;
    h.StopAfterPaths = 0;
    h.OnOptions = [](clsLA& e) {
        e.GraphSearchMethod = All;
        e.sourceNode = &e.Graph().Node(1);
    };
    engine.Start(h);
    EXPECT_EQ(h.KeepResponsiveCalls, 1);
    EXPECT_EQ(engine.PathCount(), 0);
    EXPECT_TRUE(h.Messages.empty()); // stopped, so no "Not found any path."
    for (int32_t j = 1; j <= g.LinkCount(); ++j)
        EXPECT_FALSE(g.Link(j).Flag);
}

TEST_P(WalkTest, OverflowInTheMiddleOfAPathKeepsWhatWasLearnedAndTheFlags) {
    // Y-X is stored X->Y, so both links of the path Y, X, Z start at X.
    AddNodes(la.Graph(), {"Y", "X", "Z"});
    AddLink(la.Graph(), "X", "Y", LinkKind::Simple).SetProbability(0.5f);
    AddLink(la.Graph(), "X", "Z", LinkKind::Unidirectional);
    la.Reward = 3e38f;
    Run(ToDest, "Y", "Z");
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.Messages[0].text, "Overflow");
    EXPECT_EQ(host.Messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(host.Events, (Events{"Options", "Busy", "NotBusy", "Draw", "DoEvents", "Message"}));
    // The path whose learning failed is counted and shown.
    EXPECT_EQ(host.Traces(), (std::vector<std::string>{"X->Y:X->Z:"}));
    EXPECT_EQ(la.PathCount(), 1);
    EXPECT_EQ(la.Graph().Link(1).Probability, 1.5e38f);
    EXPECT_EQ(la.Graph().Link(2).Probability, static_cast<float>((1 - double(3e38f)) * 0.5));
    EXPECT_TRUE(la.Graph().Link(1).Flag);
    EXPECT_TRUE(la.Graph().Link(2).Flag);
}

INSTANTIATE_TEST_SUITE_P(Walks, WalkTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Straightforward" : "Indexed";
                         });

TEST(Walks, The32768thPathEndsTheRunBeforeItIsLearned) {
    for (int diamonds : {14, 15}) {
        clsLA engine;
        clsGraph& g = engine.Graph();
        BuildDiamonds(g, diamonds);
        ScriptedHost counting;
        counting.OnOptions = [&g](clsLA& e) {
            e.GraphSearchMethod = ToDest;
            e.sourceNode = &g.Node(1);
            e.DestNode = &g.Node(g.NodeCount());
            e.Reward = 0.01f; // equal costs: one reward, then penalties with b = 0
        };
        engine.Start(counting);
        if (diamonds == 14) {
            EXPECT_EQ(engine.PathCount(), 16384);
            EXPECT_TRUE(counting.Messages.empty());
            continue;
        }
        EXPECT_EQ(engine.PathCount(), 32767);
        EXPECT_EQ(counting.Paths.size(), 32767u);
        ASSERT_EQ(counting.Messages.size(), 1u);
        EXPECT_EQ(counting.Messages[0].text,
                  "Overflow\r\nThe run stopped because a run counts at most 32,767 paths.");
        EXPECT_EQ(counting.Messages[0].icon, MessageIcon::Critical);
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
    struct LengthHost : ScriptedHost { // a trace of a million links is of no use here
        int32_t length = 0;
        void PathLearned(int32_t, const clsPathStack& path) override { length = path.Count(); }
    };
    for (int32_t method : {All, ToDest}) {
        LengthHost host;
        host.OnOptions = [&g, method](clsLA& e) {
            e.GraphSearchMethod = method;
            e.sourceNode = &g.Node(1);
            e.DestNode = &g.Node(g.NodeCount());
            e.Reward = 0.5f;
        };
        g.Link(1).SetProbability(0.5f);
        la.Start(host);
        EXPECT_EQ(la.PathCount(), 1);
        EXPECT_EQ(host.length, n - 1);
        EXPECT_TRUE(host.Messages.empty());
        EXPECT_EQ(g.Link(1).Probability, 0.75f);
        EXPECT_FALSE(g.Link(n / 2).Flag);
    }
}

// A random small graph with every kind of link and setting, run from random nodes.
ScriptedHost RunRandom(unsigned seed, bool straightforward, int32_t method, int32_t& pathCount) {
    std::mt19937 rng(seed);
    const auto num = [&rng](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    const auto real = [&rng](float hi) {
        return std::uniform_real_distribution<float>(0.0f, hi)(rng);
    };
    clsLA la;
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
    // Documents may also hold self-links, second links between two nodes and unknown kinds.
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
    la.Model = num(0, 1);
    la.ModelType = num(0, 2);
    la.Reward = real(0.5f);
    la.Penalty = real(0.5f);
    la.LearningFactor = real(0.5f);
    la.Ranges().AddRange(-100.0f, -1.0f, 0.25f);
    la.Ranges().AddRange(-1.0f, 1.0f, 0.5f);
    la.Ranges().AddRange(1.0f, 100.0f, 0.75f);
    la.UseReferenceWalks = straightforward;
    const int source = num(1, nodes), dest = num(1, nodes);
    ScriptedHost host;
    host.RecordProbabilities = true;
    host.OnOptions = [&g, method, source, dest](clsLA& e) {
        e.GraphSearchMethod = method;
        e.sourceNode = &g.Node(source);
        e.DestNode = &g.Node(dest);
    };
    la.Start(host);
    pathCount = la.PathCount();
    return host;
}

// The indexed walks must give the straightforward scan's paths, in its order, with the same
// probabilities after every path.
TEST(Walks, IndexedWalksMatchTheStraightforwardScanOnRandomGraphs) {
    int32_t totalPaths = 0;
    for (unsigned seed = 1; seed <= 400; ++seed) {
        for (int32_t method : {All, ToDest}) {
            int32_t fastCount = 0, slowCount = 0;
            const ScriptedHost fast = RunRandom(seed, false, method, fastCount);
            const ScriptedHost slow = RunRandom(seed, true, method, slowCount);
            ASSERT_EQ(fastCount, slowCount) << "seed " << seed << " method " << method;
            ASSERT_EQ(fast.Traces(), slow.Traces()) << "seed " << seed << " method " << method;
            for (std::size_t k = 0; k < fast.Paths.size(); ++k) {
                ASSERT_EQ(fast.Paths[k].probabilities, slow.Paths[k].probabilities)
                    << "seed " << seed << " path " << k;
                ASSERT_EQ(fast.Paths[k].flags, slow.Paths[k].flags) << "seed " << seed;
            }
            ASSERT_EQ(fast.Messages.size(), slow.Messages.size());
            for (std::size_t k = 0; k < fast.Messages.size(); ++k)
                EXPECT_EQ(fast.Messages[k].text, slow.Messages[k].text);
            totalPaths += fastCount;
        }
    }
    // The comparison is only worth something if the graphs have paths to compare.
    EXPECT_GT(totalPaths, 2000);
}

} // namespace
