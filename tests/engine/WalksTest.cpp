#include "PathloomError.h"
#include "ScriptedHost.h"
#include "TestGraphs.h"
#include "clsLA.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

using TestGraphs::AddLink;
using TestGraphs::AddNodes;
using TestGraphs::NodeByLabel;

namespace {

using Traces = std::vector<std::string>;

// Every walk test runs with the indexed walks and with the straightforward scan.
class WalkTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { la.UseReferenceWalks = GetParam(); }

    void Run(int32_t method, const std::string& source, const std::string& dest = "") {
        host.OnOptions = [&, method, source, dest](clsLA& engine) {
            engine.GraphSearchMethod = method;
            engine.sourceNode = &NodeByLabel(engine.Graph(), source);
            engine.DestNode = dest.empty() ? nullptr : &NodeByLabel(engine.Graph(), dest);
        };
        la.Start(host);
    }
    void ExpectNotFound() {
        ASSERT_EQ(host.Messages.size(), 1u);
        EXPECT_EQ(host.Messages[0].text, "Not found any path.");
        EXPECT_EQ(host.Messages[0].icon, MessageIcon::Information);
        EXPECT_EQ(la.PathCount(), 0);
    }

    clsLA la;
    ScriptedHost host;
};

TEST_P(WalkTest, TriangleToDestination) {
    AddNodes(la.Graph(), {"A", "B", "C"});
    AddLink(la.Graph(), "A", "B", LinkKind::Simple);
    AddLink(la.Graph(), "B", "C", LinkKind::Simple);
    AddLink(la.Graph(), "A", "C", LinkKind::Simple);
    Run(SearchMethod::SourceToDestination, "A", "C");
    EXPECT_EQ(host.Traces(), (Traces{"A->B:B->C:", "A->C:"}));
    EXPECT_TRUE(host.Messages.empty());
    EXPECT_EQ(la.PathCount(), 2);
}

TEST_P(WalkTest, TriangleIncludingAllNodes) {
    AddNodes(la.Graph(), {"A", "B", "C"});
    AddLink(la.Graph(), "A", "B", LinkKind::Simple);
    AddLink(la.Graph(), "B", "C", LinkKind::Simple);
    AddLink(la.Graph(), "A", "C", LinkKind::Simple);
    Run(SearchMethod::IncludeAllNodes, "A");
    // A-C-B walks B-C backwards; the trace keeps its stored direction.
    EXPECT_EQ(host.Traces(), (Traces{"A->B:B->C:", "A->C:B->C:"}));
    EXPECT_TRUE(host.Messages.empty());
}

TEST_P(WalkTest, NothingFoundEndsWithTheInformationMessage) {
    AddNodes(la.Graph(), {"A"});
    Run(SearchMethod::IncludeAllNodes, "A"); // the empty path touches no node
    ExpectNotFound();
    EXPECT_EQ(host.Events, (std::vector<std::string>{"Options", "Busy", "NotBusy", "Draw",
                                                      "DoEvents", "Message"}));
}

TEST_P(WalkTest, AnUntouchedNodeMeansNoPathIncludesAll) {
    AddNodes(la.Graph(), {"A", "B", "C", "D"});
    AddLink(la.Graph(), "A", "B", LinkKind::Simple);
    AddLink(la.Graph(), "B", "C", LinkKind::Bidirectional);
    Run(SearchMethod::IncludeAllNodes, "A");
    ExpectNotFound();
}

TEST_P(WalkTest, UnidirectionalLinksOnlyForward) {
    AddNodes(la.Graph(), {"A", "B"});
    AddLink(la.Graph(), "B", "A", LinkKind::Unidirectional);
    Run(SearchMethod::IncludeAllNodes, "A");
    ExpectNotFound();
    host = ScriptedHost();
    Run(SearchMethod::SourceToDestination, "A", "B");
    ExpectNotFound();

    la.Graph().DeleteLink(1);
    AddLink(la.Graph(), "A", "B", LinkKind::Unidirectional);
    for (int32_t method : {SearchMethod::IncludeAllNodes, SearchMethod::SourceToDestination}) {
        host = ScriptedHost();
        Run(method, "A", "B");
        EXPECT_EQ(host.Traces(), (Traces{"A->B:"}));
        EXPECT_TRUE(host.Messages.empty());
    }
}

TEST_P(WalkTest, PathsEndAtTheDestinationAndNeverRevisit) {
    // A square with a diagonal: the walk to C never passes through C, never returns to A.
    AddNodes(la.Graph(), {"A", "B", "C", "D"});
    AddLink(la.Graph(), "A", "B", LinkKind::Simple);
    AddLink(la.Graph(), "B", "C", LinkKind::Simple);
    AddLink(la.Graph(), "C", "D", LinkKind::Simple);
    AddLink(la.Graph(), "D", "A", LinkKind::Simple);
    AddLink(la.Graph(), "B", "D", LinkKind::Bidirectional);
    Run(SearchMethod::SourceToDestination, "A", "C");
    EXPECT_EQ(host.Traces(), (Traces{"A->B:B->C:", "A->B:B->D:C->D:", "D->A:C->D:",
                                     "D->A:B->D:B->C:"}));
}

TEST_P(WalkTest, StopAtTheFirstPauseEndsAfterOnePath) {
    AddNodes(la.Graph(), {"A", "B", "C"});
    AddLink(la.Graph(), "A", "B", LinkKind::Simple);
    AddLink(la.Graph(), "B", "C", LinkKind::Simple);
    AddLink(la.Graph(), "A", "C", LinkKind::Simple);
    for (int32_t method : {SearchMethod::IncludeAllNodes, SearchMethod::SourceToDestination}) {
        host = ScriptedHost();
        host.WaitAnswers = {2};
        host.RecordProbabilities = true;
        la.EnableDelay = true;
        Run(method, "A", "C");
        EXPECT_EQ(host.Traces(), (Traces{"A->B:B->C:"}));
        EXPECT_EQ(la.PathCount(), 1);
        EXPECT_TRUE(host.Messages.empty());
        // No busy pointer with step delay; the paused path is shown flagged, then unflagged.
        EXPECT_EQ(host.Events, (std::vector<std::string>{"Options", "Wait"}));
        EXPECT_EQ(host.Paths[0].flags, (std::vector<bool>{true, true, false}));
        for (int32_t j = 1; j <= 3; ++j)
            EXPECT_FALSE(la.Graph().Link(j).Flag);
    }
}

TEST_P(WalkTest, ForwardAtEveryPauseWalksThroughAllPaths) {
    AddNodes(la.Graph(), {"A", "B", "C"});
    AddLink(la.Graph(), "A", "B", LinkKind::Simple);
    AddLink(la.Graph(), "B", "C", LinkKind::Simple);
    AddLink(la.Graph(), "A", "C", LinkKind::Simple);
    la.EnableDelay = true;
    host.WaitAnswers = {1, 1};
    Run(SearchMethod::SourceToDestination, "A", "C");
    EXPECT_EQ(host.Traces().size(), 2u);
    EXPECT_EQ(host.Events, (std::vector<std::string>{"Options", "Wait", "Wait"}));
    EXPECT_EQ(host.KeepResponsiveCalls, 0);
}

// n diamonds in a row: 2^n paths from the first junction to the last.
void BuildDiamonds(clsGraph& g, int n) {
    g.AddNode(0, 0);
    for (int i = 0; i < n; ++i) {
        const int32_t junction = g.NodeCount();
        g.AddNode(0, 0);
        g.AddNode(0, 0);
        g.AddNode(0, 0);
        g.AddLink(junction, junction + 1, LinkKind::Unidirectional);
        g.AddLink(junction, junction + 2, LinkKind::Unidirectional);
        g.AddLink(junction + 1, junction + 3, LinkKind::Simple);
        g.AddLink(junction + 2, junction + 3, LinkKind::Simple);
    }
    for (int32_t j = 1; j <= g.LinkCount(); ++j)
        g.Link(j).Weight = 1.0f;
}

TEST_P(WalkTest, TheHostCanStopARunWithoutDelay) {
    BuildDiamonds(la.Graph(), 6);
    host.StopAfterPaths = 3;
    Run(SearchMethod::SourceToDestination, "0", la.Graph().Node(la.Graph().NodeCount()).Label());
    EXPECT_EQ(la.PathCount(), 3);
    EXPECT_TRUE(host.Messages.empty());
    EXPECT_EQ(host.Events, (std::vector<std::string>{"Options", "Busy", "NotBusy"}));
}

TEST_P(WalkTest, TheHostCanStopALongSearchThatFindsNothing) {
    // Seven nodes all joined, and one that nothing touches: every order is tried in vain.
    clsGraph& g = la.Graph();
    for (int i = 0; i < 8; ++i)
        g.AddNode(i * 50, 0);
    for (int a = 1; a <= 7; ++a)
        for (int b = a + 1; b <= 7; ++b)
            g.AddLink(a, b, LinkKind::Simple);
    host.StopAfterPaths = 0;
    Run(SearchMethod::IncludeAllNodes, "0");
    EXPECT_EQ(host.KeepResponsiveCalls, 1);
    EXPECT_EQ(la.PathCount(), 0);
    EXPECT_TRUE(host.Messages.empty()); // stopped, so no "Not found any path."
    for (int32_t j = 1; j <= g.LinkCount(); ++j)
        EXPECT_FALSE(g.Link(j).Flag);
}

TEST(Walks, The32768thPathEndsTheRunBeforeItIsLearned) {
    for (int diamonds : {14, 15}) {
        clsLA engine;
        BuildDiamonds(engine.Graph(), diamonds);
        ScriptedHost counting;
        clsGraph& g = engine.Graph();
        counting.OnOptions = [&g](clsLA& e) {
            e.GraphSearchMethod = SearchMethod::SourceToDestination;
            e.sourceNode = &g.Node(1);
            e.DestNode = &g.Node(g.NodeCount());
            e.Model = 0;
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
        EXPECT_EQ(counting.Messages[0].text, "Overflow");
        EXPECT_EQ(counting.Messages[0].icon, MessageIcon::Critical);
        // The 32768th path, the last one, stays flagged: down the second side of every diamond.
        for (int32_t j = 1; j <= g.LinkCount(); ++j)
            EXPECT_EQ(g.Link(j).Flag, j % 2 == 0) << "link " << j;
    }
}

TEST_P(WalkTest, OverflowInTheMiddleOfAPathKeepsWhatWasLearnedAndTheFlags) {
    // Y-X is stored X->Y, so both links of the path Y, X, Z start at X.
    AddNodes(la.Graph(), {"Y", "X", "Z"});
    AddLink(la.Graph(), "X", "Y", LinkKind::Simple).Probability = 0.5f;
    AddLink(la.Graph(), "X", "Z", LinkKind::Unidirectional);
    host.OnOptions = [](clsLA& e) {
        e.GraphSearchMethod = SearchMethod::SourceToDestination;
        e.sourceNode = &NodeByLabel(e.Graph(), "Y");
        e.DestNode = &NodeByLabel(e.Graph(), "Z");
        e.Reward = 3e38f;
    };
    la.Start(host);
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.Messages[0].text, "Overflow");
    EXPECT_EQ(host.Messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(host.Events, (std::vector<std::string>{"Options", "Busy", "NotBusy", "Draw",
                                                      "DoEvents", "Message"}));
    EXPECT_TRUE(host.Paths.empty());
    EXPECT_EQ(la.PathCount(), 1);
    EXPECT_EQ(la.Graph().Link(1).Probability, 1.5e38f);
    EXPECT_EQ(la.Graph().Link(2).Probability, static_cast<float>((1 - double(3e38f)) * 0.5));
    EXPECT_TRUE(la.Graph().Link(1).Flag);
    EXPECT_TRUE(la.Graph().Link(2).Flag);
}

TEST_P(WalkTest, LinksAndSelfLinksOfALoadedDocumentAreWalkedOnce) {
    // Documents may hold a link from a node to itself and two links between the same nodes.
    clsGraph& g = la.Graph();
    AddNodes(g, {"A", "B", "C"});
    const auto append = [&g](int32_t from, int32_t to, int32_t kind) {
        clsLink& link = g.AppendLink();
        link.FromNode = &g.Node(from);
        link.ToNode = &g.Node(to);
        link.LinkType = kind;
        link.Weight = 1.0f;
    };
    append(1, 1, LinkKind::Simple);
    append(1, 2, LinkKind::Simple);
    append(2, 1, LinkKind::Bidirectional);
    append(2, 3, LinkKind::Unidirectional);
    append(3, 3, LinkKind::Unidirectional);
    append(1, 3, 5); // an unknown kind walks both ways, as it counts both ways
    g.InitProbability();
    Run(SearchMethod::SourceToDestination, "A", "C");
    EXPECT_EQ(host.Traces(), (Traces{"A->A:A->B:B->C:", "A->A:B->A:B->C:", "A->A:A->C:",
                                     "A->B:B->C:", "B->A:B->C:", "A->C:"}));
}

INSTANTIATE_TEST_SUITE_P(Walks, WalkTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Straightforward" : "Indexed";
                         });

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
        link.Probability = 0.5f;
        link.Weight = 1.0f;
    }
    // Records only the length: a trace of a million links is of no use here.
    struct LengthHost : ScriptedHost {
        int32_t length = 0;
        void PathLearned(int32_t, const clsPathStack& path) override { length = path.Count(); }
    };
    for (int32_t method : {SearchMethod::IncludeAllNodes, SearchMethod::SourceToDestination}) {
        LengthHost host;
        host.OnOptions = [&g, method](clsLA& e) {
            e.GraphSearchMethod = method;
            e.sourceNode = &g.Node(1);
            e.DestNode = &g.Node(g.NodeCount());
            e.Reward = 0.5f;
        };
        g.Link(1).Probability = 0.5f;
        la.Start(host);
        EXPECT_EQ(la.PathCount(), 1);
        EXPECT_EQ(host.length, n - 1);
        EXPECT_TRUE(host.Messages.empty());
        EXPECT_EQ(g.Link(1).Probability, 0.75f);
        EXPECT_FALSE(g.Link(n / 2).Flag);
    }
}

// Random small graphs, with every kind of link and setting: the indexed walks must give the
// straightforward scan's paths, in its order, with the same probabilities after every path.
struct RandomCase {
    unsigned seed;
};

void BuildRandom(clsLA& la, std::mt19937& rng) {
    clsGraph& g = la.Graph();
    const int nodes = std::uniform_int_distribution<int>(1, 9)(rng);
    for (int i = 0; i < nodes; ++i)
        g.AddNode(i * 50, 0);
    const int tries = std::uniform_int_distribution<int>(nodes, nodes * 5)(rng);
    std::uniform_int_distribution<int> pick(1, nodes);
    for (int t = 0; t < tries; ++t) {
        const int from = pick(rng), to = pick(rng);
        const int kind = std::uniform_int_distribution<int>(0, 2)(rng);
        try {
            g.AddLink(from, to, kind);
        } catch (const PathloomError&) {
            continue; // self-links and repeats are refused, as in the editor
        }
        clsLink& link = g.Link(g.LinkCount());
        link.Weight = static_cast<float>(std::uniform_int_distribution<int>(1, 9)(rng));
        if (kind != LinkKind::Unidirectional)
            link.Probability = std::uniform_real_distribution<float>(0.0f, 1.0f)(rng);
    }
    // Documents may also hold self-links, second links between two nodes and unknown kinds.
    if (std::uniform_int_distribution<int>(0, 3)(rng) == 0) {
        const int raw = std::uniform_int_distribution<int>(1, 3)(rng);
        for (int t = 0; t < raw; ++t) {
            clsLink& link = g.AppendLink();
            link.FromNode = &g.Node(pick(rng));
            link.ToNode = &g.Node(pick(rng));
            link.LinkType = std::uniform_int_distribution<int>(0, 3)(rng);
            link.Weight = static_cast<float>(std::uniform_int_distribution<int>(1, 9)(rng));
            link.Probability = 0.5f;
        }
        g.InitProbability();
    }
    la.Model = std::uniform_int_distribution<int>(0, 1)(rng);
    la.ModelType = std::uniform_int_distribution<int>(0, 2)(rng);
    la.Reward = std::uniform_real_distribution<float>(0.0f, 0.5f)(rng);
    la.Penalty = std::uniform_real_distribution<float>(0.0f, 0.5f)(rng);
    la.LearningFactor = std::uniform_real_distribution<float>(0.0f, 0.5f)(rng);
    la.Ranges().AddRange(-100.0f, -1.0f, 0.25f);
    la.Ranges().AddRange(-1.0f, 1.0f, 0.5f);
    la.Ranges().AddRange(1.0f, 100.0f, 0.75f);
}

ScriptedHost RunRandom(unsigned seed, bool straightforward, int32_t method, int32_t& pathCount) {
    std::mt19937 rng(seed);
    clsLA la;
    BuildRandom(la, rng);
    la.UseReferenceWalks = straightforward;
    clsGraph& g = la.Graph();
    std::uniform_int_distribution<int> pick(1, g.NodeCount());
    const int source = pick(rng), dest = pick(rng);
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

TEST(Walks, IndexedWalksMatchTheStraightforwardScanOnRandomGraphs) {
    int32_t totalPaths = 0;
    for (unsigned seed = 1; seed <= 400; ++seed) {
        for (int32_t method : {SearchMethod::IncludeAllNodes, SearchMethod::SourceToDestination}) {
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
